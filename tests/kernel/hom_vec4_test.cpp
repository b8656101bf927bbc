#include "quor/hom_vec4.hpp"

#include <cmath>
#include <limits>

#include "same_values.hpp"

namespace quor {
namespace {

using test::inf;
using test::nan;

TEST(HomVec4, NormalizeDividesByTheNormOrFallsBackToTheBasePoint) {
  struct Row {
    HomVec4 in, out;
  };
  const Row rows[] = {
      {{3, 0, 0, 4}, {0.6, 0, 0, 0.8}},     {{0, 0, 0, 0}, {0, 0, 0, 1}},           {{1e-16, 0, 0, 0}, {0, 0, 0, 1}},
      {{1e-15, 0, 0, 0}, {1, 0, 0, 0}},  // exactly the threshold counts as non-zero
      {{-2, 0, -0.0, 0}, {-1, 0, -0.0, 0}}, {{nan, 0, 0, 0}, {nan, nan, nan, nan}}, {{inf, 1, 0, 0}, {nan, 0, 0, 0}},
  };
  for (const Row& r : rows) EXPECT_SAME(r.out, r.in.normalize());
}

TEST(HomVec4, DotAndNormKeepTheirGrouping) {
  // ((1e16 + 1) - 1e16) + 1 = 1 in this grouping; any other order differs.
  const HomVec4 a{1e16, 1, -1e16, 1};
  const HomVec4 ones{1, 1, 1, 1};
  EXPECT_SAME_BITS(((1e16 + 1.0) + -1e16) + 1.0, a.dot(ones));
  EXPECT_SAME_BITS(inf, (HomVec4{2e154, 0, 0, 0}.norm()));  // unscaled: overflows
}

TEST(HomVec4, Cartesian3DividesByWOrGivesTheDirectionAtInfinity) {
  struct Row {
    HomVec4 in;
    std::array<double, 3> out;
  };
  const double s14 = std::sqrt(14.0);
  const Row rows[] = {
      {{1, 2, 3, 0}, {1 / s14, 2 / s14, 3 / s14}},
      {{0, 0, 0, 0}, {0, 0, 0}},
      {{2, 4, 6, 1e-6}, {2 / 1e-6, 4 / 1e-6, 6 / 1e-6}},  // |w| = W_EPS divides out
      {{2, 4, 6, -2}, {-1, -2, -3}},
      {{1, 2, 3, nan}, {nan, nan, nan}},
  };
  for (const Row& r : rows) {
    const auto c = r.in.cartesian3();
    for (int i = 0; i < 3; ++i) EXPECT_SAME_BITS(r.out[i], c[i]);
  }
  EXPECT_SAME_BITS(2e6, (HomVec4{2, 4, 6, 1e-6}.cartesian3()[0]));
}

TEST(HomVec4, SamePointIsBlindToSignAndScale) {
  const HomVec4 v{1, 2, 3, 4};
  struct Row {
    HomVec4 a, b;
    double tol;
    bool same;
  };
  const Row rows[] = {
      {v, {-1, -2, -3, -4}, 1e-8, true},
      {v, {2.5, 5, 7.5, 10}, 1e-8, true},
      {v, v, 1e-8, true},
      {v, {1, 2, 3, 5}, 1e-8, false},
      {{0, 0, 0, 0}, v, 1e-8, false},
      {{0, 0, 0, 0}, {0, 0, 0, 0}, 0.5, false},
      {{1, 0, 0, 0}, {0, 1, 0, 0}, 0.5, false},
      {{1, 0, 0, 0}, {0, 1, 0, 0}, 1.0, false},  // 0 > 0 is false
      {v, {nan, 2, 3, 4}, 1e-8, false},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(r.same, r.a.isSamePoint(r.b, r.tol));
    EXPECT_EQ(r.same, r.a.isAntipodalTo(r.b, r.tol));  // the same answer on projective space
  }
}

TEST(HomVec4, PickBestCardBreaksTiesTowardsWThenXThenY) {
  struct Row {
    HomVec4 in;
    AffineCard card;
  };
  const Row rows[] = {
      {{1, 2, 3, 4}, AffineCard::UW},   {{5, 1, 1, 1}, AffineCard::UX},         {{1, 6, 1, 1}, AffineCard::UY},
      {{1, 1, 7, 1}, AffineCard::UZ},   {{0, 0, 0, 0}, AffineCard::UW},         {{1, 1, 1, 1}, AffineCard::UW},
      {{2, 2, 1, 1}, AffineCard::UX},   {{-5, 1, 1, 1}, AffineCard::UX},        {{1, 3, 3, 1}, AffineCard::UY},
      {{1, 0, 0, nan}, AffineCard::UX}, {{nan, nan, nan, nan}, AffineCard::UZ},
  };
  for (const Row& r : rows) EXPECT_EQ(r.card, r.in.pickBestCard());
}

}  // namespace
}  // namespace quor
