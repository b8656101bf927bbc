// The fatal paths: a panic and each fatal signal end the process by SIGABRT
// after their message and a stack trace.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <string>

#include "platform/error_trace.hpp"
#include "platform/startup.hpp"
#include "quor/panic.hpp"

namespace quor::platform {
namespace {

const auto aborted = ::testing::KilledBySignal(SIGABRT);

// A frame of this file in the stack trace: "<this file>:<line>: 0x<address> in".
const std::string frame_here = std::string(__FILE__) + ":[0-9]+: 0x[0-9a-f]+ in ";

TEST(PanicDeathTest, WritesThePanicLineAndAStackTraceThenAborts) {
  EXPECT_EXIT(
      {
        installPanicHandler();
        (void)checkIndex(5, 4);
      },
      aborted, "^thread [0-9]+ panic: index out of bounds: index 5, len 4\n(.|\n)*" + frame_here);
  EXPECT_EXIT(
      {
        installPanicHandler();
        (void)checkedAdd<std::uint8_t>(200, 100);
      },
      aborted, "^thread [0-9]+ panic: integer overflow\n");
}

[[noreturn]] void panicAfterAFailure() {
  installPanicHandler();
  currentErrorTrace().clear();
  currentErrorTrace().append(ReturnPoint::current());
  panic("reached unreachable code");
}

TEST(PanicDeathTest, WritesTheRunningErrorTraceBeforeTheStack) {
  EXPECT_EXIT(panicAfterAFailure(), aborted,
              "^thread [0-9]+ panic: reached unreachable code\n" + std::string(__FILE__) +
                  ":[0-9]+:[0-9]+: in [^\n]*panicAfterAFailure[^\n]*\n"
                  "  currentErrorTrace\\(\\)\\.append\\(ReturnPoint::current\\(\\)\\);\n"
                  " +\\^\n"
                  "[^\n]*/src/panic\\.cpp:[0-9]+: 0x[0-9a-f]+ in quor::panic\\(");
}

struct SignalRow {
  int signal;
  const char* message;
};

TEST(FatalSignalDeathTest, EachSignalNamesItselfAndAborts) {
  const SignalRow rows[] = {
      {SIGSEGV, "Segmentation fault"},
      {SIGILL, "Illegal instruction"},
      {SIGBUS, "Bus error"},
      {SIGFPE, "Arithmetic exception"},
  };
  for (const SignalRow& row : rows) {
    EXPECT_EXIT(
        {
          installFatalSignalHandler();
          std::raise(row.signal);
        },
        aborted, std::string("^") + row.message + " at address 0x[0-9a-f]+\n(.|\n)*" + frame_here)
        << row.message;
  }
}

TEST(FatalSignalDeathTest, FaultReportsTheAddressAndStartsAtTheFaultingFunction) {
  EXPECT_EXIT(
      {
        installFatalSignalHandler();
        volatile std::uintptr_t address = 0x10;
        *reinterpret_cast<volatile int*>(address) = 1;
      },
      aborted, "^Segmentation fault at address 0x10\n" + frame_here);
}

// Never returns in practice: the stack runs out long before depth wraps.
[[gnu::noinline]] int recurse(int depth) {
  if (depth == -1) return 0;
  volatile char ballast[256];
  ballast[0] = static_cast<char>(depth);
  return recurse(depth + 1) + ballast[0];
}

TEST(FatalSignalDeathTest, StackOverflowIsReportedFromTheAlternateStack) {
  EXPECT_EXIT(
      {
        installFatalSignalHandler();
        (void)recurse(0);
      },
      aborted, "^Segmentation fault at address 0x[0-9a-f]+\n" + frame_here + "_ZN4quor8platform");
}

}  // namespace
}  // namespace quor::platform
