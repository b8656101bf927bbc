// The build-driver mode: a message loop on standard input and output.
#pragma once

#include "quor/error.hpp"
#include "registry.hpp"

namespace quor::runner {

/// Serves the driver on standard input and output until it sends exit or an
/// unsupported message (both end the process); answers a failure when
/// reading, writing or memory fails.
Status mainServer(Registry registry);

}  // namespace quor::runner
