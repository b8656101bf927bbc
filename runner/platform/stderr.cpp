#include "stderr.hpp"

#include <unistd.h>

#include <cerrno>
#include <mutex>

#include "progress.hpp"

namespace quor::platform {
namespace {
// Recursive: a panic or a fatal signal raised while a line is being written
// still gets its own message out.
std::recursive_mutex stderr_mutex;
}  // namespace

StderrLock::StderrLock() {
  stderr_mutex.lock();
  progress::clearLocked();
}

StderrLock::~StderrLock() { stderr_mutex.unlock(); }

void StderrLock::write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(STDERR_FILENO, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

void writeStderr(std::string_view bytes) {
  StderrLock lock;
  lock.write(bytes);
}

bool stderrIsTerminal() {
  static const bool is_tty = ::isatty(STDERR_FILENO) == 1;
  return is_tty;
}

}  // namespace quor::platform
