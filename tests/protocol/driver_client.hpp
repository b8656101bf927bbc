// A build driver for tests: starts a runner with "--listen=-" on pipes and
// speaks the message format to it. Its framing is written here on its own,
// so a fault in the runner's framing cannot hide behind a shared one.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quor::test {

using ByteString = std::vector<std::uint8_t>;

void putLe32(ByteString& out, std::uint32_t value);
std::uint32_t getLe32(const ByteString& bytes, std::size_t at);

/// A whole message: header (tag, body length) and body.
ByteString frame(std::uint32_t tag, const ByteString& body = {});
/// A header alone, announcing `bytes_len` body bytes.
ByteString header(std::uint32_t tag, std::uint32_t bytes_len);
ByteString runTestRequest(std::uint32_t index);
ByteString queryMetadataRequest();
ByteString exitRequest();
ByteString operator+(ByteString a, const ByteString& b);

/// The 14 bytes the runner sends before anything else.
ByteString versionMessage();

struct Message {
  std::uint32_t tag = 0;
  ByteString body;
  bool operator==(const Message&) const = default;
};

/// How the process ended: exited with a status, killed by a signal, or still
/// running when the wait gave up (then it has been killed).
struct Ending {
  bool exited = false;
  int status = -1;
  int signal = 0;
  bool timed_out = false;
};

class DriverProcess {
 public:
  struct Options {
    /// Give the runner a standard output that nobody reads.
    bool stdout_reader_gone = false;
  };

  explicit DriverProcess(const std::string& path) : DriverProcess(path, Options{}) {}
  DriverProcess(const std::string& path, Options options);
  ~DriverProcess();
  DriverProcess(const DriverProcess&) = delete;
  DriverProcess& operator=(const DriverProcess&) = delete;

  /// Writes every byte to the runner's standard input.
  bool send(const ByteString& bytes);
  /// Writes one byte per write, pausing between them so each read sees as
  /// few bytes as possible.
  bool sendByteByByte(const ByteString& bytes);
  void closeInput();

  /// Exactly n bytes of standard output, or nothing if they do not come in
  /// time (or the output ends first).
  std::optional<ByteString> readExactly(std::size_t n);
  std::optional<Message> readMessage();
  /// Standard output until it ends (the process closed it or ended).
  ByteString readToEnd();

  Ending wait();
  /// Everything the runner wrote to standard error so far.
  std::string stderrText() const;

  static constexpr std::chrono::seconds timeout{20};

 private:
  pid_t pid_ = -1;
  int stdin_fd_ = -1;
  int stdout_fd_ = -1;
  int stderr_file_ = -1;
  std::optional<Ending> ending_;
};

}  // namespace quor::test
