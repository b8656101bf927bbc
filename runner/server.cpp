#include "server.hpp"

#include <array>
#include <bit>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>

#include "byte_queue.hpp"
#include "case_run.hpp"
#include "fixed_buffer.hpp"
#include "log.hpp"
#include "platform/stderr.hpp"
#include "quor/panic.hpp"
#include "testing.hpp"

namespace quor::runner {

std::uint32_t packFlags(bool fail, bool skip, bool leak, std::uint64_t log_err_count) {
  const auto count =
      static_cast<std::uint32_t>(log_err_count < max_flag_err_count ? log_err_count : max_flag_err_count);
  return static_cast<std::uint32_t>(fail) | static_cast<std::uint32_t>(skip) << 1 |
         static_cast<std::uint32_t>(leak) << 2 | count << 3;
}

namespace {

/// A u32 as it travels: little-endian, whatever the host.
using Wire32 = std::array<std::byte, 4>;

Wire32 toWire(std::uint32_t value) {
  return {std::byte(value & 0xff), std::byte(value >> 8 & 0xff), std::byte(value >> 16 & 0xff), std::byte(value >> 24)};
}

std::uint32_t fromWire(std::span<const std::byte> at) {
  return std::to_integer<std::uint32_t>(at[0]) | std::to_integer<std::uint32_t>(at[1]) << 8 |
         std::to_integer<std::uint32_t>(at[2]) << 16 | std::to_integer<std::uint32_t>(at[3]) << 24;
}

/// A length as a wire field; a registry too large for the format is a
/// programmer error.
std::uint32_t wireLength(std::size_t len) {
  if (len > std::numeric_limits<std::uint32_t>::max()) panicOverflow();
  return static_cast<std::uint32_t>(len);
}

/// The header, then the body parts, as one gathered write.
Status sendMessage(ServerIo io, RunnerTag tag, std::span<const Bytes> body) {
  std::size_t body_len = 0;
  for (const Bytes part : body) body_len = checkedAdd(body_len, part.size());
  const Wire32 tag_bytes = toWire(static_cast<std::uint32_t>(tag));
  const Wire32 len_bytes = toWire(wireLength(body_len));
  std::array<std::byte, header_len> header{};
  std::memcpy(header.data(), tag_bytes.data(), 4);
  std::memcpy(header.data() + 4, len_bytes.data(), 4);

  std::array<Bytes, max_write_parts> parts{};
  parts[0] = header;
  for (std::size_t i = 0; i < body.size(); ++i) parts[checkIndex(i + 1, parts.size())] = body[i];
  return writeAllParts(io, std::span(parts).first(body.size() + 1));
}

ServerExit endWith(std::string message) { return {1, std::move(message)}; }

std::string decimal(std::uint64_t value) { return std::to_string(value); }

std::string hex(std::uint32_t value) {
  std::array<char, 8> digits{};
  const auto res = std::to_chars(digits.data(), digits.data() + digits.size(), value, 16);
  return {digits.data(), static_cast<std::size_t>(res.ptr - digits.data())};
}

/// What the loop does next: answer a request, or end the exchange.
struct Request {
  DriverTag tag = DriverTag::exit;
  std::uint32_t index = 0;  ///< for run_test
  std::optional<ServerExit> end;
};

/// Judges a complete header before its body is awaited: an exchange that
/// must end now, or nothing when the body is worth waiting for.
std::optional<ServerExit> judgeHeader(std::uint32_t tag, std::uint32_t bytes_len) {
  switch (tag) {
    case static_cast<std::uint32_t>(DriverTag::exit):
      return ServerExit{0, {}};
    case static_cast<std::uint32_t>(DriverTag::query_test_metadata):
      if (bytes_len == 0) return std::nullopt;
      return endWith("query_test_metadata carries " + decimal(bytes_len) + " body bytes; it takes none\n");
    case static_cast<std::uint32_t>(DriverTag::run_test):
      if (bytes_len == 4) return std::nullopt;
      return endWith("run_test carries " + decimal(bytes_len) + " body bytes; it takes exactly 4, the case index\n");
    default:
      // Unsupported whatever its body, so the body is not awaited.
      return endWith("unsupported message: " + hex(tag));
  }
}

/// The room a read asks for. Each read fills all the free room, so several
/// requests sent at once arrive in one system call, and bytes of later
/// messages stay queued. When the scratch area cannot spare this much (the
/// command line took most of it), what the message still lacks is enough.
constexpr std::size_t read_chunk = 256;

Result<Request> receive(ServerIo io, ByteQueue& queue, Registry registry) {
  for (;;) {
    const std::span<const std::byte> have = queue.buffered();
    std::size_t missing = header_len - (have.size() < header_len ? have.size() : header_len);
    std::uint32_t bytes_len = 0;
    if (have.size() >= header_len) {
      const std::uint32_t tag = fromWire(have.first(4));
      bytes_len = fromWire(have.subspan(4, 4));
      if (std::optional<ServerExit> end = judgeHeader(tag, bytes_len)) return Request{.end = std::move(end)};
      const std::size_t body_have = have.size() - header_len;
      if (body_have >= bytes_len) {
        Request request;
        request.tag = static_cast<DriverTag>(tag);
        queue.consume(header_len);
        if (request.tag == DriverTag::run_test) {
          request.index = fromWire(queue.buffered().first(4));
          queue.consume(4);
          if (request.index >= registry.size()) {
            request.end = endWith("run_test index " + decimal(request.index) + " is out of range: the registry has " +
                                  decimal(registry.size()) + " cases\n");
          }
        }
        return request;
      }
      missing = bytes_len - body_have;
    }

    const Result<std::span<std::byte>> free = queue.room(missing, read_chunk);
    if (free.failed()) return free.error();
    const Result<std::size_t> got = io.vtable->read(io.ctx, free.value());
    if (got.failed()) return got.error();
    if (got.value() > free.value().size()) return ReadFailed;
    if (got.value() == 0) {
      // The driver closed its end. Between messages that is as good as exit;
      // inside one, nothing can complete it.
      if (have.empty()) return Request{.end = ServerExit{0, {}}};
      if (have.size() < header_len) {
        return Request{
            .end = endWith("standard input ended inside a message header (" + decimal(have.size()) + " of 8 bytes)\n")};
      }
      return Request{.end =
                         endWith("standard input ended inside a run_test message (" +
                                 decimal(have.size() - header_len) + " of " + decimal(bytes_len) + " body bytes)\n")};
    }
    queue.commit(got.value());
  }
}

/// Stores element i of a u32 array sent as it is: its bytes are the value's
/// little-endian encoding.
void storeWire(std::span<std::uint32_t> array, std::size_t i, std::uint32_t value) {
  const Wire32 wire = toWire(value);
  std::memcpy(&array[checkIndex(i, array.size())], wire.data(), 4);
}

Status buildAndSendMetadata(ServerIo io, Registry registry, Allocator allocator) {
  const std::size_t n = registry.size();
  ByteQueue string_bytes(allocator);
  // A registry can be empty; an empty array needs no memory.
  Result<std::span<std::uint32_t>> names = n == 0 ? std::span<std::uint32_t>{} : allocator.alloc<std::uint32_t>(n);
  if (names.failed()) return names.error();
  Result<std::span<std::uint32_t>> expected_panic_msgs =
      n == 0 ? std::span<std::uint32_t>{} : allocator.alloc<std::uint32_t>(n);
  Status sent = expected_panic_msgs.failed() ? Status(expected_panic_msgs.error()) : Status();

  // Offset 0 is the empty string: every name starts after it.
  constexpr std::array<std::byte, 1> zero{};
  if (!sent.failed()) sent = string_bytes.append(zero);
  for (std::size_t i = 0; i < n && !sent.failed(); ++i) {
    const std::string_view name = registry[i].name;
    storeWire(names.value(), i, wireLength(string_bytes.buffered().size()));
    const std::size_t len = checkedAdd(name.size(), std::size_t{1});
    const Result<std::span<std::byte>> free = string_bytes.room(len, len);
    if (free.failed()) {
      sent = free.error();
      break;
    }
    std::memcpy(free.value().data(), name.data(), name.size());
    free.value()[name.size()] = std::byte{0};
    string_bytes.commit(len);
    storeWire(expected_panic_msgs.value(), i, 0);
  }

  if (!sent.failed()) {
    const std::span<const std::byte> strings = string_bytes.buffered();
    const Wire32 strings_len = toWire(wireLength(strings.size()));
    const Wire32 tests_len = toWire(wireLength(n));
    const std::array<Bytes, 5> body{strings_len, tests_len, std::as_bytes(names.value()),
                                    std::as_bytes(expected_panic_msgs.value()), strings};
    sent = sendMessage(io, RunnerTag::test_metadata, body);
  }

  string_bytes.release();
  if (!expected_panic_msgs.failed()) allocator.free(expected_panic_msgs.value());
  allocator.free(names.value());
  return sent;
}

Status answerMetadata(ServerIo io, Registry registry) {
  resetCaseAllocator();
  const Status sent = buildAndSendMetadata(io, registry, testing::allocator());
  if (finishCaseAllocator()) panic("internal test runner memory leak");
  return sent;
}

Status answerRunTest(ServerIo io, Registry registry, std::uint32_t index) {
  resetCaseAllocator();
  // The count is per case in this mode.
  log_err_count = 0;
  const TestFn& test = registry[checkIndex(index, registry.size())];
  bool fail = false;
  bool skip = false;
  const Status result = callCase(test);
  if (result.failed()) {
    if (result.error() == testing::SkipCase) {
      skip = true;
    } else {
      fail = true;
      io.vtable->writeErrorTrace(io.ctx);
    }
  }
  // The allocator's leak messages are written and counted here, so they
  // belong to this case's flags.
  const bool leak = finishCaseAllocator();
  const Wire32 index_bytes = toWire(index);
  const Wire32 flags = toWire(packFlags(fail, skip, leak, log_err_count));
  const std::array<Bytes, 2> body{index_bytes, flags};
  return sendMessage(io, RunnerTag::test_results, body);
}

}  // namespace

Result<ServerExit> serve(ServerIo io, Registry registry, Allocator scratch) {
  ByteQueue queue(scratch);
  const std::array<Bytes, 1> version{std::as_bytes(std::span(server_version))};
  if (const Status sent = sendMessage(io, RunnerTag::version, version); sent.failed()) return sent.error();

  for (;;) {
    Result<Request> request = receive(io, queue, registry);
    if (request.failed()) return request.error();
    if (request.value().end) return std::move(*request.value().end);
    const Status answered = request.value().tag == DriverTag::run_test
                                ? answerRunTest(io, registry, request.value().index)
                                : answerMetadata(io, registry);
    if (answered.failed()) return answered.error();
  }
}

Status mainServer(Registry registry) {
  const Result<ServerExit> end = serve(stdioServerIo(), registry, fba.allocator());
  if (end.failed()) return end.error();
  if (!end.value().message.empty()) platform::writeStderr(end.value().message);
  // Every byte went out through write(2): nothing is buffered that exit
  // would have to flush.
  std::exit(end.value().status);
}

}  // namespace quor::runner
