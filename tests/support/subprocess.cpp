#include "subprocess.hpp"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace quor::test {
namespace {

std::vector<std::string> commandLine(const std::vector<std::string>& args, const std::string& shell_prefix) {
  if (shell_prefix.empty()) return args;
  std::vector<std::string> argv{"/bin/sh", "-c", shell_prefix + " exec \"$0\" \"$@\""};
  argv.insert(argv.end(), args.begin(), args.end());
  return argv;
}

std::vector<std::string> environment(const std::vector<std::string>& extra) {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) env.emplace_back(*e);
  env.insert(env.end(), extra.begin(), extra.end());
  return env;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
  std::vector<char*> p;
  for (auto& s : strings) p.push_back(s.data());
  p.push_back(nullptr);
  return p;
}

void finish(pid_t pid, Outcome& outcome) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) outcome.exit_code = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) outcome.term_signal = WTERMSIG(status);
}

}  // namespace

Outcome run(const std::vector<std::string>& args, const std::vector<std::string>& env,
            const std::string& shell_prefix) {
  int in[2], out[2], err[2];
  if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) std::abort();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  auto argv_strings = commandLine(args, shell_prefix);
  auto env_strings = environment(env);
  auto argv = pointers(argv_strings);
  auto envp = pointers(env_strings);
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) std::abort();
  posix_spawn_file_actions_destroy(&actions);
  ::close(in[0]);
  ::close(out[1]);
  ::close(err[1]);

  ::close(in[1]);  // standard input: at its end at once

  Outcome outcome;
  int open_outputs = 2;
  while (open_outputs > 0) {
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    if (::poll(fds, 2, 30000) <= 0) break;  // a hung child ends the wait
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      char buf[65536];
      const ssize_t n = ::read(fds[i].fd, buf, sizeof buf);
      if (n > 0) {
        (i == 0 ? outcome.out : outcome.err).append(buf, static_cast<std::size_t>(n));
      } else {
        ::close(fds[i].fd);
        (i == 0 ? out[0] : err[0]) = -1;
        --open_outputs;
      }
    }
  }
  if (out[0] >= 0) ::close(out[0]);
  if (err[0] >= 0) ::close(err[0]);
  finish(pid, outcome);
  return outcome;
}

Outcome runOnTerminal(const std::vector<std::string>& args, const std::vector<std::string>& env) {
  auto argv_strings = commandLine(args, {});
  auto env_strings = environment(env);
  auto argv = pointers(argv_strings);
  auto envp = pointers(env_strings);
  winsize size{};
  size.ws_row = 24;
  size.ws_col = 100;
  int master = -1;
  const pid_t pid = ::forkpty(&master, nullptr, nullptr, &size);
  if (pid < 0) std::abort();
  if (pid == 0) {
    ::execve(argv[0], argv.data(), envp.data());
    ::_exit(127);
  }
  Outcome outcome;
  for (;;) {
    pollfd fd{master, POLLIN, 0};
    if (::poll(&fd, 1, 30000) <= 0) break;
    char buf[65536];
    const ssize_t n = ::read(master, buf, sizeof buf);
    if (n <= 0) break;  // EIO once the child side is closed
    outcome.err.append(buf, static_cast<std::size_t>(n));
  }
  ::close(master);
  finish(pid, outcome);
  return outcome;
}

}  // namespace quor::test
