// Classical fourth-order Runge-Kutta integration of a geodesic state: one
// step, and a driver that fills a newly allocated trajectory.
#pragma once

#include <cstdint>
#include <span>

#include "quor/allocator.hpp"
#include "quor/error.hpp"
#include "quor/geodesic_state.hpp"

namespace quor {

/// One step of size h from y at time t. f is called four times, in order, at
/// t, t + 0.5·h (twice) and t + h.
GeodesicState rk4Step(GeodesicRhs f, double t, GeodesicState y, double h);

/// n_steps equal steps from t0 to t1, without renormalising in between.
/// Element k of the trajectory is the state after k steps, element 0 a copy
/// of y0. The trajectory is one request of n_steps + 1 states made before the
/// first step; the caller owns it and gives it back through the same
/// allocator (or by releasing the arena it came from). A refused request is
/// answered with OutOfMemory and f is never called. n_steps = 4294967295 is
/// a programmer error: n_steps + 1 must fit in 32 bits.
Result<std::span<GeodesicState>> rk4Integrate(GeodesicRhs f, double t0, double t1, GeodesicState y0,
                                              std::uint32_t n_steps, Allocator allocator);

}  // namespace quor
