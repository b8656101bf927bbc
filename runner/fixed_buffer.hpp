// A fixed-buffer allocator: hands out one caller-owned byte array from the
// front; the last array handed out can grow, shrink or be given back.
#pragma once

#include <cstddef>
#include <span>

#include "quor/allocator.hpp"

namespace quor::runner {

class FixedBufferAllocator {
 public:
  explicit FixedBufferAllocator(std::span<std::byte> buffer) : buffer_(buffer) {}

  Allocator allocator();
  std::size_t used() const { return end_; }

 private:
  static void* allocImpl(void* ctx, std::size_t len, std::size_t alignment);
  static bool resizeImpl(void* ctx, void* memory, std::size_t len, std::size_t alignment, std::size_t new_len);
  static void freeImpl(void* ctx, void* memory, std::size_t len, std::size_t alignment);
  bool isLast(const void* memory, std::size_t len) const;

  std::span<std::byte> buffer_;
  std::size_t end_ = 0;
};

/// The fixed scratch area that holds the command-line arguments, and the
/// allocator over it that the driver mode's receive buffer shares.
extern FixedBufferAllocator fba;

}  // namespace quor::runner
