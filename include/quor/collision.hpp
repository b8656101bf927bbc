// Contact detection between two bodies on S³. Detection only: no response is
// computed and neither body changes.
#pragma once

#include "quor/body.hpp"
#include "quor/hom_vec4.hpp"

namespace quor {

struct CollisionResult {
  /// The Fubini-Study distance between the positions, in [0, pi/2]; filled
  /// whether or not the bodies touch.
  double fs_distance;
  /// For a contact, the unit tangent at the first body's position towards the
  /// second, or zero when no direction exists (coincident or antipodal
  /// positions); always zero without contact.
  HomVec4 normal;
  bool collided;
};

/// Contact exactly when the test fs_distance >= threshold fails: when the
/// distance is below the threshold, and for a NaN threshold. Reads the two
/// positions only, so bodies of every kind, active or not, are tested alike.
/// Swapping the bodies gives the normal at b's position, towards a.
CollisionResult checkCollision(QuorBody a, QuorBody b, double threshold);

}  // namespace quor
