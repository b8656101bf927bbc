// Error traces: the return points a failure passed through on its way up,
// in 32 slots, with a count of those beyond them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <version>
#if defined(__cpp_lib_source_location)
#include <source_location>
#endif

#include "stderr.hpp"

namespace quor::platform {

/// A place in the source: file, line, column (0 when unknown) and function.
struct ReturnPoint {
  const char* file = "";
  const char* function = "";
  std::uint_least32_t line = 0;
  std::uint_least32_t column = 0;

  /// Where the call that evaluates this default argument is written.
#if defined(__cpp_lib_source_location)
  static constexpr ReturnPoint current(std::source_location where = std::source_location::current()) {
    return {where.file_name(), where.function_name(), where.line(), where.column()};
  }
#else
  // Clang 14 with libstdc++ 12 has no std::source_location; the builtins it
  // would be made of serve instead (GCC 12 lacks __builtin_COLUMN, so GCC
  // takes the branch above).
  static constexpr ReturnPoint current(const char* file = __builtin_FILE(), const char* function = __builtin_FUNCTION(),
                                       std::uint_least32_t line = __builtin_LINE(),
                                       std::uint_least32_t column = __builtin_COLUMN()) {
    return {file, function, line, column};
  }
#endif
};

struct ErrorTrace {
  static constexpr std::size_t capacity = 32;
  std::array<ReturnPoint, capacity> slots{};
  std::size_t count = 0;  ///< every appended point, stored or not

  void clear() { count = 0; }
  void append(ReturnPoint where) {
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
