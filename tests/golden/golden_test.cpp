// The report of a terminal run, byte for byte, and its exit status, for each
// kind of case outcome; run as a user would, as a separate process.
#include <elf.h>
#include <signal.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "subprocess.hpp"
#include "test_functions.hpp"

namespace quor::test {
namespace {

Outcome runFixture(const std::string& which, const std::string& shell_prefix = {}, std::vector<std::string> env = {}) {
  env.push_back("QUOR_FIXTURE=" + which);
  return run({QUOR_FIXTURE_PATH}, env, shell_prefix);
}

struct Golden {
  const char* fixture;
  const char* err;
  int exit_code;
};

const Golden exact_reports[] = {
    {"pass",
     "1/3 fixture.test.alpha...OK\n2/3 fixture.test.beta...OK\n3/3 fixture.test.gamma...OK\n"
     "All 3 tests passed.\n",
     0},
    {"skip",
     "1/3 fixture.test.alpha...OK\n2/3 fixture.test.beta...SKIP\n3/3 fixture.test.gamma...OK\n"
     "2 passed; 1 skipped; 0 failed.\n",
     0},
    {"log",
     "1/2 fixture.test.raise...[fixture] (info): info while raised\n[fixture] (err): one error\nOK\n"
     "2/2 fixture.test.reset...[fixture] (warn): warn after reset\nOK\n"
     "All 2 tests passed.\n1 errors were logged.\n",
     1},
};

TEST(TerminalRun, ReportsEachOutcomeExactly) {
  for (const Golden& g : exact_reports) {
    SCOPED_TRACE(g.fixture);
    const Outcome o = runFixture(g.fixture);
    EXPECT_EQ(g.err, o.err);
    EXPECT_EQ("", o.out);
    EXPECT_EQ(g.exit_code, o.exit_code);
  }
}

// A failed check: its message continues the case's line, the failure name
// follows on its own line, then the error trace, then the run goes on.
TEST(TerminalRun, FailedCheckWritesMessageNameAndTrace) {
  struct Row {
    const char* fixture;
    const char* failure_line;
  };
  const Row rows[] = {
      {"fail_approx",
       "2/3 fixture.test.beta...actual 3e0, not within absolute tolerance 5e-1 of expected 2e0\n"
       "FAIL (TestExpectedApproxEqAbs)\n"},
      {"fail_expect", "2/3 fixture.test.beta...FAIL (TestUnexpectedResult)\n"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.fixture);
    const Outcome o = runFixture(r.fixture);
    const std::string head = std::string("1/3 fixture.test.alpha...OK\n") + r.failure_line;
    const std::string tail = "3/3 fixture.test.gamma...OK\n2 passed; 0 skipped; 1 failed.\n";
    ASSERT_GE(o.err.size(), head.size() + tail.size()) << o.err;
    EXPECT_EQ(head, o.err.substr(0, head.size()));
    EXPECT_EQ(tail, o.err.substr(o.err.size() - tail.size()));
    const std::string trace = o.err.substr(head.size(), o.err.size() - head.size() - tail.size());
    EXPECT_NE(std::string::npos, trace.find("fixture_main.cpp")) << trace;
    EXPECT_EQ(1, o.exit_code);
  }
}

TEST(TerminalRun, LeakedAllocationsAreReportedAfterTheResultLine) {
  const Outcome o = runFixture("leak");
  const std::string head = "1/3 fixture.test.alpha...OK\n2/3 fixture.test.beta...OK\n[gpa] (err): memory address 0x";
  const std::string tail =
      "3/3 fixture.test.gamma...OK\nAll 3 tests passed.\n2 errors were logged.\n1 tests leaked memory.\n";
  EXPECT_EQ(head, o.err.substr(0, head.size())) << o.err;
  ASSERT_GE(o.err.size(), tail.size());
  EXPECT_EQ(tail, o.err.substr(o.err.size() - tail.size())) << o.err;
  const std::regex leak("\\[gpa\\] \\(err\\): memory address 0x[0-9a-f]+ leaked: ");
  EXPECT_EQ(2, std::distance(std::sregex_iterator(o.err.begin(), o.err.end(), leak), std::sregex_iterator()));
  EXPECT_EQ(1, o.exit_code);
}

TEST(TerminalRun, DoubleFreeIsLoggedAsAnError) {
  const Outcome o = runFixture("double_free");
  // Reported when the second free happens, inside the case.
  EXPECT_NE(std::string::npos, o.err.find("2/3 fixture.test.beta...[gpa] (err): Double free detected. Allocation: "))
      << o.err;
  const std::string tail = "All 3 tests passed.\n1 errors were logged.\n";
  EXPECT_EQ(tail, o.err.substr(o.err.size() - std::min(o.err.size(), tail.size()))) << o.err;
  EXPECT_EQ(1, o.exit_code);
}

// A fatal stop inside a case ends the whole run: no result line, no later
// case, no summary.
TEST(TerminalRun, PanicAndCrashEndTheRunWithAbort) {
  struct Row {
    const char* fixture;
    const char* pattern;
  };
  const Row rows[] = {
      {"panic", "2/3 fixture\\.test\\.beta\\.\\.\\.thread [0-9]+ panic: index out of bounds: index 5, len 4\n"},
      {"segv", "2/3 fixture\\.test\\.beta\\.\\.\\.Segmentation fault at address 0x[0-9a-f]+\n"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.fixture);
    const Outcome o = runFixture(r.fixture);
    EXPECT_EQ(0u, o.err.find("1/3 fixture.test.alpha...OK\n2/3 fixture.test.beta...")) << o.err;
    EXPECT_TRUE(std::regex_search(o.err, std::regex(r.pattern))) << o.err;
    EXPECT_EQ(std::string::npos, o.err.find("3/3")) << o.err;
    EXPECT_EQ(std::string::npos, o.err.find("passed")) << o.err;
    EXPECT_EQ(SIGABRT, o.term_signal);
  }
}

// What a terminal shows once the program has ended: carriage returns, line
// feeds and the erase and cursor-up sequences applied to a grid of lines.
std::vector<std::string> finalScreen(const std::string& bytes) {
  std::vector<std::string> lines(1);
  std::size_t row = 0, col = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r') {
      col = 0;
    } else if (c == '\n') {
      if (++row == lines.size()) lines.emplace_back();
    } else if (c == '\x1b' && i + 1 < bytes.size() && bytes[i + 1] == '[') {
      std::size_t j = i + 2;
      int n = 0;
      bool has_n = false;
      while (j < bytes.size() &&
             (std::isdigit(static_cast<unsigned char>(bytes[j])) || bytes[j] == '?' || bytes[j] == ';')) {
        if (std::isdigit(static_cast<unsigned char>(bytes[j]))) n = n * 10 + (bytes[j] - '0'), has_n = true;
        ++j;
      }
      if (j == bytes.size()) break;
      const char op = bytes[j];
      if (op == 'K') {
        if (n == 2)
          lines[row].clear();
        else if (col < lines[row].size())
          lines[row].resize(col);
      } else if (op == 'J') {
        if (col < lines[row].size()) lines[row].resize(col);
        lines.resize(row + 1);
      } else if (op == 'A') {
        row -= std::min(row, static_cast<std::size_t>(has_n ? n : 1));
      } else if (op == 'G') {
        col = has_n && n > 0 ? static_cast<std::size_t>(n - 1) : 0;
      }
      i = j;
    } else {
      if (lines[row].size() <= col) lines[row].resize(col + 1, ' ');
      lines[row][col++] = c;
    }
  }
  while (!lines.empty() && lines.back().find_first_not_of(' ') == std::string::npos) lines.pop_back();
  return lines;
}

