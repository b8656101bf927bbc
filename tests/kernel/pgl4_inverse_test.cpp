#include <cmath>
#include <cstddef>
#include <cstdint>

#include "quor/pgl4.hpp"
#include "same_values.hpp"

namespace quor {
namespace {

bool sameBits(const PGL4& a, const PGL4& b) {
  for (std::size_t k = 0; k < 16; ++k)
    if (!test::sameBits(a.data[k], b.data[k])) return false;
  return true;
}

TEST(PGL4Inverse, ZeroIterationsReturnTheScaledTranspose) {
  // delta only on the diagonal, then the transpose divided by the squared
  // Frobenius norm (here 4 + 4 + 4 + 4 + 4 = 20).
  const PGL4 m = PGL4::fromRowMajor({{{1, 2, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}});
  EXPECT_SAME(PGL4::fromRowMajor({{{0.1, 0, 0, 0}, {0.1, 0.1, 0, 0}, {0, 0, 0.1, 0}, {0, 0, 0, 0.1}}}),
              m.inverse(1.0, 0));
  // Divided, not multiplied by the reciprocal: 3/10 and 3·(1/10) differ in the last bit.
  const PGL4 x0 = pglScale(3, 0, 0).inverse(0.0, 0);
  EXPECT_SAME_BITS(3.0 / 10, x0.data[0]);
  EXPECT_SAME_BITS(1.0 / 10, x0.data[15]);
  EXPECT_NE(3.0 / 10, 3.0 * (1.0 / 10));
}

TEST(PGL4Inverse, StopsInTheTenthIterationForDiag2341) {
  const PGL4 m = pglScale(2, 3, 4);
  const PGL4 after9 = m.inverse(1e-10, 9);
  const PGL4 after10 = m.inverse(1e-10, 10);
  const PGL4 after15 = m.inverse(1e-10, 15);
  EXPECT_TRUE(sameBits(after10, after15));
  EXPECT_FALSE(sameBits(after9, after10));
  // It inverts M + 1e-10·I, not M: the product misses 1 by about 1e-10.
  const PGL4 product = PGL4::mul(m, after15);
  for (std::size_t r = 0; r < 4; ++r) {
    for (std::size_t c = 0; c < 4; ++c) {
      const double expected = r == c ? 1.0 : 0.0;
      EXPECT_NEAR(expected, product.get(r, c), 1e-6) << r << ", " << c;
    }
    EXPECT_LT(product.get(r, r), 1.0);
    EXPECT_GT(product.get(r, r), 1.0 - 2e-10);
  }
}

TEST(PGL4Inverse, EdgesOfTheIteration) {
  struct Row {
    const char* what;
    PGL4 m;
    double delta;
    std::uint32_t max_iter;
    PGL4 expected;
    double tolerance;  // 0: to the last bit
  };
  const Row rows[] = {
      // Singular: all 15 iterations run and end on the pseudo-inverse.
      {"diag(0, 1, 1, 1)", pglScale(0, 1, 1), 0.0, 15, pglScale(0, 1, 1), 0.0},
      {"identity from I/4", PGL4::identity(), 0.0, 30, PGL4::identity(), 2e-16},
      {"delta shifts the diagonal", PGL4::identity(), 1.0, 30,
       PGL4::init({0.5, 0, 0, 0, 0, 0.5, 0, 0, 0, 0, 0.5, 0, 0, 0, 0, 0.5}), 2e-16},
      {"rotation inverts to its transpose", pglRotateZ(0.9), 0.0, 30, pglRotateZ(-0.9), 1e-15},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    const PGL4 x = r.m.inverse(r.delta, r.max_iter);
    if (r.tolerance == 0.0) {
      EXPECT_SAME(r.expected, x);
      continue;
    }
    for (std::size_t k = 0; k < 16; ++k) EXPECT_NEAR(r.expected.data[k], x.data[k], r.tolerance) << k;
  }
}

TEST(PGL4Inverse, ZeroMatrixGivesAllNaNAndStops) {
  // 0/0 in the starting guess; every residual entry is NaN and is skipped, so
  // the residual stays 0 and the loop ends in its first pass.
  for (const std::uint32_t max_iter : {0u, 1u, 15u}) {
    const PGL4 x = PGL4{}.inverse(0.0, max_iter);
    for (const double e : x.data) EXPECT_TRUE(std::isnan(e)) << max_iter;
  }
}

}  // namespace
}  // namespace quor
