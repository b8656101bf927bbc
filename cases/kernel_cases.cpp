#include <cmath>
#include <cstddef>

#include "kernel_cases.hpp"
#include "quor/distance.hpp"
#include "quor/hom_vec4.hpp"
#include "quor/lanes.hpp"
#include "quor/pgl4.hpp"
#include "quor/projector.hpp"
#include "testing.hpp"

namespace quor::cases::kernel {

using testing::expectApproxEqAbs;

Status fsDistanceKnownValues() {
  const HomVec4 e_x = HomVec4::init(1, 0, 0, 0);
  QUOR_TRY(expectApproxEqAbs(fsDistance(e_x, HomVec4::init(1, 0, 0, 0)), 0.0, 1e-10));
  const HomVec4 e_y = HomVec4::init(0, 1, 0, 0);
  QUOR_TRY(expectApproxEqAbs(fsDistance(e_x, e_y), 1.5707963267948966, 1e-10));

  // An antipodal pair names one projective point.
  const HomVec4 p = HomVec4::init(1, 0, 0, 1).normalize();
  const HomVec4 q = HomVec4::init(-1, 0, 0, -1).normalize();
  QUOR_TRY(expectApproxEqAbs(fsDistance(p, q), 0.0, W_EPS));

  const HomVec4 p2 = HomVec4::init(1, 0, 0, 0).normalize();
  const HomVec4 q2 = HomVec4::init(1, 0, 0, 1).normalize();
  QUOR_TRY(expectApproxEqAbs(fsDistance(p2, q2), 0.7853981633974483, 1e-10));
  return {};
}

Status pglIdentityAction() {
  const PGL4 I = PGL4::identity();
  const HomVec4 r = I.apply(HomVec4::init(3, 4, 5, 1));
  QUOR_TRY(expectApproxEqAbs(r.x, 3.0, 1e-10));
  QUOR_TRY(expectApproxEqAbs(r.y, 4.0, 1e-10));
  QUOR_TRY(expectApproxEqAbs(r.z, 5.0, 1e-10));
  QUOR_TRY(expectApproxEqAbs(r.w, 1.0, 1e-10));
  return {};
}

Status pglDeterminant() {
  QUOR_TRY(expectApproxEqAbs(PGL4::identity().det(), 1.0, 1e-10));
  QUOR_TRY(expectApproxEqAbs(pglScale(2, 3, 4).det(), 24.0, 1e-10));
  return {};
}

Status pglTranslationAndScale() {
  const PGL4 T = pglTranslate(10, 20, 30);
  const auto c = T.apply(HomVec4::fromCartesian(1, 2, 3)).cartesian3();
  QUOR_TRY(expectApproxEqAbs(c[0], 11.0, 1e-8));
  QUOR_TRY(expectApproxEqAbs(c[1], 22.0, 1e-8));
  QUOR_TRY(expectApproxEqAbs(c[2], 33.0, 1e-8));
  return {};
}

Status pglNewtonSchulzInverse() {
  const PGL4 M = pglScale(2, 3, 4);
  const PGL4 M_inv = M.inverse(1e-10, 15);
  const PGL4 product = PGL4::mul(M, M_inv);
  for (std::size_t r = 0; r < 4; ++r) {
    for (std::size_t c = 0; c < 4; ++c) {
      const double expected = r == c ? 1.0 : 0.0;
      QUOR_TRY(expectApproxEqAbs(product.get(r, c), expected, 1e-6));
    }
  }
  return {};
}

Status pglNormalizeDet() {
  const PGL4 N = pglScale(2, 3, 4).normalizeDet();
  QUOR_TRY(expectApproxEqAbs(std::fabs(N.det()), 1.0, 1e-6));
  return {};
}

Status pglRotationPreservesNorm() {
  const PGL4 R = pglRotateZ(0.7853981633974483);
  const HomVec4 v = HomVec4::init(1, 0, 0, 1);
  const HomVec4 r = R.apply(v);
  QUOR_TRY(expectApproxEqAbs(v.norm(), r.norm(), 1e-10));
  return {};
}

Status simdDot4AndNormalize() {
  const F32x4 a = f32x4(1, 0, 0, 0);
  const F32x4 b = f32x4(1, 0, 0, 0);
  QUOR_TRY(expectApproxEqAbs(simdDot4(a, b), 1.0f, 1e-5f));
  const F32x4 n = simdNormalize3(f32x4(3, 0, 0, 4));
  QUOR_TRY(expectApproxEqAbs(simdDot4(n, n), 1.0f, 1e-5f));
  return {};
}

Status cordicInverseSqrt() {
  QUOR_TRY(expectApproxEqAbs(cordicInvSqrt(4.0), 0.5, 1e-10));
  QUOR_TRY(expectApproxEqAbs(cordicInvSqrt(1.0), 1.0, 1e-10));
  QUOR_TRY(expectApproxEqAbs(cordicInvSqrt(9.0), 0.3333333333333333, 1e-10));
  return {};
}

Status resonanceAntisymmetric() {
  const PGL4 A = PGL4::init({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
  const PGL4 J = computeResonance(A);
  const PGL4 Jt = J.transpose();
  for (std::size_t r = 0; r < 4; ++r) {
    for (std::size_t c = 0; c < 4; ++c) QUOR_TRY(expectApproxEqAbs(Jt.get(r, c), -J.get(r, c), 1e-10));
  }
  return {};
}

Status projectorIdempotent() {
  // Orthogonal, with J² = −I.
  const PGL4 Jc = PGL4::init({0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0});
  const PGL4 Pi = computeProjector(Jc, 1e-8);
  const PGL4 Pi2 = PGL4::mul(Pi, Pi);
  for (std::size_t k = 0; k < 16; ++k) QUOR_TRY(expectApproxEqAbs(Pi2.data[k], Pi.data[k], 1e-4));
  return {};
}

Status deformedProductEpsilonZero() {
  const PGL4 A = pglScale(2, 1, 1);
  const PGL4 B = pglTranslate(3, 0, 0);
  const PGL4 standard = PGL4::mul(A, B);
  const PGL4 deformed = deformedTensorProduct(A, B, 0.0);
  for (std::size_t k = 0; k < 16; ++k) QUOR_TRY(expectApproxEqAbs(standard.data[k], deformed.data[k], 1e-10));
  return {};
}

Status chordRoundTrip() {
  constexpr double R = R_VESPRA_KM * 1000.0;
  static_assert(R == 5838400.0);
  const double s = 1000.0;
  const double W = wFromDistance(s, R);
  const double s_back = sFromW(W, R);
  QUOR_TRY(expectApproxEqAbs(1000.0, s_back, 0.01));
  return {};
}

Status pglFromHomogeneousCompileTime() {
  // A singular argument here would stop the build; this one is accepted.
  constexpr PGL4 M = pglFromHomogeneous({{{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {0, 0, 0, 5}}});
  QUOR_TRY(expectApproxEqAbs(M.det(), 120.0, 1e-6));
  return {};
}

}  // namespace quor::cases::kernel
