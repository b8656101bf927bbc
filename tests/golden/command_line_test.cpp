// The command line: nothing, or only "--listen=-"; anything else stops the
// program before any case runs.
#include <signal.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "subprocess.hpp"

namespace quor::test {
namespace {

TEST(CommandLine, AnyOtherArgumentIsAFatalStopBeforeAnyCase) {
  const std::vector<std::vector<std::string>> rows = {
      {"--help"}, {"-"}, {"--listen"}, {"--listen="}, {"--listen=x"}, {"--listen=--"}, {"--listen=-", "-v"}, {""},
  };
  for (const auto& extra : rows) {
    SCOPED_TRACE(extra.back());
    std::vector<std::string> args{QUOR_TEST_PATH};
    args.insert(args.end(), extra.begin(), extra.end());
    const Outcome o = run(args);
    EXPECT_EQ(0u, o.err.find("thread ")) << o.err;
    EXPECT_NE(std::string::npos, o.err.find(" panic: unrecognized command line argument\n")) << o.err;
    EXPECT_EQ(std::string::npos, o.err.find("1/50")) << o.err;
    EXPECT_EQ("", o.out);
    EXPECT_EQ(SIGABRT, o.term_signal);
  }
}

TEST(CommandLine, ArgumentsThatDoNotFitTheScratchAreaAreAFatalStop) {
  const Outcome o = run({QUOR_TEST_PATH, std::string(5000, 'x')});
  EXPECT_NE(std::string::npos, o.err.find(" panic: unable to parse command line args\n")) << o.err;
  EXPECT_EQ(SIGABRT, o.term_signal);
}

TEST(CommandLine, ListenGivenTwiceSelectsTheDriverMode) {
  // With standard input closed at once, the driver mode sends its version
  // message and ends quietly.
  const Outcome o = run({QUOR_TEST_PATH, "--listen=-", "--listen=-"});
  EXPECT_EQ(std::string("\0\0\0\0\6\0\0\0"
                        "0.13.0",
                        14),
            o.out);
  EXPECT_EQ(std::string::npos, o.err.find("1/50")) << o.err;
  EXPECT_EQ(0, o.exit_code);
}

}  // namespace
}  // namespace quor::test
