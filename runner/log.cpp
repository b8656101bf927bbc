#include "log.hpp"

#include <limits>
#include <string>

#include "platform/stderr.hpp"

namespace quor::runner {

std::uint64_t log_err_count = 0;

std::string_view levelName(testing::LogLevel level) {
  switch (level) {
    case testing::LogLevel::err:
      return "err";
    case testing::LogLevel::warn:
      return "warn";
    case testing::LogLevel::info:
      return "info";
    case testing::LogLevel::debug:
      return "debug";
  }
  return "err";
}

void log(testing::LogLevel level, std::string_view scope, std::string_view message) {
  if (level == testing::LogLevel::err && log_err_count != std::numeric_limits<std::uint64_t>::max()) ++log_err_count;
  if (level > testing::log_level) return;
  std::string line;
  line.reserve(scope.size() + message.size() + 16);
  line.append("[").append(scope).append("] (").append(levelName(level)).append("): ").append(message).append("\n");
  platform::writeStderr(line);
}

}  // namespace quor::runner
