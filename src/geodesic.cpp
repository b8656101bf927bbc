#include "quor/geodesic.hpp"

#include <cmath>

#include "quor/distance.hpp"

namespace quor {

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

}  // namespace quor
