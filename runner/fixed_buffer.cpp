#include "fixed_buffer.hpp"

#include <array>
#include <cstdint>

namespace quor::runner {

namespace {
alignas(16) std::array<std::byte, 4096> cmdline_buffer;
}

FixedBufferAllocator fba{cmdline_buffer};

Allocator FixedBufferAllocator::allocator() {
  static constexpr Allocator::VTable vtable{allocImpl, resizeImpl, freeImpl};
  return {this, &vtable};
}

bool FixedBufferAllocator::isLast(const void* memory, std::size_t len) const {
  return static_cast<const std::byte*>(memory) + len == buffer_.data() + end_;
}

void* FixedBufferAllocator::allocImpl(void* ctx, std::size_t len, std::size_t alignment) {
  auto* self = static_cast<FixedBufferAllocator*>(ctx);
  const auto base = reinterpret_cast<std::uintptr_t>(self->buffer_.data());
  const std::uintptr_t start = (base + self->end_ + alignment - 1) & ~(std::uintptr_t{alignment} - 1);
  const std::size_t offset = start - base;
  if (offset > self->buffer_.size() || len > self->buffer_.size() - offset) return nullptr;
  self->end_ = offset + len;
  return self->buffer_.data() + offset;
}

bool FixedBufferAllocator::resizeImpl(void* ctx, void* memory, std::size_t len, std::size_t, std::size_t new_len) {
  auto* self = static_cast<FixedBufferAllocator*>(ctx);
  if (!self->isLast(memory, len)) return new_len <= len;
  const std::size_t offset = static_cast<std::size_t>(static_cast<std::byte*>(memory) - self->buffer_.data());
  if (new_len > self->buffer_.size() - offset) return false;
  self->end_ = offset + new_len;
  return true;
}

void FixedBufferAllocator::freeImpl(void* ctx, void* memory, std::size_t len, std::size_t) {
  auto* self = static_cast<FixedBufferAllocator*>(ctx);
  if (self->isLast(memory, len)) self->end_ -= len;
}

}  // namespace quor::runner
