#include "error_trace.hpp"

#include "frame_text.hpp"

namespace quor::platform {

ErrorTrace& currentErrorTrace() {
  thread_local ErrorTrace trace;
  return trace;
}

void writeErrorTrace(StderrLock& out, const ErrorTrace& trace) {
  const detail::TextOut text = detail::textOut(out);
  const std::size_t stored = trace.count < ErrorTrace::capacity ? trace.count : ErrorTrace::capacity;
  for (std::size_t i = 0; i < stored; ++i) {
    const ReturnPoint& where = trace.slots[i];
    text(where.file);
    text(":");
    detail::putDecimal(text, where.line);
    if (where.column != 0) {
      text(":");
      detail::putDecimal(text, where.column);
    }
    text(": in ");
    text(where.function);
    text("\n");
    detail::putSourceLine(text, where.file, where.line, where.column);
  }
  if (trace.count > stored) {
    text("(");
    detail::putDecimal(text, trace.count - stored);
    text(trace.count - stored == 1 ? " more return point not shown)\n" : " more return points not shown)\n");
  }
}

}  // namespace quor::platform
