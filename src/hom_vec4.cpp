#include "quor/hom_vec4.hpp"

#include <cmath>

namespace quor {

HomVec4 HomVec4::normalize() const {
  const double n = norm();
  // 1e-15: the smallest norm that counts as non-zero. A NaN norm fails the
  // test and divides through, giving four NaNs.
  if (n < 1e-15) return {0.0, 0.0, 0.0, 1.0};
  return {x / n, y / n, z / n, w / n};
}

std::array<double, 3> HomVec4::cartesian3() const {
  if (std::fabs(w) < W_EPS) {
    // At infinity: the direction, measured with w included.
    const double n = norm();
    if (n < 1e-15) return {0.0, 0.0, 0.0};
    return {x / n, y / n, z / n};
  }
  return {x / w, y / w, z / w};
}

bool HomVec4::isSamePoint(HomVec4 b, double tol) const {
  const double n1 = norm();
  const double n2 = b.norm();
  if (n1 < tol || n2 < tol) return false;
  const double d = std::fabs(dot(b)) / (n1 * n2);
  return d > 1.0 - tol;
}

bool HomVec4::isAntipodalTo(HomVec4 b, double tol) const { return isSamePoint({-b.x, -b.y, -b.z, -b.w}, tol); }

AffineCard HomVec4::pickBestCard() const {
  const double aw = std::fabs(w);
  const double ax = std::fabs(x);
  const double ay = std::fabs(y);
  const double az = std::fabs(z);
  if (aw >= ax && aw >= ay && aw >= az) return AffineCard::UW;
  if (ax >= ay && ax >= az) return AffineCard::UX;
  if (ay >= az) return AffineCard::UY;
  return AffineCard::UZ;
}

}  // namespace quor
