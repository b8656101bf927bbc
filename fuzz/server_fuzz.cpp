// Arbitrary driver input through the message loop, in memory.
//
// Input layout: byte 0 caps each read (0: no cap), byte 1 caps each write
// (0: no cap), byte 2 shrinks the scratch area to 4096 >> (byte 2 % 13)
// bytes; the rest is what the driver sends. Besides the sanitizers, every
// run checks that the output is well framed and that each answer is the one
// its request must get.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <span>
#include <string_view>
#include <vector>

#include "fixed_buffer.hpp"
#include "server.hpp"
#include "testing.hpp"

namespace {

using quor::Result;
using quor::Status;
using quor::runner::Bytes;
using quor::runner::ServerExit;
using quor::runner::ServerIo;

// A registry of its own: one case per outcome, none of which writes to
// standard error or ends the process.
Status passes() { return {}; }
Status fails() { return quor::testing::expect(false); }
Status skips() { return quor::testing::SkipCase; }

constexpr std::array<quor::runner::TestFn, 3> fuzz_cases{{
    {"fuzz.test.passes", &passes},
    {"fuzz.test.fails", &fails},
    {"fuzz.test.skips", &skips},
}};
constexpr std::array<std::uint32_t, 3> expected_flags{0, 1, 2};

void require(bool ok) {
  if (!ok) __builtin_trap();
}

std::uint32_t le32(std::span<const std::uint8_t> at) {
  return std::uint32_t{at[0]} | std::uint32_t{at[1]} << 8 | std::uint32_t{at[2]} << 16 | std::uint32_t{at[3]} << 24;
}

struct FuzzIo {
  std::span<const std::uint8_t> input;
  std::size_t read_cap;
  std::size_t write_cap;
  std::vector<std::uint8_t> output;

  static Result<std::size_t> read(void* ctx, std::span<std::byte> into) {
    auto* self = static_cast<FuzzIo*>(ctx);
    const std::size_t n = std::min({into.size(), self->read_cap, self->input.size()});
    if (n > 0) std::memcpy(into.data(), self->input.data(), n);
    self->input = self->input.subspan(n);
    return n;
  }

  static Result<std::size_t> write(void* ctx, std::span<const Bytes> parts) {
    auto* self = static_cast<FuzzIo*>(ctx);
    require(!parts.empty() && parts.size() <= quor::runner::max_write_parts);
    std::size_t budget = self->write_cap;
    std::size_t written = 0;
    for (const Bytes part : parts) {
      const std::size_t n = std::min(budget, part.size());
      const auto* bytes = reinterpret_cast<const std::uint8_t*>(part.data());
      self->output.insert(self->output.end(), bytes, bytes + n);
      budget -= n;
      written += n;
    }
    return written;
  }

  static void writeErrorTrace(void*) {}
};

constexpr ServerIo::VTable fuzz_vtable{FuzzIo::read, FuzzIo::write, FuzzIo::writeErrorTrace};

std::vector<std::uint8_t> expectedMetadataBody() {
  std::vector<std::uint8_t> strings{0};
  std::vector<std::uint32_t> offsets;
  for (const auto& entry : fuzz_cases) {
    offsets.push_back(static_cast<std::uint32_t>(strings.size()));
    strings.insert(strings.end(), entry.name.begin(), entry.name.end());
    strings.push_back(0);
  }
  std::vector<std::uint8_t> body;
  const auto put = [&body](std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) body.push_back(static_cast<std::uint8_t>(v >> shift));
  };
  put(static_cast<std::uint32_t>(strings.size()));
  put(static_cast<std::uint32_t>(fuzz_cases.size()));
  for (const std::uint32_t offset : offsets) put(offset);
  for (std::size_t i = 0; i < fuzz_cases.size(); ++i) put(0);
  body.insert(body.end(), strings.begin(), strings.end());
  return body;
}

/// The output is the version message, then whole answers, each the right one.
void checkOutput(std::span<const std::uint8_t> out) {
  static const std::vector<std::uint8_t> metadata = expectedMetadataBody();
  constexpr std::uint8_t version[] = {0, 0, 0, 0, 6, 0, 0, 0, '0', '.', '1', '3', '.', '0'};
  require(out.size() >= sizeof version && std::memcmp(out.data(), version, sizeof version) == 0);
  out = out.subspan(sizeof version);
  while (!out.empty()) {
    require(out.size() >= 8);
    const std::uint32_t tag = le32(out);
    const std::uint32_t len = le32(out.subspan(4));
    require(out.size() - 8 >= len);
    const std::span<const std::uint8_t> body = out.subspan(8, len);
    if (tag == 3) {
      require(std::equal(body.begin(), body.end(), metadata.begin(), metadata.end()));
    } else {
      require(tag == 4 && len == 8);
      const std::uint32_t index = le32(body);
      require(index < fuzz_cases.size() && le32(body.subspan(4)) == expected_flags[index]);
    }
    out = out.subspan(8 + len);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  constexpr std::size_t no_cap = std::numeric_limits<std::size_t>::max();
  FuzzIo io{{data + 3, size - 3}, data[0] == 0 ? no_cap : data[0], data[1] == 0 ? no_cap : data[1], {}};
  const std::size_t scratch_size = std::size_t{4096} >> (data[2] % 13);

  alignas(16) static std::array<std::byte, 4096> scratch_bytes;
  quor::runner::FixedBufferAllocator scratch(std::span(scratch_bytes).first(scratch_size));
  const Result<ServerExit> end = quor::runner::serve({&io, &fuzz_vtable}, fuzz_cases, scratch.allocator());

  if (end.failed()) {
    // In memory nothing fails to read or write: only a scratch area too
    // small for a header and a run_test body can stop the loop.
    require(end.error() == quor::OutOfMemory && scratch_size < 12);
  } else {
    require(end.value().status == 0 || end.value().status == 1);
    require(end.value().message.empty() == (end.value().status == 0));
  }
  checkOutput(io.output);
  return 0;
}
