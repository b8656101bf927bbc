#include "test_runner.hpp"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "case_run.hpp"
#include "fixed_buffer.hpp"
#include "log.hpp"
#include "platform/progress.hpp"
#include "platform/startup.hpp"
#include "platform/stderr.hpp"
#include "quor/panic.hpp"
#include "server.hpp"

namespace quor::runner {

void posixCallMainAndExit(int argc, char** argv, Registry registry) {
  platform::raiseStackLimit();
  platform::installPanicHandler();
  platform::installFatalSignalHandler();
  platform::installNoopSigpipeHandler();
  runMain(argc, argv, registry);
  std::exit(0);
}

void runMain(int argc, char** argv, Registry registry) {
  // Every argument is copied into the fixed scratch area first; the driver
  // mode's receive buffer later grows in what is left of it.
  const Allocator scratch = fba.allocator();
  const auto args = scratch.alloc<std::string_view>(static_cast<std::size_t>(argc));
  if (args.failed()) panic("unable to parse command line args");
  for (int i = 0; i < argc; ++i) {
    const std::size_t len = std::strlen(argv[i]);
    const auto copy = scratch.alloc<char>(len);
    if (copy.failed()) panic("unable to parse command line args");
    std::memcpy(copy.value().data(), argv[i], len);
    args.value()[static_cast<std::size_t>(i)] = {copy.value().data(), len};
  }

  bool listen = false;
  for (std::size_t i = 1; i < args.value().size(); ++i) {
    if (args.value()[i] != "--listen=-") panic("unrecognized command line argument");
    listen = true;
  }
  if (listen) {
    if (mainServer(registry).failed()) panic("internal test runner failure");
    return;
  }
  mainTerminal(registry);
}

namespace {

std::string caseLine(std::size_t index, std::size_t total, std::string_view name) {
  return std::to_string(index) + "/" + std::to_string(total) + " " + std::string(name) + "...";
}

}  // namespace

void mainTerminal(Registry registry) {
  const std::uint64_t n = registry.size();
  platform::progress::start("Test", n);
  const bool have_tty = platform::stderrIsTerminal();

  std::uint64_t ok_count = 0;
  std::uint64_t skip_count = 0;
  std::uint64_t fail_count = 0;
  std::uint64_t leaks = 0;

  for (std::size_t i = 0; i < registry.size(); ++i) {
    const TestFn& test = registry[i];
    resetCaseAllocator();
    testing::log_level = testing::LogLevel::warn;
    platform::progress::startChild(test.name);
    const std::string prefix = caseLine(i + 1, registry.size(), test.name);
    if (!have_tty) platform::writeStderr(prefix);

    const Status result = callCase(test);
    if (!result.failed()) {
      ++ok_count;
      platform::progress::endChild();
      if (!have_tty) platform::writeStderr("OK\n");
    } else if (result.error() == testing::SkipCase) {
      ++skip_count;
      platform::writeStderr(have_tty ? prefix + "SKIP\n" : std::string("SKIP\n"));
      platform::progress::endChild();
    } else {
      ++fail_count;
      {
        platform::StderrLock out;
        const std::string tail = "FAIL (" + std::string(result.error().name) + ")\n";
        out.write(have_tty ? prefix + tail : tail);
        writeCaseErrorTrace(out);
      }
      platform::progress::endChild();
    }
    if (finishCaseAllocator()) ++leaks;
  }
  platform::progress::end();

  std::string summary;
  if (ok_count == n) {
    summary = "All " + std::to_string(ok_count) + " tests passed.\n";
  } else {
    summary = std::to_string(ok_count) + " passed; " + std::to_string(skip_count) + " skipped; " +
              std::to_string(fail_count) + " failed.\n";
  }
  if (log_err_count != 0) summary += std::to_string(log_err_count) + " errors were logged.\n";
  if (leaks != 0) summary += std::to_string(leaks) + " tests leaked memory.\n";
  platform::writeStderr(summary);

  if (leaks != 0 || log_err_count != 0 || fail_count != 0) std::exit(1);
}

}  // namespace quor::runner
