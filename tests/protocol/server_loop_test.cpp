// The message loop in memory: flag packing, short reads and writes, and the
// failures that end in "internal test runner failure".
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "driver_client.hpp"
#include "fixed_buffer.hpp"
#include "fixture/fixture_cases.hpp"
#include "server.hpp"

namespace quor::test {
namespace {

using runner::packFlags;

struct FlagsRow {
  bool fail, skip, leak;
  std::uint64_t count;
  std::uint32_t flags;
};

TEST(PackFlags, BitsAndClampedCount) {
  constexpr std::uint64_t max = 536870911;
  const FlagsRow rows[] = {
      {false, false, false, 0, 0},
      {true, false, false, 0, 1},
      {false, true, false, 0, 2},
      {false, false, true, 2, 20},
      {true, true, true, 1, 15},
      {false, false, false, max - 1, 0xfffffff0u},
      {false, false, false, max, 0xfffffff8u},
      // Past 2^29 - 1 the count stops; it never spills into the low bits or
      // wraps around.
      {false, false, false, max + 1, 0xfffffff8u},
      {true, false, false, std::uint64_t{1} << 32, 0xfffffff9u},
      {false, false, false, std::numeric_limits<std::uint64_t>::max(), 0xfffffff8u},
      {true, true, true, std::numeric_limits<std::uint64_t>::max(), 0xffffffffu},
  };
  for (const FlagsRow& r : rows) {
    EXPECT_EQ(packFlags(r.fail, r.skip, r.leak, r.count), r.flags)
        << "fail " << r.fail << " skip " << r.skip << " leak " << r.leak << " count " << r.count;
  }
}

/// Memory behind the loop's I/O: input handed out at most `read_chunk` bytes
/// per read, writes accepting at most `write_chunk` bytes, and a failure at a
/// chosen call.
struct MemoryIo {
  explicit MemoryIo(ByteString bytes) : input(std::move(bytes)) {}

  ByteString input;
  std::size_t read_chunk = std::numeric_limits<std::size_t>::max();
  std::size_t write_chunk = std::numeric_limits<std::size_t>::max();
  int fail_read_at = -1;   ///< 0-based read call that fails
  int fail_write_at = -1;  ///< 0-based write call that fails
  bool stall_writes = false;

  std::size_t consumed = 0;
  int reads = 0;
  int writes = 0;
  std::size_t most_parts = 0;
  int traces = 0;
  ByteString output;

  runner::ServerIo io() {
    static constexpr runner::ServerIo::VTable vtable{readImpl, writeImpl, traceImpl};
    return {this, &vtable};
  }

  static Result<std::size_t> readImpl(void* ctx, std::span<std::byte> into) {
    auto* self = static_cast<MemoryIo*>(ctx);
    if (self->reads++ == self->fail_read_at) return runner::ReadFailed;
    const std::size_t n = std::min({into.size(), self->read_chunk, self->input.size() - self->consumed});
    std::memcpy(into.data(), self->input.data() + self->consumed, n);
    self->consumed += n;
    return n;
  }

  static Result<std::size_t> writeImpl(void* ctx, std::span<const runner::Bytes> parts) {
    auto* self = static_cast<MemoryIo*>(ctx);
    if (self->writes++ == self->fail_write_at) return runner::WriteFailed;
    if (self->stall_writes) return std::size_t{0};
    self->most_parts = std::max(self->most_parts, parts.size());
    std::size_t budget = self->write_chunk;
    std::size_t written = 0;
    for (const runner::Bytes part : parts) {
      const std::size_t n = std::min(budget, part.size());
      const auto* bytes = reinterpret_cast<const std::uint8_t*>(part.data());
      self->output.insert(self->output.end(), bytes, bytes + n);
      budget -= n;
      written += n;
    }
    return written;
  }

