// The checking allocator behind testing.allocator: for each live allocation
// its size, alignment and up to 10 return addresses; reports leaks, double
// frees and size or alignment mismatches as error-level "gpa" log messages.
// Safe to use from several threads.
#pragma once

#include <cstddef>
#include <cstdint>

#include "quor/allocator.hpp"

namespace quor::platform {

class CheckingAllocator {
 public:
  enum class Check : std::uint8_t { ok = 0, leak = 1 };

  CheckingAllocator();
  /// Gives every block back without reporting anything.
  ~CheckingAllocator();
  CheckingAllocator(const CheckingAllocator&) = delete;
  CheckingAllocator& operator=(const CheckingAllocator&) = delete;

  /// Freed blocks are kept (filled with 0xaa, and poisoned under
  /// AddressSanitizer) until deinit, so their address is not handed out again
  /// and a second free is always recognised. A free or resize whose size or
  /// alignment does not match the allocation is reported and not carried
  /// out: the block stays live, and is reported again as a leak if nothing
  /// frees it correctly. Freeing or resizing memory this allocator does not
  /// know is a panic.
  Allocator allocator();

  /// Reports every allocation still live ("memory address 0x{x} leaked: {}"),
  /// gives every block back, and answers leak if there was one. The allocator
  /// is fresh and usable again afterwards.
  Check deinit();

  /// After `successful_allocations` more allocations, every further one
  /// answers nullptr (for testing OutOfMemory paths), until deinit.
  void failAfter(std::size_t successful_allocations);

 private:
  struct State;
  // Each captures its caller's stack before anything else, so that the
  // recorded traces start in the code that asked.
  static void* allocImpl(void* ctx, std::size_t len, std::size_t alignment);
  static bool resizeImpl(void* ctx, void* memory, std::size_t len, std::size_t alignment, std::size_t new_len);
  static void freeImpl(void* ctx, void* memory, std::size_t len, std::size_t alignment);

  State* state_;
};

}  // namespace quor::platform
