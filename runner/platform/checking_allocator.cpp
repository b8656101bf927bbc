#include "checking_allocator.hpp"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "frame_text.hpp"
#include "log.hpp"
#include "quor/panic.hpp"
#include "stack_trace.hpp"

#if defined(__SANITIZE_ADDRESS__)
#define QUOR_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUOR_ASAN 1
#endif
#endif
#ifdef QUOR_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace quor::platform {
namespace {

constexpr std::size_t trace_depth = 10;

struct Trace {
  std::array<std::uintptr_t, trace_depth> addresses{};
  std::size_t count = 0;

  std::span<const std::uintptr_t> frames() const { return {addresses.data(), count}; }
};

struct Block {
  std::size_t len;        ///< the length the caller knows
  std::size_t alignment;  ///< as the caller asked for it
  std::size_t capacity;   ///< bytes behind the address, at least len
  std::uint64_t serial;   ///< order of allocation, for a stable leak report
  Trace allocated;
  std::optional<Trace> freed;
};

// A trace as the "{}" of a message: on lines of its own, starting on a new
// line.
std::string traceText(const Trace& trace) {
  std::string text = "\n";
  text += formatStackTrace(trace.frames());
  return text;
}

std::string hexText(std::uintptr_t value) {
  char text[detail::max_number_text];
  return {text, detail::formatHex(text, value)};
}

void report(std::string message) {
  // The log sink ends the line itself.
  if (!message.empty() && message.back() == '\n') message.pop_back();
  runner::log(testing::LogLevel::err, "gpa", message);
}

void poison(void* memory, std::size_t len) {
  std::memset(memory, 0xaa, len);
#ifdef QUOR_ASAN
  ASAN_POISON_MEMORY_REGION(memory, len);
#endif
}

void release(void* memory, std::size_t len) {
#ifdef QUOR_ASAN
  ASAN_UNPOISON_MEMORY_REGION(memory, len);
#else
  (void)len;
#endif
  std::free(memory);
}

}  // namespace

struct CheckingAllocator::State {
  std::mutex mutex;
  std::unordered_map<std::uintptr_t, Block> blocks;  // live and freed
  std::uint64_t next_serial = 0;
  std::optional<std::size_t> allocations_left;

  void* alloc(std::size_t len, std::size_t alignment, const Trace& trace);
  bool resize(void* memory, std::size_t len, std::size_t alignment, std::size_t new_len, const Trace& trace);
  void free(void* memory, std::size_t len, std::size_t alignment, const Trace& trace);
  bool finish();
};

void* CheckingAllocator::State::alloc(std::size_t len, std::size_t alignment, const Trace& trace) {
  if (alignment == 0 || (alignment & (alignment - 1)) != 0) return nullptr;
  const std::lock_guard lock(mutex);
  if (allocations_left) {
    if (*allocations_left == 0) return nullptr;
    --*allocations_left;
  }
  // aligned_alloc wants a multiple of the alignment; a zero length still
  // gets a block of its own so that its address identifies it.
  const std::size_t align = std::max(alignment, alignof(std::max_align_t));
  if (len > SIZE_MAX - align) return nullptr;
  const std::size_t capacity = std::max<std::size_t>((len + align - 1) / align * align, align);
  void* memory = std::aligned_alloc(align, capacity);
  if (memory == nullptr) return nullptr;
  blocks.insert_or_assign(reinterpret_cast<std::uintptr_t>(memory),
                          Block{len, alignment, capacity, next_serial++, trace, std::nullopt});
  return memory;
}

bool CheckingAllocator::State::resize(void* memory, std::size_t len, std::size_t alignment, std::size_t new_len,
                                      const Trace& trace) {
  const std::lock_guard lock(mutex);
  const auto found = blocks.find(reinterpret_cast<std::uintptr_t>(memory));
  if (found == blocks.end()) panic("invalid resize of address 0x" + hexText(reinterpret_cast<std::uintptr_t>(memory)));
  Block& block = found->second;
  if (block.freed) {
    report("Double free detected. Allocation: " + traceText(block.allocated) +
           " First free: " + traceText(*block.freed) + " Second free: " + traceText(trace));
    return false;
  }
  bool mismatch = false;
  if (len != block.len) {
    report("Allocation size " + std::to_string(block.len) + " bytes does not match resize size " + std::to_string(len) +
           ". Allocation: " + traceText(block.allocated) + " Resize: " + traceText(trace));
    mismatch = true;
  }
  if (alignment != block.alignment) {
    report("Allocation alignment " + std::to_string(block.alignment) + " does not match resize alignment " +
           std::to_string(alignment) + ". Allocation: " + traceText(block.allocated) + " Resize: " + traceText(trace));
    mismatch = true;
  }
  if (mismatch || new_len > block.capacity) return false;
  block.len = new_len;
  return true;
}

