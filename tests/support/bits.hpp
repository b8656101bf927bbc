// Exact comparison of doubles for tests: the same bits, so -0.0 differs from
// +0.0 and a NaN equals a NaN of the same payload.
#pragma once

#include <bit>
#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

namespace quor::test {

inline constexpr double nan = std::numeric_limits<double>::quiet_NaN();
inline constexpr double inf = std::numeric_limits<double>::infinity();

inline std::uint64_t bitsOf(double v) { return std::bit_cast<std::uint64_t>(v); }
inline std::uint32_t bitsOf(float v) { return std::bit_cast<std::uint32_t>(v); }

/// Passes when both are NaN or both have the same bits.
inline ::testing::AssertionResult sameBits(double expected, double actual) {
  if ((expected != expected && actual != actual) || bitsOf(expected) == bitsOf(actual))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "expected " << std::hexfloat << expected << " (" << std::defaultfloat
                                       << expected << "), got " << std::hexfloat << actual << " (" << std::defaultfloat
                                       << actual << ")";
}

}  // namespace quor::test

#define EXPECT_SAME_BITS(expected, actual) EXPECT_TRUE(::quor::test::sameBits((expected), (actual)))
