#include "quor/geodesic_state.hpp"

#include <cmath>
#include <limits>

#include "expect_vec.hpp"
#include "quor/geodesic_rk4.hpp"

namespace quor {
namespace {

using test::expectSameState;
using test::nan;

TEST(GeodesicState, ReadsAndWritesComponentsInTheOrderXYZW) {
  const GeodesicState s = GeodesicState::fromHomVec4({1, 2, 3, 4}, {5, 6, -0.0, nan});
  expectSameState(GeodesicState::init({1, 2, 3, 4}, {5, 6, -0.0, nan}), s);
  EXPECT_SAME({1, 2, 3, 4}, s.pos());
  EXPECT_SAME({5, 6, -0.0, nan}, s.vel());
}

TEST(GeodesicState, ArithmeticTreatsAStateAsEightNumbers) {
  const GeodesicState a = GeodesicState::init({1, 0.0, -2, 8}, {0.5, -0.0, 3, 4});
  const GeodesicState b = GeodesicState::init({2, -0.0, 2, 1}, {0.25, -0.0, -3, 1e-300});
  expectSameState(GeodesicState::init({3, 0.0, 0, 9}, {0.75, -0.0, 0, 4}), addState(a, b));
  expectSameState(GeodesicState::init({-2, -0.0, 4, -16}, {-1, 0.0, -6, -8}), scaleState(a, -2.0));
}

TEST(GeodesicState, FreeRhsIsVelocityAndCentripetalPull) {
  const GeodesicState s = GeodesicState::fromHomVec4({1, 0, 0, 0}, {0, 2, 0, 0});
  const GeodesicState expected = GeodesicState::init({0, 2, 0, 0}, {-4, -0.0, -0.0, -0.0});
  for (const double t : {0.0, 17.5, nan}) expectSameState(expected, freeGeodesicRhs(t, s));
  // Off the sphere nothing rescales: v' = -|v|²·q with |v|² = 1 + 4.
  expectSameState(GeodesicState::init({1, 2, 0, 0}, {-15, -0.0, 5, -10}),
                  freeGeodesicRhs(0.0, GeodesicState::init({3, 0, -1, 2}, {1, 2, 0, 0})));
}

TEST(GeodesicState, OneRk4StepDriftsSlightlyOffTheSphere) {
  const GeodesicState y = GeodesicState::fromHomVec4({1, 0, 0, 0}, {0, 1, 0, 0});
  const GeodesicState next = rk4Step(&freeGeodesicRhs, 0.0, y, 0.1);
  EXPECT_SAME({0.9950041457813804, 0.0998333328085905, 0, 0}, next.pos());
  EXPECT_NEAR(0.99999997, next.pos().norm(), 1e-8);
  EXPECT_LT(next.pos().norm(), 1.0);
  EXPECT_NEAR(std::cos(0.1), next.q[0], 1e-6);
  EXPECT_NEAR(std::sin(0.1), next.q[1], 1e-6);
}

TEST(GeodesicState, Rk4StepKeepsItsGrouping) {
  // A step size and state where (k1 + 2·k2) + (2·k3 + k4) differs from the
  // left-to-right sum, and (h/6)·c from (1/6)·(h·c) and (h·(1/6))·c.
  const GeodesicState y = GeodesicState::init({0.8, 0, 0, 0.6}, {0, 0.7, -0.5, 0});
  expectSameState(
      GeodesicState::init({0.7946892378050551, 0.09360660894873346, -0.0668618635348096, 0.5960169283537913},
                          {-0.07916359070199563, 0.695353252653126, -0.4966808947522328, -0.05937269302649673}),
      rk4Step(&freeGeodesicRhs, 0.0, y, 0.13402061855670103));
}

TEST(GeodesicState, RenormalizeProjectsBackOntoS3) {
  const GeodesicState bad = GeodesicState::init({1.01, 0.02, 0.01, 0.01}, {0.0, 1.0, 0.0, 0.0});
  const GeodesicState fixed = renormalizeOnS3(bad);
  EXPECT_SAME({0.9997060408539692, 0.01979615922483107, 0.009898079612415536, 0.009898079612415536}, fixed.pos());
  EXPECT_SAME({-0.01979033996277065, 0.9996081120799452, -0.00019594396002743216, -0.00019594396002743216},
              fixed.vel());
  EXPECT_LT(fixed.vel().norm(), bad.vel().norm());  // the speed is not restored

  // Applying it again changes nothing but rounding.
  const GeodesicState twice = renormalizeOnS3(fixed);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_NEAR(fixed.q[i], twice.q[i], 1e-16);
    EXPECT_NEAR(fixed.v[i], twice.v[i], 1e-16);
  }
}

TEST(GeodesicState, RenormalizeEdgeValues) {
  struct Row {
    const char* what;
    GeodesicState in, expected;
  };
  const GeodesicState tiny = GeodesicState::init({1e-16, 0, -0.0, 0}, {1, 2, 3, 4});
  const GeodesicState on = GeodesicState::init({0.6, 0, 0, 0.8}, {0, 1, 0, 0});
  const Row rows[] = {
      {"q below 1e-15: unchanged, normal velocity and all", tiny, tiny},
      {"q zero", GeodesicState::init({0, 0, 0, 0}, {nan, 1, 1, 1}), GeodesicState::init({0, 0, 0, 0}, {nan, 1, 1, 1})},
      // Exactly the threshold counts as non-zero.
      {"q of norm 1e-15", GeodesicState::init({1e-15, 0, 0, 0}, {3, 1, 0, 0}),
       GeodesicState::init({1, 0, 0, 0}, {0, 1, 0, 0})},
      {"on S3 with tangent velocity", on, on},
      {"NaN position", GeodesicState::init({nan, 0, 0, 1}, {0, 1, 0, 0}),
       GeodesicState::init({nan, nan, nan, nan}, {nan, nan, nan, nan})},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    expectSameState(r.expected, renormalizeOnS3(r.in));
  }
}

}  // namespace
}  // namespace quor
