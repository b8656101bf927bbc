// Bit-exact comparison of the library's vectors and states in tests.
#pragma once

#include <cstddef>

#include "quor/geodesic_state.hpp"
#include "quor/hom_vec4.hpp"
#include "same_values.hpp"

namespace quor::test {

inline void expectSameState(const GeodesicState& expected, const GeodesicState& actual) {
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_SAME_BITS(expected.q[i], actual.q[i]) << "q[" << i << "]";
    EXPECT_SAME_BITS(expected.v[i], actual.v[i]) << "v[" << i << "]";
  }
}

inline void expectNearVec(HomVec4 expected, HomVec4 actual, double tolerance) {
  EXPECT_NEAR(expected.x, actual.x, tolerance);
  EXPECT_NEAR(expected.y, actual.y, tolerance);
  EXPECT_NEAR(expected.z, actual.z, tolerance);
  EXPECT_NEAR(expected.w, actual.w, tolerance);
}

}  // namespace quor::test
