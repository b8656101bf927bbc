#include "quor/distance.hpp"

#include <algorithm>
#include <cmath>

namespace quor {

double fsDistance(HomVec4 a, HomVec4 b) {
  const double n1 = a.norm();
  const double n2 = b.norm();
  // A (near-)zero vector names no point.
  if (n1 < 1e-15 || n2 < 1e-15) return 0.0;
  const double d = std::fabs(a.dot(b)) / (n1 * n2);
  // Rounding can push d a little above 1; a NaN ratio becomes 1 as well.
  const double cos_theta = std::isnan(d) ? 1.0 : std::min(d, 1.0);
  return std::acos(cos_theta);
}

double wFromDistance(double s_meters, double R_meters) { return std::cos(s_meters / (2.0 * R_meters)); }

double sFromW(double W, double R_meters) {
  const double upper = std::isnan(W) ? 1.0 : std::min(W, 1.0);
  const double Wc = std::max(-1.0, upper);
  return (2.0 * R_meters) * std::acos(Wc);
}

}  // namespace quor
