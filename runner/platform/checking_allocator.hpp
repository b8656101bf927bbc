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
  ~CheckingAllocator();
  CheckingAllocator(const CheckingAllocator&) = delete;
  CheckingAllocator& operator=(const CheckingAllocator&) = delete;

  Allocator allocator();

  /// Reports every allocation still live ("memory address 0x{x} leaked: {}"),
  /// frees them, and answers leak if there was one. The allocator is fresh
  /// and usable again afterwards.
  Check deinit();

  /// Refuse every request from now on (for testing OutOfMemory paths).
  void failAfter(std::size_t successful_requests);

 private:
  struct State;
  State* state_;
};

}  // namespace quor::platform
