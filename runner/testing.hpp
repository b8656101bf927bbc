// What a registered case uses: the two check primitives, the per-case
// checking allocator and the log level. A case returns success or a failure
// name; QUOR_TRY passes a failure up and records the return point.
#pragma once

#include <cstdint>

#include "platform/error_trace.hpp"
#include "quor/allocator.hpp"
#include "quor/error.hpp"

namespace quor::testing {

inline constexpr Error TestUnexpectedResult{"TestUnexpectedResult"};
inline constexpr Error TestExpectedApproxEqAbs{"TestExpectedApproxEqAbs"};
/// The reserved failure that counts a case as skipped, not failed.
inline constexpr Error SkipCase{"SkipCase"};

/// Success when ok, else "TestUnexpectedResult"; writes nothing.
Status expect(bool ok);

/// Success when approxEqAbs(expected, actual, tolerance), else writes
/// "actual {}, not within absolute tolerance {} of expected {}\n" and answers
/// "TestExpectedApproxEqAbs". The slot names matter for the message alone.
Status expectApproxEqAbs(double expected, double actual, double tolerance);
Status expectApproxEqAbs(float expected, float actual, float tolerance);

/// Equal under IEEE comparison, or neither NaN and |x - y| <= tolerance in
/// the arguments' own type. A negative or NaN tolerance is a programmer error.
bool approxEqAbs(double x, double y, double tolerance);
bool approxEqAbs(float x, float y, float tolerance);

/// The checking allocator of the running case, fresh for each case.
Allocator allocator();

/// Levels of the log sink; a lower value is more severe.
enum class LogLevel : std::uint8_t { err = 0, warn = 1, info = 2, debug = 3 };
/// The highest level the log sink writes; reset to warn before each case of a
/// terminal run.
extern LogLevel log_level;

/// Appends the caller's return point to the running case's error trace and
/// answers the error unchanged.
Error passUp(Error error, platform::ReturnPoint where = platform::ReturnPoint::current());

}  // namespace quor::testing

/// Evaluates a Status (or Result) and, on failure, returns its error from the
/// enclosing case with this line appended to the error trace.
#define QUOR_TRY(expr)                                                                                        \
  do {                                                                                                        \
    if (const auto quor_try_ = (expr); quor_try_.failed()) return ::quor::testing::passUp(quor_try_.error()); \
  } while (0)
