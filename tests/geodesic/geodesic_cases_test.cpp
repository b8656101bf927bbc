// The registered geodesic cases, run the way the runner runs them: each with
// a fresh checking allocator that must end without a leak.
#include <gtest/gtest.h>

#include "case_run.hpp"
#include "geodesic_cases.hpp"
#include "quor/geodesic_state.hpp"
#include "testing.hpp"

namespace quor {
namespace {

TEST(GeodesicCases, EveryCasePassesWithoutLeaking) {
  for (const runner::TestFn& test : cases::geodesic::geodesic_cases) {
    SCOPED_TRACE(test.name);
    runner::resetCaseAllocator();
    const Status status = runner::callCase(test);
    EXPECT_FALSE(status.failed()) << status.error().name;
    EXPECT_FALSE(runner::finishCaseAllocator());
  }
}

TEST(GeodesicCases, Rk4CasePassesUpOutOfMemoryAndStillReleasesEverything) {
  runner::resetCaseAllocator();
  runner::caseAllocator().failAfter(0);
  const Status status = cases::geodesic::rk4VsExact();
  ASSERT_TRUE(status.failed());
  EXPECT_EQ(OutOfMemory, status.error());
  EXPECT_FALSE(runner::finishCaseAllocator());
}

// The leak check must see what a case forgets, or its silence above is
// worth nothing.
Status leakingVariant() {
  const auto result = testing::allocator().alloc<GeodesicState>(101);
  if (result.failed()) return testing::passUp(result.error());
  return {};
}

TEST(GeodesicCases, ForgottenTrajectoryIsReportedAsLeak) {
  runner::resetCaseAllocator();
  ASSERT_FALSE(leakingVariant().failed());
  EXPECT_TRUE(runner::finishCaseAllocator());
}

}  // namespace
}  // namespace quor
