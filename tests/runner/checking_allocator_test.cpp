// The checking allocator: leaks, double frees and mismatched frees and
// resizes, each as its exact "gpa" message, and the OutOfMemory path.
#include "platform/checking_allocator.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "captured_stderr.hpp"
#include "log.hpp"

namespace quor::platform {
namespace {

using test::CapturedStderr;

std::string hex(const void* p) {
  char text[32];
  std::snprintf(text, sizeof text, "%lx", static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(p)));
  return text;
}

std::size_t countOf(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class CheckingAllocatorTest : public ::testing::Test {
 protected:
  CheckingAllocator checking;
  Allocator a = checking.allocator();
  std::uint64_t errors_before = runner::log_err_count;

  std::uint64_t newErrors() const { return runner::log_err_count - errors_before; }
};

TEST_F(CheckingAllocatorTest, BalancedUseIsOkAndSilent) {
  CapturedStderr err;
  auto ints = a.alloc<int>(4);
  auto empty = a.alloc<char>(0);
  auto wide = a.alloc<double>(1000);
  ASSERT_FALSE(ints.failed() || empty.failed() || wide.failed());
  a.free(wide.value());
  a.free(ints.value());
  a.free(empty.value());
  EXPECT_EQ(checking.deinit(), CheckingAllocator::Check::ok);
  EXPECT_EQ(err.text(), "");
  EXPECT_EQ(newErrors(), 0u);
}

TEST_F(CheckingAllocatorTest, EachLeakIsReportedWithTheTraceOfItsAllocation) {
  CapturedStderr err;
  auto first = a.alloc<int>(3);
  auto second = a.alloc<char>(0);  // an empty allocation leaks too
  ASSERT_FALSE(first.failed() || second.failed());
  EXPECT_EQ(checking.deinit(), CheckingAllocator::Check::leak);
  const std::string text = err.text();
  EXPECT_EQ(newErrors(), 2u);
  EXPECT_EQ(countOf(text, "[gpa] (err): memory address 0x"), 2u) << text;
  // In allocation order, each trace on lines of its own, starting in the code
  // that asked.
  const std::size_t at_first = text.find("[gpa] (err): memory address 0x" + hex(first.value().data()) + " leaked: \n");
  const std::size_t at_second =
      text.find("[gpa] (err): memory address 0x" + hex(second.value().data()) + " leaked: \n");
  ASSERT_NE(at_first, std::string::npos) << text;
  ASSERT_NE(at_second, std::string::npos) << text;
  EXPECT_LT(at_first, at_second);
  EXPECT_NE(text.find(__FILE__ ":"), std::string::npos) << text;
  EXPECT_EQ(text.find("\n\n"), std::string::npos) << "no empty lines:\n" << text;

  // Fresh again: the leaked blocks are gone and nothing is reported twice.
  CapturedStderr again;
  EXPECT_EQ(checking.deinit(), CheckingAllocator::Check::ok);
  EXPECT_EQ(again.text(), "");
}

TEST_F(CheckingAllocatorTest, DoubleFreeShowsAllThreeTraces) {
  auto block = a.alloc<double>(2);
  ASSERT_FALSE(block.failed());
  a.free(block.value());
  // Freed addresses are not handed out again, so the second free below still
  // names the first block, not a newer one.
  auto newer = a.alloc<double>(2);
  ASSERT_FALSE(newer.failed());
  EXPECT_NE(newer.value().data(), block.value().data());
  CapturedStderr err;
  a.free(block.value());
  const std::string text = err.text();
  EXPECT_EQ(newErrors(), 1u);
  EXPECT_EQ(text.rfind("[gpa] (err): Double free detected. Allocation: \n", 0), 0u) << text;
  const std::size_t first_free = text.find(" First free: \n");
  const std::size_t second_free = text.find(" Second free: \n");
  ASSERT_NE(first_free, std::string::npos) << text;
  ASSERT_NE(second_free, std::string::npos) << text;
  EXPECT_LT(first_free, second_free);
  EXPECT_EQ(countOf(text, __FILE__ ":"), 3u) << text;
  a.free(newer.value());
  EXPECT_EQ(checking.deinit(), CheckingAllocator::Check::ok);
}

struct MismatchRow {
  bool resize;
  std::size_t len;
  std::size_t alignment;
  const char* message;
  const char* tail;
};

// A block of 4 ints (16 bytes, alignment 4) given back or resized with the
// wrong length or alignment: reported, not carried out, the block stays live.
TEST_F(CheckingAllocatorTest, MismatchedFreeAndResizeAreReportedAndNotCarriedOut) {
  const MismatchRow rows[] = {
      {false, 12, 4, "Allocation size 16 bytes does not match free size 12. Allocation: \n", " Free: \n"},
      {false, 16, 8, "Allocation alignment 4 does not match free alignment 8. Allocation: \n", " Free: \n"},
      {true, 20, 4, "Allocation size 16 bytes does not match resize size 20. Allocation: \n", " Resize: \n"},
      {true, 16, 1, "Allocation alignment 4 does not match resize alignment 1. Allocation: \n", " Resize: \n"},
  };
  for (const MismatchRow& row : rows) {
    auto block = a.alloc<int>(4);
    ASSERT_FALSE(block.failed());
    void* memory = block.value().data();
    const std::uint64_t before = runner::log_err_count;
    CapturedStderr err;
    if (row.resize) {
      EXPECT_FALSE(a.vtable->resize(a.ctx, memory, row.len, row.alignment, 8)) << row.message;
    } else {
      a.vtable->free(a.ctx, memory, row.len, row.alignment);
    }
    const std::string text = err.text();
    EXPECT_EQ(runner::log_err_count - before, 1u) << row.message;
    EXPECT_EQ(text.rfind(std::string("[gpa] (err): ") + row.message, 0), 0u) << text;
    EXPECT_NE(text.find(row.tail), std::string::npos) << text;
    // Still live with its first length: a correct free now succeeds silently.
    CapturedStderr quiet;
    a.free(block.value());
    EXPECT_EQ(quiet.text(), "") << row.message;
  }
  EXPECT_EQ(checking.deinit(), CheckingAllocator::Check::ok);
}

TEST_F(CheckingAllocatorTest, ResizeInPlaceChangesTheLengthAFreeMustUse) {
  auto block = a.alloc<std::uint8_t>(10);
  ASSERT_FALSE(block.failed());
  EXPECT_TRUE(a.resize(block.value(), 4));
  EXPECT_FALSE(a.resize(std::span<std::uint8_t>(block.value().data(), 4), std::size_t{1} << 40));
  CapturedStderr err;
  a.free(block.value());  // still claims 10 bytes
  EXPECT_NE(err.text().find("Allocation size 4 bytes does not match free size 10."), std::string::npos);
  a.free(std::span<std::uint8_t>(block.value().data(), 4));
  EXPECT_EQ(checking.deinit(), CheckingAllocator::Check::ok);
}

TEST_F(CheckingAllocatorTest, HonoursLargeAlignments) {
  struct alignas(256) Page {
    unsigned char bytes[256];
  };
  auto pages = a.alloc<Page>(3);
  ASSERT_FALSE(pages.failed());
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(pages.value().data()) % 256, 0u);
  pages.value()[2].bytes[255] = 1;  // the whole length is usable
  a.free(pages.value());
  EXPECT_EQ(checking.deinit(), CheckingAllocator::Check::ok);
}

TEST_F(CheckingAllocatorTest, FailAfterGivesOutOfMemoryUntilDeinit) {
  checking.failAfter(2);
  auto one = a.alloc<int>(1);
  auto two = a.alloc<int>(1);
  auto three = a.alloc<int>(1);
  ASSERT_FALSE(one.failed() || two.failed());
  ASSERT_TRUE(three.failed());
  EXPECT_EQ(three.error(), OutOfMemory);
  a.free(one.value());
  a.free(two.value());
  EXPECT_EQ(checking.deinit(), CheckingAllocator::Check::ok);
  EXPECT_FALSE(a.alloc<int>(1).failed()) << "a fresh allocator has no limit";
  checking.failAfter(0);
  EXPECT_TRUE(a.alloc<int>(1).failed());
  EXPECT_EQ(checking.deinit(), CheckingAllocator::Check::leak);
}

TEST_F(CheckingAllocatorTest, SeveralThreadsAtOnce) {
  constexpr int threads = 4;
  std::vector<std::thread> workers;
  for (int t = 0; t < threads; ++t) {
    workers.emplace_back([this, t] {
      std::mt19937 random(static_cast<unsigned>(t));
      std::vector<std::span<std::uint64_t>> held;
      for (int i = 0; i < 300; ++i) {
        auto block = a.alloc<std::uint64_t>(random() % 64);
        if (block.failed()) return;
        for (auto& word : block.value()) word = static_cast<std::uint64_t>(t);
        held.push_back(block.value());
        if (random() % 2 == 0) {
          const std::size_t k = random() % held.size();
          for (const auto word : held[k]) EXPECT_EQ(word, static_cast<std::uint64_t>(t));
          a.free(held[k]);
          held.erase(held.begin() + static_cast<std::ptrdiff_t>(k));
        }
      }
      for (const auto block : held) a.free(block);
    });
  }
  for (auto& worker : workers) worker.join();
  CapturedStderr err;
  EXPECT_EQ(checking.deinit(), CheckingAllocator::Check::ok);
  EXPECT_EQ(err.text(), "");
}

TEST(CheckingAllocatorDeathTest, FreeOfUnknownMemoryPanics) {
  CheckingAllocator checking;
  int not_from_it = 0;
  EXPECT_DEATH(checking.allocator().free(std::span<int>(&not_from_it, 1)), "panic: invalid free of address 0x");
}

}  // namespace
}  // namespace quor::platform
