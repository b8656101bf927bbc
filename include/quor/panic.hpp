// The one path for programmer errors: an index out of contract, an integer
// that would wrap, code that must not be reached. Each ends the process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quor {

/// Ends the process: "thread {tid} panic: {message}", then abort.
[[noreturn]] void panic(std::string_view message);

/// Receives every panic of the process. The default writes the panic line
/// and aborts; a host such as the self-checking executable installs one that
/// also writes traces. The handler must not return.
using PanicHandler = void (*)(std::string_view message);
void setPanicHandler(PanicHandler handler);

/// "index out of bounds: index {index}, len {len}" unless index < len.
[[noreturn]] void panicOutOfBounds(std::size_t index, std::size_t len);
constexpr std::size_t checkIndex(std::size_t index, std::size_t len) {
  if (index >= len) panicOutOfBounds(index, len);
  return index;
}

/// Checked unsigned arithmetic: "integer overflow" where the result would wrap.
[[noreturn]] void panicOverflow();
template <class T>
constexpr T checkedAdd(T a, T b) {
  T r;
  if (__builtin_add_overflow(a, b, &r)) panicOverflow();
  return r;
}
template <class T>
constexpr T checkedSub(T a, T b) {
  T r;
  if (__builtin_sub_overflow(a, b, &r)) panicOverflow();
  return r;
}
template <class T>
constexpr T checkedMul(T a, T b) {
  T r;
  if (__builtin_mul_overflow(a, b, &r)) panicOverflow();
  return r;
}

/// "reached unreachable code".
[[noreturn]] void unreachable();

}  // namespace quor