  static void traceImpl(void* ctx) { ++static_cast<MemoryIo*>(ctx)->traces; }
};

/// A scratch area of its own for each run, like the 4096 bytes of the
/// process, `size` bytes long.
struct Scratch {
  explicit Scratch(std::size_t size) : fba(std::span(bytes).first(size)) {}
  alignas(16) std::array<std::byte, 4096> bytes{};
  runner::FixedBufferAllocator fba;
};

Result<runner::ServerExit> serveFixture(MemoryIo& io, std::size_t scratch_size = 4096) {
  Scratch scratch(scratch_size);
  return runner::serve(io.io(), fixture::fixture_cases, scratch.fba.allocator());
}

ByteString results(std::uint32_t index, std::uint32_t flags) {
  ByteString body;
  putLe32(body, index);
  putLe32(body, flags);
  return frame(4, body);
}

TEST(ServeInMemory, ShortReadsAndWritesGiveTheSameBytes) {
  const ByteString requests = runTestRequest(fixture::pass_case) + runTestRequest(fixture::skip_case) +
                              queryMetadataRequest() + runTestRequest(fixture::fail_case);
  struct Chunks {
    std::size_t read, write;
  };
  ByteString reference;
  for (const Chunks chunks : {Chunks{1u << 20, 1u << 20}, Chunks{1, 1}, Chunks{3, 7}, Chunks{5, 1}, Chunks{13, 2}}) {
    MemoryIo io(requests);
    io.read_chunk = chunks.read;
    io.write_chunk = chunks.write;
    const Result<runner::ServerExit> end = serveFixture(io);
    ASSERT_FALSE(end.failed()) << end.error().name;
    EXPECT_EQ(end.value().status, 0);
    EXPECT_EQ(end.value().message, "");
    EXPECT_EQ(io.traces, 1) << "one failed case, one trace";
    EXPECT_LE(io.most_parts, runner::max_write_parts);
    if (reference.empty()) {
      reference = io.output;
      // Unlimited, every message is exactly one gathered write.
      EXPECT_EQ(io.writes, 5);
    } else {
      EXPECT_EQ(io.output, reference) << "read chunk " << chunks.read << ", write chunk " << chunks.write;
    }
  }
  const ByteString head = versionMessage() + results(fixture::pass_case, 0) + results(fixture::skip_case, 2);
  ASSERT_GT(reference.size(), head.size() + 16);
  EXPECT_EQ(ByteString(reference.begin(), reference.begin() + static_cast<std::ptrdiff_t>(head.size())), head);
  EXPECT_EQ(ByteString(reference.end() - 16, reference.end()), results(fixture::fail_case, 1));
}

struct FailureRow {
  const char* what;
  void (*script)(MemoryIo&);
  std::size_t scratch_size;
  Error error;
};

TEST(ServeInMemory, FailuresOfTheRunnerItself) {
  const FailureRow rows[] = {
      {"first read fails", [](MemoryIo& io) { io.fail_read_at = 0; }, 4096, runner::ReadFailed},
      {"a later read fails",
       [](MemoryIo& io) {
         io.read_chunk = 9;
         io.fail_read_at = 2;
       },
       4096, runner::ReadFailed},
      {"version write fails", [](MemoryIo& io) { io.fail_write_at = 0; }, 4096, runner::WriteFailed},
      {"metadata write fails", [](MemoryIo& io) { io.fail_write_at = 1; }, 4096, runner::WriteFailed},
      {"rest of a short write fails",
       [](MemoryIo& io) {
         io.write_chunk = 100;
         io.fail_write_at = 2;
       },
       4096, runner::WriteFailed},
      {"writer takes nothing", [](MemoryIo& io) { io.stall_writes = true; }, 4096, runner::WriteFailed},
      {"no room for a header", [](MemoryIo&) {}, 7, OutOfMemory},
  };
  for (const FailureRow& row : rows) {
    MemoryIo io(queryMetadataRequest() + runTestRequest(fixture::pass_case));
    row.script(io);
    const Result<runner::ServerExit> end = serveFixture(io, row.scratch_size);
    ASSERT_TRUE(end.failed()) << row.what;
    EXPECT_EQ(end.error(), row.error) << row.what << ": " << end.error().name;
  }
}

TEST(ServeInMemory, TwelveBytesOfScratchAreEnough) {
  // A header and a run_test body: the least the receive buffer must hold.
  // The rest of the scratch area may be taken by the command line.
  MemoryIo io(runTestRequest(fixture::pass_case) + runTestRequest(fixture::skip_case));
  const Result<runner::ServerExit> end = serveFixture(io, 12);
  ASSERT_FALSE(end.failed()) << end.error().name;
  EXPECT_EQ(io.output, versionMessage() + results(fixture::pass_case, 0) + results(fixture::skip_case, 2));

  MemoryIo short_of_one(runTestRequest(fixture::pass_case));
  const Result<runner::ServerExit> failed = serveFixture(short_of_one, 11);
  ASSERT_TRUE(failed.failed());
  EXPECT_EQ(failed.error(), OutOfMemory);
}

TEST(ServeInMemory, NothingIsReadAfterExit) {
  MemoryIo io(exitRequest() + runTestRequest(fixture::pass_case));
  io.read_chunk = 8;
  const Result<runner::ServerExit> end = serveFixture(io);
  ASSERT_FALSE(end.failed());
  EXPECT_EQ(end.value().status, 0);
  EXPECT_EQ(end.value().message, "");
  EXPECT_EQ(io.consumed, 8u);
  EXPECT_EQ(io.output, versionMessage());
}

}  // namespace
}  // namespace quor::test
