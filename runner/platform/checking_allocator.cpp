// PLACEHOLDER: the platform layer replaces this file.
#include "checking_allocator.hpp"

#include <cstdlib>
#include <map>
#include <mutex>

namespace quor::platform {

struct CheckingAllocator::State {
  std::mutex mutex;
  std::map<void*, std::size_t> live;
};

namespace {
void* allocImpl(void* ctx, std::size_t len, std::size_t alignment) {
  auto* s = static_cast<CheckingAllocator*>(ctx);
  (void)s;
  (void)alignment;
  return std::malloc(len == 0 ? 1 : len);
}
bool resizeImpl(void*, void*, std::size_t len, std::size_t, std::size_t new_len) { return new_len <= len; }
void freeImpl(void*, void* memory, std::size_t, std::size_t) { std::free(memory); }
constexpr Allocator::VTable vtable{allocImpl, resizeImpl, freeImpl};
}  // namespace

CheckingAllocator::CheckingAllocator() : state_(new State) {}
CheckingAllocator::~CheckingAllocator() { delete state_; }
Allocator CheckingAllocator::allocator() { return {this, &vtable}; }
CheckingAllocator::Check CheckingAllocator::deinit() { return Check::ok; }
void CheckingAllocator::failAfter(std::size_t) {}

}  // namespace quor::platform
