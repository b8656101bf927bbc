// The library's hot paths: one body step, the distance and logarithm every
// force and contact test takes, a matrix product and the iterative inverse,
// and a whole integrated trajectory.
#include <benchmark/benchmark.h>

#include "quor/body.hpp"
#include "quor/distance.hpp"
#include "quor/forces.hpp"
#include "quor/geodesic.hpp"
#include "quor/geodesic_rk4.hpp"
#include "quor/integrate.hpp"
#include "quor/pgl4.hpp"

namespace {

using namespace quor;

void BM_IntegrateStepUnderGravity(benchmark::State& state) {
  QuorBody body = QuorBody::init(HomVec4::init(1, 0, 0, 0), HomVec4::init(0, 0.1, 0, 0), 1.0);
  const HomVec4 attractor = HomVec4::init(0, 0, 0, 1);
  for (auto _ : state) {
    body.applyForce(quorGravity(body, attractor, 0.01, 1.0));
    integrateStep(body, 0.01, dampingForce(body.velocity, 0.001));
    benchmark::DoNotOptimize(body);
  }
}
BENCHMARK(BM_IntegrateStepUnderGravity);

void BM_FsDistanceAndLogMap(benchmark::State& state) {
  HomVec4 p = HomVec4::init(0.6, 0.8, 0, 0);
  const HomVec4 q = HomVec4::init(0, 0.6, 0, 0.8);
  for (auto _ : state) {
    benchmark::DoNotOptimize(p);
    benchmark::DoNotOptimize(fsDistance(p, q));
    benchmark::DoNotOptimize(logMap(p, q));
  }
}
BENCHMARK(BM_FsDistanceAndLogMap);

void BM_MatrixProduct(benchmark::State& state) {
  PGL4 a = pglRotateZ(0.3);
  const PGL4 b = pglTranslate(1, 2, 3);
  for (auto _ : state) {
    benchmark::DoNotOptimize(a);
    benchmark::DoNotOptimize(PGL4::mul(a, b));
  }
}
BENCHMARK(BM_MatrixProduct);

void BM_NewtonSchulzInverse(benchmark::State& state) {
  PGL4 m = pglScale(2, 3, 4);
  for (auto _ : state) {
    benchmark::DoNotOptimize(m);
    benchmark::DoNotOptimize(m.inverse(1e-10, 15));
  }
}
BENCHMARK(BM_NewtonSchulzInverse);

void BM_Rk4Trajectory(benchmark::State& state) {
  const GeodesicState y0 = GeodesicState::fromHomVec4(HomVec4::init(1, 0, 0, 0), HomVec4::init(0, 1, 0, 0));
  const auto steps = static_cast<std::uint32_t>(state.range(0));
  const Allocator heap = heapAllocator();
  for (auto _ : state) {
    auto trajectory = rk4Integrate(freeGeodesicRhs, 0.0, 0.7853981633974483, y0, steps, heap);
    benchmark::DoNotOptimize(trajectory.value().back());
    heap.free(trajectory.value());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Rk4Trajectory)->Arg(100)->Arg(10000);

}  // namespace

BENCHMARK_MAIN();
