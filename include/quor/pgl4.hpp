// Projective 4x4 matrices: transformations of real projective 3-space acting
// on homogeneous column vectors.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "quor/hom_vec4.hpp"
#include "quor/panic.hpp"

namespace quor {

/// A 4x4 matrix of doubles in column-major storage: element (row, col) is
/// data[col·4 + row]. Vectors are columns, so apply computes M·v and mul(a, b)
/// applies b first. No invariant: any 16 values, singular or not.
///
/// Sums accumulate from 0.0 in the order written, every product and sum
/// rounded on its own, so results are reproducible to the last bit.
struct PGL4 {
  /// A matrix written row by row: m[row][col].
  using Rows = std::array<std::array<double, 4>, 4>;

  std::array<double, 16> data;

  static constexpr PGL4 identity() {
    return {{1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0}};
  }

  /// The 16 values in storage order, copied unchanged.
  static constexpr PGL4 init(const std::array<double, 16>& values) { return {values}; }

  static constexpr PGL4 fromRowMajor(const Rows& m) {
    PGL4 result{};
    for (std::size_t c = 0; c < 4; ++c)
      for (std::size_t r = 0; r < 4; ++r) result.data[c * 4 + r] = m[r][c];
    return result;
  }

  /// Row and column are each checked against 4, so (0, 4) cannot slip into
  /// column 1 through the flat index.
  constexpr double get(std::size_t row, std::size_t col) const {
    const std::size_t r = checkIndex(row, 4);
    return data[checkIndex(col, 4) * 4 + r];
  }
  constexpr void set(std::size_t row, std::size_t col, double val) {
    const std::size_t r = checkIndex(row, 4);
    data[checkIndex(col, 4) * 4 + r] = val;
  }

  /// M·v, neither normalised nor divided by w. Each row sum starts at 0.0, so
  /// a -0.0 result comes out +0.0.
  HomVec4 apply(HomVec4 v) const;

  /// The product a·b.
  static PGL4 mul(PGL4 a, PGL4 b);

  PGL4 transpose() const;

  /// Cofactor expansion along row 0, ((a0·M0 − a1·M1) + a2·M2) − a3·M3, with
  /// no pivoting and no special case for singular matrices. constexpr so that
  /// the build-time check of pglFromHomogeneous uses this very expansion.
  constexpr double det() const {
    return ((get(0, 0) * (minor)(*this, 0, 0) - get(0, 1) * (minor)(*this, 0, 1)) + get(0, 2) * (minor)(*this, 0, 2)) -
           get(0, 3) * (minor)(*this, 0, 3);
  }

  /// M scaled by |det|^(-1/4), so that |det| becomes 1 with its sign kept;
  /// M unchanged when |det| < 1e-15. A NaN determinant gives all NaN.
  PGL4 normalizeDet() const;

  /// Newton–Schulz approximation of (M + delta·I)^-1, started from the scaled
  /// transpose. Stops once the largest entry of (M + delta·I)·X − I is below
  /// 1e-12, or after max_iter iterations; always returns the last iterate.
  PGL4 inverse(double delta, std::uint32_t max_iter) const;

 private:
  // The name is in parentheses everywhere because glibc's <sys/sysmacros.h>
  // defines a function-like macro `minor`; a parenthesised name is not a macro
  // call, so the macro stays untouched and this function keeps its name.
  /// The 3x3 determinant left after deleting row r and column c.
  static constexpr double(minor)(const PGL4& m, std::size_t r, std::size_t c) {
    checkIndex(r, 4);
    checkIndex(c, 4);
    std::array<std::array<double, 3>, 3> s{};
    std::size_t si = 0;
    for (std::size_t i = 0; i < 4; ++i) {
      if (i == r) continue;
      std::size_t sj = 0;
      for (std::size_t j = 0; j < 4; ++j) {
        if (j == c) continue;
        s[si][sj] = m.get(i, j);
        ++sj;
      }
      ++si;
    }
    return (s[0][0] * (s[1][1] * s[2][2] - s[1][2] * s[2][1]) - s[0][1] * (s[1][0] * s[2][2] - s[1][2] * s[2][0])) +
           s[0][2] * (s[1][0] * s[2][1] - s[1][1] * s[2][0]);
  }
};

/// Translation by (tx, ty, tz), held in column 3.
PGL4 pglTranslate(double tx, double ty, double tz);

/// diag(sx, sy, sz, 1).
PGL4 pglScale(double sx, double sy, double sz);

/// Rotation by angle radians about the z axis; a positive angle turns x
/// towards y. The (0, 1) element is −sin with its sign bit flipped, so an
/// angle of 0 stores −0.0 there.
PGL4 pglRotateZ(double angle);

namespace detail {
// Deliberately not constexpr: pglFromHomogeneous calls it only for a rejected
// matrix, which ends the build with a diagnostic naming this function.
void pglFromHomogeneousArgumentIsSingular();
}  // namespace detail

/// fromRowMajor(m), evaluated while the program is built. The build fails
/// unless det() of the matrix is a finite non-zero number: singular means a
/// determinant of exactly ±0 by the same expansion det() uses at run time (no
/// threshold, so any matrix the run-time det calls invertible passes), and a
/// determinant that overflowed or is NaN cannot vouch for invertibility.
consteval PGL4 pglFromHomogeneous(const PGL4::Rows& m) {
  const PGL4 result = PGL4::fromRowMajor(m);
  const double d = result.det();
  constexpr double largest = std::numeric_limits<double>::max();
  if (!(d != 0.0 && d >= -largest && d <= largest)) detail::pglFromHomogeneousArgumentIsSingular();
  return result;
}

}  // namespace quor
