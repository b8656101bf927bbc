// The driver mode end to end: the fixture executable and quor_test started
// with "--listen=-" on pipes, driven by the client of driver_client.hpp.
#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "driver_client.hpp"
#include "fixture/fixture_cases.hpp"
#include "test_functions.hpp"

namespace quor::test {
namespace {

using fixture::FixtureCase;

const std::string fixture_path = QUOR_PROTOCOL_FIXTURE;
const std::string quor_test_path = QUOR_TEST_EXECUTABLE;

constexpr std::uint32_t test_metadata_tag = 3;
constexpr std::uint32_t test_results_tag = 4;

template <class Registry>
std::vector<std::string_view> namesOf(const Registry& registry) {
  std::vector<std::string_view> names;
  for (const auto& entry : registry) names.push_back(entry.name);
  return names;
}

/// The metadata body as the layout gives it: head, name offsets, zero panic
/// offsets, then a 0 byte and every name with its own 0 byte.
ByteString expectedMetadata(const std::vector<std::string_view>& names) {
  ByteString strings{0};
  ByteString offsets;
  for (const std::string_view name : names) {
    putLe32(offsets, static_cast<std::uint32_t>(strings.size()));
    strings.insert(strings.end(), name.begin(), name.end());
    strings.push_back(0);
  }
  ByteString body;
  putLe32(body, static_cast<std::uint32_t>(strings.size()));
  putLe32(body, static_cast<std::uint32_t>(names.size()));
  body = body + offsets + ByteString(4 * names.size(), 0) + strings;
  return body;
}

Message resultsMessage(std::uint32_t index, std::uint32_t flags) {
  ByteString body;
  putLe32(body, index);
  putLe32(body, flags);
  return {test_results_tag, body};
}

/// Starts a runner and takes its version message.
class Runner : public DriverProcess {
 public:
  explicit Runner(const std::string& path = fixture_path) : DriverProcess(path) {
    EXPECT_EQ(readExactly(14), versionMessage()) << "the version message must come first, unasked";
  }

  std::optional<Message> ask(const ByteString& request) {
    if (!send(request)) return std::nullopt;
    return readMessage();
  }

  /// Sends exit and expects a quiet end with status 0 and nothing more.
  void exitCleanly() {
    ASSERT_TRUE(send(exitRequest()));
    EXPECT_TRUE(readToEnd().empty());
    const Ending ending = wait();
    EXPECT_TRUE(ending.exited && ending.status == 0) << "status " << ending.status << " signal " << ending.signal;
  }
};

TEST(DriverMode, SendsOnlyTheVersionUntilAsked) {
  DriverProcess runner(fixture_path);
  EXPECT_EQ(runner.readExactly(14), versionMessage());
  // Nothing more arrives unasked: with the input closed between messages the
  // runner ends quietly.
  runner.closeInput();
  EXPECT_TRUE(runner.readToEnd().empty());
  const Ending ending = runner.wait();
  EXPECT_TRUE(ending.exited);
  EXPECT_EQ(ending.status, 0);
  EXPECT_EQ(runner.stderrText(), "");
}

TEST(DriverMode, FixtureMetadataByteForByte) {
  Runner runner;
  const Message expected{test_metadata_tag, expectedMetadata(namesOf(fixture::fixture_cases))};
  EXPECT_EQ(runner.ask(queryMetadataRequest()), expected);
  // Asked again, the same answer: the registry is fixed.
  EXPECT_EQ(runner.ask(queryMetadataRequest()), expected);
  runner.exitCleanly();
  EXPECT_EQ(runner.stderrText(), "");
}

TEST(DriverMode, QuorTestMetadataMatchesItsRegistry) {
  Runner runner(quor_test_path);
  const std::optional<Message> answer = runner.ask(queryMetadataRequest());
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->tag, test_metadata_tag);
  EXPECT_EQ(answer->body, expectedMetadata(namesOf(runner::test_functions)));

