// The soft stack limit that start-up sets, from the wanted size and the
// current limits.
#include "platform/startup.hpp"

#include <gtest/gtest.h>

#include <optional>

namespace quor::platform {
namespace {

constexpr rlim_t mib = 1024 * 1024;
constexpr std::uint64_t wanted = 16 * mib;

struct Row {
  const char* what;
  rlimit current;
  std::optional<rlim_t> expected;
};

TEST(StackSoftLimitToSet, Table) {
  const Row rows[] = {
      {"soft below wanted, hard unlimited", {8 * mib, RLIM_INFINITY}, wanted},
      {"soft below wanted, hard above", {8 * mib, 64 * mib}, wanted},
      {"hard below wanted caps the soft limit", {4 * mib, 12 * mib}, 12 * mib},
      {"soft exactly wanted", {wanted, RLIM_INFINITY}, std::nullopt},
      {"soft above wanted", {32 * mib, RLIM_INFINITY}, std::nullopt},
      {"soft unlimited", {RLIM_INFINITY, RLIM_INFINITY}, std::nullopt},
      {"hard equal to soft, below wanted", {8 * mib, 8 * mib}, std::nullopt},
      {"one byte short", {wanted - 1, RLIM_INFINITY}, wanted},
  };
  for (const Row& row : rows) EXPECT_EQ(stackSoftLimitToSet(wanted, row.current), row.expected) << row.what;
}

}  // namespace
}  // namespace quor::platform