TEST(TerminalRun, OnATerminalShowsProgressThenOnlyTheSummary) {
  const Outcome o = runOnTerminal({QUOR_FIXTURE_PATH}, {"QUOR_FIXTURE=slow"});
  EXPECT_EQ(0, o.exit_code);
  EXPECT_NE(std::string::npos, o.err.find("slow two")) << "the display never showed the running case";
  EXPECT_EQ(std::string::npos, o.err.find("1/3 fixture")) << o.err;
  EXPECT_EQ(std::vector<std::string>{"All 3 tests passed."}, finalScreen(o.err)) << o.err;
}

TEST(TerminalRun, SkipOnATerminalWritesTheWholeLine) {
  const Outcome o = runOnTerminal({QUOR_FIXTURE_PATH}, {"QUOR_FIXTURE=skip"});
  EXPECT_EQ(0, o.exit_code);
  EXPECT_EQ((std::vector<std::string>{"2/3 fixture.test.beta...SKIP", "2 passed; 1 skipped; 0 failed."}),
            finalScreen(o.err))
      << o.err;
}

TEST(StackLimit, RaisedToTheRequestedSizeWithinTheHardLimit) {
  struct Row {
    const char* ulimits;
    const char* expected_soft;
  };
  const Row rows[] = {
      {"ulimit -S -s 8192;", "16777216"},                      // raised to the GNU-stack size
      {"ulimit -S -s 32768;", "33554432"},                     // already above: left alone
      {"ulimit -H -s 12288; ulimit -S -s 8192;", "12582912"},  // capped at the hard limit
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.ulimits);
    const Outcome o = runFixture("stack", r.ulimits, {std::string("QUOR_EXPECT_STACK_SOFT=") + r.expected_soft});
    EXPECT_EQ("1/1 fixture.test.stack...OK\nAll 1 tests passed.\n", o.err);
    EXPECT_EQ(0, o.exit_code);
  }
}

TEST(StackLimit, ExecutableAsksForSixteenMebibytes) {
  std::ifstream file(QUOR_TEST_PATH, std::ios::binary);
  const std::string image((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  ASSERT_GE(image.size(), sizeof(Elf64_Ehdr));
  Elf64_Ehdr header;
  std::memcpy(&header, image.data(), sizeof header);
  std::uint64_t gnu_stack_size = 0;
  for (unsigned i = 0; i < header.e_phnum; ++i) {
    Elf64_Phdr ph;
    std::memcpy(&ph, image.data() + header.e_phoff + i * sizeof ph, sizeof ph);
    if (ph.p_type == PT_GNU_STACK) {
      gnu_stack_size = ph.p_memsz;
      break;
    }
  }
  EXPECT_EQ(16777216u, gnu_stack_size);
}

TEST(ProductRun, EveryRegisteredCasePassesInOrder) {
  const Outcome o = run({QUOR_TEST_PATH});
  std::string expected;
  const auto& registry = runner::test_functions;
  for (std::size_t i = 0; i < registry.size(); ++i) {
    expected += std::to_string(i + 1) + "/50 " + std::string(registry[i].name) + "...OK\n";
  }
  expected += "All 50 tests passed.\n";
  EXPECT_EQ(50u, registry.size());
  EXPECT_EQ(expected, o.err);
  EXPECT_EQ(0, o.exit_code);
}

TEST(ProductRun, OnATerminalOnlyTheSummaryRemains) {
  const Outcome o = runOnTerminal({QUOR_TEST_PATH});
  EXPECT_EQ(0, o.exit_code);
  EXPECT_EQ(std::vector<std::string>{"All 50 tests passed."}, finalScreen(o.err)) << o.err;
}

}  // namespace
}  // namespace quor::test
