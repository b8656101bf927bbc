#include "kernel_cases.hpp"
#include "quor/hom_vec4.hpp"
#include "testing.hpp"

namespace quor::cases::kernel {

using testing::expect;
using testing::expectApproxEqAbs;

Status homVecConstructorsAndCartesian() {
  const HomVec4 v = HomVec4::fromCartesian(3, 4, 5);
  QUOR_TRY(expectApproxEqAbs(v.x, 3.0, 1e-10));
  QUOR_TRY(expectApproxEqAbs(v.y, 4.0, 1e-10));
  QUOR_TRY(expectApproxEqAbs(v.z, 5.0, 1e-10));
  QUOR_TRY(expectApproxEqAbs(v.w, 1.0, 1e-10));

  const auto c = v.cartesian3();
  QUOR_TRY(expectApproxEqAbs(c[0], 3.0, 1e-10));
  QUOR_TRY(expectApproxEqAbs(c[1], 4.0, 1e-10));
  QUOR_TRY(expectApproxEqAbs(c[2], 5.0, 1e-10));

  const auto c2 = HomVec4::init(2, 4, 6, 2).cartesian3();
  QUOR_TRY(expectApproxEqAbs(c2[0], 1.0, 1e-10));
  QUOR_TRY(expectApproxEqAbs(c2[1], 2.0, 1e-10));
  QUOR_TRY(expectApproxEqAbs(c2[2], 3.0, 1e-10));
  return {};
}

Status homVecNormalization() {
  const HomVec4 n = HomVec4::init(3, 0, 0, 4).normalize();
  QUOR_TRY(expectApproxEqAbs(n.norm(), 1.0, 1e-10));
  QUOR_TRY(expectApproxEqAbs(n.x, 0.6, 1e-10));
  QUOR_TRY(expectApproxEqAbs(n.w, 0.8, 1e-10));
  return {};
}

Status homVecDotAndSamePoint() {
  const HomVec4 a = HomVec4::init(1, 0, 0, 0);
  const HomVec4 b = HomVec4::init(1, 0, 0, 0);
  QUOR_TRY(expectApproxEqAbs(a.dot(b), 1.0, 1e-10));
  const HomVec4 c = HomVec4::init(0, 1, 0, 0);
  QUOR_TRY(expectApproxEqAbs(a.dot(c), 0.0, 1e-10));
  const HomVec4 neg_a = HomVec4::init(-1, 0, 0, 0);
  QUOR_TRY(expect(a.isSamePoint(neg_a, 1e-8)));
  return {};
}

Status homVecAntipodal() {
  const HomVec4 p = HomVec4::init(1, 2, 3, 4);
  const HomVec4 neg_p = HomVec4::init(-1, -2, -3, -4);
  QUOR_TRY(expect(p.isAntipodalTo(neg_p, 1e-8)));
  const HomVec4 other = HomVec4::init(1, 2, 3, 5);
  QUOR_TRY(expect(!p.isAntipodalTo(other, 1e-8)));
  return {};
}

Status homVecAffineCard() {
  QUOR_TRY(expect(HomVec4::init(1, 2, 3, 4).pickBestCard() == AffineCard::UW));
  QUOR_TRY(expect(HomVec4::init(5, 1, 1, 1).pickBestCard() == AffineCard::UX));
  QUOR_TRY(expect(HomVec4::init(1, 6, 1, 1).pickBestCard() == AffineCard::UY));
  QUOR_TRY(expect(HomVec4::init(1, 1, 7, 1).pickBestCard() == AffineCard::UZ));
  return {};
}

}  // namespace quor::cases::kernel
