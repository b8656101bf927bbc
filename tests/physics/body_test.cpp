// QuorBody: construction, the force accumulator and the distance.
#include "quor/body.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "physics_support.hpp"

namespace quor {
namespace {

using test::inf;
using test::nan;
constexpr HomVec4 BASE_POINT{0.0, 0.0, 0.0, 1.0};

TEST(QuorBodyInit, NormalisesThePositionOrFallsBackToTheBasePoint) {
  struct Row {
    const char* name;
    HomVec4 pos;
    HomVec4 expected;
  };
  const Row rows[] = {
      // (3, 4, 0, 1)/√26 ≈ (0.588348405, 0.784464541, 0, 0.196116135).
      {"(3, 4, 0, 1)", {3, 4, 0, 1}, {0x1.2d3c008fd1895p-1, 0x1.91a556151761cp-1, 0.0, 0x1.91a556151761cp-3}},
      {"(2, 0, 0, 0)", {2, 0, 0, 0}, {1, 0, 0, 0}},
      {"zero", {0, 0, 0, 0}, BASE_POINT},
      {"norm exactly 1e-15", {1e-15, 0, 0, 0}, BASE_POINT},
      {"norm just above 1e-15", {std::nextafter(1e-15, 1.0), 0, 0, 0}, {1, 0, 0, 0}},
      {"nan component", {0.5, nan, 0, 0}, BASE_POINT},
      // An infinite norm passes the test and divides through.
      {"infinite component", {inf, 1, 0, 0}, {nan, 0, 0, 0}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_SAME(row.expected, QuorBody::init(row.pos, HomVec4::zero(), 1.0).position);
  }
}

TEST(QuorBodyInit, StoresVelocityAndMassUnchanged) {
  const HomVec4 radial{1, 0, 0, 0};
  for (const double mass : {1.0, 0.0, -3.0, nan}) {
    SCOPED_TRACE(mass);
    const QuorBody body = QuorBody::init({2, 0, 0, 0}, radial, mass);
    const QuorBody expected{.position = {1, 0, 0, 0},
                            .velocity = radial,
                            .mass = mass,
                            .restitution = 0.5,
                            .friction = 0.3,
                            .force_accum = HomVec4::zero(),
                            .body_type = QuorBody::BodyType::dynamic,
                            .active = true};
    EXPECT_SAME_BODY(expected, body);
  }
}

TEST(QuorBodyStatic, IsInactiveMasslessAndAtRest) {
  const QuorBody expected{.position = BASE_POINT,
                          .velocity = HomVec4::zero(),
                          .mass = 0.0,
                          .restitution = 0.5,
                          .friction = 0.3,
                          .force_accum = HomVec4::zero(),
                          .body_type = QuorBody::BodyType::static_,
                          .active = false};
  EXPECT_SAME_BODY(expected, QuorBody::static_({0, 0, 0, 1}));
  EXPECT_SAME(BASE_POINT, QuorBody::static_({0, 0, 0, 5}).position);
}

TEST(QuorBodyForces, OnlyDynamicBodiesAccumulateActiveOrNot) {
  struct Row {
    const char* name;
    QuorBody::BodyType type;
    bool active;
    HomVec4 expected;
  };
  const Row rows[] = {
      {"dynamic", QuorBody::BodyType::dynamic, true, {1, 2, 0, 0}},
      {"inactive dynamic", QuorBody::BodyType::dynamic, false, {1, 2, 0, 0}},
      {"static", QuorBody::BodyType::static_, false, HomVec4::zero()},
      {"active static", QuorBody::BodyType::static_, true, HomVec4::zero()},
      {"kinematic", QuorBody::BodyType::kinematic, true, HomVec4::zero()},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    QuorBody body = QuorBody::init({0, 0, 0, 1}, HomVec4::zero(), 1.0);
    body.body_type = row.type;
    body.active = row.active;
    // Not tangent at (0, 0, 0, 1): the accumulator takes it unprojected.
    body.applyForce({1, 0, 0, 0});
    body.applyForce({0, 2, 0, 0});
    EXPECT_SAME(row.expected, body.force_accum);
  }
}

TEST(QuorBodyForces, ClearZeroesTheAccumulatorOfEveryKindAndNothingElse) {
  for (const auto type : {QuorBody::BodyType::dynamic, QuorBody::BodyType::static_, QuorBody::BodyType::kinematic}) {
    QuorBody body = QuorBody::init({1, 2, 3, 4}, {0.5, -1, 0, 0}, 2.0);
    body.force_accum = {7, -8, 9, nan};
    body.body_type = type;
    QuorBody expected = body;
    expected.force_accum = HomVec4::zero();
    body.clearForces();
    EXPECT_SAME_BODY(expected, body);
  }
}

TEST(QuorBodyDistance, IsTheProjectiveAngleBetweenPositions) {
  struct Row {
    const char* name;
    HomVec4 a;
    HomVec4 b;
    double expected;
  };
  const Row rows[] = {
      {"orthogonal", {1, 0, 0, 0}, {0, 1, 0, 0}, 0x1.921fb54442d18p+0},  // the double nearest π/2
      {"itself", {1, 2, 3, 4}, {1, 2, 3, 4}, 0.0},
      {"antipode", {1, 0, 0, 0}, {-1, 0, 0, 0}, 0.0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const QuorBody a = QuorBody::init(row.a, HomVec4::zero(), 1.0);
    const QuorBody b = QuorBody::init(row.b, HomVec4::zero(), 1.0);
    EXPECT_SAME_BITS(row.expected, a.distanceTo(b));
    EXPECT_SAME_BITS(row.expected, b.distanceTo(a));
  }
}

}  // namespace
}  // namespace quor
