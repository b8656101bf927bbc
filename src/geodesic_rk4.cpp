#include "quor/geodesic_rk4.hpp"

#include <cstddef>

#include "quor/panic.hpp"

namespace quor {

GeodesicState rk4Step(GeodesicRhs f, double t, GeodesicState y, double h) {
  const double half_h = 0.5 * h;
  const GeodesicState k1 = f(t, y);
  const GeodesicState k2 = f(t + half_h, addState(y, scaleState(k1, half_h)));
  const GeodesicState k3 = f(t + half_h, addState(y, scaleState(k2, half_h)));
  const GeodesicState k4 = f(t + h, addState(y, scaleState(k3, h)));
  // (k1 + 2·k2) + (2·k3 + k4), then one division h / 6.
  const GeodesicState combined = addState(addState(k1, scaleState(k2, 2.0)), addState(scaleState(k3, 2.0), k4));
  return addState(y, scaleState(combined, h / 6.0));
}

Result<std::span<GeodesicState>> rk4Integrate(GeodesicRhs f, double t0, double t1, GeodesicState y0,
                                              std::uint32_t n_steps, Allocator allocator) {
  const std::uint32_t len = checkedAdd<std::uint32_t>(n_steps, 1);
  auto allocated = allocator.alloc<GeodesicState>(len);
  if (allocated.failed()) return allocated.error();
  const std::span<GeodesicState> trajectory = allocated.value();
  trajectory[0] = y0;
  // Without steps there is no step size to form; dividing by zero steps is
  // left out rather than computed and thrown away.
  if (n_steps == 0) return trajectory;

  const double h = (t1 - t0) / static_cast<double>(n_steps);
  // Time advances by repeated addition, as a caller stepping by hand would.
  double t = t0;
  for (std::size_t i = 1; i <= n_steps; ++i) {
    trajectory[checkIndex(i, trajectory.size())] = rk4Step(f, t, trajectory[i - 1], h);
    t = t + h;
  }
  return trajectory;
}

}  // namespace quor
