// The registered cases of quor_geodesic, in the order its report lists them.
#pragma once

#include <array>

#include "registry.hpp"

namespace quor::cases::geodesic {

Status exactSolutionStaysOnS3();
Status gammaZeroIsP();
Status gammaHalfPiIsV();
Status gammaPiIsMinusP();
Status fsDistanceAlongGeodesicCase();
Status orthogonalVelocityCase();
Status rk4VsExact();
Status parallelTransportPreservesNorm();
Status expLogRoundTrip();
Status renormalizeOnS3Case();

inline constexpr std::array<runner::TestFn, 10> geodesic_cases{{
    {"quor_geodesic.test.Geodesic: exact solution stays on S³", &exactSolutionStaysOnS3},
    {"quor_geodesic.test.Geodesic: γ(0) = p", &gammaZeroIsP},
    {"quor_geodesic.test.Geodesic: γ(π/2) = v when p ⟂ v", &gammaHalfPiIsV},
    {"quor_geodesic.test.Geodesic: γ(π) = −p (antipodal point)", &gammaPiIsMinusP},
    {"quor_geodesic.test.Geodesic: FS distance along geodesic", &fsDistanceAlongGeodesicCase},
    {"quor_geodesic.test.Geodesic: orthogonal velocity ⟂ p", &orthogonalVelocityCase},
    {"quor_geodesic.test.Geodesic: RK4 vs exact solution", &rk4VsExact},
    {"quor_geodesic.test.Geodesic: parallel transport preserves norm", &parallelTransportPreservesNorm},
    {"quor_geodesic.test.Geodesic: exp/log round-trip", &expLogRoundTrip},
    {"quor_geodesic.test.Geodesic: renormalize on S³", &renormalizeOnS3Case},
}};

}  // namespace quor::cases::geodesic
