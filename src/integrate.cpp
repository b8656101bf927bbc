#include "quor/integrate.hpp"

namespace quor {

namespace {

/// x + factor·k, component by component, factor formed by the caller.
HomVec4 advance(HomVec4 x, double factor, HomVec4 k) {
  return {x.x + factor * k.x, x.y + factor * k.y, x.z + factor * k.z, x.w + factor * k.w};
}

/// ((k1 + 2·k2) + 2·k3) + k4 for one component.
double rk4Sum(double k1, double k2, double k3, double k4) { return ((k1 + 2.0 * k2) + 2.0 * k3) + k4; }

/// The Runge-Kutta combination x + h·(((k1 + 2·k2) + 2·k3) + k4).
HomVec4 combine(HomVec4 x, double h, HomVec4 k1, HomVec4 k2, HomVec4 k3, HomVec4 k4) {
  return {x.x + h * rk4Sum(k1.x, k2.x, k3.x, k4.x), x.y + h * rk4Sum(k1.y, k2.y, k3.y, k4.y),
          x.z + h * rk4Sum(k1.z, k2.z, k3.z, k4.z), x.w + h * rk4Sum(k1.w, k2.w, k3.w, k4.w)};
}

/// The stage acceleration: the centripetal pull -|u|²·p that keeps uniform
/// motion on a great circle, plus the force per unit mass. The force part is
/// not re-evaluated at the stage position.
struct StageAcceleration {
  HomVec4 force;
  double m;

  HomVec4 operator()(HomVec4 p, HomVec4 u) const {
    const double neg_s = -u.dot(u);
    return {neg_s * p.x + force.x / m, neg_s * p.y + force.y / m, neg_s * p.z + force.z / m, neg_s * p.w + force.w / m};
  }
};

}  // namespace

void integrateStep(QuorBody& body, double dt, HomVec4 external_force) {
  if (!body.active || body.body_type != QuorBody::BodyType::dynamic) return;
  const HomVec4 q = body.position;
  const HomVec4 v = body.velocity;
  const double m = body.mass;
  // Strict: a mass of exactly 1e-10 is integrated. The accumulator is kept.
  if (m < 1e-10) return;

  const HomVec4 f = body.force_accum;
  const StageAcceleration a{
      {external_force.x + f.x, external_force.y + f.y, external_force.z + f.z, external_force.w + f.w}, m};

  // Intermediate states are left off the sphere on purpose (by O(dt²)).
  const double half_dt = 0.5 * dt;
  const HomVec4 k1_q = v;
  const HomVec4 k1_v = a(q, v);
  const HomVec4 v2 = advance(v, half_dt, k1_v);
  const HomVec4 k2_q = v2;
  const HomVec4 k2_v = a(advance(q, half_dt, k1_q), v2);
  const HomVec4 v3 = advance(v, half_dt, k2_v);
  const HomVec4 k3_q = v3;
  const HomVec4 k3_v = a(advance(q, half_dt, k2_q), v3);
  const HomVec4 v4 = advance(v, dt, k3_v);
  const HomVec4 k4_q = v4;
  const HomVec4 k4_v = a(advance(q, dt, k3_q), v4);

  // A division, not a multiplication by a stored sixth: the bits differ.
  const double h = dt / 6.0;
  body.position = combine(q, h, k1_q, k2_q, k3_q, k4_q);
  body.velocity = combine(v, h, k1_v, k2_v, k3_v, k4_v);

  if (body.position.norm() > 1e-15) body.position = body.position.normalize();
  // Projected against the position as it now is, normalised or not.
  const HomVec4 p = body.position;
  const double vradial = body.velocity.dot(p);
  body.velocity = {body.velocity.x - vradial * p.x, body.velocity.y - vradial * p.y, body.velocity.z - vradial * p.z,
                   body.velocity.w - vradial * p.w};
  body.clearForces();
}

}  // namespace quor
