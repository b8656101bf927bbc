// The process's fatal paths: the panic handler, the fatal-signal handler and
// the do-nothing broken-pipe handler.
#include <sys/mman.h>
#include <ucontext.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>

#include "error_trace.hpp"
#include "frame_text.hpp"
#include "quor/panic.hpp"
#include "stack_trace.hpp"
#include "startup.hpp"
#include "stderr.hpp"

namespace quor::platform {
namespace {

// Room for the handler and a first symbolisation of the executable, which
// reads its debug information on this stack when a stack overflow is the
// first thing to report.
constexpr std::size_t alt_stack_size = 256 * 1024;

// Deepest stack written by the fatal-signal handler; a runaway recursion
// would otherwise print for ever.
constexpr std::size_t max_signal_frames = 64;

[[noreturn]] void abortProcess() {
  // Whatever handled SIGABRT before, the process ends by that signal now.
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGABRT, &action, nullptr);
  std::abort();
}

const char* faultName(int signal) {
  switch (signal) {
    case SIGSEGV:
      return "Segmentation fault";
    case SIGILL:
      return "Illegal instruction";
    case SIGBUS:
      return "Bus error";
    case SIGFPE:
      return "Arithmetic exception";
    default:
      return "Fatal signal";
  }
}

// Runs on the alternate stack, so that a stack overflow is reported too. It
// allocates nothing and writes with write(2); the lock it takes is recursive
// and held by at most another writer that finishes its line.
void fatalSignal(int signal, siginfo_t* info, void* context) {
  static std::atomic<bool> reporting{false};
  if (reporting.exchange(true)) abortProcess();  // a fault while reporting one

  StderrLock out;  // held until the end: nothing may draw over the report
  const detail::TextOut text = detail::textOut(out);
  text(faultName(signal));
  text(" at address 0x");
  detail::putHex(text, reinterpret_cast<std::uintptr_t>(info->si_addr));
  text("\n");

  static std::uintptr_t frames[max_signal_frames];
  const std::size_t n = captureStackTrace(frames);
  // Start at the interrupted instruction, past this handler and the kernel's
  // return trampoline; the unwinder reports that frame's address unchanged.
  const auto pc = static_cast<std::uintptr_t>(static_cast<ucontext_t*>(context)->uc_mcontext.gregs[REG_RIP]);
  std::size_t first = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (frames[i] == pc) {
      first = i;
      break;
    }
  }
  writeStackTrace(out, {frames + first, n - first}, FunctionNames::raw);
  abortProcess();
}

[[noreturn]] void panicHandler(std::string_view message) {
  StderrLock out;  // held until abort: nothing may draw over the report
  const detail::TextOut text = detail::textOut(out);
  text("thread ");
  detail::putDecimal(text, static_cast<std::uint64_t>(::gettid()));
  text(" panic: ");
  text(message);
  text("\n");
  if (const ErrorTrace& trace = currentErrorTrace(); trace.count > 0) writeErrorTrace(out, trace);
  // From quor::panic on: the handler itself is no news.
  std::uintptr_t frames[64];
  const std::size_t n = captureStackTrace(frames, 1);
  writeStackTrace(out, {frames, n});
  abortProcess();
}

void noop(int) {}

}  // namespace

void installFatalSignalHandler() {
  initStackTraces();

  static void* alt_stack = nullptr;
  if (alt_stack == nullptr) {
    void* memory =
        ::mmap(nullptr, alt_stack_size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_STACK, -1, 0);
    if (memory != MAP_FAILED) alt_stack = memory;
  }
  if (alt_stack != nullptr) {
    stack_t stack{};
    stack.ss_sp = alt_stack;
    stack.ss_size = alt_stack_size;
    ::sigaltstack(&stack, nullptr);
  }

  struct sigaction action {};
  action.sa_sigaction = fatalSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_SIGINFO | SA_ONSTACK;
  for (const int signal : {SIGSEGV, SIGILL, SIGBUS, SIGFPE}) ::sigaction(signal, &action, nullptr);
}

void installNoopSigpipeHandler() {
  struct sigaction action {};
  action.sa_handler = noop;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  if (::sigaction(SIGPIPE, &action, nullptr) != 0) {
    // The error's name ("EINVAL"), not its description.
    const char* name = ::strerrorname_np(errno);
    panic(std::string("failed to set noop SIGPIPE handler: ") + (name != nullptr ? name : "unknown error"));
  }
}

void installPanicHandler() {
  initStackTraces();
  setPanicHandler(panicHandler);
}

}  // namespace quor::platform
