#include "stack_trace.hpp"

#include <backtrace.h>
#include <cxxabi.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "frame_text.hpp"

namespace quor::platform {
namespace {

std::atomic<backtrace_state*> state{nullptr};

// Symbolisation failures (no debug info, unreadable executable) leave a frame
// with "???" in place of what is missing; they are not worth a message.
void ignoreError(void*, const char*, int) {}

backtrace_state* symboliser() {
  backtrace_state* s = state.load(std::memory_order_acquire);
  if (s != nullptr) return s;
  initStackTraces();
  return state.load(std::memory_order_acquire);
}

struct Capture {
  std::span<std::uintptr_t> addresses;
  std::size_t count = 0;
};

int captureOne(void* data, std::uintptr_t pc) {
  auto* capture = static_cast<Capture*>(data);
  // A zero return address (seen here less one) ends the chain below _start.
  if (pc == 0 || pc == UINTPTR_MAX) return 1;
  if (capture->count == capture->addresses.size()) return 1;
  capture->addresses[capture->count++] = pc;
  return 0;
}

// Longest symbol name kept for a frame; a longer one is cut.
constexpr std::size_t max_symbol = 1024;

struct Frame {
  detail::TextOut out;
  FunctionNames names;
  std::uintptr_t pc;
  // The symbol table's name of the function that contains pc. Debug
  // information names a function without its scope and parameters, so this
  // one is preferred for the outermost function of the frame.
  char symbol[max_symbol] = {};
  bool has_symbol = false;
  int functions = 0;  // how many functions debug information gives for pc
  int written = 0;
};

void putFunction(const Frame& frame, const char* function) {
  if (function == nullptr) {
    frame.out("???");
    return;
  }
  if (frame.names == FunctionNames::demangled) {
    int status = 0;
    char* demangled = abi::__cxa_demangle(function, nullptr, nullptr, &status);
    if (status == 0 && demangled != nullptr) {
      frame.out(demangled);
      std::free(demangled);
      return;
    }
    std::free(demangled);
  }
  frame.out(function);
}

void putFrameLine(const Frame& frame, const char* file, int line, const char* function) {
  const detail::TextOut out = frame.out;
  out(file != nullptr ? file : "???");
  out(":");
  if (file != nullptr && line > 0) {
    detail::putDecimal(out, static_cast<std::uint64_t>(line));
  } else {
    out("?");
  }
  out(": 0x");
  detail::putHex(out, frame.pc);
  out(" in ");
  putFunction(frame, function);
  out("\n");
  if (file != nullptr && line > 0) detail::putSourceLine(out, file, static_cast<std::uint64_t>(line), 0);
}

void symbolFound(void* data, std::uintptr_t, const char* symbol, std::uintptr_t, std::uintptr_t) {
  auto* frame = static_cast<Frame*>(data);
  if (symbol == nullptr) return;
  const std::size_t len = std::min(std::strlen(symbol), max_symbol - 1);
  std::memcpy(frame->symbol, symbol, len);
  frame->symbol[len] = '\0';
  frame->has_symbol = true;
}

int functionCounted(void* data, std::uintptr_t, const char* file, int, const char* function) {
  if (file != nullptr || function != nullptr) ++static_cast<Frame*>(data)->functions;
  return 0;
}

// Called once per function at pc: inlined calls first, then the function
// they were inlined into, all with the same address.
int functionFound(void* data, std::uintptr_t, const char* file, int line, const char* function) {
  auto* frame = static_cast<Frame*>(data);
  if (file == nullptr && function == nullptr) return 0;
  const bool outermost = ++frame->written == frame->functions;
  putFrameLine(*frame, file, line, outermost && frame->has_symbol ? frame->symbol : function);
  return 0;
}

void writeFrames(detail::TextOut out, std::span<const std::uintptr_t> addresses, FunctionNames names) {
  backtrace_state* s = symboliser();
  for (const std::uintptr_t pc : addresses) {
    Frame frame{out, names, pc};
    if (s != nullptr) {
      backtrace_syminfo(s, pc, symbolFound, ignoreError, &frame);
      // Counted first, so that the last function, the one the symbol names,
      // is known when it is written.
      backtrace_pcinfo(s, pc, functionCounted, ignoreError, &frame);
      if (frame.functions > 0) backtrace_pcinfo(s, pc, functionFound, ignoreError, &frame);
    }
    if (frame.written == 0) putFrameLine(frame, nullptr, 0, frame.has_symbol ? frame.symbol : nullptr);
  }
}

}  // namespace

void initStackTraces() {
  static std::mutex init_mutex;
  const std::lock_guard lock(init_mutex);
  if (state.load(std::memory_order_relaxed) != nullptr) return;
  // Threaded: traces may be written from any thread and from a signal
  // handler. The state lives until the process ends.
  state.store(backtrace_create_state(nullptr, 1, ignoreError, nullptr), std::memory_order_release);
}

// Not inlined and not a tail call, so that `skip` counts the frames the
// caller sees.
[[gnu::noinline]] std::size_t captureStackTrace(std::span<std::uintptr_t> addresses, std::size_t skip) {
  Capture capture{addresses};
  // One more frame: captureStackTrace itself.
  backtrace_simple(symboliser(), static_cast<int>(skip + 1), captureOne, ignoreError, &capture);
  return capture.count;
}

void writeStackTrace(StderrLock& out, std::span<const std::uintptr_t> addresses, FunctionNames names) {
  writeFrames(detail::textOut(out), addresses, names);
}

std::string formatStackTrace(std::span<const std::uintptr_t> addresses) {
  std::string text;
  writeFrames(detail::textOut(text), addresses, FunctionNames::demangled);
  return text;
}

[[gnu::noinline]] void writeCurrentStackTrace(StderrLock& out) {
  std::uintptr_t addresses[64];
  const std::size_t n = captureStackTrace(addresses, 1);
  writeStackTrace(out, {addresses, n});
}

}  // namespace quor::platform