  // The fixed points of the layout, independent of how the registry is read.
  const ByteString& body = answer->body;
  ASSERT_GE(body.size(), 8u + 8 * 50);
  EXPECT_EQ(getLe32(body, 4), 50u);
  EXPECT_EQ(getLe32(body, 8), 1u);
  for (std::size_t i = 0; i < 50; ++i) EXPECT_EQ(getLe32(body, 8 + 4 * 50 + 4 * i), 0u) << "panic offset " << i;
  EXPECT_EQ(getLe32(body, 0), body.size() - 8 - 8 * 50);
  const std::string_view first = "quor_physics.test.Physics: QuorBody creation normalizes position";
  const ByteString strings(body.begin() + 8 + 8 * 50, body.end());
  ASSERT_GT(strings.size(), first.size() + 2);
  EXPECT_EQ(strings[0], 0);
  EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(strings.data()) + 1, first.size()), first);
  EXPECT_EQ(strings[first.size() + 1], 0);
  runner.exitCleanly();
}

TEST(DriverMode, QuorTestAnswersEveryIndex) {
  Runner runner(quor_test_path);
  for (std::uint32_t i = 0; i < runner::test_functions.size(); ++i) {
    const std::optional<Message> answer = runner.ask(runTestRequest(i));
    ASSERT_TRUE(answer) << "no answer for index " << i;
    EXPECT_EQ(answer->tag, test_results_tag);
    ASSERT_EQ(answer->body.size(), 8u);
    EXPECT_EQ(getLe32(answer->body, 0), i);
  }
  runner.exitCleanly();
}

/// A case run alone, its flags, and what it leaves on standard error when
/// that is fixed text (the failing and leaking cases have their own tests).
struct CaseRow {
  FixtureCase index;
  std::uint32_t flags;
  std::optional<std::string_view> stderr_text;
};
// Names the row in test listings instead of dumping its bytes.
void PrintTo(const CaseRow& row, std::ostream* os) { *os << "case " << static_cast<int>(row.index); }

class FixtureCaseTest : public ::testing::TestWithParam<CaseRow> {};

TEST_P(FixtureCaseTest, AnswersItsFlags) {
  const CaseRow row = GetParam();
  Runner runner;
  EXPECT_EQ(runner.ask(runTestRequest(row.index)), resultsMessage(row.index, row.flags));
  runner.exitCleanly();
  if (row.stderr_text) {
    EXPECT_EQ(runner.stderrText(), *row.stderr_text);
  }
}

INSTANTIATE_TEST_SUITE_P(DriverMode, FixtureCaseTest,
                         ::testing::Values(CaseRow{fixture::pass_case, 0, ""},
                                           CaseRow{fixture::fail_case, 1, std::nullopt},
                                           CaseRow{fixture::skip_case, 2, ""},
                                           CaseRow{fixture::leak_case, 4 + 8 * 2, std::nullopt},
                                           CaseRow{fixture::log_errors_case, 8 * 2,
                                                   "[fixture] (err): first error\n[fixture] (warn): a warning\n"
                                                   "[fixture] (err): second error\n"},
                                           CaseRow{fixture::utf8_case, 0, ""}));

TEST(DriverMode, FailedCaseWritesItsErrorTrace) {
  Runner runner;
  EXPECT_EQ(runner.ask(runTestRequest(fixture::fail_case)), resultsMessage(fixture::fail_case, 1));
  runner.exitCleanly();
  // The check's message, then the trace through the case's return point.
  const std::string err = runner.stderrText();
  const std::string message = "actual 3e0, not within absolute tolerance 5e-1 of expected 2e0\n";
  ASSERT_EQ(err.substr(0, message.size()), message);
  EXPECT_NE(err.find("fixture_cases.cpp", message.size()), std::string::npos) << err;
}

TEST(DriverMode, LeakingCaseReportsBothAllocations) {
  Runner runner;
  EXPECT_EQ(runner.ask(runTestRequest(fixture::leak_case)), resultsMessage(fixture::leak_case, 20));
  runner.exitCleanly();
  const std::string err = runner.stderrText();
  std::size_t leaks = 0;
  for (std::size_t at = 0; (at = err.find("[gpa] (err): memory address 0x", at)) != std::string::npos; ++at) ++leaks;
  EXPECT_EQ(leaks, 2u) << err;
}

