#include "physics_cases.hpp"

#include <cmath>

#include "quor/body.hpp"
#include "quor/collision.hpp"
#include "quor/curvature.hpp"
#include "quor/forces.hpp"
#include "quor/hom_vec4.hpp"
#include "quor/integrate.hpp"
#include "testing.hpp"

namespace quor::cases::physics {

using testing::expect;
using testing::expectApproxEqAbs;

namespace {

constexpr double HALF_PI = 1.5707963267948966;

HomVec4 vec(double x, double y, double z, double w) { return HomVec4::init(x, y, z, w); }

/// The body both integration cases check: moving at speed 0.1 along the x-y
/// great circle, after one step of 0.01 without force.
QuorBody steppedBody() {
  QuorBody body = QuorBody::init(vec(1, 0, 0, 0), vec(0, 0.1, 0, 0), 1.0);
  integrateStep(body, 0.01, HomVec4::zero());
  return body;
}

}  // namespace

Status bodyCreationNormalizesPosition() {
  const QuorBody body = QuorBody::init(HomVec4::fromCartesian(3, 4, 0), HomVec4::zero(), 1.0);
  QUOR_TRY(expectApproxEqAbs(body.position.norm(), 1.0, 1e-10));
  return {};
}

Status staticBodyIsNotActive() {
  const QuorBody body = QuorBody::static_(vec(0, 0, 0, 1));
  QUOR_TRY(expect(!body.active));
  QUOR_TRY(expect(body.body_type == QuorBody::BodyType::static_));
  return {};
}

Status bodyFsDistance() {
  const QuorBody a = QuorBody::init(vec(1, 0, 0, 0), HomVec4::zero(), 1.0);
  const QuorBody b = QuorBody::init(vec(0, 1, 0, 0), HomVec4::zero(), 1.0);
  QUOR_TRY(expectApproxEqAbs(a.distanceTo(b), HALF_PI, 1e-10));
  return {};
}

Status gravityNoSingularityAtZero() {
  const QuorBody body = QuorBody::init(vec(1, 0, 0, 0), HomVec4::zero(), 1.0);
  const HomVec4 force = quorGravity(body, vec(1, 0, 0, 0), 1.0, 1.0);
  QUOR_TRY(expectApproxEqAbs(force.norm(), 0.0, 1e-10));
  return {};
}

Status gravityFiniteAtHalfPi() {
  const QuorBody body = QuorBody::init(vec(1, 0, 0, 0), HomVec4::zero(), 1.0);
  const HomVec4 force = quorGravity(body, vec(0, 1, 0, 0), 1.0, 1.0);
  QUOR_TRY(expect(force.norm() > 0.5));
  QUOR_TRY(expect(!std::isnan(force.norm())));
  QUOR_TRY(expect(!std::isinf(force.norm())));
  return {};
}

Status dampingForceCase() {
  const HomVec4 f = dampingForce(vec(1, 0, 0, 0), 0.5);
  QUOR_TRY(expectApproxEqAbs(f.x, -0.5, 1e-10));
  return {};
}

Status integrateStepPreservesS3() {
  const QuorBody body = steppedBody();
  QUOR_TRY(expectApproxEqAbs(body.position.norm(), 1.0, W_EPS));
  return {};
}

Status integrateStepVelocityOrthogonal() {
  const QuorBody body = steppedBody();
  const double inner = body.velocity.dot(body.position);
  QUOR_TRY(expectApproxEqAbs(std::fabs(inner), 0.0, W_EPS));
  return {};
}

Status collisionDetection() {
  const QuorBody a = QuorBody::init(vec(1, 0, 0, 0), HomVec4::zero(), 1.0);
  const QuorBody b = QuorBody::init(vec(0, 1, 0, 0), HomVec4::zero(), 1.0);
  const CollisionResult result = checkCollision(a, b, 0.1);
  QUOR_TRY(expect(!result.collided));
  return {};
}

Status collisionAtCloseRange() {
  const QuorBody a = QuorBody::init(vec(1, 0, 0, 0), HomVec4::zero(), 1.0);
  const QuorBody b = QuorBody::init(vec(0.99, 0.01, 0, 0).normalize(), HomVec4::zero(), 1.0);
  const CollisionResult result = checkCollision(a, b, 0.5);
  QUOR_TRY(expect(result.collided));
  return {};
}

Status bodyApplyForce() {
  QuorBody body = QuorBody::init(vec(0, 0, 0, 1), HomVec4::zero(), 1.0);
  body.applyForce(vec(1, 0, 0, 0));
  QUOR_TRY(expectApproxEqAbs(body.force_accum.x, 1.0, 1e-10));
  return {};
}

Status staticBodyIgnoresForce() {
  QuorBody body = QuorBody::static_(vec(0, 0, 0, 1));
  body.applyForce(vec(100, 0, 0, 0));
  QUOR_TRY(expectApproxEqAbs(body.force_accum.x, 0.0, 1e-10));
  return {};
}

Status christoffelAtNorthPole() {
  const Christoffel gamma = christoffelSymbols(vec(0, 0, 0, 1));
  QUOR_TRY(expectApproxEqAbs(gamma[0][0][0], 0.0, 1e-10));
  QUOR_TRY(expectApproxEqAbs(gamma[3][0][0], -1.0, 1e-10));
  QUOR_TRY(expectApproxEqAbs(gamma[3][1][1], -1.0, 1e-10));
  QUOR_TRY(expectApproxEqAbs(gamma[0][0][1], 0.0, 1e-10));
  return {};
}

Status christoffelAtOriginZero() {
  const Christoffel gamma = christoffelSymbols(vec(0, 0, 0, 0));
  QUOR_TRY(expectApproxEqAbs(gamma[0][0][0], 0.0, 1e-10));
  return {};
}

Status geodesicAccelerationPureRadial() {
  const HomVec4 accel = geodesicAcceleration(vec(0, 0, 0, 1), vec(1, 0, 0, 0));
  QUOR_TRY(expectApproxEqAbs(accel.x, 0.0, 1e-10));
  QUOR_TRY(expectApproxEqAbs(accel.w, 1.0, 1e-10));
  return {};
}

Status sectionalCurvatureUnitSphere() {
  QUOR_TRY(expectApproxEqAbs(sectionalCurvature(vec(1, 0, 0, 0)), 1.0, 1e-10));
  return {};
}

Status sectionalCurvatureScaledSphere() {
  QUOR_TRY(expectApproxEqAbs(sectionalCurvature(vec(2, 0, 0, 0)), 0.25, 1e-10));
  return {};
}

Status scalarCurvatureS3() {
  QUOR_TRY(expectApproxEqAbs(scalarCurvature(vec(1, 0, 0, 0)), 6.0, 1e-10));
  return {};
}

Status ricciTensorDiagonalS3() {
  const HomVec4 point = vec(1, 0, 0, 0);
  QUOR_TRY(expectApproxEqAbs(ricciTensor(point, 0, 0), 0.0, 1e-10));
  QUOR_TRY(expectApproxEqAbs(ricciTensor(point, 1, 1), 2.0, 1e-10));
  return {};
}

Status riemannAntisymmetryLastTwo() {
  const HomVec4 point = vec(0.5, 0.5, 0.5, 0.5);
  const double r0123 = riemannTensor(point, 0, 1, 2, 3);
  const double r0132 = riemannTensor(point, 0, 1, 3, 2);
  QUOR_TRY(expectApproxEqAbs(r0123, -r0132, 1e-10));
  return {};
}

Status riemannCyclicSum() {
  const HomVec4 point = vec(0, 0, 0, 1);
  const double r0_123 = riemannTensor(point, 0, 1, 2, 3);
  const double r0_231 = riemannTensor(point, 0, 2, 3, 1);
  const double r0_312 = riemannTensor(point, 0, 3, 1, 2);
  QUOR_TRY(expectApproxEqAbs((r0_123 + r0_231) + r0_312, 0.0, 1e-10));
  return {};
}

}  // namespace quor::cases::physics
