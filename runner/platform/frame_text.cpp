#include "frame_text.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace quor::platform::detail {
namespace {

void putStderr(void* ctx, std::string_view bytes) { static_cast<StderrLock*>(ctx)->write(bytes); }
void putString(void* ctx, std::string_view bytes) { static_cast<std::string*>(ctx)->append(bytes); }

// Widest prefix under which a caret is still drawn; a column further right
// gets the source line alone.
constexpr std::size_t max_caret_column = 256;

// Streams one line of a file through a small buffer, so that no allocation
// happens and any line length works.
class LineReader {
 public:
  explicit LineReader(const char* file) : fd_(::open(file, O_RDONLY | O_CLOEXEC)) {}
  ~LineReader() {
    if (fd_ >= 0) ::close(fd_);
  }
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  /// The next byte, or -1 at the end of the file or on a read error.
  int next() {
    if (at_ == end_) {
      if (fd_ < 0) return -1;
      ssize_t n;
      do n = ::read(fd_, buffer_, sizeof buffer_);
      while (n < 0 && errno == EINTR);
      if (n <= 0) return -1;
      at_ = 0;
      end_ = static_cast<std::size_t>(n);
    }
    return static_cast<unsigned char>(buffer_[at_++]);
  }

 private:
  int fd_;
  char buffer_[4096];
  std::size_t at_ = 0;
  std::size_t end_ = 0;
};

}  // namespace

TextOut textOut(StderrLock& out) { return {&out, putStderr}; }
TextOut textOut(std::string& out) { return {&out, putString}; }

std::size_t formatDecimal(char* out, std::uint64_t value) {
  char reversed[max_number_text];
  std::size_t n = 0;
  do {
    reversed[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  for (std::size_t i = 0; i < n; ++i) out[i] = reversed[n - 1 - i];
  return n;
}

std::size_t formatHex(char* out, std::uint64_t value) {
  static constexpr char digits[] = "0123456789abcdef";
  char reversed[max_number_text];
  std::size_t n = 0;
  do {
    reversed[n++] = digits[value & 0xf];
    value >>= 4;
  } while (value != 0);
  for (std::size_t i = 0; i < n; ++i) out[i] = reversed[n - 1 - i];
  return n;
}

void putDecimal(TextOut out, std::uint64_t value) {
  char text[max_number_text];
  out({text, formatDecimal(text, value)});
}

void putHex(TextOut out, std::uint64_t value) {
  char text[max_number_text];
  out({text, formatHex(text, value)});
}

void putSourceLine(TextOut out, const char* file, std::uint64_t line, std::uint64_t column) {
  if (file == nullptr || *file == '\0' || line == 0) return;
  LineReader reader(file);
  int c = 0;
  for (std::uint64_t newlines = 0; newlines + 1 < line;) {
    c = reader.next();
    if (c < 0) return;
    if (c == '\n') ++newlines;
  }

  // The caret line repeats the tabs of the prefix so that it lines up, and
  // gives each UTF-8 character one column.
  char caret[max_caret_column + 2];
  std::size_t caret_len = 0;
  std::uint64_t bytes_seen = 0;
  char chunk[256];
  std::size_t chunk_len = 0;
  bool any = false;
  while ((c = reader.next()) >= 0 && c != '\n') {
    any = true;
    if (column > 0 && bytes_seen + 1 < column && caret_len < max_caret_column) {
      if (c == '\t') {
        caret[caret_len++] = '\t';
      } else if ((c & 0xc0) != 0x80) {
        caret[caret_len++] = ' ';
      }
    }
    ++bytes_seen;
    if (c == '\r') continue;
    chunk[chunk_len++] = static_cast<char>(c);
    if (chunk_len == sizeof chunk) {
      out({chunk, chunk_len});
      chunk_len = 0;
    }
  }
  if (!any && c < 0) return;  // past the end of the file
  out({chunk, chunk_len});
  out("\n");
  if (column == 0 || column > max_caret_column || column > bytes_seen + 1) return;
  caret[caret_len++] = '^';
  caret[caret_len++] = '\n';
  out({caret, caret_len});
}

}  // namespace quor::platform::detail
