// Gravity and damping: values to the last bit, the guard at distance 0 and
// the bound that keeps gravity finite.
#include "quor/forces.hpp"

#include <gtest/gtest.h>

#include "physics_support.hpp"

namespace quor {
namespace {

constexpr HomVec4 E_X{1, 0, 0, 0};

TEST(QuorGravity, ValuesAlongTheLogarithmDirection) {
  struct Row {
    const char* name;
    HomVec4 attractor;
    double attractor_mass;
    double G;
    HomVec4 expected;
  };
  const Row rows[] = {
      {"at the body", {1, 0, 0, 0}, 1, 1, {0, 0, 0, 0}},
      {"at the antipode", {-1, 0, 0, 0}, 1, 1, {0, 0, 0, 0}},
      // d = π/2: y = 1/(1 + 1e-10); x ≈ -6.1e-17 because cos of the double
      // nearest π/2 is not 0.
      {"quarter turn", {0, 1, 0, 0}, 1, 1, {-0x1.1a626330cc77fp-54, 0x1.ffffffff24190p-1, 0, 0}},
      // sin d = 0.8: y ≈ 1/(0.64 + 1e-10) ≈ 1.56249999976.
      {"(0.6, 0.8, 0, 0)", {0.6, 0.8, 0, 0}, 1, 1, {0, 0x1.8ffffffef3907p+0, 0, 0}},
      // The attractor is not flipped: same magnitude, but a component along
      // the body's position, ≈ (-1.30007858, 0.86671906, 0, 0).
      {"(-0.6, 0.8, 0, 0)", {-0.6, 0.8, 0, 0}, 1, 1, {-0x1.4cd1f33b83eedp+0, 0x1.bbc299a4afe91p-1, 0, 0}},
      // The attractor's length does not matter: ≈ (0, 1.5/(1 + 1e-10), 0, 0).
      {"unnormalised attractor", {0, 2, 0, 0}, 3, 0.5, {-0x1.a79394c932b3fp-55, 0x1.7fffffff5b12cp+0, 0, 0}},
      {"negative G repels", {0, 1, 0, 0}, 1, -1, {0x1.1a626330cc77fp-54, -0x1.ffffffff24190p-1, -0.0, -0.0}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const QuorBody body = QuorBody::init(E_X, HomVec4::zero(), 1.0);
    EXPECT_SAME(row.expected, quorGravity(body, row.attractor, row.attractor_mass, row.G));
  }
}

TEST(QuorGravity, DoesNotDependOnTheBodysMass) {
  const HomVec4 attractor{0.3, -0.2, 0.9, 0.1};
  const HomVec4 light = quorGravity(QuorBody::init({1, 2, 3, 4}, {0, 1, 0, 0}, 1.0), attractor, 2.0, 0.7);
  const HomVec4 heavy = quorGravity(QuorBody::init({1, 2, 3, 4}, HomVec4::zero(), 5.0), attractor, 2.0, 0.7);
  EXPECT_SAME(light, heavy);
}

TEST(QuorGravity, StaysBelowTheSofteningBoundAtTheSmallestDistance) {
  // fsDistance is 0 or at least about 1.5e-8; here it is about 2.1e-8, which
  // passes the guard, and the softening keeps |F| under |G·M|·1e10.
  const QuorBody body = QuorBody::init(E_X, HomVec4::zero(), 1.0);
  const HomVec4 attractor{1, 2e-8, 0, 0};
  ASSERT_GT(body.distanceTo(QuorBody::init(attractor, HomVec4::zero(), 1.0)), 1e-10);
  const double magnitude = quorGravity(body, attractor, 1.0, 1.0).norm();
  EXPECT_LT(magnitude, 1e10);
  EXPECT_GT(magnitude, 0.9999e10);
}

TEST(DampingForce, IsMinusGammaTimesTheVelocity) {
  struct Row {
    const char* name;
    HomVec4 velocity;
    double gamma;
    HomVec4 expected;
  };
  const Row rows[] = {
      {"drag", {1, 0, 0, 0}, 0.5, {-0.5, -0.0, -0.0, -0.0}},
      {"no drag", {1, -2, 3, -4}, 0.0, {-0.0, 0.0, -0.0, 0.0}},
      {"negative gamma pushes", {0, 2, 0, 0}, -1.0, {0, 2, 0, 0}},
      {"radial part kept", {0.25, 0, 0, 1}, 2.0, {-0.5, -0.0, -0.0, -2.0}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_SAME(row.expected, dampingForce(row.velocity, row.gamma));
  }
}

}  // namespace
}  // namespace quor
