// glibc's function-like macro `minor` comes first on purpose: the matrix
// header must compile and work with it defined.
#include <sys/sysmacros.h>

#include <cmath>
#include <csignal>
#include <cstddef>
#include <limits>

#include "quor/pgl4.hpp"
#include "same_values.hpp"

namespace quor {
namespace {

using test::inf;
using test::nan;

TEST(PGL4, BuildersFillStorageInColumnMajorOrder) {
  struct Row {
    const char* what;
    PGL4 built;
    std::array<double, 16> data;
  };
  const double c = std::cos(0.5);
  const double s = std::sin(0.5);
  const Row rows[] = {
      {"identity", PGL4::identity(), {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}},
      {"translation lives in column 3", pglTranslate(1, 2, 3), {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1}},
      {"scale", pglScale(2, -3, 0.5), {2, 0, 0, 0, 0, -3, 0, 0, 0, 0, 0.5, 0, 0, 0, 0, 1}},
      {"rotation", pglRotateZ(0.5), {c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}},
      // -s is a sign flip, not 0 - s: sin(0) = +0 is stored as -0.
      {"rotation by zero", pglRotateZ(0.0), {1, 0, 0, 0, -0.0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}},
      {"rows become columns",
       PGL4::fromRowMajor({{{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}}}),
       {1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 4, 8, 12, 16}},
      {"init copies unchanged",
       PGL4::init({-0.0, nan, inf, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}),
       {-0.0, nan, inf, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_SAME(PGL4{r.data}, r.built);
  }
  const PGL4 t = pglTranslate(1, 2, 3);
  EXPECT_EQ(1.0, t.get(0, 3));
  EXPECT_EQ(0.0, t.get(3, 0));
}

TEST(PGL4, GetAndSetAddressRowAndColumn) {
  const PGL4::Rows m{{{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}}};
  const PGL4 a = PGL4::fromRowMajor(m);
  PGL4 b{};
  for (std::size_t r = 0; r < 4; ++r) {
    for (std::size_t c = 0; c < 4; ++c) {
      EXPECT_EQ(m[r][c], a.get(r, c)) << r << ", " << c;
      b.set(r, c, m[r][c]);
      EXPECT_EQ(m[r][c], b.data[c * 4 + r]);
    }
  }
  EXPECT_SAME(a, b);
}

TEST(PGL4, ApplyAccumulatesEachRowFromZero) {
  struct Row {
    const char* what;
    PGL4 m;
    HomVec4 in, out;
  };
  const Row rows[] = {
      {"identity keeps a finite vector", PGL4::identity(), {3, 4, 5, 1}, {3, 4, 5, 1}},
      // 0.0 + 1·(-0.0) is +0.0: the identity does not keep a negative zero.
      {"identity on negative zeros", PGL4::identity(), {-0.0, 2, -0.0, -1}, {0.0, 2, 0.0, -1}},
      // 0·inf in the other rows is NaN.
      {"identity on an infinity", PGL4::identity(), {inf, 1, 2, 3}, {inf, nan, nan, nan}},
      {"translation moves a point", pglTranslate(10, 20, 30), {1, 2, 3, 1}, {11, 22, 33, 1}},
      {"translation leaves a direction", pglTranslate(10, 20, 30), {1, 2, 3, 0}, {1, 2, 3, 0}},
      {"quarter turn takes x towards +y",
       pglRotateZ(1.5707963267948966),
       {1, 0, 0, 1},
       {6.123233995736766e-17, 1, 0, 1}},
      {"no division by w", pglScale(2, 3, 4), {1, 1, 1, 2}, {2, 3, 4, 2}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_SAME(r.out, r.m.apply(r.in));
  }
}

TEST(PGL4, MulAppliesTheRightFactorFirst) {
  const PGL4 scale = pglScale(2, 1, 1);
  const PGL4 shift = pglTranslate(3, 0, 0);
  const HomVec4 origin{0, 0, 0, 1};
  EXPECT_SAME({6, 0, 0, 1}, PGL4::mul(scale, shift).apply(origin));
  EXPECT_SAME({3, 0, 0, 1}, PGL4::mul(shift, scale).apply(origin));

  // Integer entries keep every product exact, so composition agrees bit for bit.
  const PGL4 a = PGL4::fromRowMajor({{{1, 2, 0, -1}, {0, 3, 1, 2}, {4, 0, -2, 1}, {1, 1, 1, 1}}});
  const PGL4 b = PGL4::fromRowMajor({{{2, 0, 1, 0}, {-1, 1, 0, 3}, {0, 5, 1, 1}, {0, 0, 2, 1}}});
  const HomVec4 v{1, -2, 3, 4};
  EXPECT_SAME(a.apply(b.apply(v)), PGL4::mul(a, b).apply(v));
  EXPECT_SAME(PGL4::fromRowMajor({{{0, 2, -1, 5}, {-3, 8, 5, 12}, {8, -10, 4, -1}, {1, 6, 4, 5}}}), PGL4::mul(a, b));
  EXPECT_SAME(a, PGL4::mul(PGL4::identity(), a));
  EXPECT_SAME(a, PGL4::mul(a, PGL4::identity()));
}

TEST(PGL4, TransposeSwapsRowsAndColumns) {
  const PGL4 a = PGL4::init({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, -0.0});
  const PGL4 t = a.transpose();
  for (std::size_t r = 0; r < 4; ++r)
    for (std::size_t c = 0; c < 4; ++c) EXPECT_SAME_BITS(a.get(c, r), t.get(r, c));
  EXPECT_SAME(a, t.transpose());
}

TEST(PGL4, DeterminantByCofactorExpansion) {
  struct Row {
    const char* what;
    PGL4 m;
    double det;
  };
  const Row rows[] = {
      {"identity", PGL4::identity(), 1.0},
      {"scale", pglScale(2, 3, 4), 24.0},
      {"translation", pglTranslate(5, -6, 7), 1.0},
      {"diag(2, 3, 4, 5)", pglFromHomogeneous({{{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {0, 0, 0, 5}}}), 120.0},
      {"odd permutation", PGL4::fromRowMajor({{{0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}}), -1.0},
      {"tridiagonal", PGL4::fromRowMajor({{{2, -1, 0, 0}, {-1, 2, -1, 0}, {0, -1, 2, -1}, {0, 0, -1, 2}}}), 5.0},
      {"dense integer", PGL4::fromRowMajor({{{1, 2, 0, -1}, {0, 3, 1, 2}, {4, 0, -2, 1}, {1, 1, 1, 1}}}), -36.0},
      // Minors all 1, so det = ((1e16 + 1) + -1e16) + 1 = 1 in this order (exactly: 2).
      {"order of the expansion",
       PGL4::fromRowMajor({{{1e16, -1, -1e16, -1}, {1, 1, 0, 0}, {0, 1, 1, 0}, {0, 0, 1, 1}}}), 1.0},
      {"repeated rows", PGL4::fromRowMajor({{{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}}}), 0.0},
      {"zero column", pglScale(0, 1, 1), 0.0},
      {"NaN element", PGL4::init({nan, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}), nan},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_SAME_BITS(r.det, r.m.det());
  }
  for (const double angle : {0.3, 0.7853981633974483, 2.0, -5.0}) EXPECT_NEAR(1.0, pglRotateZ(angle).det(), 4e-16);
}

TEST(PGL4, NormalizeDetRescalesToUnitDeterminantKeepingItsSign) {
  const double below = std::nextafter(1e-15, 0.0);
  struct Row {
    const char* what;
    PGL4 m;
    double det;  // of the rescaled matrix; 0 where the input must come back unchanged
  };
  const Row rows[] = {
      {"det 24", pglScale(2, 3, 4), 1.0},
      {"det -8 keeps its sign", pglScale(-2, 2, 2), -1.0},
      {"det 1e-12 is not below the threshold", pglScale(1e-4, 1e-4, 1e-4), 1.0},
      // det of diag(a, 1, 1, 1) is a exactly, so the threshold is hit exactly.
      {"det exactly 1e-15 is rescaled", pglScale(1e-15, 1, 1), 1.0},
      {"det exactly -1e-15 is rescaled", pglScale(-1e-15, 1, 1), -1.0},
      {"det one ulp below 1e-15 is kept", pglScale(below, 1, 1), 0.0},
      {"det 0 is kept", pglScale(0, 1, 1), 0.0},
      {"det -0 is kept", pglScale(-0.0, 1, 1), 0.0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    const PGL4 n = r.m.normalizeDet();
    if (r.det == 0.0) {
      EXPECT_SAME(r.m, n);
      continue;
    }
    EXPECT_NEAR(r.det, n.det(), 1e-14);
    // One common factor |det|^(-1/4) on all 16 elements.
    const double scale = n.data[15] / r.m.data[15];
    for (std::size_t k = 0; k < 16; ++k) EXPECT_SAME_BITS(scale * r.m.data[k], n.data[k]);
  }
  const PGL4 diag = pglScale(2, 3, 4).normalizeDet();
  EXPECT_SAME_BITS(0.45180100180492244, diag.data[15]);  // 24^(-1/4)
  EXPECT_SAME_BITS(0.90360200360984488, diag.data[0]);

  // A NaN determinant is not below the threshold; it spreads to every element.
  const PGL4 with_nan = PGL4::init({nan, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}).normalizeDet();
  for (const double e : with_nan.data) EXPECT_TRUE(std::isnan(e));
}

TEST(PGL4, FromHomogeneousIsFromRowMajorBuiltAhead) {
  constexpr PGL4::Rows rows{{{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {0, 0, 0, 5}}};
  constexpr PGL4 m = pglFromHomogeneous(rows);
  static_assert(m.det() == 120.0);
  EXPECT_SAME(PGL4::fromRowMajor(rows), m);
  constexpr PGL4 shear = pglFromHomogeneous({{{1, 7, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}});
  EXPECT_EQ(7.0, shear.get(0, 1));
}

using PGL4Death = ::testing::Test;

TEST(PGL4Death, RowAndColumnAreEachCheckedAgainstFour) {
  PGL4 m = PGL4::identity();
  // (0, 4) would be data[16] and (4, 0) data[4], inside the array: only a
  // check of each index catches them.
  EXPECT_EXIT(static_cast<void>(m.get(4, 0)), ::testing::KilledBySignal(SIGABRT),
              "panic: index out of bounds: index 4, len 4");
  EXPECT_EXIT(m.set(0, 4, 1.0), ::testing::KilledBySignal(SIGABRT), "panic: index out of bounds: index 4, len 4");
  EXPECT_EXIT(m.set(5, 0, 1.0), ::testing::KilledBySignal(SIGABRT), "panic: index out of bounds: index 5, len 4");
  EXPECT_EXIT(static_cast<void>(m.get(1, 7)), ::testing::KilledBySignal(SIGABRT),
              "panic: index out of bounds: index 7, len 4");
}

}  // namespace
}  // namespace quor
