// Running one registered case: the pieces the terminal run and the driver
// mode share.
#pragma once

#include "platform/checking_allocator.hpp"
#include "platform/stderr.hpp"
#include "registry.hpp"

namespace quor::runner {

/// testing.allocator_instance: the checking allocator of the running case.
platform::CheckingAllocator& caseAllocator();

/// Replaces testing.allocator_instance with a fresh checking allocator.
void resetCaseAllocator();

/// Calls the case with an empty error trace.
Status callCase(const TestFn& test);

/// Writes the error trace the last case left behind.
void writeCaseErrorTrace(platform::StderrLock& out);

/// Finishes the case's checking allocator; true when it reported a leak.
bool finishCaseAllocator();

}  // namespace quor::runner
