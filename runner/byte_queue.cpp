#include "byte_queue.hpp"

#include <cstring>

#include "quor/panic.hpp"

namespace quor::runner {

Result<std::span<std::byte>> ByteQueue::room(std::size_t min, std::size_t want) {
  if (want < min) want = min;
  // Consumed bytes at the front are reused before anything grows.
  if (memory_.size() - tail_ < want && head_ > 0) {
    const std::size_t used = tail_ - head_;
    if (used > 0) std::memmove(memory_.data(), memory_.data() + head_, used);
    head_ = 0;
    tail_ = used;
  }
  const std::size_t used = tail_;
  if (memory_.size() - used < want) {
    // Doubling keeps the copies few; when the allocator cannot give that
    // much, what is wanted, and at last what is needed, is enough.
    const std::size_t need = checkedAdd(used, min);
    const std::size_t wanted = checkedAdd(used, want);
    const std::size_t doubled = memory_.size() > wanted / 2 ? checkedMul(memory_.size(), std::size_t{2}) : wanted;
    if (!growTo(doubled) && !growTo(wanted) && memory_.size() < need && !growTo(need)) return OutOfMemory;
  }
  return memory_.subspan(tail_);
}

bool ByteQueue::growTo(std::size_t capacity) {
  if (capacity <= memory_.size()) return true;
  if (!memory_.empty() && allocator_.resize(memory_, capacity)) {
    memory_ = std::span<std::byte>(memory_.data(), capacity);
    return true;
  }
  const Result<std::span<std::byte>> fresh = allocator_.alloc<std::byte>(capacity);
  if (fresh.failed()) return false;
  const std::size_t used = tail_ - head_;
  if (used > 0) std::memcpy(fresh.value().data(), memory_.data() + head_, used);
  allocator_.free(memory_);
  memory_ = fresh.value();
  head_ = 0;
  tail_ = used;
  return true;
}

void ByteQueue::commit(std::size_t n) {
  if (n > memory_.size() - tail_) panicOutOfBounds(tail_ + n, memory_.size() + 1);
  tail_ += n;
}

Status ByteQueue::append(std::span<const std::byte> bytes) {
  const Result<std::span<std::byte>> free = room(bytes.size(), bytes.size());
  if (free.failed()) return free.error();
  if (!bytes.empty()) std::memcpy(free.value().data(), bytes.data(), bytes.size());
  commit(bytes.size());
  return {};
}

void ByteQueue::consume(std::size_t n) {
  if (n > tail_ - head_) panicOutOfBounds(n, tail_ - head_ + 1);
  head_ += n;
  // An emptied queue starts again at the front, so steady traffic never
  // needs to move bytes.
  if (head_ == tail_) head_ = tail_ = 0;
}

void ByteQueue::release() {
  allocator_.free(memory_);
  memory_ = {};
  head_ = tail_ = 0;
}

}  // namespace quor::runner
