// The registered cases of quor_physics, in the order its report lists them.
#pragma once

#include <array>

#include "registry.hpp"

namespace quor::cases::physics {

Status bodyCreationNormalizesPosition();
Status staticBodyIsNotActive();
Status bodyFsDistance();
Status gravityNoSingularityAtZero();
Status gravityFiniteAtHalfPi();
Status dampingForceCase();
Status integrateStepPreservesS3();
Status integrateStepVelocityOrthogonal();
Status collisionDetection();
Status collisionAtCloseRange();
Status bodyApplyForce();
Status staticBodyIgnoresForce();
Status christoffelAtNorthPole();
Status christoffelAtOriginZero();
Status geodesicAccelerationPureRadial();
Status sectionalCurvatureUnitSphere();
Status sectionalCurvatureScaledSphere();
Status scalarCurvatureS3();
Status ricciTensorDiagonalS3();
Status riemannAntisymmetryLastTwo();
Status riemannCyclicSum();

inline constexpr std::array<runner::TestFn, 21> physics_cases{{
    {"quor_physics.test.Physics: QuorBody creation normalizes position", &bodyCreationNormalizesPosition},
    {"quor_physics.test.Physics: QuorBody static is not active", &staticBodyIsNotActive},
    {"quor_physics.test.Physics: QuorBody FS distance", &bodyFsDistance},
    {"quor_physics.test.Physics: QuorGravity has no singularity at d=0", &gravityNoSingularityAtZero},
    {"quor_physics.test.Physics: QuorGravity is finite at d=π/2", &gravityFiniteAtHalfPi},
    {"quor_physics.test.Physics: Damping force", &dampingForceCase},
    {"quor_physics.test.Physics: Integrate step preserves S³", &integrateStepPreservesS3},
    {"quor_physics.test.Physics: Integrate step velocity orthogonal to position", &integrateStepVelocityOrthogonal},
    {"quor_physics.test.Physics: Collision detection", &collisionDetection},
    {"quor_physics.test.Physics: Collision at close range", &collisionAtCloseRange},
    {"quor_physics.test.Physics: QuorBody apply force", &bodyApplyForce},
    {"quor_physics.test.Physics: Static body ignores force", &staticBodyIgnoresForce},
    {"quor_physics.test.Physics: Christoffel symbols at north pole", &christoffelAtNorthPole},
    {"quor_physics.test.Physics: Christoffel symbols at origin are zero", &christoffelAtOriginZero},
    {"quor_physics.test.Physics: Geodesic acceleration for pure radial", &geodesicAccelerationPureRadial},
    {"quor_physics.test.Physics: Sectional curvature on unit sphere", &sectionalCurvatureUnitSphere},
    {"quor_physics.test.Physics: Sectional curvature on scaled sphere", &sectionalCurvatureScaledSphere},
    {"quor_physics.test.Physics: Scalar curvature on S³", &scalarCurvatureS3},
    {"quor_physics.test.Physics: Ricci tensor diagonal on S³", &ricciTensorDiagonalS3},
    {"quor_physics.test.Physics: Riemann tensor antisymmetry in last two indices", &riemannAntisymmetryLastTwo},
    {"quor_physics.test.Physics: Riemann tensor symmetry R_{ijkl} = R_{klij}", &riemannCyclicSum},
}};

}  // namespace quor::cases::physics
