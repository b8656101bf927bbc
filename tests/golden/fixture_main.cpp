// A stand-in for the self-checking executable: the same runner over small
// registries of its own, chosen by QUOR_FIXTURE, with cases that pass, fail,
// skip, leak, log, panic, crash or take their time.
#include <sys/mman.h>
#include <sys/resource.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <string_view>
#include <thread>

#include "log.hpp"
#include "quor/panic.hpp"
#include "registry.hpp"
#include "test_runner.hpp"
#include "testing.hpp"

namespace {

using quor::Status;
using quor::runner::TestFn;
using quor::testing::LogLevel;

Status pass() { return {}; }
Status failApprox() {
  QUOR_TRY(quor::testing::expectApproxEqAbs(2.0, 3.0, 0.5));
  return {};
}
Status failExpect() {
  QUOR_TRY(quor::testing::expect(false));
  return {};
}
Status skip() { return quor::testing::SkipCase; }
Status leakTwo() {
  const auto a = quor::testing::allocator().alloc<int>(4);
  const auto b = quor::testing::allocator().alloc<double>(2);
  return quor::testing::expect(!a.failed() && !b.failed());
}
Status doubleFree() {
  const auto a = quor::testing::allocator().alloc<int>(4);
  if (a.failed()) return quor::testing::passUp(a.error());
  quor::testing::allocator().free(a.value());
  quor::testing::allocator().free(a.value());
  return {};
}
Status outOfBounds() {
  volatile std::size_t index = 5;
  (void)quor::checkIndex(index, 4);
  return {};
}
Status segfault() {
  // A page that may not be touched: the fault address is known exactly.
  void* page = ::mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  *static_cast<volatile int*>(page) = 1;
  return {};
}
Status slow() {
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  return {};
}
Status raiseLogLevel() {
  quor::testing::log_level = LogLevel::debug;
  quor::runner::log(LogLevel::info, "fixture", "info while raised");
  quor::runner::log(LogLevel::err, "fixture", "one error");
  return {};
}
Status logAfterReset() {
  quor::runner::log(LogLevel::info, "fixture", "info after reset");
  quor::runner::log(LogLevel::warn, "fixture", "warn after reset");
  return {};
}
Status stackLimit() {
  rlimit limit{};
  if (::getrlimit(RLIMIT_STACK, &limit) != 0) return quor::testing::expect(false);
  const char* expected = std::getenv("QUOR_EXPECT_STACK_SOFT");
  return quor::testing::expect(expected != nullptr && limit.rlim_cur == std::strtoull(expected, nullptr, 10));
}

template <Status (*Middle)()>
constexpr std::array<TestFn, 3> around(std::string_view middle_name) {
  return {{{"fixture.test.alpha", &pass}, {middle_name, Middle}, {"fixture.test.gamma", &pass}}};
}

constexpr auto all_pass = around<pass>("fixture.test.beta");
constexpr auto fail_approx = around<failApprox>("fixture.test.beta");
constexpr auto fail_expect = around<failExpect>("fixture.test.beta");
constexpr auto skipping = around<skip>("fixture.test.beta");
constexpr auto leaking = around<leakTwo>("fixture.test.beta");
constexpr auto double_free = around<doubleFree>("fixture.test.beta");
constexpr auto panicking = around<outOfBounds>("fixture.test.beta");
constexpr auto crashing = around<segfault>("fixture.test.beta");
constexpr std::array<TestFn, 3> slow_cases{
    {{"fixture.test.slow one", &slow}, {"fixture.test.slow two", &slow}, {"fixture.test.slow three", &slow}}};
constexpr std::array<TestFn, 2> logging{
    {{"fixture.test.raise", &raiseLogLevel}, {"fixture.test.reset", &logAfterReset}}};
constexpr std::array<TestFn, 1> stack{{{"fixture.test.stack", &stackLimit}}};

quor::runner::Registry registryFor(std::string_view which) {
  if (which == "fail_approx") return fail_approx;
  if (which == "fail_expect") return fail_expect;
  if (which == "skip") return skipping;
  if (which == "leak") return leaking;
  if (which == "double_free") return double_free;
  if (which == "panic") return panicking;
  if (which == "segv") return crashing;
  if (which == "slow") return slow_cases;
  if (which == "log") return logging;
  if (which == "stack") return stack;
  return all_pass;
}

}  // namespace

int main(int argc, char** argv) {
  const char* which = std::getenv("QUOR_FIXTURE");
  quor::runner::posixCallMainAndExit(argc, argv, registryFor(which != nullptr ? which : ""));
}
