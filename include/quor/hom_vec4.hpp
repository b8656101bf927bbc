// Homogeneous 4-vectors: points of real projective 3-space, points of the
// unit 3-sphere when of norm 1, or plain vectors of R^4.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

namespace quor {

/// Below this |w| a point counts as lying at infinity in cartesian3.
inline constexpr double W_EPS = 1e-6;

/// The four standard affine charts, each named by the coordinate divided out.
enum class AffineCard : std::uint8_t {
  UW = 0,  ///< points with w != 0
  UX = 1,  ///< points with x != 0
  UY = 2,  ///< points with y != 0
  UZ = 3,  ///< points with z != 0
};

/// Four doubles, no invariant: zeros, infinities and NaNs are all valid.
/// Sums are evaluated in the grouping written, every operation rounded on
/// its own; results are reproducible to the last bit.
struct HomVec4 {
  double x;
  double y;
  double z;
  double w;

  static constexpr HomVec4 init(double x, double y, double z, double w) { return {x, y, z, w}; }
  static constexpr HomVec4 fromCartesian(double x, double y, double z) { return {x, y, z, 1.0}; }
  static constexpr HomVec4 zero() { return {0.0, 0.0, 0.0, 0.0}; }

  /// ((a.x·b.x + a.y·b.y) + a.z·b.z) + a.w·b.w.
  constexpr double dot(HomVec4 b) const { return ((x * b.x + y * b.y) + z * b.z) + w * b.w; }

  /// Euclidean norm, unscaled: a component above about 1.34e154 gives +inf.
  double norm() const { return std::sqrt(dot(*this)); }

  /// Divides by the norm, or answers the base point (0, 0, 0, 1) when the
  /// norm is below 1e-15, the smallest norm that counts as non-zero.
  HomVec4 normalize() const;

  /// The Cartesian point (x/w, y/w, z/w); for |w| < W_EPS the direction of the
  /// point at infinity, [0, 0, 0] for a near-zero vector.
  std::array<double, 3> cartesian3() const;

  /// Whether the lines of *this and b agree within tol, blind to sign and
  /// scale. tol doubles as the smallest norm accepted.
  bool isSamePoint(HomVec4 b, double tol) const;

  /// Whether *this and -b are the same point: on projective space always the
  /// same answer as isSamePoint.
  bool isAntipodalTo(HomVec4 b, double tol) const;

  /// The chart of the largest coordinate; ties go to w, then x, then y.
  AffineCard pickBestCard() const;
};

}  // namespace quor
