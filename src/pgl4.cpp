#include "quor/pgl4.hpp"

#include <cmath>

namespace quor {

HomVec4 PGL4::apply(HomVec4 v) const {
  const std::array<double, 4> in{v.x, v.y, v.z, v.w};
  std::array<double, 4> out{};
  for (std::size_t r = 0; r < 4; ++r) {
    double acc = 0.0;
    for (std::size_t c = 0; c < 4; ++c) acc = acc + get(r, c) * in[c];
    out[r] = acc;
  }
  return HomVec4::init(out[0], out[1], out[2], out[3]);
}

PGL4 PGL4::mul(PGL4 a, PGL4 b) {
  PGL4 result{};
  for (std::size_t c = 0; c < 4; ++c) {
    for (std::size_t r = 0; r < 4; ++r) {
      double sum = 0.0;
      for (std::size_t k = 0; k < 4; ++k) sum = sum + a.get(r, k) * b.get(k, c);
      result.set(r, c, sum);
    }
  }
  return result;
}

PGL4 PGL4::transpose() const {
  PGL4 result{};
  for (std::size_t r = 0; r < 4; ++r)
    for (std::size_t c = 0; c < 4; ++c) result.set(r, c, get(c, r));
  return result;
}

PGL4 PGL4::normalizeDet() const {
  const double d = det();
  // Below this the matrix counts as singular and passes through untouched;
  // exactly 1e-15 is rescaled. A NaN determinant is not below it.
  if (std::fabs(d) < 1e-15) return *this;
  // Scaling all 16 elements by |d|^(-1/4) scales det by 1/|d|: the result has
  // determinant d/|d|, so an orientation-reversing matrix stays one.
  const double scale = std::pow(std::fabs(d), -0.25);
  PGL4 result{};
  for (std::size_t i = 0; i < 16; ++i) result.data[i] = scale * data[i];
  return result;
}

PGL4 pglTranslate(double tx, double ty, double tz) {
  return PGL4::init({1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, tx, ty, tz, 1.0});
}

PGL4 pglScale(double sx, double sy, double sz) {
  return PGL4::init({sx, 0.0, 0.0, 0.0, 0.0, sy, 0.0, 0.0, 0.0, 0.0, sz, 0.0, 0.0, 0.0, 0.0, 1.0});
}

PGL4 pglRotateZ(double angle) {
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  return PGL4::init({c, s, 0.0, 0.0, -s, c, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0});
}

}  // namespace quor
