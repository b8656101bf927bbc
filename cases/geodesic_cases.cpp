#include "geodesic_cases.hpp"

#include <cstdint>

#include "quor/allocator.hpp"
#include "quor/geodesic.hpp"
#include "quor/geodesic_rk4.hpp"
#include "quor/geodesic_state.hpp"
#include "quor/panic.hpp"
#include "testing.hpp"

namespace quor::cases::geodesic {

using testing::expectApproxEqAbs;

namespace {
constexpr HomVec4 e_x = HomVec4::init(1.0, 0.0, 0.0, 0.0);
constexpr HomVec4 e_y = HomVec4::init(0.0, 1.0, 0.0, 0.0);
constexpr HomVec4 e_z = HomVec4::init(0.0, 0.0, 1.0, 0.0);
constexpr double pi_4 = 0.7853981633974483;
constexpr double pi_2 = 1.5707963267948966;
constexpr double pi = 3.141592653589793;
constexpr double three_pi_4 = 2.356194490192345;
}  // namespace

Status exactSolutionStaysOnS3() {
  const HomVec4 g = geodesicExact(e_x, e_y, pi_4);
  QUOR_TRY(expectApproxEqAbs(g.norm(), 1.0, 1e-10));
  return {};
}

Status gammaZeroIsP() {
  const HomVec4 p = HomVec4::init(0.6, 0.0, 0.0, 0.8);
  const HomVec4 v = e_y;
  const HomVec4 g = geodesicExact(p, v, 0.0);
  QUOR_TRY(expectApproxEqAbs(g.x, p.x, 1e-10));
  QUOR_TRY(expectApproxEqAbs(g.y, p.y, 1e-10));
  QUOR_TRY(expectApproxEqAbs(g.z, p.z, 1e-10));
  QUOR_TRY(expectApproxEqAbs(g.w, p.w, 1e-10));
  return {};
}

Status gammaHalfPiIsV() {
  const HomVec4 g = geodesicExact(e_x, e_y, pi_2);
  QUOR_TRY(expectApproxEqAbs(g.x, 0.0, 1e-10));
  QUOR_TRY(expectApproxEqAbs(g.y, 1.0, 1e-10));
  return {};
}

Status gammaPiIsMinusP() {
  const HomVec4 g = geodesicExact(e_x, e_y, pi);
  QUOR_TRY(expectApproxEqAbs(g.x, -1.0, 1e-10));
  QUOR_TRY(expectApproxEqAbs(g.y, 0.0, 1e-10));
  return {};
}

Status fsDistanceAlongGeodesicCase() {
  QUOR_TRY(expectApproxEqAbs(fsDistanceAlongGeodesic(0.0), 0.0, 1e-10));
  QUOR_TRY(expectApproxEqAbs(fsDistanceAlongGeodesic(pi_4), pi_4, 1e-10));
  QUOR_TRY(expectApproxEqAbs(fsDistanceAlongGeodesic(pi_2), pi_2, 1e-10));
  // Past pi/2 the distance falls again: 3pi/4 is as far as pi/4.
  QUOR_TRY(expectApproxEqAbs(fsDistanceAlongGeodesic(three_pi_4), pi_4, 1e-10));
  return {};
}

Status orthogonalVelocityCase() {
  const HomVec4 p = HomVec4::init(0.6, 0.0, 0.0, 0.8);
  const HomVec4 v = orthogonalVelocity(p);
  QUOR_TRY(expectApproxEqAbs(p.dot(v), 0.0, 1e-8));
  QUOR_TRY(expectApproxEqAbs(v.norm(), 1.0, 1e-8));
  return {};
}

Status rk4VsExact() {
  const HomVec4 p = e_x;
  const HomVec4 v = e_y;
  const GeodesicState y0 = GeodesicState::fromHomVec4(p, v);
  const std::uint32_t n_steps = 100;

  // The arena gives everything back to the case's checking allocator on every
  // way out of this function, the trajectory included.
  Arena arena(testing::allocator());
  auto result = rk4Integrate(&freeGeodesicRhs, 0.0, pi_4, y0, n_steps, arena.allocator());
  if (result.failed()) return testing::passUp(result.error());
  const auto trajectory = result.value();

  const GeodesicState rk4_result = trajectory[checkIndex(n_steps, trajectory.size())];
  const HomVec4 exact_result = geodesicExact(p, v, pi_4);
  const HomVec4 rk4_pos = rk4_result.pos();
  QUOR_TRY(expectApproxEqAbs(rk4_pos.x, exact_result.x, 1e-6));
  QUOR_TRY(expectApproxEqAbs(rk4_pos.y, exact_result.y, 1e-6));
  QUOR_TRY(expectApproxEqAbs(rk4_pos.z, exact_result.z, 1e-6));
  QUOR_TRY(expectApproxEqAbs(rk4_pos.w, exact_result.w, 1e-6));
  return {};
}

Status parallelTransportPreservesNorm() {
  const HomVec4 p = e_x;
  const HomVec4 v = e_y;
  const HomVec4 w = e_z;
  // pi/3 to 17 digits, one ulp above the double nearest pi/3.
  const HomVec4 w_transported = parallelTransport(p, v, w, 1.0471975511965979);
  QUOR_TRY(expectApproxEqAbs(w_transported.norm(), w.norm(), 1e-10));
  QUOR_TRY(expectApproxEqAbs(w_transported.x, w.x, 1e-10));
  QUOR_TRY(expectApproxEqAbs(w_transported.y, w.y, 1e-10));
  QUOR_TRY(expectApproxEqAbs(w_transported.z, w.z, 1e-10));
  QUOR_TRY(expectApproxEqAbs(w_transported.w, w.w, 1e-10));
  return {};
}

Status expLogRoundTrip() {
  const HomVec4 p = e_x;
  const HomVec4 q = e_y;
  const HomVec4 v = logMap(p, q);
  const HomVec4 q_back = expMap(p, v);
  QUOR_TRY(expectApproxEqAbs(q_back.x, q.x, 1e-6));
  QUOR_TRY(expectApproxEqAbs(q_back.y, q.y, 1e-6));
  return {};
}

Status renormalizeOnS3Case() {
  const GeodesicState bad_state = GeodesicState::init({1.01, 0.02, 0.01, 0.01}, {0.0, 1.0, 0.0, 0.0});
  const GeodesicState fixed = renormalizeOnS3(bad_state);
  const HomVec4 q = fixed.pos();
  QUOR_TRY(expectApproxEqAbs(q.norm(), 1.0, 1e-10));
  const HomVec4 v = fixed.vel();
  QUOR_TRY(expectApproxEqAbs(q.dot(v), 0.0, 1e-10));
  return {};
}

}  // namespace quor::cases::geodesic
