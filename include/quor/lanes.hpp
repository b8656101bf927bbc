// Four-lane single-precision vectors, and a double-precision inverse square
// root seeded from the bit pattern of its argument.
#pragma once

namespace quor {

/// Four f32 lanes held as one 128-bit vector; lane 0 to 3 read as x, y, z, w.
/// Arithmetic is lane by lane, each lane rounded to f32.
using F32x4 = float __attribute__((vector_size(16)));

inline F32x4 f32x4(float x, float y, float z, float w) { return F32x4{x, y, z, w}; }

/// ((p0 + p1) + p2) + p3 of the lane products p = a·b, in f32.
inline float simdDot4(F32x4 a, F32x4 b) {
  const F32x4 p = a * b;
  return ((p[0] + p[1]) + p[2]) + p[3];
}

/// v divided by its four-lane length (lane 3 included in both), or
/// (0, 0, 0, 1) when the squared length is below the f32 nearest 1e-15.
F32x4 simdNormalize3(F32x4 v);

/// About 1/√x for x > 0 (relative error below about 3.2e-11 for normal x),
/// 0.0 for x <= 0. A bit-level estimate refined by three Newton steps; no
/// division, no square root. NaN is outside the domain: a NaN with its sign
/// bit set panics with "integer overflow".
double cordicInvSqrt(double x);

}  // namespace quor
