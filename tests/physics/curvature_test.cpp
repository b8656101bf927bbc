// Curvature of the sphere through a point: values, the degenerate point and
// the index contract.
#include "quor/curvature.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <limits>

#include "physics_support.hpp"

namespace quor {
namespace {

using test::inf;
using test::nan;
constexpr HomVec4 HALF{0.5, 0.5, 0.5, 0.5};
constexpr HomVec4 NORTH{0, 0, 0, 1};
// The two doubles around √1e-15: x·x is just below 1e-15 for the first, just
// above for the second.
constexpr double EDGE_BELOW = 0x1.0fa3389d6eb40p-25;
constexpr double EDGE_ABOVE = 0x1.0fa3389d6eb41p-25;

TEST(ChristoffelSymbols, DiagonalInTheLowerPairWithTheNegatedCoordinate) {
  const Christoffel gamma = christoffelSymbols({2, 0, 0, 0});
  for (std::size_t i = 0; i < 4; ++i) {
    for (std::size_t j = 0; j < 4; ++j) {
      for (std::size_t k = 0; k < 4; ++k) {
        SCOPED_TRACE(testing::Message() << "gamma[" << i << "][" << j << "][" << k << "]");
        // A zero coordinate is negated before the division: -0.0.
        const double expected = j != k ? 0.0 : i == 0 ? -0.5 : -0.0;
        EXPECT_SAME_BITS(expected, gamma[i][j][k]);
      }
    }
  }
}

TEST(GeodesicAcceleration, PointsAwayFromTheOrigin) {
  struct Row {
    const char* name;
    HomVec4 point;
    HomVec4 velocity;
    HomVec4 expected;
  };
  const Row rows[] = {
      {"north pole", NORTH, {1, 0, 0, 0}, {0, 0, 0, 1}},
      {"sphere of radius 2", {2, 0, 0, 0}, {0, 1, 0, 0}, {0.5, 0, 0, 0}},
      // All 64 terms are summed: 0·∞ in the zero symbols makes every
      // component nan.
      {"infinite velocity", NORTH, {inf, 0, 0, 0}, {nan, nan, nan, nan}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_SAME(row.expected, geodesicAcceleration(row.point, row.velocity));
  }
}

TEST(Curvature, ScalarValues) {
  struct Row {
    const char* name;
    double expected;
    double actual;
  };
  const Row rows[] = {
      {"K at (1, 0, 0, 0)", 1.0, sectionalCurvature({1, 0, 0, 0})},
      {"K at (2, 0, 0, 0)", 0.25, sectionalCurvature({2, 0, 0, 0})},
      {"K at (0, 3, 0, 0)", 1.0 / 9.0, sectionalCurvature({0, 3, 0, 0})},
      {"K just above the degenerate radius", 1.0 / (EDGE_ABOVE * EDGE_ABOVE),
       sectionalCurvature({EDGE_ABOVE, 0, 0, 0})},
      {"scalar at (1, 0, 0, 0)", 6.0, scalarCurvature({1, 0, 0, 0})},
      {"scalar at (0, 3, 0, 0)", 6.0 / 9.0, scalarCurvature({0, 3, 0, 0})},
      {"Ric_00 at (1, 0, 0, 0), the normal", 0.0, ricciTensor({1, 0, 0, 0}, 0, 0)},
      {"Ric_11 at (1, 0, 0, 0)", 2.0, ricciTensor({1, 0, 0, 0}, 1, 1)},
      {"Ric_00 at HALF", 1.5, ricciTensor(HALF, 0, 0)},
      {"Ric_01 at HALF", -0.5, ricciTensor(HALF, 0, 1)},
      {"R^0_101 at HALF", 0.75, riemannTensor(HALF, 0, 1, 0, 1)},
      {"R^0_110 at HALF", -0.75, riemannTensor(HALF, 0, 1, 1, 0)},
      {"R^0_123 at HALF", 0.0, riemannTensor(HALF, 0, 1, 2, 3)},
      // No 1/n_sq factor: radius 2 gives the unit sphere's value.
      {"R^0_101 at (0, 0, 0, 2)", 1.0, riemannTensor({0, 0, 0, 2}, 0, 1, 0, 1)},
      {"R^0_101 at the north pole", 1.0, riemannTensor(NORTH, 0, 1, 0, 1)},
      // The upper index takes the plain delta, not the projector.
      {"R^3_131 at the north pole", 1.0, riemannTensor(NORTH, 3, 1, 3, 1)},
      {"upper index 7", 0.0, riemannTensor(NORTH, 7, 1, 2, 3)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_SAME_BITS(row.expected, row.actual);
  }
}

TEST(Curvature, EverythingIsZeroAtADegeneratePoint) {
  for (const HomVec4 point : {HomVec4{0, 0, 0, 0}, HomVec4{1e-8, 0, 0, 0}, HomVec4{EDGE_BELOW, 0, 0, 0}}) {
    SCOPED_TRACE(point.x);
    const Christoffel gamma = christoffelSymbols(point);
    for (const auto& plane : gamma) {
      for (const auto& row : plane) {
        for (const double g : row) EXPECT_SAME_BITS(0.0, g);
      }
    }
    EXPECT_SAME((HomVec4{0, 0, 0, 0}), geodesicAcceleration(point, {1, 2, 3, 4}));
    EXPECT_SAME_BITS(0.0, sectionalCurvature(point));
    EXPECT_SAME_BITS(0.0, scalarCurvature(point));
    for (std::size_t j = 0; j < 4; ++j) {
      for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_SAME_BITS(0.0, ricciTensor(point, j, k));
        EXPECT_SAME_BITS(0.0, riemannTensor(point, 0, j, k, 3));
      }
    }
  }
}

using CurvatureDeathTest = ::testing::Test;

TEST_F(CurvatureDeathTest, IndicesThatReadCoordinatesAreChecked) {
  EXPECT_DEATH(riemannTensor(NORTH, 0, 4, 0, 0), "index out of bounds: index 4, len 4");
  EXPECT_DEATH(riemannTensor(NORTH, 0, 0, 9, 0), "index out of bounds: index 9, len 4");
  EXPECT_DEATH(ricciTensor(NORTH, 1, 4), "index out of bounds: index 4, len 4");
  // Checked before the degenerate-point rule: the origin does not excuse them.
  EXPECT_DEATH(riemannTensor({0, 0, 0, 0}, 0, 0, 0, 4), "index out of bounds: index 4, len 4");
  EXPECT_DEATH(ricciTensor({0, 0, 0, 0}, 5, 0), "index out of bounds: index 5, len 4");
}

}  // namespace
}  // namespace quor
