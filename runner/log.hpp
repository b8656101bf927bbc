// The process's log sink: one line per message, "[scope] (level): message",
// for levels up to testing.log_level; error-level messages are counted.
#pragma once

#include <cstdint>
#include <string_view>

#include "testing.hpp"

namespace quor::runner {

/// Error-level messages since start (terminal run) or since the case began
/// (driver mode); saturates at 2^64 - 1.
extern std::uint64_t log_err_count;

std::string_view levelName(testing::LogLevel level);

void log(testing::LogLevel level, std::string_view scope, std::string_view message);

}  // namespace quor::runner
