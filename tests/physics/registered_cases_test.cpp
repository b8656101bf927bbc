// The 21 registered physics cases pass when called on their own.
#include <gtest/gtest.h>

#include "physics_cases.hpp"

namespace quor {
namespace {

TEST(PhysicsCases, EveryRegisteredCasePasses) {
  for (const auto& entry : cases::physics::physics_cases) {
    SCOPED_TRACE(entry.name);
    const Status status = entry.func();
    EXPECT_FALSE(status.failed()) << status.error().name;
  }
}

}  // namespace
}  // namespace quor
