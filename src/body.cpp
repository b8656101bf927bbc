#include "quor/body.hpp"

#include "quor/distance.hpp"

namespace quor {

QuorBody QuorBody::init(HomVec4 pos, HomVec4 vel, double mass) {
  const double n = pos.norm();
  // Written as n > 1e-15 so that a NaN norm also falls back to the base point;
  // normalize's own fallback is therefore never reached from here.
  const HomVec4 position = n > 1e-15 ? pos.normalize() : HomVec4::fromCartesian(0.0, 0.0, 0.0);
  return {
      .position = position,
      .velocity = vel,
      .mass = mass,
      .restitution = 0.5,
      .friction = 0.3,
      .force_accum = HomVec4::zero(),
      .body_type = BodyType::dynamic,
      .active = true,
  };
}

QuorBody QuorBody::static_(HomVec4 pos) {
  QuorBody body = init(pos, HomVec4::zero(), 0.0);
  body.body_type = BodyType::static_;
  body.active = false;
  return body;
}

void QuorBody::applyForce(HomVec4 force) {
  if (body_type != BodyType::dynamic) return;
  force_accum = {force_accum.x + force.x, force_accum.y + force.y, force_accum.z + force.z, force_accum.w + force.w};
}

void QuorBody::clearForces() { force_accum = HomVec4::zero(); }

double QuorBody::distanceTo(QuorBody other) const { return fsDistance(position, other.position); }

}  // namespace quor
