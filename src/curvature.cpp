#include "quor/curvature.hpp"

#include "quor/panic.hpp"

namespace quor {

namespace {

/// The squared radius of the sphere through point, summed x, y, z, w.
double radiusSquared(HomVec4 point) { return point.dot(point); }

/// Below this squared radius the point counts as the origin.
bool isDegenerate(double n_sq) { return n_sq < 1e-15; }

std::array<double, 4> coordsOf(HomVec4 point) { return {point.x, point.y, point.z, point.w}; }

double kronecker(std::size_t a, std::size_t b) { return a == b ? 1.0 : 0.0; }

/// g_ab = δ_ab - (x_a·x_b) / |x|², the induced metric in ambient coordinates.
double projector(const std::array<double, 4>& coords, double n_sq, std::size_t a, std::size_t b) {
  return kronecker(a, b) - (coords[checkIndex(a, 4)] * coords[checkIndex(b, 4)]) / n_sq;
}

}  // namespace

Christoffel christoffelSymbols(HomVec4 point) {
  Christoffel gamma{};
  const double n_sq = radiusSquared(point);
  if (isDegenerate(n_sq)) return gamma;
  const std::array<double, 4> coords = coordsOf(point);
  // A zero coordinate gives -0.0 symbols on the diagonal.
  for (std::size_t i = 0; i < 4; ++i) {
    for (std::size_t j = 0; j < 4; ++j) gamma[i][j][j] = (-coords[i]) / n_sq;
  }
  return gamma;
}

HomVec4 geodesicAcceleration(HomVec4 point, HomVec4 velocity) {
  const Christoffel gamma = christoffelSymbols(point);
  const std::array<double, 4> v = coordsOf(velocity);
  std::array<double, 4> accel{0.0, 0.0, 0.0, 0.0};
  // Every term, zeros included: skipping them would hide the NaN that an
  // infinite velocity component gives against a zero symbol.
  for (std::size_t i = 0; i < 4; ++i) {
    for (std::size_t j = 0; j < 4; ++j) {
      for (std::size_t k = 0; k < 4; ++k) accel[i] = accel[i] - (gamma[i][j][k] * v[j]) * v[k];
    }
  }
  return HomVec4::init(accel[0], accel[1], accel[2], accel[3]);
}

double riemannTensor(HomVec4 point, std::size_t i, std::size_t j, std::size_t k, std::size_t l) {
  // Out-of-contract indices panic even where the origin rule would answer 0.0.
  checkIndex(j, 4);
  checkIndex(k, 4);
  checkIndex(l, 4);
  const double n_sq = radiusSquared(point);
  if (isDegenerate(n_sq)) return 0.0;
  const std::array<double, 4> coords = coordsOf(point);
  const double g_jl = projector(coords, n_sq, j, l);
  const double g_jk = projector(coords, n_sq, j, k);
  // The upper index takes the plain Kronecker delta, not the projector.
  return kronecker(i, k) * g_jl - kronecker(i, l) * g_jk;
}

double sectionalCurvature(HomVec4 point) {
  const double n_sq = radiusSquared(point);
  if (isDegenerate(n_sq)) return 0.0;
  return 1.0 / n_sq;
}

double scalarCurvature(HomVec4 point) { return (sectionalCurvature(point) * 3.0) * 2.0; }

double ricciTensor(HomVec4 point, std::size_t j, std::size_t k) {
  checkIndex(j, 4);
  checkIndex(k, 4);
  const double K = sectionalCurvature(point);
  const double n_sq = radiusSquared(point);
  if (isDegenerate(n_sq)) return 0.0;
  return (2.0 * K) * projector(coordsOf(point), n_sq, j, k);
}

}  // namespace quor
