// PLACEHOLDER: the platform layer replaces this file.
#include "progress.hpp"

namespace quor::platform::progress {
void start(std::string_view, std::uint64_t) {}
void startChild(std::string_view) {}
void endChild() {}
void end() {}
void clearLocked() {}
}  // namespace quor::platform::progress
