// The fixed registry of the self-checking executable: every case of the
// library, physics first, then kernel, then geodesics.
#pragma once

#include "registry.hpp"

namespace quor::runner {
extern const Registry test_functions;
}
