#include "quor/geodesic_rk4.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "expect_vec.hpp"
#include "quor/allocator.hpp"
#include "quor/geodesic.hpp"

namespace quor {
namespace {

using test::expectSameState;

const GeodesicState y0 = GeodesicState::fromHomVec4({1, 0, 0, 0}, {0, 1, 0, 0});

// The right-hand sides are plain function pointers, so what they see goes to
// globals that each test resets.
int rhs_calls = 0;
std::vector<double> rhs_times;

GeodesicState countingRhs(double t, GeodesicState s) {
  ++rhs_calls;
  return freeGeodesicRhs(t, s);
}

GeodesicState timeRecordingRhs(double t, GeodesicState s) {
  rhs_times.push_back(t);
  // Depends on t, so a wrong time would also change the states.
  return scaleState(freeGeodesicRhs(t, s), 1.0 + t);
}

// An allocator over the C heap that records every request and can refuse them.
struct RecordingAllocator {
  bool refuse = false;
  int requests = 0;
  int frees = 0;
  std::size_t last_len = 0;
  std::size_t last_alignment = 0;

  static void* alloc(void* ctx, std::size_t len, std::size_t alignment) {
    auto* self = static_cast<RecordingAllocator*>(ctx);
    ++self->requests;
    self->last_len = len;
    self->last_alignment = alignment;
    return self->refuse ? nullptr : heapAllocator().vtable->alloc(nullptr, len, alignment);
  }
  static bool resize(void*, void*, std::size_t, std::size_t, std::size_t) { return false; }
  static void free(void* ctx, void* memory, std::size_t len, std::size_t alignment) {
    auto* self = static_cast<RecordingAllocator*>(ctx);
    ++self->frees;
    EXPECT_EQ(self->last_len, len);
    heapAllocator().vtable->free(nullptr, memory, len, alignment);
  }
  static constexpr Allocator::VTable vtable{alloc, resize, free};
  Allocator allocator() { return {this, &vtable}; }
};

class Rk4Integrate : public ::testing::Test {
 protected:
  void SetUp() override {
    rhs_calls = 0;
    rhs_times.clear();
  }
  RecordingAllocator recorder;
};

TEST_F(Rk4Integrate, ZeroStepsGiveTheInitialStateAlone) {
  auto result = rk4Integrate(&countingRhs, 0.0, 1.0, y0, 0, recorder.allocator());
  ASSERT_FALSE(result.failed());
  ASSERT_EQ(1u, result.value().size());
  expectSameState(y0, result.value()[0]);
  EXPECT_EQ(0, rhs_calls);
  EXPECT_EQ(1, recorder.requests);
  recorder.allocator().free(result.value());
  EXPECT_EQ(1, recorder.frees);
}

TEST_F(Rk4Integrate, OneRequestForTheWholeTrajectory) {
  auto result = rk4Integrate(&countingRhs, 0.0, 0.7853981633974483, y0, 100, recorder.allocator());
  ASSERT_FALSE(result.failed());
  const auto trajectory = result.value();
  ASSERT_EQ(101u, trajectory.size());
  EXPECT_EQ(1, recorder.requests);
  EXPECT_EQ(101 * sizeof(GeodesicState), recorder.last_len);
  EXPECT_EQ(alignof(GeodesicState), recorder.last_alignment);
  EXPECT_EQ(400, rhs_calls);
  expectSameState(y0, trajectory[0]);
  // Element k is one step after element k - 1.
  expectSameState(rk4Step(&freeGeodesicRhs, 0.0, y0, 0.007853981633974483), trajectory[1]);
  // Pinned: the state after 100 steps, never renormalised.
  EXPECT_SAME({0.7071067812750375, 0.7071067811899645, 0, 0}, trajectory[100].pos());
  EXPECT_SAME({-0.707106780990598, 0.7071067812901285, 0, 0}, trajectory[100].vel());
  const HomVec4 exact = geodesicExact({1, 0, 0, 0}, {0, 1, 0, 0}, 0.7853981633974483);
  EXPECT_NEAR(exact.x, trajectory[100].q[0], 1e-10);
  EXPECT_NEAR(exact.y, trajectory[100].q[1], 1e-10);
  recorder.allocator().free(trajectory);
  EXPECT_EQ(1, recorder.frees);
}

TEST_F(Rk4Integrate, RefusedRequestIsOutOfMemoryBeforeAnyStep) {
  recorder.refuse = true;
  // The largest count that fits: 4294967295 states are asked for, not 0.
  for (const std::uint32_t n_steps : {100u, 4294967294u}) {
    const auto result = rk4Integrate(&countingRhs, 0.0, 1.0, y0, n_steps, recorder.allocator());
    ASSERT_TRUE(result.failed());
    EXPECT_EQ(OutOfMemory, result.error());
    EXPECT_EQ((std::size_t{n_steps} + 1) * sizeof(GeodesicState), recorder.last_len);
  }
  EXPECT_EQ(2, recorder.requests);
  EXPECT_EQ(0, rhs_calls);
}

TEST_F(Rk4Integrate, TimeAdvancesByRepeatedAddition) {
  const double t0 = 0.1, t1 = 1.3;
  const std::uint32_t n_steps = 7;
  auto result = rk4Integrate(&timeRecordingRhs, t0, t1, y0, n_steps, recorder.allocator());
  ASSERT_FALSE(result.failed());
  recorder.allocator().free(result.value());

  const double h = (t1 - t0) / 7.0;
  ASSERT_EQ(4u * n_steps, rhs_times.size());
  double t = t0;
  bool differs_from_product = false;
  for (std::uint32_t i = 0; i < n_steps; ++i) {
    SCOPED_TRACE(i);
    EXPECT_SAME_BITS(t, rhs_times[4 * i]);
    EXPECT_SAME_BITS(t + 0.5 * h, rhs_times[4 * i + 1]);
    EXPECT_SAME_BITS(t + 0.5 * h, rhs_times[4 * i + 2]);
    EXPECT_SAME_BITS(t + h, rhs_times[4 * i + 3]);
    differs_from_product = differs_from_product || t != t0 + i * h;
    t = t + h;
  }
  // Otherwise these inputs could not tell addition from t0 + i·h.
  EXPECT_TRUE(differs_from_product);
}

TEST(Rk4IntegrateDeathTest, StepCountWhoseSuccessorWrapsPanics) {
  EXPECT_DEATH((void)rk4Integrate(&freeGeodesicRhs, 0.0, 1.0, y0, 4294967295u, heapAllocator()), "integer overflow");
}

TEST_F(Rk4Integrate, ArenaOwnsTheTrajectory) {
  {
    Arena arena(recorder.allocator());
    const auto result = rk4Integrate(&freeGeodesicRhs, 0.0, 1.0, y0, 10, arena.allocator());
    ASSERT_FALSE(result.failed());
    EXPECT_EQ(11u, result.value().size());
  }
  EXPECT_EQ(recorder.requests, recorder.frees);
}

}  // namespace
}  // namespace quor
