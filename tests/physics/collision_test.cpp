// checkCollision: the threshold on both sides, nan, the normal's direction
// and the zero normal at distance 0.
#include "quor/collision.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "physics_support.hpp"

namespace quor {
namespace {

using test::nan;
constexpr HomVec4 E_X{1, 0, 0, 0};
constexpr HomVec4 E_Y{0, 1, 0, 0};
constexpr HomVec4 ZERO{0, 0, 0, 0};
constexpr double HALF_PI = 0x1.921fb54442d18p+0;
// arctan(0.01/0.99) ≈ 0.0101006666, the distance from E_X to NEAR.
constexpr double NEAR_DISTANCE = 0x1.4afa88536bc50p-7;
const HomVec4 NEAR = HomVec4{0.99, 0.01, 0, 0}.normalize();

TEST(CheckCollision, ThresholdsDistancesAndNormals) {
  struct Row {
    const char* name;
    HomVec4 a;
    HomVec4 b;
    double threshold;
    bool collided;
    double fs_distance;
    HomVec4 normal;
  };
  const Row rows[] = {
      {"quarter turn apart", E_X, E_Y, 0.1, false, HALF_PI, ZERO},
      {"close", E_X, NEAR, 0.5, true, NEAR_DISTANCE, {0, 1, 0, 0}},
      // The normal at b, towards a: ≈ (0.0101005, -0.9999490, 0, 0).
      {"close, swapped", NEAR, E_X, 0.5, true, NEAR_DISTANCE, {0x1.4af9177ee14a2p-7, -0x1.fff95058471fep-1, 0, 0}},
      {"threshold just below the distance", E_X, NEAR, 0.0101, false, NEAR_DISTANCE, ZERO},
      {"threshold equal to the distance", E_X, NEAR, NEAR_DISTANCE, false, NEAR_DISTANCE, ZERO},
      {"threshold one ulp above", E_X, NEAR, std::nextafter(NEAR_DISTANCE, 1.0), true, NEAR_DISTANCE, {0, 1, 0, 0}},
      {"itself", E_X, E_X, 0.1, true, 0.0, ZERO},
      {"antipode", E_X, {-1, 0, 0, 0}, 0.1, true, 0.0, ZERO},
      {"itself, threshold 0", E_X, E_X, 0.0, false, 0.0, ZERO},
      {"negative threshold", E_X, E_X, -1.0, false, 0.0, ZERO},
      // cos of the double nearest π/2 is about 6.1e-17, hence x.
      {"threshold above π/2", E_X, E_Y, 2.0, true, HALF_PI, {-0x1.1a62633145c07p-54, 1, 0, 0}},
      {"nan threshold", E_X, E_Y, nan, true, HALF_PI, {-0x1.1a62633145c07p-54, 1, 0, 0}},
      // b unflipped by logMap: the normal ≈ (-0.83205029, 0.55470020, 0, 0)
      // leans along a's position.
      {"obtuse pair",
       E_X,
       {-0.6, 0.8, 0, 0},
       1.0,
       true,
       0x1.dac670561bb50p-1,
       {-0x1.aa027f059dce0p-1, 0x1.1c01aa03be895p-1, 0, 0}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const QuorBody a = QuorBody::init(row.a, ZERO, 1.0);
    const QuorBody b = QuorBody::init(row.b, ZERO, 1.0);
    const CollisionResult result = checkCollision(a, b, row.threshold);
    EXPECT_EQ(row.collided, result.collided);
    EXPECT_SAME_BITS(row.fs_distance, result.fs_distance);
    EXPECT_SAME(row.normal, result.normal);
  }
}

TEST(CheckCollision, IgnoresKindActivityMassAndVelocity) {
  const HomVec4 near{std::cos(0.01), std::sin(0.01), 0, 0};
  const CollisionResult dynamic_pair =
      checkCollision(QuorBody::init(E_X, ZERO, 1.0), QuorBody::init(near, ZERO, 1.0), 0.05);
  QuorBody kinematic = QuorBody::init(near, {0, 3, 0, 0}, -2.0);
  kinematic.body_type = QuorBody::BodyType::kinematic;
  kinematic.active = false;
  const CollisionResult mixed_pair = checkCollision(QuorBody::static_(E_X), kinematic, 0.05);
  EXPECT_TRUE(mixed_pair.collided);
  EXPECT_SAME_BITS(dynamic_pair.fs_distance, mixed_pair.fs_distance);
  EXPECT_SAME(dynamic_pair.normal, mixed_pair.normal);
}

}  // namespace
}  // namespace quor
