// Point bodies on the unit 3-sphere: a plain record with a force accumulator.
#pragma once

#include <cstdint>

#include "quor/hom_vec4.hpp"

namespace quor {

/// A point body on S³. Every field is public and callers assign them freely;
/// only applyForce, clearForces and integrateStep change a body themselves.
/// restitution and friction are carried for callers: nothing in quor reads
/// them.
struct QuorBody {
  /// How the library treats a body.
  enum class BodyType : std::uint8_t {
    static_ = 0,    ///< never moves and ignores forces; made by QuorBody::static_
    dynamic = 1,    ///< accumulates forces and is moved while active and not too light
    kinematic = 2,  ///< ignores forces and is moved only by the caller's own writes
  };

  /// A unit 4-vector after construction, or the base point (0, 0, 0, 1).
  HomVec4 position;
  /// Tangent at position after each integration step, not necessarily before.
  HomVec4 velocity;
  /// Inertial mass; 0 for a static body. Never validated.
  double mass;
  double restitution;
  double friction;
  /// Sum of the forces applied since the last clear.
  HomVec4 force_accum;
  BodyType body_type;
  /// Whether integrateStep may move the body.
  bool active;

  /// A dynamic, active body. The position is normalised when its norm is above
  /// 1e-15; otherwise (tiny, zero or NaN) it becomes the base point
  /// (0, 0, 0, 1). Velocity and mass are stored as given.
  static QuorBody init(HomVec4 pos, HomVec4 vel, double mass);

  /// A static, inactive body at rest with mass 0.
  static QuorBody static_(HomVec4 pos);

  /// Adds force to the accumulator of a dynamic body, active or not, without
  /// projecting it onto the tangent space; other kinds ignore it.
  void applyForce(HomVec4 force);

  /// Zeroes the accumulator, whatever the kind.
  void clearForces();

  /// The Fubini-Study distance between the positions, in [0, pi/2]: 0 for
  /// equal and for antipodal positions.
  double distanceTo(QuorBody other) const;
};

}  // namespace quor
