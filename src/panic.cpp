#include "quor/panic.hpp"

#include <unistd.h>

#include <atomic>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace quor {
namespace {

void writeAll(const char* bytes, std::size_t len) {
  while (len > 0) {
    const ssize_t n = ::write(STDERR_FILENO, bytes, len);
    if (n <= 0) return;
    bytes += n;
    len -= static_cast<std::size_t>(n);
  }
}

void defaultHandler(std::string_view message) {
  char head[64];
  const int n = std::snprintf(head, sizeof head, "thread %ld panic: ", static_cast<long>(::gettid()));
  writeAll(head, static_cast<std::size_t>(n));
  writeAll(message.data(), message.size());
  writeAll("\n", 1);
}

std::atomic<PanicHandler> handler{defaultHandler};
thread_local bool panicking = false;

}  // namespace

void setPanicHandler(PanicHandler h) { handler.store(h != nullptr ? h : defaultHandler); }

void panic(std::string_view message) {
  if (panicking) {
    static constexpr char nested[] = "Panicked during a panic. Aborting.\n";
    writeAll(nested, sizeof nested - 1);
    std::abort();
  }
  panicking = true;
  handler.load()(message);
  std::abort();
}

void panicOutOfBounds(std::size_t index, std::size_t len) {
  char message[96];
  const int n = std::snprintf(message, sizeof message, "index out of bounds: index %zu, len %zu", index, len);
  panic({message, static_cast<std::size_t>(n)});
}

void panicOverflow() { panic("integer overflow"); }

void unreachable() { panic("reached unreachable code"); }

}  // namespace quor
