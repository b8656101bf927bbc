#include "kernel_cases.hpp"

#include "quor/hom_vec4.hpp"
#include "testing.hpp"

namespace quor::cases::kernel {

Status homVecConstructorsAndCartesian() { return testing::SkipCase; }

Status homVecNormalization() { return testing::SkipCase; }

Status homVecDotAndSamePoint() { return testing::SkipCase; }

Status homVecAntipodal() { return testing::SkipCase; }

Status homVecAffineCard() { return testing::SkipCase; }

}  // namespace quor::cases::kernel
