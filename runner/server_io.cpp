#include "server_io.hpp"

#include <sys/uio.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "case_run.hpp"
#include "platform/stderr.hpp"
#include "quor/panic.hpp"

namespace quor::runner {

Status writeAllParts(ServerIo io, std::span<const Bytes> parts) {
  if (parts.size() > max_write_parts) panicOutOfBounds(parts.size(), max_write_parts + 1);
  // Empty parts are dropped up front, so a write that moves nothing while
  // bytes remain always means the other end cannot take them.
  std::array<Bytes, max_write_parts> left{};
  std::size_t count = 0;
  for (const Bytes part : parts) {
    if (!part.empty()) left[count++] = part;
  }
  std::size_t first = 0;
  while (first < count) {
    std::size_t remaining = 0;
    for (std::size_t i = first; i < count; ++i) remaining += left[i].size();
    const Result<std::size_t> written = io.vtable->write(io.ctx, std::span(left).subspan(first, count - first));
    if (written.failed()) return written.error();
    std::size_t n = written.value();
    if (n == 0 || n > remaining) return WriteFailed;
    while (n > 0) {
      if (n >= left[first].size()) {
        n -= left[first].size();
        ++first;
      } else {
        left[first] = left[first].subspan(n);
        n = 0;
      }
    }
  }
  return {};
}

namespace {

Result<std::size_t> stdinRead(void*, std::span<std::byte> into) {
  for (;;) {
    const ssize_t n = ::read(STDIN_FILENO, into.data(), into.size());
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) return ReadFailed;
  }
}

Result<std::size_t> stdoutWrite(void*, std::span<const Bytes> parts) {
  std::array<iovec, max_write_parts> iov{};
  for (std::size_t i = 0; i < parts.size(); ++i) {
    iov[checkIndex(i, iov.size())] = {const_cast<std::byte*>(parts[i].data()), parts[i].size()};
  }
  for (;;) {
    const ssize_t n = ::writev(STDOUT_FILENO, iov.data(), static_cast<int>(parts.size()));
    if (n >= 0) return static_cast<std::size_t>(n);
    // With the do-nothing SIGPIPE handler a reader that has gone away shows
    // up here as EPIPE, a failure like any other.
    if (errno != EINTR) return WriteFailed;
  }
}

void stderrErrorTrace(void*) {
  platform::StderrLock out;
  writeCaseErrorTrace(out);
}

constexpr ServerIo::VTable stdio_vtable{stdinRead, stdoutWrite, stderrErrorTrace};

}  // namespace

ServerIo stdioServerIo() { return {nullptr, &stdio_vtable}; }

}  // namespace quor::runner
