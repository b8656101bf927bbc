// A byte queue over an allocator: bytes are appended at the back and
// consumed from the front; the memory grows on demand. The driver mode's
// receive buffer (over the fixed scratch area) and the metadata's string
// bytes (over the checking allocator) are both one.
#pragma once

#include <cstddef>
#include <span>

#include "quor/allocator.hpp"
#include "quor/error.hpp"

namespace quor::runner {

class ByteQueue {
 public:
  explicit ByteQueue(Allocator allocator) : allocator_(allocator) {}
  ByteQueue(const ByteQueue&) = delete;
  ByteQueue& operator=(const ByteQueue&) = delete;
  ~ByteQueue() { release(); }

  /// The bytes appended and not yet consumed.
  std::span<const std::byte> buffered() const { return memory_.subspan(head_, tail_ - head_); }

  /// Free room at the back of at least `min` bytes, and of `want` bytes when
  /// the allocator has them; OutOfMemory when not even `min` can be had.
  Result<std::span<std::byte>> room(std::size_t min, std::size_t want);
  /// Counts `n` bytes written into the room as appended.
  void commit(std::size_t n);
  /// Appends a copy of `bytes`.
  Status append(std::span<const std::byte> bytes);
  /// Drops `n` bytes from the front.
  void consume(std::size_t n);

  /// Gives the memory back to the allocator; the queue is empty afterwards.
  void release();

 private:
  bool growTo(std::size_t capacity);

  Allocator allocator_;
  std::span<std::byte> memory_{};
  std::size_t head_ = 0;
  std::size_t tail_ = 0;
};

}  // namespace quor::runner
