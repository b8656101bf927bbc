#include "quor/distance.hpp"

#include <cmath>
#include <limits>

#include "bits.hpp"

namespace quor {
namespace {

using test::inf;
using test::nan;
constexpr double pi = 3.141592653589793;
constexpr double R = R_VESPRA_KM * 1000.0;

TEST(FsDistance, KnownValuesToTheLastBit) {
  struct Row {
    const char* what;
    HomVec4 a, b;
    double distance;
  };
  const double below_threshold = std::nextafter(1e-15, 0.0);
  const Row rows[] = {
      {"equal", {1, 0, 0, 0}, {1, 0, 0, 0}, 0.0},
      {"orthogonal: d is 0", {1, 0, 0, 0}, {0, 1, 0, 0}, 1.5707963267948966},
      {"45 degrees", HomVec4{1, 0, 0, 0}.normalize(), HomVec4{1, 0, 0, 1}.normalize(), 0.7853981633974483},
      {"antipodal unit pair", HomVec4{1, 0, 0, 1}.normalize(), HomVec4{-1, 0, 0, -1}.normalize(), 0.0},
      {"v against -v", {1, 2, 3, 4}, {-1, -2, -3, -4}, 0.0},
      {"zero vector", {0, 0, 0, 0}, {1, 2, 3, 4}, 0.0},
      {"zero vector second", {1, 2, 3, 4}, {0, 0, 0, 0}, 0.0},
      {"norm below 1e-15 names no point", {below_threshold, 0, 0, 0}, {0, 1, 0, 0}, 0.0},
      {"norm exactly 1e-15 is a point", {1e-15, 0, 0, 0}, {0, 1, 0, 0}, 1.5707963267948966},
      {"1e-16 against e_x", {1e-16, 0, 0, 0}, {1, 0, 0, 0}, 0.0},
      // A NaN ratio is replaced by 1, not carried through.
      {"NaN in both", {nan, 0, 0, 0}, {nan, 1, 0, 0}, 0.0},
      {"NaN in one", {1, 2, 3, 4}, {0, nan, 0, 0}, 0.0},
      {"infinite component: inf/inf", {inf, 0, 0, 0}, {1, 0, 0, 0}, 0.0},
      // d rounds to 1.0000000000000002 here; the upper clamp brings it to 1.
      {"ratio above 1 clamps", {0.8, 0.125, 0.3, 7.0 / 9}, {0.8 * 3, 0.125 * 3, 0.3 * 3, 7.0 / 9 * 3}, 0.0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_SAME_BITS(r.distance, fsDistance(r.a, r.b));
  }
}

TEST(FsDistance, IsBlindToSignAndScale) {
  const HomVec4 vs[] = {{1, 2, 3, 4}, {0.1, -7, 1e-3, 2}, {1e150, 1e150, 0, 0}, {-3, 0, 0, 1e-9}};
  const HomVec4 other{0.5, 0.25, -1, 2};
  for (const HomVec4& v : vs) {
    const HomVec4 neg{-v.x, -v.y, -v.z, -v.w};
    const HomVec4 triple{3 * v.x, 3 * v.y, 3 * v.z, 3 * v.w};
    EXPECT_SAME_BITS(fsDistance(v, v), fsDistance(v, neg));
    EXPECT_SAME_BITS(fsDistance(other, v), fsDistance(other, neg));
    // Below 1 nothing corrects d: one ulp under 1 already gives about 1.5e-8.
    EXPECT_LE(fsDistance(v, triple), 3e-8);
    EXPECT_GE(fsDistance(v, triple), 0.0);
  }
  // The ratio one ulp below 1: 0.99999999999999978.
  EXPECT_SAME_BITS(2.1073424255447017e-08, fsDistance({0.1, 1, 0.3, 3.5}, {0.1 * 3, 3, 0.3 * 3, 10.5}));
}

TEST(ChordConversions, WFromDistanceIsTheCosineOfTheHalfAngle) {
  struct Row {
    const char* what;
    double s, r, w;
  };
  const Row rows[] = {
      {"no distance", 0, R, 1.0},
      {"half way round, unit radius", pi * 1.0, 1.0, 6.123233995736766e-17},
      // pi·R rounds, so the quotient is not pi/2 to the bit on this radius.
      {"half way round the modelled world", pi * R, R, -1.6081226496766364e-16},
      {"negative distance", -1000, R, 0.9999999963329037},
      {"zero radius", 1000, 0.0, nan},
      {"zero over zero radius", 0, 0.0, nan},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_SAME_BITS(r.w, wFromDistance(r.s, r.r));
  }
}

TEST(ChordConversions, SFromWClampsIntoTheDomainOfArccos) {
  const double half_turn = (2.0 * R) * pi;
  struct Row {
    const char* what;
    double w, s;
  };
  const Row rows[] = {
      {"above 1", 1.5, 0.0},     {"exactly 1", 1.0, 0.0},         {"NaN counts as 1", nan, 0.0},
      {"+inf", inf, 0.0},        {"exactly -1", -1.0, half_turn}, {"below -1", -3.0, half_turn},
      {"-inf", -inf, half_turn}, {"zero", 0.0, R * pi},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_SAME_BITS(r.s, sFromW(r.w, R));
  }
}

TEST(ChordConversions, RoundTripRecoversTheDistanceUpToArccosNearOne) {
  const double distances[] = {0.0, 1.0, 1000.0, 1e5, 1e7, 3e7};
  for (const double s : distances) {
    SCOPED_TRACE(s);
    const double back = sFromW(wFromDistance(s, R), R);
    // arccos near 1 loses about half the digits of W: 1000 m comes back as
    // 999.99999244, an absolute loss that grows only with R.
    EXPECT_NEAR(s, back, 0.01);
    // A negative distance comes back as its magnitude.
    EXPECT_SAME_BITS(back, sFromW(wFromDistance(-s, R), R));
  }
  EXPECT_SAME_BITS(0.9999999963329037, wFromDistance(1000.0, R));
  // Beyond 2·pi·R the angle wraps.
  EXPECT_NEAR(1000.0, sFromW(wFromDistance(4 * pi * R + 1000.0, R), R), 1.0);
}

}  // namespace
}  // namespace quor
