// The driver mode through the real process entry, over a registry of one
// passing case: what a build driver pays per run_test beyond the case itself.
#include <array>

#include "test_runner.hpp"

namespace {

quor::Status passes() { return {}; }

constexpr std::array<quor::runner::TestFn, 1> bench_cases{{{"bench.test.passes", &passes}}};

}  // namespace

int main(int argc, char** argv) { quor::runner::posixCallMainAndExit(argc, argv, bench_cases); }
