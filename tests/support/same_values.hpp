// Bit-exact comparison of the library's vectors and matrices in tests: every
// component by its bits, so -0.0 differs from +0.0 and NaN matches NaN.
#pragma once

#include <cstddef>
#include <string>

#include <gtest/gtest.h>

#include "bits.hpp"
#include "quor/hom_vec4.hpp"
#include "quor/pgl4.hpp"

namespace quor::test {

inline ::testing::AssertionResult same(HomVec4 expected, HomVec4 actual) {
  const double e[4] = {expected.x, expected.y, expected.z, expected.w};
  const double a[4] = {actual.x, actual.y, actual.z, actual.w};
  for (int c = 0; c < 4; ++c) {
    if (const auto r = sameBits(e[c], a[c]); !r)
      return ::testing::AssertionFailure() << "xyzw"[c] << ": " << r.message();
  }
  return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult same(const PGL4& expected, const PGL4& actual) {
  for (std::size_t k = 0; k < 16; ++k) {
    if (const auto r = sameBits(expected.data[k], actual.data[k]); !r)
      return ::testing::AssertionFailure() << "data[" << k << "]: " << r.message();
  }
  return ::testing::AssertionSuccess();
}

}  // namespace quor::test

// Variadic so that braced values pass through: EXPECT_SAME({6, 0, 0, 1}, v).
#define EXPECT_SAME(...) EXPECT_TRUE(::quor::test::same(__VA_ARGS__))
