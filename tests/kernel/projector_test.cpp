#include "quor/projector.hpp"

#include <cmath>
#include <cstddef>
#include <limits>

#include "same_values.hpp"

namespace quor {
namespace {

using test::inf;

PGL4 times(double f, PGL4 m) {
  for (double& e : m.data) e = f * e;
  return m;
}

TEST(Resonance, IsExactlyAntisymmetric) {
  const PGL4 a = PGL4::init({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
  EXPECT_SAME(PGL4::fromRowMajor({{{0, 3, 6, 9}, {-3, 0, 3, 6}, {-6, -3, 0, 3}, {-9, -6, -3, 0}}}),
              computeResonance(a));

  // Not integers: x − y is still exactly −(y − x).
  const PGL4 b = PGL4::init({0.1, 0.7, -2.5, 1e-3, 3.3, 1e10, 0.2, 5, -7, 1.0 / 3, 8, 9, 1e-300, 2, 3, 4});
  const PGL4 j = computeResonance(b);
  for (std::size_t r = 0; r < 4; ++r) {
    EXPECT_SAME_BITS(0.0, j.get(r, r));  // x − x is +0
    for (std::size_t c = 0; c < 4; ++c) EXPECT_EQ(-j.get(c, r), j.get(r, c)) << r << ", " << c;
  }

  EXPECT_SAME(PGL4{}, computeResonance(pglScale(2, 3, 4)));  // symmetric in, zero out
  EXPECT_SAME(times(2, j), computeResonance(j));             // antisymmetric in, doubled
}

TEST(Projector, ProjectsOntoTheNullSpace) {
  // Orthogonal J with J² = −I: nothing survives but the regularisation, 2δ/(1 + 2δ).
  const PGL4 rotation = PGL4::init({0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0});
  const PGL4 pi = computeProjector(rotation, 1e-8);
  for (std::size_t r = 0; r < 4; ++r)
    for (std::size_t c = 0; c < 4; ++c) EXPECT_NEAR(r == c ? 2e-8 : 0.0, pi.get(r, c), 1e-15) << r << ", " << c;
  const PGL4 pi2 = PGL4::mul(pi, pi);
  for (std::size_t k = 0; k < 16; ++k) EXPECT_NEAR(pi.data[k], pi2.data[k], 1e-4);

  // Rank 2: the inverse never meets its stopping test, yet J and Jᵀ remove the
  // directions it leaves uninverted; the result projects onto the z–w plane.
  const PGL4 zw = computeProjector(PGL4::init({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), 1e-8);
  for (std::size_t r = 0; r < 4; ++r) {
    for (std::size_t c = 0; c < 4; ++c) {
      const double expected = r != c ? 0.0 : (r < 2 ? 2e-8 : 1.0);
      EXPECT_NEAR(expected, zw.get(r, c), 1e-15) << r << ", " << c;
    }
  }

  // J = 0: the identity exactly with δ > 0; all NaN with δ = 0 (0/0 in the inverse).
  EXPECT_SAME(PGL4::identity(), computeProjector(PGL4{}, 1e-8));
  for (const double e : computeProjector(PGL4{}, 0.0).data) EXPECT_TRUE(std::isnan(e));
}

TEST(DeformedProduct, AddsTheScaledElementwiseProduct) {
  const PGL4 a = pglScale(2, 1, 1);
  const PGL4 b = pglTranslate(3, 0, 0);
  struct Row {
    const char* what;
    PGL4 x, y;
    double epsilon;
    PGL4 expected;
  };
  const Row rows[] = {
      {"ε = 0 is mul", a, b, 0.0, PGL4::mul(a, b)},
      {"ε = 0 keeps the order of mul", b, a, 0.0, PGL4::mul(b, a)},
      {"ε = 0.5", a, b, 0.5, PGL4::fromRowMajor({{{3, 0, 0, 6}, {0, 1.5, 0, 0}, {0, 0, 1.5, 0}, {0, 0, 0, 1.5}}})},
      {"identity, ε = 1", PGL4::identity(), PGL4::identity(), 1.0, times(2, PGL4::identity())},
      // (ε·x)·y: 21 + (0.3·3)·7; the grouping 0.3·(3·7) would give 27.3.
      {"grouping of the deformation", pglScale(3, 1, 1), pglScale(7, 1, 1), 0.3,
       PGL4::init({27.299999999999997, 0, 0, 0, 0, 1.3, 0, 0, 0, 0, 1.3, 0, 0, 0, 0, 1.3})},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_SAME(r.expected, deformedTensorProduct(r.x, r.y, r.epsilon));
  }
  // (0·inf)·y is NaN even for ε = 0: where mul gives inf, the sum is NaN.
  PGL4 x = PGL4::identity();
  x.set(1, 2, inf);
  EXPECT_SAME_BITS(inf, PGL4::mul(x, PGL4::identity()).get(1, 2));
  const PGL4 d = deformedTensorProduct(x, PGL4::identity(), 0.0);
  EXPECT_TRUE(std::isnan(d.get(1, 2)));
  EXPECT_SAME_BITS(1.0, d.get(0, 0));
}

}  // namespace
}  // namespace quor
