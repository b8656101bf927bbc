#include "quor/geodesic_state.hpp"

namespace quor {

GeodesicState freeGeodesicRhs(double, GeodesicState state) {
  const auto& v = state.v;
  const double speed_sq = ((v[0] * v[0] + v[1] * v[1]) + v[2] * v[2]) + v[3] * v[3];
  GeodesicState r{state.v, {}};
  for (std::size_t i = 0; i < 4; ++i) r.v[i] = (-speed_sq) * state.q[i];
  return r;
}

GeodesicState renormalizeOnS3(GeodesicState state) {
  const HomVec4 q = state.pos();
  const double n = q.norm();
  // 1e-15: the smallest norm that counts as non-zero. A NaN norm fails the
  // test and propagates.
  if (n < 1e-15) return state;
  // Four divisions, not one reciprocal: the bits depend on it.
  const HomVec4 q_norm{q.x / n, q.y / n, q.z / n, q.w / n};
  const HomVec4 v = state.vel();
  const double vn = v.dot(q_norm);
  const HomVec4 v_tangent{v.x - vn * q_norm.x, v.y - vn * q_norm.y, v.z - vn * q_norm.z, v.w - vn * q_norm.w};
  return GeodesicState::fromHomVec4(q_norm, v_tangent);
}

}  // namespace quor
