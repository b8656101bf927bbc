// The "{}" number format: shortest scientific digits that read back to the
// same value in the value's own type.
#include "platform/format.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <numbers>
#include <random>
#include <regex>
#include <string>

#include "bits.hpp"

namespace quor::platform {
namespace {

struct DoubleRow {
  double value;
  const char* text;
};

TEST(FormatFloat, DoubleExamples) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const DoubleRow rows[] = {
      {3.0, "3e0"},
      {0.6, "6e-1"},
      {1e-10, "1e-10"},
      {1000.0, "1e3"},
      {std::numbers::pi / 2, "1.5707963267948966e0"},
      {0.0, "0e0"},
      {-0.0, "-0e0"},
      {nan, "nan"},
      {-nan, "nan"},
      {inf, "inf"},
      {-inf, "-inf"},
      {-2.5, "-2.5e0"},
      {1.000000082740371e-10, "1.000000082740371e-10"},
      {std::numeric_limits<double>::max(), "1.7976931348623157e308"},
      {std::numeric_limits<double>::denorm_min(), "5e-324"},
      {123456789012345680.0, "1.2345678901234568e17"},
  };
  for (const DoubleRow& row : rows) EXPECT_EQ(formatFloat(row.value), row.text) << row.text;
}

struct FloatRow {
  float value;
  const char* text;
};

TEST(FormatFloat, FloatUsesItsOwnShortestDigits) {
  const FloatRow rows[] = {
      {0.1f, "1e-1"},
      {1e-5f, "1e-5"},
      {3.0f, "3e0"},
      {-0.0f, "-0e0"},
      {std::numeric_limits<float>::quiet_NaN(), "nan"},
      {-std::numeric_limits<float>::infinity(), "-inf"},
      {std::numeric_limits<float>::max(), "3.4028235e38"},
      {std::numeric_limits<float>::denorm_min(), "1e-45"},
  };
  for (const FloatRow& row : rows) EXPECT_EQ(formatFloat(row.value), row.text) << row.text;
}

// The text form: sign, one digit, optional fraction, "e", exponent without
// "+" or leading zeros.
const std::regex shape("-?[0-9](\\.[0-9]*[1-9])?e(0|-?[1-9][0-9]*)");

TEST(FormatFloat, RandomDoublesReadBackToTheSameBits) {
  std::mt19937_64 random(0x5eed);
  for (int i = 0; i < 100000; ++i) {
    const double value = std::bit_cast<double>(random());
    if (!std::isfinite(value)) continue;
    const std::string text = formatFloat(value);
    ASSERT_TRUE(std::regex_match(text, shape)) << text;
    EXPECT_SAME_BITS(value, std::strtod(text.c_str(), nullptr));
  }
}

TEST(FormatFloat, RandomFloatsReadBackToTheSameBits) {
  std::mt19937 random(0x5eed);
  for (int i = 0; i < 100000; ++i) {
    const float value = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
    if (!std::isfinite(value)) continue;
    const std::string text = formatFloat(value);
    ASSERT_TRUE(std::regex_match(text, shape)) << text;
    EXPECT_EQ(test::bitsOf(value), test::bitsOf(std::strtof(text.c_str(), nullptr))) << text;
  }
}

TEST(FormatFloat, BufferFormMatchesStringForm) {
  char buffer[max_float_text];
  const double value = -1.2345678901234567e-308;
  const std::size_t n = formatFloat(buffer, value);
  EXPECT_EQ(std::string(buffer, n), formatFloat(value));
  EXPECT_EQ(std::string(buffer, n), "-1.2345678901234567e-308");
}

}  // namespace
}  // namespace quor::platform
