// Error traces: the return points a failure passed through on its way up,
// in 32 slots, with a count of those beyond them.
#pragma once

#include <array>
#include <cstddef>
#include <source_location>

#include "stderr.hpp"

namespace quor::platform {

struct ErrorTrace {
  static constexpr std::size_t capacity = 32;
  std::array<std::source_location, capacity> slots{};
  std::size_t count = 0;  ///< every appended point, stored or not

  void clear() { count = 0; }
  void append(std::source_location where) {
    if (count < capacity) slots[count] = where;
    ++count;
  }
};

/// The trace of the case that runs now (one per thread).
ErrorTrace& currentErrorTrace();

/// Writes each stored return point as a frame (file:line:column, function,
/// and the source line where the file can be read), then how many were not
/// stored, if any.
void writeErrorTrace(StderrLock& out, const ErrorTrace& trace);

}  // namespace quor::platform
