#include "case_run.hpp"

#include <optional>

#include "platform/error_trace.hpp"

namespace quor::runner {
namespace {
std::optional<platform::CheckingAllocator> allocator_instance;
}

platform::CheckingAllocator& caseAllocator() {
  if (!allocator_instance) allocator_instance.emplace();
  return *allocator_instance;
}

void resetCaseAllocator() { allocator_instance.emplace(); }

Status callCase(const TestFn& test) {
  platform::currentErrorTrace().clear();
  return test.func();
}

void writeCaseErrorTrace(platform::StderrLock& out) { platform::writeErrorTrace(out, platform::currentErrorTrace()); }

bool finishCaseAllocator() { return caseAllocator().deinit() == platform::CheckingAllocator::Check::leak; }

}  // namespace quor::runner
