// The general allocator interface: typed arrays that are handed out and given
// back with their exact length and alignment, and "OutOfMemory" as a value
// when memory cannot be had. Also an arena that is released as a whole.
#pragma once

#include <cstddef>
#include <new>
#include <span>
#include <type_traits>

#include "quor/error.hpp"

namespace quor {

class Allocator {
 public:
  /// What an allocator implementation provides. `alloc` answers nullptr when
  /// it cannot supply the memory; `resize` answers whether the block could
  /// change its length in place.
  struct VTable {
    void* (*alloc)(void* ctx, std::size_t len, std::size_t alignment);
    bool (*resize)(void* ctx, void* memory, std::size_t len, std::size_t alignment, std::size_t new_len);
    void (*free)(void* ctx, void* memory, std::size_t len, std::size_t alignment);
  };

  void* ctx;
  const VTable* vtable;

  /// n default-initialised values of T, or OutOfMemory (also when n·sizeof(T)
  /// does not fit in a size).
  template <class T>
  Result<std::span<T>> alloc(std::size_t n) const {
    static_assert(std::is_trivially_destructible_v<T>, "allocator arrays hold plain values");
    std::size_t bytes;
    if (__builtin_mul_overflow(n, sizeof(T), &bytes)) return OutOfMemory;
    void* memory = vtable->alloc(ctx, bytes, alignof(T));
    if (memory == nullptr) return OutOfMemory;
    return std::span<T>(new (memory) T[n], n);
  }

  /// Gives back an array obtained from alloc (or resized) on this allocator.
  template <class T>
  void free(std::span<T> array) const {
    if (array.data() == nullptr) return;
    vtable->free(ctx, array.data(), array.size_bytes(), alignof(T));
  }

  /// Changes the length of an array in place; false when it cannot.
  template <class T>
  bool resize(std::span<T> array, std::size_t new_n) const {
    std::size_t bytes;
    if (__builtin_mul_overflow(new_n, sizeof(T), &bytes)) return false;
    return vtable->resize(ctx, array.data(), array.size_bytes(), alignof(T), bytes);
  }
};

/// The C heap behind the allocator interface.
Allocator heapAllocator();

/// An allocator over another that hands out memory from blocks of its own and
/// gives every block back at once, when it is released or destroyed. Frees of
/// single arrays are accepted and ignored.
class Arena {
 public:
  explicit Arena(Allocator backing) : backing_(backing) {}
  Arena(const Arena&) = delete;
  Arena& operator=(const Arena&) = delete;
  ~Arena() { release(); }

  Allocator allocator();
  /// Gives every block back to the backing allocator.
  void release();

 private:
  struct Block;
  static void* allocImpl(void* ctx, std::size_t len, std::size_t alignment);
  static bool resizeImpl(void* ctx, void* memory, std::size_t len, std::size_t alignment, std::size_t new_len);
  static void freeImpl(void* ctx, void* memory, std::size_t len, std::size_t alignment);

  Allocator backing_;
  Block* blocks_ = nullptr;
};

}  // namespace quor
