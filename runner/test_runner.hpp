// The self-checking executable: process entry, command line and the terminal
// run of a registry. The product executable runs the fixed registry; test
// fixtures run registries of their own through the same code.
#pragma once

#include "registry.hpp"

namespace quor::runner {

/// Start-up (stack limit, signal handlers, panic handler), then runMain; ends
/// the process with status 0 when runMain returns.
[[noreturn]] void posixCallMainAndExit(int argc, char** argv, Registry registry);

/// The command line: no argument, or only "--listen=-" (repeatable), which
/// selects the driver mode. Anything else is a fatal stop.
void runMain(int argc, char** argv, Registry registry);

/// Runs every case once in order, writes the report to standard error, and
/// ends the process with status 1 if anything failed, leaked or logged an
/// error; otherwise returns.
void mainTerminal(Registry registry);

}  // namespace quor::runner