TEST(DriverMode, RunsOfTheSameIndexAreIndependent) {
  Runner runner;
  // The error count restarts for every run; a count kept across runs would
  // answer 32 and 40 the second time.
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(runner.ask(runTestRequest(fixture::log_errors_case)), resultsMessage(fixture::log_errors_case, 16));
    EXPECT_EQ(runner.ask(runTestRequest(fixture::leak_case)), resultsMessage(fixture::leak_case, 20));
    EXPECT_EQ(runner.ask(runTestRequest(fixture::fail_case)), resultsMessage(fixture::fail_case, 1));
    EXPECT_EQ(runner.ask(runTestRequest(fixture::pass_case)), resultsMessage(fixture::pass_case, 0));
  }
  runner.exitCleanly();
}

TEST(DriverMode, LogLevelIsNotResetBetweenCases) {
  Runner runner;
  EXPECT_EQ(runner.ask(runTestRequest(fixture::log_info_case)), resultsMessage(fixture::log_info_case, 0));
  EXPECT_EQ(runner.ask(runTestRequest(fixture::raise_level_case)), resultsMessage(fixture::raise_level_case, 0));
  EXPECT_EQ(runner.ask(runTestRequest(fixture::log_info_case)), resultsMessage(fixture::log_info_case, 0));
  runner.exitCleanly();
  // At warn the first info line is dropped; the raised level stays for the
  // second.
  EXPECT_EQ(runner.stderrText(), "[fixture] (info): an info line\n");
}

/// Requests of every kind, and the answers they must get, in order.
struct Exchange {
  ByteString requests;
  std::vector<Message> answers;
};

Exchange mixedExchange() {
  const Message metadata{test_metadata_tag, expectedMetadata(namesOf(fixture::fixture_cases))};
  return {queryMetadataRequest() + runTestRequest(fixture::skip_case) + runTestRequest(fixture::log_errors_case) +
              queryMetadataRequest() + runTestRequest(fixture::utf8_case),
          {metadata, resultsMessage(fixture::skip_case, 2), resultsMessage(fixture::log_errors_case, 16), metadata,
           resultsMessage(fixture::utf8_case, 0)}};
}

TEST(DriverMode, SeveralRequestsInOneWrite) {
  const Exchange exchange = mixedExchange();
  Runner runner;
  ASSERT_TRUE(runner.send(exchange.requests + exitRequest()));
  for (const Message& expected : exchange.answers) EXPECT_EQ(runner.readMessage(), expected);
  EXPECT_TRUE(runner.readToEnd().empty());
  const Ending ending = runner.wait();
  EXPECT_TRUE(ending.exited && ending.status == 0);
}

TEST(DriverMode, RequestsSplitByteByByte) {
  const Exchange exchange = mixedExchange();
  Runner runner;
  ASSERT_TRUE(runner.sendByteByByte(exchange.requests));
  for (const Message& expected : exchange.answers) EXPECT_EQ(runner.readMessage(), expected);
  runner.exitCleanly();
}

TEST(DriverMode, InputClosedBetweenMessagesEndsQuietly) {
  Runner runner;
  ASSERT_TRUE(runner.ask(runTestRequest(fixture::pass_case)));
  runner.closeInput();
  EXPECT_TRUE(runner.readToEnd().empty());
  const Ending ending = runner.wait();
  EXPECT_TRUE(ending.exited && ending.status == 0);
  EXPECT_EQ(runner.stderrText(), "");
}

TEST(DriverMode, ExitWithABodyEndsAtOnce) {
  Runner runner;
  // The announced body never comes and the input stays open: exit must not
  // wait for it.
  ASSERT_TRUE(runner.send(header(0, 1000)));
  EXPECT_TRUE(runner.readToEnd().empty());
  const Ending ending = runner.wait();
  EXPECT_TRUE(ending.exited && ending.status == 0);
  EXPECT_EQ(runner.stderrText(), "");
}

