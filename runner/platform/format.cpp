#include "format.hpp"

#include <charconv>
#include <cmath>
#include <cstring>

namespace quor::platform {
namespace {

template <class F>
std::size_t formatIn(char* out, F value) {
  char* at = out;
  if (std::isnan(value)) {
    std::memcpy(out, "nan", 3);
    return 3;
  }
  if (std::signbit(value)) *at++ = '-';
  const F magnitude = std::fabs(value);
  if (std::isinf(magnitude)) {
    std::memcpy(at, "inf", 3);
    return static_cast<std::size_t>(at + 3 - out);
  }
  // Shortest round-trip digits in scientific form, e.g. "1.5e+00"; then
  // rewritten as "1.5e0": no '+', no leading zeros in the exponent.
  char digits[max_float_text];
  const auto res = std::to_chars(digits, digits + sizeof digits, magnitude, std::chars_format::scientific);
  const char* e = static_cast<const char*>(std::memchr(digits, 'e', static_cast<std::size_t>(res.ptr - digits)));
  const std::size_t mantissa = static_cast<std::size_t>(e - digits);
  std::memcpy(at, digits, mantissa);
  at += mantissa;
  *at++ = 'e';
  const char* exp = e + 1;
  if (*exp == '-') *at++ = '-';
  if (*exp == '-' || *exp == '+') ++exp;
  while (exp + 1 < res.ptr && *exp == '0') ++exp;
  const std::size_t exp_len = static_cast<std::size_t>(res.ptr - exp);
  std::memcpy(at, exp, exp_len);
  at += exp_len;
  return static_cast<std::size_t>(at - out);
}

}  // namespace

std::size_t formatFloat(char* out, double value) { return formatIn(out, value); }
std::size_t formatFloat(char* out, float value) { return formatIn(out, value); }

std::string formatFloat(double value) {
  char buf[max_float_text];
  return {buf, formatFloat(buf, value)};
}

std::string formatFloat(float value) {
  char buf[max_float_text];
  return {buf, formatFloat(buf, value)};
}

}  // namespace quor::platform
