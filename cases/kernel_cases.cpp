#include "kernel_cases.hpp"

#include "testing.hpp"

namespace quor::cases::kernel {

using testing::expect;
using testing::expectApproxEqAbs;

Status fsDistanceKnownValues() { return testing::SkipCase; }

Status pglIdentityAction() { return testing::SkipCase; }

Status pglDeterminant() { return testing::SkipCase; }

Status pglTranslationAndScale() { return testing::SkipCase; }

Status pglNewtonSchulzInverse() { return testing::SkipCase; }

Status pglNormalizeDet() { return testing::SkipCase; }

Status pglRotationPreservesNorm() { return testing::SkipCase; }

Status simdDot4AndNormalize() { return testing::SkipCase; }

Status cordicInverseSqrt() { return testing::SkipCase; }

Status resonanceAntisymmetric() { return testing::SkipCase; }

Status projectorIdempotent() { return testing::SkipCase; }

Status deformedProductEpsilonZero() { return testing::SkipCase; }

Status chordRoundTrip() { return testing::SkipCase; }

Status pglFromHomogeneousCompileTime() { return testing::SkipCase; }

}  // namespace quor::cases::kernel
