#include "registry.hpp"

#include "geodesic_cases.hpp"
#include "kernel_cases.hpp"
#include "physics_cases.hpp"
#include "test_functions.hpp"

namespace quor::runner {

static constexpr auto all_cases =
    joinRegistries(cases::physics::physics_cases, cases::kernel::kernel_cases, cases::geodesic::geodesic_cases);
static_assert(all_cases.size() == 50);

const Registry test_functions{all_cases};

}  // namespace quor::runner
