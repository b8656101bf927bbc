#include "testing.hpp"

#include <cmath>
#include <string>

#include "case_run.hpp"
#include "platform/error_trace.hpp"
#include "platform/format.hpp"
#include "platform/stderr.hpp"
#include "quor/panic.hpp"

namespace quor::testing {

LogLevel log_level = LogLevel::warn;

namespace {

template <class F>
bool approxEqAbsIn(F x, F y, F tolerance) {
  if (std::isnan(tolerance) || tolerance < F(0)) unreachable();
  if (x == y) return true;
  if (std::isnan(x) || std::isnan(y)) return false;
  return std::fabs(x - y) <= tolerance;
}

template <class F>
Status expectApproxEqAbsIn(F expected, F actual, F tolerance) {
  if (approxEqAbsIn(expected, actual, tolerance)) return {};
  std::string message = "actual ";
  message.append(platform::formatFloat(actual))
      .append(", not within absolute tolerance ")
      .append(platform::formatFloat(tolerance))
      .append(" of expected ")
      .append(platform::formatFloat(expected))
      .append("\n");
  platform::writeStderr(message);
  return passUp(TestExpectedApproxEqAbs);
}

}  // namespace

bool approxEqAbs(double x, double y, double tolerance) { return approxEqAbsIn(x, y, tolerance); }
bool approxEqAbs(float x, float y, float tolerance) { return approxEqAbsIn(x, y, tolerance); }

Status expectApproxEqAbs(double expected, double actual, double tolerance) {
  return expectApproxEqAbsIn(expected, actual, tolerance);
}
Status expectApproxEqAbs(float expected, float actual, float tolerance) {
  return expectApproxEqAbsIn(expected, actual, tolerance);
}

Status expect(bool ok) {
  if (ok) return {};
  return passUp(TestUnexpectedResult);
}

Allocator allocator() { return runner::caseAllocator().allocator(); }

Error passUp(Error error, platform::ReturnPoint where) {
  platform::currentErrorTrace().append(where);
  return error;
}

}  // namespace quor::testing
