// Standard error, shared by every writer of the process: one lock, taken by
// report lines, check messages, log lines, traces and the progress display.
#pragma once

#include <string_view>

namespace quor::platform {

/// Holds the process-wide standard-error lock for its lifetime. Taking it
/// clears the live progress display first, so the two never interleave.
class StderrLock {
 public:
  StderrLock();
  ~StderrLock();
  StderrLock(const StderrLock&) = delete;
  StderrLock& operator=(const StderrLock&) = delete;

  /// Writes every byte, retrying short writes; a failed write is ignored.
  void write(std::string_view bytes);
};

/// Takes the lock and writes.
void writeStderr(std::string_view bytes);

/// Whether standard error is a terminal; decided once, on first use.
bool stderrIsTerminal();

}  // namespace quor::platform
