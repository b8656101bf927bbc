#include "quor/forces.hpp"

#include <cmath>

#include "quor/distance.hpp"
#include "quor/geodesic.hpp"

namespace quor {

HomVec4 quorGravity(QuorBody body, HomVec4 attractor_position, double attractor_mass, double G) {
  const double d = fsDistance(body.position, attractor_position);
  // fsDistance gives 0 or at least about 1.49e-8, so this rejects exactly the
  // coincident and antipodal attractors.
  if (d < 1e-10) return HomVec4::zero();
  const HomVec4 tangent = logMap(body.position, attractor_position);
  const double t_norm = tangent.norm();
  if (t_norm < 1e-15) return HomVec4::zero();
  const double sin_d = std::sin(d);
  // sin d stands in for r of an inverse-square law; the 1e-10 softens it.
  const double denom = sin_d * sin_d + 1e-10;
  const double magnitude = (G * attractor_mass) / denom;
  // Scaled first, then divided by the length: the grouping is part of the result.
  return {(magnitude * tangent.x) / t_norm, (magnitude * tangent.y) / t_norm, (magnitude * tangent.z) / t_norm,
          (magnitude * tangent.w) / t_norm};
}

HomVec4 dampingForce(HomVec4 velocity, double gamma) {
  const double k = -gamma;
  return {k * velocity.x, k * velocity.y, k * velocity.z, k * velocity.w};
}

}  // namespace quor