/// Input that ends the exchange with status 1 and exactly one text on
/// standard error. The input stays open unless `close_input`, so a runner
/// that waits for bytes it should not want times out.
struct RejectRow {
  const char* what;
  ByteString input;
  bool close_input;
  std::string_view message;
};
void PrintTo(const RejectRow& row, std::ostream* os) { *os << row.what; }

class RejectTest : public ::testing::TestWithParam<RejectRow> {};

TEST_P(RejectTest, EndsWithStatusOneAndOneMessage) {
  const RejectRow& row = GetParam();
  SCOPED_TRACE(row.what);
  Runner runner;
  ASSERT_TRUE(runner.send(row.input));
  if (row.close_input) runner.closeInput();
  EXPECT_TRUE(runner.readToEnd().empty()) << "nothing is answered";
  const Ending ending = runner.wait();
  EXPECT_FALSE(ending.timed_out) << "the runner waited for input it must not want";
  EXPECT_TRUE(ending.exited);
  EXPECT_EQ(ending.status, 1);
  EXPECT_EQ(runner.stderrText(), row.message);
}

// The unsupported tags: the lower-case hexadecimal tag, no line break.
INSTANTIATE_TEST_SUITE_P(Unsupported, RejectTest,
                         ::testing::Values(RejectRow{"update", header(1, 0), false, "unsupported message: 1"},
                                           RejectRow{"run", header(2, 0), false, "unsupported message: 2"},
                                           RejectRow{"hot_update", header(3, 0), false, "unsupported message: 3"},
                                           RejectRow{"first unknown", header(6, 0), false, "unsupported message: 6"},
                                           RejectRow{"ff", header(0xff, 0), false, "unsupported message: ff"},
                                           RejectRow{"body never sent", header(0xdeadbeef, 0xffffffff), false,
                                                     "unsupported message: deadbeef"}),
                         [](const auto& info) { return "row" + std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(
    Malformed, RejectTest,
    ::testing::Values(RejectRow{"index = size", runTestRequest(8), false,
                                "run_test index 8 is out of range: the registry has 8 cases\n"},
                      RejectRow{"largest index", runTestRequest(0xffffffff), false,
                                "run_test index 4294967295 is out of range: the registry has 8 cases\n"},
                      RejectRow{"run_test without body", header(5, 0), false,
                                "run_test carries 0 body bytes; it takes exactly 4, the case index\n"},
                      RejectRow{"run_test, 3 bytes", frame(5, {0, 0, 0}), false,
                                "run_test carries 3 body bytes; it takes exactly 4, the case index\n"},
                      RejectRow{"run_test, 5 bytes", frame(5, {0, 0, 0, 0, 0}), false,
                                "run_test carries 5 body bytes; it takes exactly 4, the case index\n"},
                      RejectRow{"run_test announcing 1000", header(5, 1000), false,
                                "run_test carries 1000 body bytes; it takes exactly 4, the case index\n"},
                      RejectRow{"metadata with body", header(4, 4), false,
                                "query_test_metadata carries 4 body bytes; it takes none\n"},
                      RejectRow{"input ends in a header", ByteString{5, 0, 0}, true,
                                "standard input ended inside a message header (3 of 8 bytes)\n"},
                      RejectRow{"input ends in a body", header(5, 4) + ByteString{1, 0}, true,
                                "standard input ended inside a run_test message (2 of 4 body bytes)\n"}),
    [](const auto& info) { return "row" + std::to_string(info.index); });

TEST(DriverMode, ReaderGoneIsAnInternalFailureNotSigpipe) {
  DriverProcess runner(fixture_path, {.stdout_reader_gone = true});
  const Ending ending = runner.wait();
  EXPECT_FALSE(ending.timed_out);
  EXPECT_EQ(ending.signal, SIGABRT) << "exited " << ending.exited << " status " << ending.status;
  EXPECT_NE(runner.stderrText().find("internal test runner failure"), std::string::npos) << runner.stderrText();
}

}  // namespace
}  // namespace quor::test
