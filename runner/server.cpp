#include "server.hpp"

namespace quor::runner {

// Not served yet: every request is a failure of the runner.
Status mainServer(Registry) { return Error{"Unsupported"}; }

}  // namespace quor::runner
