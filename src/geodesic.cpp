#include "quor/geodesic.hpp"

#include <algorithm>
#include <cmath>

#include "quor/distance.hpp"

namespace quor {

HomVec4 geodesicExact(HomVec4 p, HomVec4 v, double t) {
  const double ct = std::cos(t);
  const double st = std::sin(t);
  return {ct * p.x + st * v.x, ct * p.y + st * v.y, ct * p.z + st * v.z, ct * p.w + st * v.w};
}

HomVec4 geodesicScaled(HomVec4 p, HomVec4 v, double t) {
  const double speed = v.norm();
  // Below 1e-15 there is no direction to leave p in. A NaN speed fails the
  // test and propagates.
  if (speed < 1e-15) return p;
  const double theta = speed * t;
  const double ct = std::cos(theta);
  const double sn = std::sin(theta);
  const double inv_speed = 1.0 / speed;
  // (sn·v_i)·inv_speed, in that order: the last bit depends on it.
  return {ct * p.x + (sn * v.x) * inv_speed, ct * p.y + (sn * v.y) * inv_speed, ct * p.z + (sn * v.z) * inv_speed,
          ct * p.w + (sn * v.w) * inv_speed};
}

HomVec4 expMap(HomVec4 p, HomVec4 v) { return geodesicScaled(p, v, 1.0); }

HomVec4 logMap(HomVec4 p, HomVec4 q) {
  const double d = fsDistance(p, q);
  if (d < 1e-15) return HomVec4::zero();
  const double cos_d = std::cos(d);
  const double sin_d = std::sin(d);
  if (std::fabs(sin_d) < 1e-15) return HomVec4::zero();
  const double scale = d / sin_d;
  return {scale * (q.x - cos_d * p.x), scale * (q.y - cos_d * p.y), scale * (q.z - cos_d * p.z),
          scale * (q.w - cos_d * p.w)};
}

double fsDistanceAlongGeodesic(double t) {
  constexpr double pi = 3.141592653589793;
  // |t| >= 0, so the remainder is already in [0, pi) for finite t.
  const double reduced = std::fmod(std::fabs(t), pi);
  // A point and its antipode are one projective point: fold at pi/2.
  return std::min(reduced, pi - reduced);
}

HomVec4 orthogonalVelocity(HomVec4 p) {
  const double aw = std::fabs(p.w);
  const double ax = std::fabs(p.x);
  const double ay = std::fabs(p.y);
  const double az = std::fabs(p.z);
  // Removing p's component from its smallest axis keeps raw away from zero.
  // Non-strict tests, so ties go to w, then x, then y; NaN never wins.
  HomVec4 raw;
  if (ax >= aw && ay >= aw && az >= aw) {
    raw = {(-p.w) * p.x, (-p.w) * p.y, (-p.w) * p.z, 1.0 - p.w * p.w};
  } else if (ay >= ax && az >= ax) {
    raw = {1.0 - p.x * p.x, (-p.x) * p.y, (-p.x) * p.z, (-p.x) * p.w};
  } else if (az >= ay) {
    raw = {(-p.y) * p.x, 1.0 - p.y * p.y, (-p.y) * p.z, (-p.y) * p.w};
  } else {
    raw = {(-p.z) * p.x, (-p.z) * p.y, 1.0 - p.z * p.z, (-p.z) * p.w};
  }
  return raw.normalize();
}

HomVec4 parallelTransport(HomVec4 p, HomVec4 v, HomVec4 w, double t) {
  const double ct = std::cos(t);
  const double st = std::sin(t);
  const double wp = w.dot(p);
  const double wv = w.dot(v);
  // The in-plane part turns by t: p goes to γ(t), v to γ'(t).
  const double along_p = wp * ct - wv * st;
  const double along_v = wp * st + wv * ct;
  const auto component = [&](double p_i, double v_i, double w_i) {
    const double parallel = along_p * p_i + along_v * v_i;
    const double perp = (w_i - wp * p_i) - wv * v_i;
    return parallel + perp;
  };
  return {component(p.x, v.x, w.x), component(p.y, v.y, w.y), component(p.z, v.z, w.z), component(p.w, v.w, w.w)};
}

}  // namespace quor
