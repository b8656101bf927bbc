// PLACEHOLDER: the platform layer replaces this file.
#include "error_trace.hpp"

#include <string>

namespace quor::platform {

ErrorTrace& currentErrorTrace() {
  thread_local ErrorTrace trace;
  return trace;
}

void writeErrorTrace(StderrLock& out, const ErrorTrace& trace) {
  for (std::size_t i = 0; i < trace.count && i < ErrorTrace::capacity; ++i) {
    out.write(std::string(trace.slots[i].file_name()) + ":" + std::to_string(trace.slots[i].line()) + "\n");
  }
}

}  // namespace quor::platform
