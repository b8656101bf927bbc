#include "quor/lanes.hpp"

#include <bit>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <limits>

#include "bits.hpp"

namespace quor {
namespace {

using test::inf;
using test::nan;
constexpr float nanf = std::numeric_limits<float>::quiet_NaN();

void expectLanes(F32x4 expected, F32x4 actual) {
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE((std::isnan(expected[i]) && std::isnan(actual[i])) ||
                test::bitsOf(expected[i]) == test::bitsOf(actual[i]))
        << "expected " << expected[i] << ", got " << actual[i];
  }
}

static_assert(sizeof(F32x4) == 16 && alignof(F32x4) == 16, "one 128-bit vector");

TEST(F32x4, LanesAreXYZWAndArithmeticIsLaneWise) {
  const F32x4 v = f32x4(1, 2, 3, 4);
  EXPECT_EQ(1.0f, v[0]);
  EXPECT_EQ(4.0f, v[3]);
  expectLanes(f32x4(0.1f * 3, 4, 9, 16), f32x4(0.1f, 2, 3, 4) * f32x4(3, 2, 3, 4));
}

TEST(F32x4, Dot4SumsTheLaneProductsInLaneOrder) {
  struct Row {
    const char* what;
    F32x4 a, b;
    float dot;
  };
  const F32x4 ones = f32x4(1, 1, 1, 1);
  const Row rows[] = {
      {"unit lane", f32x4(1, 0, 0, 0), f32x4(1, 0, 0, 0), 1.0f},
      {"all lanes", f32x4(1, 2, 3, 4), ones, 10.0f},
      // ((1e8 + 1) − 1e8) + 1 = 1 in f32: 1e8 + 1 rounds back to 1e8.
      {"lane order", f32x4(1e8f, 1, -1e8f, 1), ones, 1.0f},
      {"products round to f32 first", f32x4(0.1f, 0, 0, 0), f32x4(0.1f, 0, 0, 0), 0.1f * 0.1f},
      {"NaN lane", f32x4(1, nanf, 0, 0), ones, nanf},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    const float d = simdDot4(r.a, r.b);
    EXPECT_TRUE((std::isnan(r.dot) && std::isnan(d)) || test::bitsOf(r.dot) == test::bitsOf(d)) << d;
  }
}

TEST(F32x4, Normalize3DividesEveryLaneByTheFourLaneLength) {
  // Two lanes whose squares sum to the f32 threshold exactly.
  const float a = 0x1.802752p-26f;
  const float c = 0x1.80274cp-26f;
  const float c_less = std::nextafter(c, 0.0f);
  const float threshold = 1e-15f;
  ASSERT_EQ(threshold, simdDot4(f32x4(a, c, 0, 0), f32x4(a, c, 0, 0)));
  ASSERT_LT(simdDot4(f32x4(a, c_less, 0, 0), f32x4(a, c_less, 0, 0)), threshold);
  const float len = std::sqrt(threshold);

  struct Row {
    const char* what;
    F32x4 in, out;
  };
  const F32x4 fallback = f32x4(0, 0, 0, 1);
  const Row rows[] = {
      {"lane 3 counts", f32x4(3, 0, 0, 4), f32x4(0.6f, 0, 0, 0.8f)},
      {"lane 3 alone, by division", f32x4(0, 0, 0, 2), f32x4(0, 0, 0, 1)},
      {"negative lanes", f32x4(0, -2, 0, 0), f32x4(0, -1, 0, 0)},
      {"zero", f32x4(0, 0, 0, 0), fallback},
      {"short", f32x4(1e-8f, 0, 0, 0), fallback},
      {"squared length exactly the threshold divides", f32x4(a, c, 0, 0), f32x4(a / len, c / len, 0, 0)},
      {"just below the threshold", f32x4(a, c_less, 0, 0), fallback},
      {"NaN", f32x4(nanf, 1, 0, 0), f32x4(nanf, nanf, nanf, nanf)},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    expectLanes(r.out, simdNormalize3(r.in));
  }
  EXPECT_EQ(0.6000000238418579, static_cast<double>(simdNormalize3(f32x4(3, 0, 0, 4))[0]));
}

TEST(CordicInvSqrt, ExactValues) {
  struct Row {
    double x, y;
  };
  const Row rows[] = {
      {4.0, 0.49999999998618955},
      {1.0, 0.9999999999723791},
      {9.0, 0.33333333333142373},
      {2.0, 0.7071067811865382},
      {16.0, 0.49999999998618955 / 2},
      {0.0, 0.0},
      {-0.0, 0.0},  // +0.0 out, whatever the sign of the zero in
      {-4.0, 0.0},
      {-inf, 0.0},
      {inf, -inf},
      {nan, nan},  // a positive NaN passes the subtraction and stays NaN
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.x);
    EXPECT_SAME_BITS(r.y, cordicInvSqrt(r.x));
  }
}

TEST(CordicInvSqrt, HalvesExactlyWhenTheArgumentIsQuadrupled) {
  // The estimate comes from the bits alone: 4x moves the exponent by 2, the
  // estimate's by -1, and every Newton step then halves exactly.
  double x = 1e-300;
  int checked = 0;
  while (x < 1e300) {
    const double fx = cordicInvSqrt(x);
    ASSERT_TRUE(test::sameBits(fx / 2, cordicInvSqrt(4 * x))) << x;
    x *= 1.0137;
    ++checked;
  }
  EXPECT_GT(checked, 1000);
}

TEST(CordicInvSqrt, RelativeErrorStaysBelow32e12OverAPeriod) {
  double worst = 0.0;
  double worst_at = 0.0;
  for (int i = 0; i <= 300000; ++i) {
    const double x = 1.0 + 3.0 * i / 300000;
    const double error = std::fabs(cordicInvSqrt(x) * std::sqrt(x) - 1.0);
    if (error > worst) {
      worst = error;
      worst_at = x;
    }
  }
  EXPECT_LT(worst, 3.2e-11);
  EXPECT_NEAR(2.5766, worst_at, 1e-3);
  // Subnormals are outside the estimate's reach.
  EXPECT_NEAR(3.155e154, cordicInvSqrt(1e-310), 1e151);
}

TEST(CordicInvSqrtDeath, NegativeNaNWrapsTheCheckedSubtraction) {
  const double negative_nan = std::bit_cast<double>(std::uint64_t{0xFFF8000000000000});
  EXPECT_EXIT(static_cast<void>(cordicInvSqrt(negative_nan)), ::testing::KilledBySignal(SIGABRT),
              "panic: integer overflow");
}

}  // namespace
}  // namespace quor
