// PLACEHOLDER: the platform layer replaces this file.
#include "stack_trace.hpp"

namespace quor::platform {
std::size_t captureStackTrace(std::span<std::uintptr_t>, std::size_t) { return 0; }
void writeStackTrace(StderrLock&, std::span<const std::uintptr_t>) {}
std::string formatStackTrace(std::span<const std::uintptr_t>) { return {}; }
void writeCurrentStackTrace(StderrLock&) {}
}  // namespace quor::platform
