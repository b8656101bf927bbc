// run_test round trips per second against a driver-mode server, side by side
// with an echo server over the same pipes. Goal: at least half the echo rate.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern char** environ;

namespace {

/// A child process with its standard input and output on pipes.
class Child {
 public:
  explicit Child(const char* path) {
    int in[2];
    int out[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) std::abort();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    std::string arg0 = path;
    std::string arg1 = "--listen=-";
    char* argv[] = {arg0.data(), arg1.data(), nullptr};
    if (::posix_spawn(&pid_, path, &actions, nullptr, argv, environ) != 0) std::abort();
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    to_ = in[1];
    from_ = out[0];
  }

  ~Child() {
    ::close(to_);
    ::close(from_);
    ::waitpid(pid_, nullptr, 0);
  }

  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool send(const std::uint8_t* bytes, std::size_t len) {
    while (len > 0) {
      const ssize_t n = ::write(to_, bytes, len);
      if (n <= 0) return false;
      bytes += n;
      len -= static_cast<std::size_t>(n);
    }
    return true;
  }

  bool receive(std::uint8_t* bytes, std::size_t len) {
    while (len > 0) {
      const ssize_t n = ::read(from_, bytes, len);
      if (n <= 0) return false;
      bytes += n;
      len -= static_cast<std::size_t>(n);
    }
    return true;
  }

 private:
  pid_t pid_ = -1;
  int to_ = -1;
  int from_ = -1;
};

// run_test for index 0, and the answer a passing case gets.
constexpr std::array<std::uint8_t, 12> run_test_request{5, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0};
constexpr std::array<std::uint8_t, 16> passed_answer{4, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

void roundTrips(benchmark::State& state, Child& child, std::size_t answer_len, const std::uint8_t* expected) {
  std::array<std::uint8_t, 16> answer{};
  for (auto _ : state) {
    if (!child.send(run_test_request.data(), run_test_request.size()) || !child.receive(answer.data(), answer_len)) {
      state.SkipWithError("the server went away");
      return;
    }
  }
  if (std::memcmp(answer.data(), expected, answer_len) != 0) state.SkipWithError("wrong answer");
  state.counters["round_trips_per_second"] =
      benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_DriverRunTest(benchmark::State& state) {
  std::signal(SIGPIPE, SIG_IGN);
  Child server(QUOR_BENCH_DRIVER_SERVER);
  std::array<std::uint8_t, 14> version{};
  if (!server.receive(version.data(), version.size())) {
    state.SkipWithError("no version message");
    return;
  }
  roundTrips(state, server, passed_answer.size(), passed_answer.data());
}

void BM_EchoRoundTrip(benchmark::State& state) {
  std::signal(SIGPIPE, SIG_IGN);
  Child echo(QUOR_BENCH_ECHO_SERVER);
  roundTrips(state, echo, run_test_request.size(), run_test_request.data());
}

// Wall-clock time: the driver spends a round trip mostly waiting.
BENCHMARK(BM_EchoRoundTrip)->UseRealTime();
BENCHMARK(BM_DriverRunTest)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
