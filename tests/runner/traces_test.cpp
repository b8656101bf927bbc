// Stack traces and error traces as text: each frame as "file:line" with its
// function, then the source line read back from the file.
#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>

#include "captured_stderr.hpp"
#include "platform/error_trace.hpp"
#include "platform/stack_trace.hpp"

namespace quor::platform {
namespace {

using test::CapturedStderr;

std::string lineAfter(const std::string& text, std::size_t line_index) {
  std::size_t at = 0;
  for (std::size_t i = 0; i < line_index; ++i) at = text.find('\n', at) + 1;
  return text.substr(at, text.find('\n', at) - at);
}

int capture_line = 0;

[[gnu::noinline]] std::size_t captureHere(std::span<std::uintptr_t> out, std::size_t skip) {
  capture_line = __LINE__ + 1;
  const std::size_t n = captureStackTrace(out, skip);
  asm volatile("" ::: "memory");  // keeps the call from becoming a tail call
  return n;
}

TEST(StackTrace, FirstFrameIsTheCallerWithItsSourceLine) {
  std::uintptr_t frames[16];
  const std::size_t n = captureHere(frames, 0);
  ASSERT_GE(n, 2u);
  const std::string text = formatStackTrace({frames, n});
  const std::string head = std::string(__FILE__) + ":" + std::to_string(capture_line) + ": 0x";
  EXPECT_EQ(text.rfind(head, 0), 0u) << text;
  EXPECT_NE(lineAfter(text, 0).find(" in quor::platform::(anonymous namespace)::captureHere(std::span<unsigned long"),
            std::string::npos)
      << text;
  EXPECT_EQ(lineAfter(text, 1), "  const std::size_t n = captureStackTrace(out, skip);") << text;
}

TEST(StackTrace, SkipDropsFramesFromTheTop) {
  std::uintptr_t all[16];
  std::uintptr_t skipped[16];
  const std::size_t n_all = captureHere(all, 0);
  const std::size_t n_skipped = captureHere(skipped, 1);
  ASSERT_GE(n_all, 3u);
  ASSERT_EQ(n_skipped + 1, n_all);
  // Return addresses differ between the two calls of captureHere; from its
  // caller's caller on they are the same.
  for (std::size_t i = 1; i < n_skipped; ++i) EXPECT_EQ(skipped[i], all[i + 1]) << i;
}

TEST(StackTrace, StopsWhenTheSpanIsFull) {
  std::uintptr_t frames[2];
  EXPECT_EQ(captureHere(frames, 0), 2u);
}

TEST(StackTrace, RawNamesAreLeftMangled) {
  std::uintptr_t frames[16];
  ASSERT_GE(captureHere(frames, 0), 1u);
  CapturedStderr err;
  {
    StderrLock out;
    writeStackTrace(out, {frames, 1}, FunctionNames::raw);
  }
  const std::string raw = err.text();
  const std::string demangled = formatStackTrace({frames, 1});
  EXPECT_NE(lineAfter(raw, 0).find(" in _ZN4quor8platform"), std::string::npos) << raw;
  EXPECT_NE(lineAfter(demangled, 0).find(" in quor::platform::"), std::string::npos) << demangled;
  EXPECT_EQ(raw.substr(0, raw.find(" in ")), demangled.substr(0, demangled.find(" in ")));
  EXPECT_EQ(lineAfter(raw, 1), lineAfter(demangled, 1));
}

TEST(StackTrace, UnknownAddressIsStillOneLine) {
  const std::uintptr_t frames[] = {0x10};
  EXPECT_EQ(formatStackTrace(frames), "???:?: 0x10 in ???\n");
}

ErrorTrace traceOf(std::size_t points) {
  ErrorTrace trace;
  for (std::size_t i = 0; i < points; ++i) trace.append(ReturnPoint::current());
  return trace;
}

std::string written(const ErrorTrace& trace) {
  CapturedStderr err;
  {
    StderrLock out;
    writeErrorTrace(out, trace);
  }
  return err.text();
}

TEST(ErrorTrace, FrameWithSourceLineAndCaret) {
  ErrorTrace trace;
  const ReturnPoint here = ReturnPoint::current();
  trace.append(here);
  EXPECT_EQ(written(trace), std::string(__FILE__) + ":" + std::to_string(here.line) + ":" +
                                std::to_string(here.column) + ": in " + here.function + "\n" +
                                "  const ReturnPoint here = ReturnPoint::current();\n" +
                                std::string(here.column - 1, ' ') + "^\n");
}

TEST(ErrorTrace, EmptyTraceWritesNothing) { EXPECT_EQ(written(ErrorTrace{}), ""); }

TEST(ErrorTrace, PointsBeyondTheSlotsAreCounted) {
  const std::string full = written(traceOf(ErrorTrace::capacity));
  EXPECT_EQ(full.find("not shown"), std::string::npos);
  const std::string over = written(traceOf(ErrorTrace::capacity + 3));
  EXPECT_EQ(over.substr(0, full.size()), full);
  EXPECT_EQ(over.substr(full.size()), "(3 more return points not shown)\n");
  EXPECT_EQ(written(traceOf(ErrorTrace::capacity + 1)).substr(full.size()), "(1 more return point not shown)\n");
}

}  // namespace
}  // namespace quor::platform
