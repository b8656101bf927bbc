#include "quor/projector.hpp"

#include <cstddef>

namespace quor {

// Elementwise steps walk data in storage order; both operands share the
// layout, so the order of the walk does not change any element.

PGL4 computeResonance(PGL4 a) {
  const PGL4 at = a.transpose();
  PGL4 result{};
  for (std::size_t k = 0; k < 16; ++k) result.data[k] = a.data[k] - at.data[k];
  return result;
}

PGL4 computeProjector(PGL4 jc, double delta) {
  const PGL4 I4 = PGL4::identity();
  const PGL4 jct = jc.transpose();
  PGL4 jjt = PGL4::mul(jc, jct);
  for (std::size_t i = 0; i < 4; ++i) jjt.set(i, i, jjt.get(i, i) + delta);
  // A singular J·Jᵀ never meets the inverse's stopping test; the directions it
  // leaves uninverted are the ones J and Jᵀ remove again below, so a bounded
  // 8 iterations is enough.
  const PGL4 jjt_inv = jjt.inverse(delta, 8);
  const PGL4 middle = PGL4::mul(jct, jjt_inv);
  const PGL4 projector_part = PGL4::mul(middle, jc);
  PGL4 pi_lambda = I4;
  for (std::size_t k = 0; k < 16; ++k) pi_lambda.data[k] = pi_lambda.data[k] - projector_part.data[k];
  return pi_lambda;
}

PGL4 deformedTensorProduct(PGL4 x, PGL4 y, double epsilon) {
  PGL4 result = PGL4::mul(x, y);
  // (epsilon·x)·y in that grouping; with epsilon = 0 each term is ±0 for finite
  // x, but a non-finite x makes it NaN.
  for (std::size_t k = 0; k < 16; ++k) result.data[k] = result.data[k] + (epsilon * x.data[k]) * y.data[k];
  return result;
}

}  // namespace quor
