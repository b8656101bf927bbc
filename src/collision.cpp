#include "quor/collision.hpp"

#include "quor/distance.hpp"
#include "quor/geodesic.hpp"

namespace quor {

CollisionResult checkCollision(QuorBody a, QuorBody b, double threshold) {
  const double d = fsDistance(a.position, b.position);
  // Written as the test for "apart" so that a NaN threshold counts as contact.
  if (d >= threshold) return {.fs_distance = d, .normal = HomVec4::zero(), .collided = false};
  // logMap only for contacts: a pair that is apart costs one distance.
  const HomVec4 tangent = logMap(a.position, b.position);
  const HomVec4 normal = tangent.norm() > 1e-15 ? tangent.normalize() : HomVec4::zero();
  return {.fs_distance = d, .normal = normal, .collided = true};
}

}  // namespace quor
