#include "driver_client.hpp"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace quor::test {

void putLe32(ByteString& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::uint32_t getLe32(const ByteString& bytes, std::size_t at) {
  return std::uint32_t{bytes.at(at)} | std::uint32_t{bytes.at(at + 1)} << 8 | std::uint32_t{bytes.at(at + 2)} << 16 |
         std::uint32_t{bytes.at(at + 3)} << 24;
}

ByteString header(std::uint32_t tag, std::uint32_t bytes_len) {
  ByteString out;
  putLe32(out, tag);
  putLe32(out, bytes_len);
  return out;
}

ByteString frame(std::uint32_t tag, const ByteString& body) {
  ByteString out = header(tag, static_cast<std::uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

ByteString runTestRequest(std::uint32_t index) {
  ByteString body;
  putLe32(body, index);
  return frame(5, body);
}

ByteString queryMetadataRequest() { return frame(4); }
ByteString exitRequest() { return frame(0); }

ByteString operator+(ByteString a, const ByteString& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

ByteString versionMessage() { return frame(0, {'0', '.', '1', '3', '.', '0'}); }

namespace {

void check(bool ok, const char* what) {
  if (!ok) {
    std::perror(what);
    std::abort();
  }
}

}  // namespace

DriverProcess::DriverProcess(const std::string& path, Options options) {
  // A runner that has gone away must show up as a failed write here, not end
  // the test process.
  std::signal(SIGPIPE, SIG_IGN);

  int in[2];
  int out[2];
  check(::pipe2(in, O_CLOEXEC) == 0, "pipe2");
  check(::pipe2(out, O_CLOEXEC) == 0, "pipe2");
  char name[] = "/tmp/quor-driver-stderr-XXXXXX";
  stderr_file_ = ::mkostemp(name, O_CLOEXEC);
  check(stderr_file_ >= 0, "mkostemp");
  ::unlink(name);
  if (options.stdout_reader_gone) {
    // No reader exists anywhere: the runner's very first write fails.
    ::close(out[0]);
    out[0] = -1;
  }

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, stderr_file_, STDERR_FILENO);
  std::string arg0 = path;
  std::string arg1 = "--listen=-";
  char* argv[] = {arg0.data(), arg1.data(), nullptr};
  check(::posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv, environ) == 0, "posix_spawn");
  posix_spawn_file_actions_destroy(&actions);

  ::close(in[0]);
  ::close(out[1]);
  stdin_fd_ = in[1];
  stdout_fd_ = out[0];
}

DriverProcess::~DriverProcess() {
  closeInput();
  if (!ending_) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  if (stdout_fd_ >= 0) ::close(stdout_fd_);
  ::close(stderr_file_);
}

bool DriverProcess::send(const ByteString& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(stdin_fd_, bytes.data() + done, bytes.size() - done);
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool DriverProcess::sendByteByByte(const ByteString& bytes) {
  for (const std::uint8_t byte : bytes) {
    if (!send({byte})) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

void DriverProcess::closeInput() {
  if (stdin_fd_ >= 0) ::close(stdin_fd_);
  stdin_fd_ = -1;
}

std::optional<ByteString> DriverProcess::readExactly(std::size_t n) {
  ByteString out(n);
  std::size_t done = 0;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (done < n) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return std::nullopt;
    pollfd p{stdout_fd_, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) return std::nullopt;
    const ssize_t got = ::read(stdout_fd_, out.data() + done, n - done);
    if (got <= 0) return std::nullopt;
    done += static_cast<std::size_t>(got);
  }
  return out;
}

std::optional<Message> DriverProcess::readMessage() {
  const std::optional<ByteString> head = readExactly(8);
  if (!head) return std::nullopt;
  Message message{getLe32(*head, 0), {}};
  const std::optional<ByteString> body = readExactly(getLe32(*head, 4));
  if (!body) return std::nullopt;
  message.body = *body;
  return message;
}

ByteString DriverProcess::readToEnd() {
  ByteString out;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return out;
    pollfd p{stdout_fd_, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) return out;
    std::uint8_t chunk[4096];
    const ssize_t got = ::read(stdout_fd_, chunk, sizeof chunk);
    if (got <= 0) return out;
    out.insert(out.end(), chunk, chunk + got);
  }
}

Ending DriverProcess::wait() {
  if (ending_) return *ending_;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  int status = 0;
  for (;;) {
    const pid_t done = ::waitpid(pid_, &status, WNOHANG);
    if (done == pid_) break;
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
      ending_ = Ending{.timed_out = true};
      return *ending_;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  Ending ending;
  if (WIFEXITED(status)) {
    ending.exited = true;
    ending.status = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    ending.signal = WTERMSIG(status);
  }
  ending_ = ending;
  return ending;
}

std::string DriverProcess::stderrText() const {
  std::string text;
  char chunk[4096];
  for (off_t at = 0;;) {
    const ssize_t got = ::pread(stderr_file_, chunk, sizeof chunk, at);
    if (got <= 0) return text;
    text.append(chunk, static_cast<std::size_t>(got));
    at += got;
  }
}

}  // namespace quor::test
