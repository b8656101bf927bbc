// Stack traces: return addresses captured now, written later one frame per
// line, symbolised to file, line and function, with the source line where the
// file can be read. Safe to use in the fatal-signal handler once
// initStackTraces has run (with raw names there: demangling allocates).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "stderr.hpp"

namespace quor::platform {

/// Reads nothing yet, but sets up the symboliser so that later traces need
/// no allocation. Called at start-up, before any handler that writes traces
/// is installed; every other entry point also calls it on first use.
void initStackTraces();

/// Fills addresses with the return addresses of the calling thread, the
/// caller of captureStackTrace first after `skip` further frames; answers how
/// many were stored. Each address already points into its call instruction.
std::size_t captureStackTrace(std::span<std::uintptr_t> addresses, std::size_t skip = 0);

/// How function names are written: demangled, or as the symbol table has
/// them (what the fatal-signal handler uses, since demangling allocates).
enum class FunctionNames : std::uint8_t { demangled, raw };

/// Writes the symbolised frames of addresses, one per line, each followed by
/// its source line where the file can be read.
void writeStackTrace(StderrLock& out, std::span<const std::uintptr_t> addresses,
                     FunctionNames names = FunctionNames::demangled);

/// The same text as writeStackTrace, as a string (for log messages).
std::string formatStackTrace(std::span<const std::uintptr_t> addresses);

/// Captures and writes the stack of the calling thread, from its caller on.
void writeCurrentStackTrace(StderrLock& out);

}  // namespace quor::platform
