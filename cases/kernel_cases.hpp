// The registered cases of quor_kernel, in the order its report lists them.
#pragma once

#include <array>

#include "registry.hpp"

namespace quor::cases::kernel {

Status homVecConstructorsAndCartesian();
Status homVecNormalization();
Status homVecDotAndSamePoint();
Status homVecAntipodal();
Status homVecAffineCard();
Status fsDistanceKnownValues();
Status pglIdentityAction();
Status pglDeterminant();
Status pglTranslationAndScale();
Status pglNewtonSchulzInverse();
Status pglNormalizeDet();
Status pglRotationPreservesNorm();
Status simdDot4AndNormalize();
Status cordicInverseSqrt();
Status resonanceAntisymmetric();
Status projectorIdempotent();
Status deformedProductEpsilonZero();
Status chordRoundTrip();
Status pglFromHomogeneousCompileTime();

inline constexpr std::array<runner::TestFn, 19> kernel_cases{{
    {"quor_kernel.test.HomVec4: constructors and cartesian dehomogenization", &homVecConstructorsAndCartesian},
    {"quor_kernel.test.HomVec4: normalization on S³", &homVecNormalization},
    {"quor_kernel.test.HomVec4: dot product and isSamePoint", &homVecDotAndSamePoint},
    {"quor_kernel.test.HomVec4: antipodal check Z/2Z", &homVecAntipodal},
    {"quor_kernel.test.HomVec4: affine card selection", &homVecAffineCard},
    {"quor_kernel.test.Fubini-Study distance: known values", &fsDistanceKnownValues},
    {"quor_kernel.test.PGL4: identity action", &pglIdentityAction},
    {"quor_kernel.test.PGL4: determinant", &pglDeterminant},
    {"quor_kernel.test.PGL4: translation and scale", &pglTranslationAndScale},
    {"quor_kernel.test.PGL4: Newton-Schulz inverse", &pglNewtonSchulzInverse},
    {"quor_kernel.test.PGL4: normalizeDet → det ≈ 1", &pglNormalizeDet},
    {"quor_kernel.test.PGL4: rotation preserves norm", &pglRotationPreservesNorm},
    {"quor_kernel.test.SIMD: dot4 and normalize", &simdDot4AndNormalize},
    {"quor_kernel.test.CORDIC inverse sqrt", &cordicInverseSqrt},
    {"quor_kernel.test.Resonance J = A − Aᵀ is antisymmetric", &resonanceAntisymmetric},
    {"quor_kernel.test.Projector Π_Λ is idempotent: Π² = Π", &projectorIdempotent},
    {"quor_kernel.test.Deformed tensor product: ε=0 is standard mul", &deformedProductEpsilonZero},
    {"quor_kernel.test.w_from_distance / s_from_W round-trip", &chordRoundTrip},
    {"quor_kernel.test.PGL4 compile-time: pglFromHomogeneous rejects singular", &pglFromHomogeneousCompileTime},
}};

}  // namespace quor::cases::kernel
