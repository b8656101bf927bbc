// The registered kernel cases of the matrices, lanes and distances pass as
// written.
#include "kernel_cases.hpp"

#include <gtest/gtest.h>

namespace quor {
namespace {

TEST(KernelCases, PassFromTheDistanceCaseOn) {
  const auto& table = cases::kernel::kernel_cases;
  // Places 1 to 5 belong to the homogeneous vectors and are tested with them.
  for (std::size_t i = 5; i < table.size(); ++i) {
    SCOPED_TRACE(table[i].name);
    const Status status = table[i].func();
    EXPECT_FALSE(status.failed()) << status.error().name;
  }
}

}  // namespace
}  // namespace quor
