// The progress display: drawn on a terminal by its own thread and erased
// before every other write; nothing at all off a terminal.
#include "platform/progress.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "captured_stderr.hpp"
#include "platform/stderr.hpp"

namespace quor::platform {
namespace {

std::size_t threadCount() {
  std::size_t n = 0;
  if (DIR* tasks = ::opendir("/proc/self/task")) {
    while (const dirent* entry = ::readdir(tasks)) n += entry->d_name[0] != '.';
    ::closedir(tasks);
  }
  return n;
}

TEST(Progress, OffATerminalNothingIsDrawnAndNoThreadStarts) {
  if (stderrIsTerminal()) GTEST_SKIP() << "standard error is a terminal here";
  const std::size_t threads = threadCount();
  test::CapturedStderr err;
  progress::start("Test", 2);
  EXPECT_EQ(threadCount(), threads);
  progress::startChild("first");
  writeStderr("line\n");
  progress::endChild();
  progress::end();
  EXPECT_EQ(err.text(), "line\n");
}

// What a terminal 24 columns wide receives; gathered in a child process
// whose standard error is the far end of a pseudo-terminal.
std::string drawnOnATerminal() {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return "no pseudo-terminal";
  const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
  termios raw{};
  ::tcgetattr(slave, &raw);
  ::cfmakeraw(&raw);  // bytes through unchanged: no "\r" added before "\n"
  ::tcsetattr(slave, TCSANOW, &raw);
  const winsize size{1, 24, 0, 0};
  ::ioctl(slave, TIOCSWINSZ, &size);
  const int saved = ::dup(STDERR_FILENO);
  ::dup2(slave, STDERR_FILENO);

  const std::size_t threads = threadCount();
  progress::start("Test", 3);
  progress::startChild("a case with a long name");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // a few redraws
  writeStderr("report\n");
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // drawn again
  progress::endChild();
  progress::end();
  const bool thread_gone = threadCount() == threads;

  ::dup2(saved, STDERR_FILENO);
  std::string bytes;
  ::fcntl(master, F_SETFL, O_NONBLOCK);
  char chunk[4096];
  for (ssize_t n; (n = ::read(master, chunk, sizeof chunk)) > 0;) bytes.append(chunk, static_cast<std::size_t>(n));
  return thread_gone ? bytes : "redraw thread still running";
}

void checkTerminalDrawing() {
  const std::string bytes = drawnOnATerminal();
  const std::string erase = "\r\x1b[2K";
  const std::string first = "\r[0/3] Test\x1b[K";
  // Cut to 23 of the 24 columns; "›" is one column of three bytes.
  const std::string child = "\r[1/3] Test \xE2\x80\xBA a case wit\x1b[K";
  const char* fault = nullptr;
  if (bytes.rfind(first, 0) != 0) {
    fault = "the first drawing is made at once";
  } else if (bytes.find(child) == std::string::npos) {
    fault = "the child is drawn, cut to the width";
  } else if (bytes.find(erase + "report\n") == std::string::npos) {
    fault = "another write erases the display first";
  } else if (bytes.size() < erase.size() || bytes.compare(bytes.size() - erase.size(), erase.size(), erase) != 0) {
    fault = "the display is erased at the end";
  }
  if (fault == nullptr) std::_Exit(0);
  std::fprintf(stderr, "%s; received:\n", fault);
  for (const char c : bytes) {
    if (c == '\x1b') {
      std::fputs("<ESC>", stderr);
    } else if (c == '\r') {
      std::fputs("<CR>", stderr);
    } else {
      std::fputc(c, stderr);
    }
  }
  std::_Exit(1);
}

TEST(ProgressDeathTest, OnATerminalDrawsRedrawsAndErases) {
  // A fresh process, which decides anew whether standard error is a terminal.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(checkTerminalDrawing(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace quor::platform
