// The build-driver mode: a message loop on standard input and output.
//
// Every message is an 8-byte header (tag, body length; u32 little-endian)
// and its body. The runner sends the version message first, then answers
// query_test_metadata with the registry's names and run_test with a case's
// outcome, one request at a time, until the driver sends exit.
#pragma once

#include <cstdint>
#include <string>

#include "quor/allocator.hpp"
#include "quor/error.hpp"
#include "registry.hpp"
#include "server_io.hpp"

namespace quor::runner {

/// Tags of the messages from the driver.
enum class DriverTag : std::uint32_t {
  exit = 0,                 ///< ends the process with status 0, unanswered
  update = 1,               ///< unsupported
  run = 2,                  ///< unsupported
  hot_update = 3,           ///< unsupported
  query_test_metadata = 4,  ///< answered by test_metadata
  run_test = 5,             ///< body: the u32 registry index; answered by test_results
};

/// Tags of the messages from the runner.
enum class RunnerTag : std::uint32_t {
  version = 0,        ///< body "0.13.0", sent once, first
  error_bundle = 1,   ///< never sent
  emit_bin_path = 2,  ///< never sent
  test_metadata = 3,  ///< names of the registry
  test_results = 4,   ///< index and flags of one run
};

inline constexpr std::string_view server_version = "0.13.0";
inline constexpr std::size_t header_len = 8;

/// The largest log_err_count the flags carry: bits 3 to 31.
inline constexpr std::uint64_t max_flag_err_count = (std::uint64_t{1} << 29) - 1;

/// The flags of test_results: bit 0 fail, bit 1 skip, bit 2 leak, bits 3 to
/// 31 the error count clamped to max_flag_err_count.
std::uint32_t packFlags(bool fail, bool skip, bool leak, std::uint64_t log_err_count);

/// How an exchange ended short of a failure of the runner itself: the exit
/// status, and the text for standard error to go with it (empty after exit
/// or at the end of the input between messages).
struct ServerExit {
  int status = 0;
  std::string message;
};

/// The message loop: sends the version message, then receives and answers
/// requests until one ends the exchange. The receive buffer grows in
/// `scratch`. Answers a failure when reading, writing or memory fails.
///
/// Beyond the tags the protocol defines, it ends the exchange with status 1
/// and one line for standard error when the input ends inside a message, on a
/// run_test whose body is not 4 bytes or whose index is not below the
/// registry size, and on a query_test_metadata with a body. Lengths are
/// judged from the header, before any body byte is awaited: a body is only
/// ever awaited for run_test (4 bytes), so no length announced in a header
/// decides how much is buffered.
Result<ServerExit> serve(ServerIo io, Registry registry, Allocator scratch);

/// Serves the driver on standard input and output until it sends exit or an
/// unsupported message (both end the process); answers a failure when
/// reading, writing or memory fails.
Status mainServer(Registry registry);

}  // namespace quor::runner
