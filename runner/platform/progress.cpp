#include "progress.hpp"

#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "frame_text.hpp"
#include "stderr.hpp"

namespace quor::platform::progress {
namespace {

constexpr auto redraw_interval = std::chrono::milliseconds(80);
constexpr std::size_t default_width = 80;

// What is shown, guarded by `mutex`. The drawing thread never holds it
// together with the standard-error lock, so a writer that holds that lock may
// still start and end nodes.
struct Display {
  std::mutex mutex;
  std::condition_variable wake;
  bool stopping = false;
  std::string root;
  std::string child;
  bool has_child = false;
  std::uint64_t done = 0;
  std::uint64_t total = 0;
  std::thread drawer;
};

Display display;

// Whether a line is on the terminal now. Read and written only with the
// standard-error lock held, including from the fatal-signal handler.
std::atomic<bool> drawn{false};
// Set on the drawing thread while it writes, so that taking the lock does not
// erase the line it is about to replace.
thread_local bool drawing = false;

std::size_t terminalWidth() {
  winsize size{};
  if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return default_width;
  return size.ws_col;
}

// Cuts text to at most `columns` characters, counting a UTF-8 sequence as
// one, and never inside a sequence.
void truncateToColumns(std::string& text, std::size_t columns) {
  std::size_t seen = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xc0) == 0x80) continue;
    if (seen == columns) {
      text.resize(i);
      return;
    }
    ++seen;
  }
}

std::string lineText() {
  const std::lock_guard lock(display.mutex);
  char number[detail::max_number_text];
  std::string line = "[";
  line.append(number, detail::formatDecimal(number, display.done + (display.has_child ? 1 : 0)));
  if (display.total != 0) line.append("/").append(number, detail::formatDecimal(number, display.total));
  line.append("] ").append(display.root);
  if (display.has_child) line.append(" \xE2\x80\xBA ").append(display.child);  // U+203A
  return line;
}

void draw() {
  std::string line = lineText();
  // One column short of the width: writing the last column would make some
  // terminals wrap, and the next erase would miss the first line.
  truncateToColumns(line, terminalWidth() - 1);
  drawing = true;
  StderrLock out;
  drawing = false;
  out.write("\r" + line + "\x1b[K");
  drawn.store(true);
}

void redrawUntilStopped() {
  std::unique_lock lock(display.mutex);
  while (!display.wake.wait_for(lock, redraw_interval, [] { return display.stopping; })) {
    lock.unlock();
    draw();
    lock.lock();
  }
}

}  // namespace

void start(std::string_view root_name, std::uint64_t estimated_total) {
  if (!stderrIsTerminal()) return;
  {
    const std::lock_guard lock(display.mutex);
    if (display.drawer.joinable()) return;
    display.root.assign(root_name);
    display.child.clear();
    display.has_child = false;
    display.done = 0;
    display.total = estimated_total;
    display.stopping = false;
  }
  // The first drawing is made here, so that even a run shorter than one
  // interval shows.
  draw();
  display.drawer = std::thread(redrawUntilStopped);
}

void startChild(std::string_view name) {
  const std::lock_guard lock(display.mutex);
  display.child.assign(name);
  display.has_child = true;
}

void endChild() {
  const std::lock_guard lock(display.mutex);
  display.has_child = false;
  display.child.clear();
  ++display.done;
}

void end() {
  {
    const std::lock_guard lock(display.mutex);
    if (!display.drawer.joinable()) return;
    display.stopping = true;
  }
  display.wake.notify_all();
  display.drawer.join();
  StderrLock out;  // erases the last drawing
}

void clearLocked() {
  if (drawing || !drawn.load()) return;
  static constexpr char erase[] = "\r\x1b[2K";
  // The lock is held; write directly, as the fatal-signal handler may be the
  // one asking.
  ssize_t n;
  do n = ::write(STDERR_FILENO, erase, sizeof erase - 1);
  while (n < 0 && errno == EINTR);
  drawn.store(false);
}

}  // namespace quor::platform::progress
