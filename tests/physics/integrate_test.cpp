// integrateStep: the Runge-Kutta step to the last bit, the early returns that
// keep the accumulator, and a pinned long run.
#include "quor/integrate.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "physics_support.hpp"
#include "quor/forces.hpp"

namespace quor {
namespace {

constexpr HomVec4 E_X{1, 0, 0, 0};
constexpr HomVec4 ZERO{0, 0, 0, 0};

struct Scenario {
  const char* name;
  HomVec4 velocity;
  double mass;
  HomVec4 accumulated;
  double dt;
  HomVec4 external;
  HomVec4 position_after;
  HomVec4 velocity_after;
};

// Every scenario starts at (1, 0, 0, 0). The expected bits come from an
// independent evaluation of the step in the same grouping.
const Scenario scenarios[] = {
    // ≈ (cos 0.001, sin 0.001) and speed 0.1 along the great circle.
    {"free motion",
     {0, 0.1, 0, 0},
     1.0,
     ZERO,
     0.01,
     ZERO,
     {0x1.ffffef390876cp-1, 0x1.0624da5218a3cp-10, 0, 0},
     {-0x1.a36e2a1cf4393p-14, 0x1.99998c2da05f0p-4, 0, 0}},
    // ≈ (0.99999687500488, 0.00249999609376) and (-1.2499960938e-4, 0.04999976562553).
    {"accumulated force",
     ZERO,
     2.0,
     {0, 1, 0, 0},
     0.1,
     ZERO,
     {0x1.ffff97247f104p-1, 0x1.47adf2ecf7c04p-9, 0, 0},
     {-0x1.0624a77f3da96p-13, 0x1.99991bc56b00ep-5, 0, 0}},
    {"external force",
     ZERO,
     2.0,
     ZERO,
     0.1,
     {0, 1, 0, 0},
     {0x1.ffff97247f104p-1, 0x1.47adf2ecf7c04p-9, 0, 0},
     {-0x1.0624a77f3da96p-13, 0x1.99991bc56b00ep-5, 0, 0}},
    // Renormalisation and projection remove everything a radial push does.
    {"radial force", ZERO, 1.0, ZERO, 0.1, {1, 0, 0, 0}, {1, 0, 0, 0}, ZERO},
    // dt = 0 still projects the velocity: its radial 0.5 goes.
    {"dt = 0", {0.5, 0.1, 0, 0}, 1.0, ZERO, 0.0, ZERO, {1, 0, 0, 0}, {0, 0.1, 0, 0}},
    // ≈ (0.8776376634, 0.4793246622) against the exact (cos 0.5, sin 0.5).
    {"large step",
     {0, 1, 0, 0},
     1.0,
     ZERO,
     0.5,
     ZERO,
     {0x1.c159b94c1ed15p-1, 0x1.ead41590ea771p-2, 0, 0},
     {-0x1.eaed910b83546p-2, 0x1.c1710d80baf4fp-1, 0, 0}},
    // The lightest mass that is still integrated.
    {"mass exactly 1e-10",
     {0, 0.1, 0, 0},
     1e-10,
     ZERO,
     0.01,
     {0, 1e-12, 0, 0},
     {0x1.ffffef34bcad9p-1, 0x1.0646683fb39d4p-10, 0, 0},
     {-0x1.a40f4784da6f6p-14, 0x1.9a0267b021937p-4, 0, 0}},
};

TEST(IntegrateStep, ScenariosToTheLastBit) {
  for (const Scenario& s : scenarios) {
    SCOPED_TRACE(s.name);
    QuorBody body = QuorBody::init(E_X, s.velocity, s.mass);
    body.applyForce(s.accumulated);
    QuorBody expected = body;
    expected.position = s.position_after;
    expected.velocity = s.velocity_after;
    expected.force_accum = ZERO;
    integrateStep(body, s.dt, s.external);
    EXPECT_SAME_BODY(expected, body);
  }
}

TEST(IntegrateStep, FreeMotionFollowsTheGreatCircle) {
  QuorBody body = QuorBody::init(E_X, {0, 0.1, 0, 0}, 1.0);
  integrateStep(body, 0.01, ZERO);
  EXPECT_NEAR(std::cos(0.001), body.position.x, 1e-15);
  EXPECT_NEAR(std::sin(0.001), body.position.y, 1e-15);
}

TEST(IntegrateStep, EarlyReturnsLeaveTheBodyAndItsAccumulatorAlone) {
  struct Row {
    const char* name;
    QuorBody::BodyType type;
    bool active;
    double mass;
  };
  const Row rows[] = {
      {"static", QuorBody::BodyType::static_, true, 1.0},
      {"kinematic", QuorBody::BodyType::kinematic, true, 1.0},
      {"inactive dynamic", QuorBody::BodyType::dynamic, false, 1.0},
      {"mass 0", QuorBody::BodyType::dynamic, true, 0.0},
      {"negative mass", QuorBody::BodyType::dynamic, true, -1.0},
      {"mass just below 1e-10", QuorBody::BodyType::dynamic, true, 9.9e-11},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    QuorBody body = QuorBody::init(E_X, {0.5, 0.1, 0, 0}, row.mass);
    body.force_accum = {0, 1, 0, 0};
    body.body_type = row.type;
    body.active = row.active;
    const QuorBody before = body;
    integrateStep(body, 0.1, {1, 2, 3, 4});
    EXPECT_SAME_BODY(before, body);
  }
}

TEST(IntegrateStep, ForcesGatheredWhileInactiveLandOnTheFirstMovingStep) {
  QuorBody body = QuorBody::init(E_X, ZERO, 2.0);
  body.active = false;
  body.applyForce({0, 0.5, 0, 0});
  integrateStep(body, 0.1, ZERO);
  body.applyForce({0, 0.5, 0, 0});
  body.active = true;
  integrateStep(body, 0.1, ZERO);
  // The same step as one push of (0, 1, 0, 0).
  const Scenario& s = scenarios[1];
  EXPECT_SAME(s.position_after, body.position);
  EXPECT_SAME(s.velocity_after, body.velocity);
  EXPECT_SAME(ZERO, body.force_accum);
}

TEST(IntegrateStep, LongRunUnderGravityAndDampingIsPinned) {
  // Any change of grouping in the step, the forces or the kernel shows here.
  QuorBody body = QuorBody::init(E_X, {0, 0.3, 0, 0.05}, 1.5);
  const HomVec4 attractor{0, 0, 0.6, 0.8};
  for (int i = 0; i < 1000; ++i) {
    body.applyForce(quorGravity(body, attractor, 2.0, 0.5));
    integrateStep(body, 0.01, dampingForce(body.velocity, 0.1));
  }
  EXPECT_SAME((HomVec4{-0x1.4266cce176999p-3, 0x1.dee53af8e1a7bp-1, 0x1.b55386fc5372cp-4, 0x1.316840a711a93p-2}),
              body.position);
  EXPECT_SAME((HomVec4{-0x1.49105c68f7544p-1, 0x1.6b2dc084f1d9fp-1, -0x1.95f37504826fep+0, -0x1.ff00cbfaef1b0p+0}),
              body.velocity);
}

}  // namespace
}  // namespace quor