void CheckingAllocator::State::free(void* memory, std::size_t len, std::size_t alignment, const Trace& trace) {
  const std::lock_guard lock(mutex);
  const auto found = blocks.find(reinterpret_cast<std::uintptr_t>(memory));
  if (found == blocks.end()) panic("invalid free of address 0x" + hexText(reinterpret_cast<std::uintptr_t>(memory)));
  Block& block = found->second;
  if (block.freed) {
    report("Double free detected. Allocation: " + traceText(block.allocated) +
           " First free: " + traceText(*block.freed) + " Second free: " + traceText(trace));
    return;
  }
  bool mismatch = false;
  if (len != block.len) {
    report("Allocation size " + std::to_string(block.len) + " bytes does not match free size " + std::to_string(len) +
           ". Allocation: " + traceText(block.allocated) + " Free: " + traceText(trace));
    mismatch = true;
  }
  if (alignment != block.alignment) {
    report("Allocation alignment " + std::to_string(block.alignment) + " does not match free alignment " +
           std::to_string(alignment) + ". Allocation: " + traceText(block.allocated) + " Free: " + traceText(trace));
    mismatch = true;
  }
  if (mismatch) return;
  block.freed = trace;
  poison(memory, block.capacity);
}

bool CheckingAllocator::State::finish() {
  const std::lock_guard lock(mutex);
  std::vector<std::pair<std::uintptr_t, const Block*>> live;
  for (const auto& [address, block] : blocks) {
    if (!block.freed) live.emplace_back(address, &block);
  }
  std::sort(live.begin(), live.end(), [](const auto& a, const auto& b) { return a.second->serial < b.second->serial; });
  for (const auto& [address, block] : live) {
    report("memory address 0x" + hexText(address) + " leaked: " + traceText(block->allocated));
  }
  for (const auto& [address, block] : blocks) release(reinterpret_cast<void*>(address), block.capacity);
  blocks.clear();
  next_serial = 0;
  allocations_left.reset();
  return !live.empty();
}

CheckingAllocator::CheckingAllocator() : state_(new State) {}

CheckingAllocator::~CheckingAllocator() {
  for (const auto& [address, block] : state_->blocks) release(reinterpret_cast<void*>(address), block.capacity);
  delete state_;
}

// The vtable functions are only ever called through the table, never inlined
// into a caller, so the frame above each is the code that asked.
[[gnu::noinline]] void* CheckingAllocator::allocImpl(void* ctx, std::size_t len, std::size_t alignment) {
  Trace trace;
  trace.count = captureStackTrace(trace.addresses, 1);
  return static_cast<State*>(ctx)->alloc(len, alignment, trace);
}

[[gnu::noinline]] bool CheckingAllocator::resizeImpl(void* ctx, void* memory, std::size_t len, std::size_t alignment,
                                                     std::size_t new_len) {
  Trace trace;
  trace.count = captureStackTrace(trace.addresses, 1);
  return static_cast<State*>(ctx)->resize(memory, len, alignment, new_len, trace);
}

[[gnu::noinline]] void CheckingAllocator::freeImpl(void* ctx, void* memory, std::size_t len, std::size_t alignment) {
  Trace trace;
  trace.count = captureStackTrace(trace.addresses, 1);
  static_cast<State*>(ctx)->free(memory, len, alignment, trace);
}

Allocator CheckingAllocator::allocator() {
  static constexpr Allocator::VTable vtable{allocImpl, resizeImpl, freeImpl};
  return {state_, &vtable};
}

CheckingAllocator::Check CheckingAllocator::deinit() { return state_->finish() ? Check::leak : Check::ok; }

void CheckingAllocator::failAfter(std::size_t successful_allocations) {
  const std::lock_guard lock(state_->mutex);
  state_->allocations_left = successful_allocations;
}

}  // namespace quor::platform
