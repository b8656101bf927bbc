// Process start-up: the stack limit the executable asks for, the fatal-signal
// handler, the do-nothing broken-pipe handler and the panic handler.
#pragma once

#include <sys/resource.h>

#include <cstdint>
#include <optional>

namespace quor::platform {

/// The soft limit to set, if any: the smaller of the wanted size and the hard
/// limit, when that is above the current soft limit.
std::optional<rlim_t> stackSoftLimitToSet(std::uint64_t wanted, rlimit current);

/// Raises the soft stack limit to the memory size of the first PT_GNU_STACK
/// program header of this executable. Failures are ignored.
void raiseStackLimit();

/// Installs the fatal-signal handler (SIGSEGV, SIGILL, SIGBUS, SIGFPE): the
/// message with the faulting address, a stack trace, abort. It runs on an
/// alternate stack set up for the calling thread (the one that runs cases),
/// so that a stack overflow there is reported too.
void installFatalSignalHandler();

/// Gives SIGPIPE a handler that does nothing, so a write to a closed pipe
/// fails with an error. Panics with "failed to set noop SIGPIPE handler: {s}"
/// if it cannot be installed.
void installNoopSigpipeHandler();

/// Makes every panic write the panic line, the running error trace and the
/// current stack trace, under the standard-error lock, before aborting.
void installPanicHandler();

}  // namespace quor::platform
