// Pieces of trace text shared by stack traces and error traces: where the
// text goes, numbers written without allocating, and the source line of a
// frame. Everything here is safe in the fatal-signal handler.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "stderr.hpp"

namespace quor::platform::detail {

/// Where trace text goes: standard error under its lock, or a string.
struct TextOut {
  void* ctx;
  void (*put)(void* ctx, std::string_view bytes);

  void operator()(std::string_view bytes) const { put(ctx, bytes); }
};

TextOut textOut(StderrLock& out);
TextOut textOut(std::string& out);

/// Longest text of a 64-bit number in decimal or hexadecimal.
inline constexpr std::size_t max_number_text = 20;

/// Unsigned decimal into out (max_number_text bytes); answers the length.
std::size_t formatDecimal(char* out, std::uint64_t value);
/// Lower-case hexadecimal without prefix or padding; answers the length.
std::size_t formatHex(char* out, std::uint64_t value);

void putDecimal(TextOut out, std::uint64_t value);
void putHex(TextOut out, std::uint64_t value);

/// Writes line `line` (1-based) of `file` and, when column > 0, a caret line
/// under that column. Writes nothing when the file or the line cannot be read.
void putSourceLine(TextOut out, const char* file, std::uint64_t line, std::uint64_t column);

}  // namespace quor::platform::detail
