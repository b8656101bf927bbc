#include "quor/lanes.hpp"

#include <bit>
#include <cmath>
#include <cstdint>

#include "quor/panic.hpp"

namespace quor {

F32x4 simdNormalize3(F32x4 v) {
  const float d = simdDot4(v, v);
  // The f32 nearest 1e-15: below it (lengths under about 3.16e-8) the vector
  // has no usable direction. A NaN d is not below it and divides through.
  if (d < 1e-15f) return f32x4(0.0f, 0.0f, 0.0f, 1.0f);
  const float len = std::sqrt(d);
  return v / F32x4{len, len, len, len};
}

double cordicInvSqrt(double x) {
  if (x <= 0.0) return 0.0;
  // Subtracting half the bit pattern from this constant halves and negates
  // the exponent: a first estimate of 1/√x good to a few per cent.
  constexpr std::uint64_t magic = 0x5FE6EB50C7B537A9;
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(x);
  // For every x > 0 bits >> 1 is below magic; a negative NaN is not, and the
  // checked subtraction stops there instead of wrapping.
  double y = std::bit_cast<double>(checkedSub(magic, bits >> 1));
  const double half_x = 0.5 * x;
  for (int step = 0; step < 3; ++step) y = y * (1.5 - (half_x * y) * y);
  return y;
}

}  // namespace quor
