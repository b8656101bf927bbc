#include "quor/geodesic.hpp"

#include <cmath>
#include <limits>

#include "expect_vec.hpp"

namespace quor {
namespace {

using test::expectNearVec;
using test::inf;
using test::nan;

constexpr double pi_4 = 0.7853981633974483;
constexpr double pi_2 = 1.5707963267948966;
constexpr double pi = 3.141592653589793;
constexpr HomVec4 e_x{1, 0, 0, 0};
constexpr HomVec4 e_y{0, 1, 0, 0};

// A unit point, a unit tangent there, and two unit normals to their plane;
// every product below is exact, so the pair is orthonormal to the bit.
constexpr HomVec4 p0{0.6, 0, 0, 0.8};
constexpr HomVec4 v0{0, 0.6, 0.8, 0};
constexpr HomVec4 n1{0.8, 0, 0, -0.6};
constexpr HomVec4 n2{0, 0.8, -0.6, 0};

TEST(Geodesic, ClosedFormValuesToTheBit) {
  struct Row {
    const char* what;
    HomVec4 expected, actual;
  };
  const HomVec4 odd{3, -0.0, 5, 7};  // not unit, and a -0 that arithmetic would turn into +0
  const Row rows[] = {
      {"exact at pi", {-1, 1.2246467991473532e-16, 0, 0}, geodesicExact(e_x, e_y, pi)},
      {"exact at 0", p0, geodesicExact(p0, e_y, 0.0)},
      {"scaled by speed 2", {6.123233995736766e-17, 1, 0, 0}, geodesicScaled(e_x, {0, 2, 0, 0}, pi_4)},
      {"scaled, no speed", odd, geodesicScaled(odd, {0, 0, 0, 0}, 1.0)},
      {"scaled, speed below 1e-15", odd, geodesicScaled(odd, {9e-16, 0, 0, 0}, 1e300)},
      {"scaled, speed below 1e-15, NaN t", odd, geodesicScaled(odd, {0, -1e-16, 0, 0}, nan)},
      {"exp of zero", odd, expMap(odd, {0, 0, 0, 0})},
      {"scaled, NaN speed", {nan, nan, nan, nan}, geodesicScaled(e_x, {nan, 0, 0, 0}, 1.0)},
      // Inputs where (sn·v_i)·inv_speed differs from (sn·inv_speed)·v_i,
      // sn·(v_i / speed) and sn·(v_i·inv_speed).
      {"scaled, grouping",
       {0.5982608408374235, 0.069932352953957, 0.029971008408838717, 0.7976811211165646},
       geodesicScaled(p0, {0, 0.7, 0.3, 0}, 0.1)},
      // Inputs where the transported vector depends on the grouping of the
      // in-plane and normal parts.
      {"transport, grouping",
       {1.4900195768179296, 2.1806002189873004, -0.3099804231820704, 0.28060021898730025},
       parallelTransport({0.5, 0.5, 0.5, 0.5}, {0.5, -0.5, 0.5, -0.5}, {1.1, 2.3, -0.7, 0.4}, 0.3)},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_SAME(r.expected, r.actual);
  }
}

TEST(Geodesic, ExactIgnoresTheSpeedThatScaledFollows) {
  const HomVec4 fast{0, 2, 0, 0};
  const double t = 0.5;
  const HomVec4 g = geodesicExact(e_x, fast, t);
  EXPECT_SAME({std::cos(t), std::sin(t) * 2, 0, 0}, g);
  EXPECT_GT(g.norm(), 1.0);
  expectNearVec({std::cos(1.0), std::sin(1.0), 0, 0}, geodesicScaled(e_x, fast, t), 1e-16);
}

TEST(Geodesic, SpeedOfExactly1e15IsNotDegenerate) {
  const HomVec4 v{1e-15, 0, 0, 0};
  ASSERT_EQ(1e-15, v.norm());
  // Leaving e_y in direction e_x by the angle 1e-15 moves x off zero.
  const HomVec4 g = geodesicScaled(e_y, v, 1.0);
  EXPECT_NEAR(1e-15, g.x, 1e-30);
  EXPECT_EQ(1.0, g.y);
}

TEST(Geodesic, LogMapEdgeValuesToTheBit) {
  struct Row {
    const char* what;
    HomVec4 p, q, expected;
  };
  const Row rows[] = {
      {"coincident", e_x, {1, 0, 0, 0}, {0, 0, 0, 0}},
      {"antipodal", e_x, {-1, 0, 0, 0}, {0, 0, 0, 0}},
      {"scaled copy", e_x, {3, 0, 0, 0}, {0, 0, 0, 0}},
      {"p below 1e-15", {1e-16, 0, 0, 0}, e_y, {0, 0, 0, 0}},
      {"q zero", e_x, {0, 0, 0, 0}, {0, 0, 0, 0}},
      {"quarter turn", e_x, e_y, {-9.618353468608949e-17, pi_2, 0, 0}},
      // q in the opposite hemisphere is used unflipped: x keeps 2·scale·(p·q).
      {"opposite hemisphere", e_x, {-0.6, 0.8, 0, 0}, {-1.3909428270024184, 0.9272952180016123, 0, 0}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_SAME(r.expected, logMap(r.p, r.q));
  }
}

TEST(Geodesic, ExpUndoesLogWithinTheHemisphere) {
  // Unit q with p·q >= 0: the log is tangent, as long as the angle, and exp
  // brings it back.
  const HomVec4 qs[] = {
      e_y,
      {0.6, 0.8, 0, 0},
      {0.5, 0.5, 0.5, 0.5},
      HomVec4{1, 1e-7, 0, 0}.normalize(),
      HomVec4{0.1, -3, 2, 1}.normalize(),
  };
  for (const HomVec4& q : qs) {
    SCOPED_TRACE(testing::Message() << q.x << " " << q.y << " " << q.z << " " << q.w);
    const HomVec4 v = logMap(e_x, q);
    EXPECT_NEAR(0.0, e_x.dot(v), 1e-15);
    // The angle by atan2, which unlike acos stays accurate near 0.
    const double angle = std::atan2(std::sqrt((q.y * q.y + q.z * q.z) + q.w * q.w), q.x);
    EXPECT_NEAR(angle, v.norm(), 1e-15);
    expectNearVec(q, expMap(e_x, v), 1e-15);
  }
}

TEST(Geodesic, FsDistanceAlongGeodesicFoldsAtHalfPi) {
  struct Row {
    double t, expected;
  };
  const Row exact[] = {
      {0.0, 0.0}, {-0.0, 0.0}, {pi_4, pi_4}, {-pi_4, pi_4}, {pi_2, pi_2}, {pi, 0.0}, {-pi, 0.0}, {nan, nan}, {inf, nan},
  };
  for (const Row& r : exact) EXPECT_SAME_BITS(r.expected, fsDistanceAlongGeodesic(r.t)) << "t = " << r.t;

  EXPECT_NEAR(pi_4, fsDistanceAlongGeodesic(2.356194490192345), 1e-15);
  for (const double t : {0.1, 1.0, 1.6, 2.5, 3.0, 10.0, 123.456}) {
    SCOPED_TRACE(t);
    const double d = fsDistanceAlongGeodesic(t);
    EXPECT_GE(d, 0.0);
    EXPECT_LE(d, pi_2);
    EXPECT_SAME_BITS(d, fsDistanceAlongGeodesic(-t));
    EXPECT_NEAR(d, fsDistanceAlongGeodesic(t + pi), 1e-13);
  }
}

TEST(Geodesic, OrthogonalVelocityTiesAndSignedZeros) {
  struct Row {
    const char* what;
    HomVec4 p, expected;
  };
  const double s = std::sqrt(0.75);
  const Row rows[] = {
      {"all tie: w", {0.5, 0.5, 0.5, 0.5}, {-0.25 / s, -0.25 / s, -0.25 / s, 0.75 / s}},
      {"zero vector: w", {0, 0, 0, 0}, {-0.0, -0.0, -0.0, 1}},
      {"w smallest", e_x, {-0.0, -0.0, -0.0, 1}},
      {"x ties y and z: x", {0, 0, 0, 1}, {1, -0.0, -0.0, -0.0}},
      {"y ties z: y", {0.6, 0, 0, 0.8}, {-0.0, 1, -0.0, -0.0}},
      {"z strictly smallest", {0.48, 0.6, 0, 0.64}, {-0.0, -0.0, 1, -0.0}},
      {"z strictly smallest, negative", {-0.48, 0.6, -0.0, -0.64}, {-0.0, 0.0, 1, -0.0}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_SAME(r.expected, orthogonalVelocity(r.p));
  }
}

TEST(Geodesic, OrthogonalVelocityIsAUnitTangent) {
  const HomVec4 ps[] = {p0,
                        n1,
                        {0.5, -0.5, 0.5, -0.5},
                        HomVec4{1, 2, 3, 4}.normalize(),
                        HomVec4{-4, 3, 2, 1}.normalize(),
                        HomVec4{1e-9, 1, 1e-9, 1e-9}.normalize()};
  for (const HomVec4& p : ps) {
    const HomVec4 v = orthogonalVelocity(p);
    EXPECT_NEAR(0.0, p.dot(v), 1e-15);
    EXPECT_NEAR(1.0, v.norm(), 1e-15);
  }
}

TEST(Geodesic, ParallelTransportTurnsThePlaneAndKeepsTheNormal) {
  for (const double t : {0.0, 0.3, -1.2, pi_2, pi, 4.0}) {
    SCOPED_TRACE(t);
    expectNearVec(geodesicExact(p0, v0, t), parallelTransport(p0, v0, p0, t), 1e-15);
    const double ct = std::cos(t), st = std::sin(t);
    expectNearVec({-st * p0.x + ct * v0.x, -st * p0.y + ct * v0.y, -st * p0.z + ct * v0.z, -st * p0.w + ct * v0.w},
                  parallelTransport(p0, v0, v0, t), 1e-15);
    // Orthogonal to the plane: not touched, to the bit.
    EXPECT_SAME(n1, parallelTransport(p0, v0, n1, t));
    EXPECT_SAME(n2, parallelTransport(p0, v0, n2, t));
    const HomVec4 w{1, -2, 0.5, 3};
    EXPECT_NEAR(w.norm(), parallelTransport(p0, v0, w, t).norm(), 1e-14);
  }
}

}  // namespace
}  // namespace quor
