// Stack traces: return addresses captured now, written later one frame per
// line, symbolised to file, line and demangled function, with the source
// line where the file can be read. Safe to use in the fatal-signal handler.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "stderr.hpp"

namespace quor::platform {

/// Fills addresses with the return addresses of the calling thread, the
/// caller of captureStackTrace first after `skip` further frames; answers how
/// many were stored.
std::size_t captureStackTrace(std::span<std::uintptr_t> addresses, std::size_t skip = 0);

/// Writes the symbolised frames of addresses, one per line.
void writeStackTrace(StderrLock& out, std::span<const std::uintptr_t> addresses);

/// The same text as writeStackTrace, as a string (for log messages).
std::string formatStackTrace(std::span<const std::uintptr_t> addresses);

/// Captures and writes the stack of the calling thread, from its caller on.
void writeCurrentStackTrace(StderrLock& out);

}  // namespace quor::platform
