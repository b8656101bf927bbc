// The state of the free geodesic equation as a first-order system in
// R^4 x R^4, its arithmetic, its right-hand side, and the projection that
// puts a drifted state back on S^3.
#pragma once

#include <array>
#include <cstddef>

#include "quor/hom_vec4.hpp"

namespace quor {

/// Position and velocity, components in the order x, y, z, w. No invariant:
/// the intermediate states of a Runge-Kutta step lie off S^3.
struct GeodesicState {
  std::array<double, 4> q;  ///< position, meant to lie on S^3
  std::array<double, 4> v;  ///< velocity, meant to satisfy q·v = 0

  static constexpr GeodesicState init(std::array<double, 4> q, std::array<double, 4> v) { return {q, v}; }
  static constexpr GeodesicState fromHomVec4(HomVec4 position, HomVec4 velocity) {
    return {{position.x, position.y, position.z, position.w}, {velocity.x, velocity.y, velocity.z, velocity.w}};
  }

  constexpr HomVec4 pos() const { return HomVec4::init(q[0], q[1], q[2], q[3]); }
  constexpr HomVec4 vel() const { return HomVec4::init(v[0], v[1], v[2], v[3]); }
};

/// Componentwise a + b over all eight numbers.
constexpr GeodesicState addState(GeodesicState a, GeodesicState b) {
  GeodesicState r{};
  for (std::size_t i = 0; i < 4; ++i) {
    r.q[i] = a.q[i] + b.q[i];
    r.v[i] = a.v[i] + b.v[i];
  }
  return r;
}

/// Every component times k, with k as the left operand.
constexpr GeodesicState scaleState(GeodesicState s, double k) {
  GeodesicState r{};
  for (std::size_t i = 0; i < 4; ++i) {
    r.q[i] = k * s.q[i];
    r.v[i] = k * s.v[i];
  }
  return r;
}

/// A right-hand side: the derivative (dq/dt, dv/dt) of a state at time t.
using GeodesicRhs = GeodesicState (*)(double t, GeodesicState);

/// q' = v, v' = −|v|²·q: the great circles of the unit sphere, exact for
/// |q| = 1 and q·v = 0 and not rescaled otherwise. t is ignored.
GeodesicState freeGeodesicRhs(double t, GeodesicState state);

/// q divided by its norm and v stripped of its component along the new q;
/// the speed is not restored. A q of norm below 1e-15 has no direction, and
/// the state comes back unchanged.
GeodesicState renormalizeOnS3(GeodesicState state);

}  // namespace quor
