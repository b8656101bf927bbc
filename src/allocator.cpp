#include "quor/allocator.hpp"

#include <cstdint>
#include <cstdlib>

namespace quor {
namespace {

void* heapAlloc(void*, std::size_t len, std::size_t alignment) {
  if (alignment < alignof(std::max_align_t)) alignment = alignof(std::max_align_t);
  // aligned_alloc wants a length that is a multiple of the alignment.
  const std::size_t rounded = (len + alignment - 1) / alignment * alignment;
  if (rounded < len) return nullptr;
  return std::aligned_alloc(alignment, rounded == 0 ? alignment : rounded);
}

bool heapResize(void*, void*, std::size_t len, std::size_t, std::size_t new_len) { return new_len <= len; }

void heapFree(void*, void* memory, std::size_t, std::size_t) { std::free(memory); }

constexpr Allocator::VTable heap_vtable{heapAlloc, heapResize, heapFree};

}  // namespace

Allocator heapAllocator() { return {nullptr, &heap_vtable}; }

// A block of the arena: this header, then `capacity` bytes of which `used`
// are handed out.
struct Arena::Block {
  Block* next;
  std::size_t capacity;
  std::size_t used;
  std::size_t len;  // the length the backing allocator was asked for
  unsigned char* bytes() { return reinterpret_cast<unsigned char*>(this + 1); }
};

Allocator Arena::allocator() {
  static constexpr Allocator::VTable vtable{allocImpl, resizeImpl, freeImpl};
  return {this, &vtable};
}

void* Arena::allocImpl(void* ctx, std::size_t len, std::size_t alignment) {
  auto* arena = static_cast<Arena*>(ctx);
  if (Block* b = arena->blocks_) {
    const auto base = reinterpret_cast<std::uintptr_t>(b->bytes());
    const std::uintptr_t start = (base + b->used + alignment - 1) & ~(std::uintptr_t{alignment} - 1);
    if (start - base <= b->capacity && len <= b->capacity - (start - base)) {
      b->used = start - base + len;
      return reinterpret_cast<void*>(start);
    }
  }
  // A new block large enough for this request, at least twice the last one.
  std::size_t capacity = arena->blocks_ ? arena->blocks_->capacity * 2 : 4096;
  std::size_t need = 0;
  if (__builtin_add_overflow(len, alignment, &need)) return nullptr;
  if (capacity < need) capacity = need;
  std::size_t total = 0;
  if (__builtin_add_overflow(capacity, sizeof(Block), &total)) return nullptr;
  void* memory = arena->backing_.vtable->alloc(arena->backing_.ctx, total, alignof(Block));
  if (memory == nullptr) return nullptr;
  auto* block = new (memory) Block{arena->blocks_, capacity, 0, total};
  arena->blocks_ = block;
  return allocImpl(ctx, len, alignment);
}

bool Arena::resizeImpl(void* ctx, void* memory, std::size_t len, std::size_t, std::size_t new_len) {
  auto* arena = static_cast<Arena*>(ctx);
  if (new_len <= len) return true;
  // Only the last array of the current block can grow in place.
  Block* b = arena->blocks_;
  if (b == nullptr) return false;
  const std::size_t offset = static_cast<std::size_t>(static_cast<unsigned char*>(memory) - b->bytes());
  if (offset + len != b->used || new_len > b->capacity - offset) return false;
  b->used = offset + new_len;
  return true;
}

void Arena::freeImpl(void*, void*, std::size_t, std::size_t) {}

void Arena::release() {
  while (Block* b = blocks_) {
    blocks_ = b->next;
    backing_.vtable->free(backing_.ctx, b, b->len, alignof(Block));
  }
}

}  // namespace quor
