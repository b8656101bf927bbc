// What the driver-mode message loop needs from the outside world: read some
// bytes, write gathered parts, and write the error trace of a failed case.
// Standard input and output serve the real driver; the fuzzer and the unit
// tests put memory behind the same interface.
#pragma once

#include <cstddef>
#include <span>

#include "quor/error.hpp"

namespace quor::runner {

inline constexpr Error ReadFailed{"ReadFailed"};
inline constexpr Error WriteFailed{"WriteFailed"};

/// One part of a gathered write.
using Bytes = std::span<const std::byte>;

struct ServerIo {
  struct VTable {
    /// Reads once into `into`: how many bytes arrived, 0 at the end of the
    /// input, or a failure.
    Result<std::size_t> (*read)(void* ctx, std::span<std::byte> into);
    /// Writes some leading bytes of the parts, in order, as one gathered
    /// write: how many went out (at least 1 when any were asked for), or a
    /// failure.
    Result<std::size_t> (*write)(void* ctx, std::span<const Bytes> parts);
    /// Writes the error trace the last case left behind.
    void (*writeErrorTrace)(void* ctx);
  };

  void* ctx;
  const VTable* vtable;
};

/// The most parts one gathered write carries, the header included.
inline constexpr std::size_t max_write_parts = 10;

/// Writes every byte of the parts (at most max_write_parts), repeating the
/// gathered write after a short one.
Status writeAllParts(ServerIo io, std::span<const Bytes> parts);

/// Standard input and output (write(2), no buffering), and standard error
/// for traces.
ServerIo stdioServerIo();

}  // namespace quor::runner
