// The source line under a frame, read back from a file: tabs and UTF-8 kept
// in line with the caret, and nothing at all for what cannot be read.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/frame_text.hpp"

namespace quor::platform::detail {
namespace {

struct Row {
  const char* what;
  const char* content;
  std::uint64_t line;
  std::uint64_t column;
  const char* expected;
};

TEST(SourceLine, Table) {
  const Row rows[] = {
      {"caret under the column", "first\n  second = 1;\nthird\n", 2, 5, "  second = 1;\n    ^\n"},
      {"tabs repeated in the caret line", "\tb = x;\n", 1, 3, "\tb = x;\n\t ^\n"},
      {"a UTF-8 character is one column", "\xCE\xB3(0) = p\n", 1, 5, "\xCE\xB3(0) = p\n   ^\n"},
      {"no column, no caret", "a\nb\n", 2, 0, "b\n"},
      {"column one past the end", "ab\n", 1, 3, "ab\n  ^\n"},
      {"column further out", "ab\n", 1, 9, "ab\n"},
      {"carriage return dropped", "x = 1;\r\ny\n", 1, 1, "x = 1;\n^\n"},
      {"last line without line break", "a\nlast", 2, 0, "last\n"},
      {"empty line", "a\n\nc\n", 2, 0, "\n"},
      {"line past the end", "a\nb\n", 3, 0, ""},
      {"line zero", "a\n", 0, 0, ""},
  };
  for (const Row& row : rows) {
    char path[] = "/tmp/quor-source-XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    const std::string content = row.content;
    ASSERT_EQ(::write(fd, content.data(), content.size()), static_cast<ssize_t>(content.size()));
    ::close(fd);
    std::string text;
    putSourceLine(textOut(text), path, row.line, row.column);
    EXPECT_EQ(text, row.expected) << row.what;
    ::unlink(path);
  }
}

TEST(SourceLine, LongLinesAreWrittenWhole) {
  const std::string long_line(10000, 'x');
  char path[] = "/tmp/quor-source-XXXXXX";
  const int fd = ::mkstemp(path);
  ASSERT_GE(fd, 0);
  const std::string content = "a\n" + long_line + "\n";
  ASSERT_EQ(::write(fd, content.data(), content.size()), static_cast<ssize_t>(content.size()));
  ::close(fd);
  std::string text;
  putSourceLine(textOut(text), path, 2, 0);
  EXPECT_EQ(text, long_line + "\n");
  ::unlink(path);
}

TEST(SourceLine, UnreadableFileWritesNothing) {
  std::string text;
  putSourceLine(textOut(text), "/nonexistent/quor/file.cpp", 1, 1);
  putSourceLine(textOut(text), "", 1, 1);
  putSourceLine(textOut(text), nullptr, 1, 1);
  EXPECT_EQ(text, "");
}

TEST(Numbers, DecimalAndHexWithoutPadding) {
  std::string text;
  putDecimal(textOut(text), 0);
  text += ' ';
  putDecimal(textOut(text), 18446744073709551615u);
  text += ' ';
  putHex(textOut(text), 0);
  text += ' ';
  putHex(textOut(text), 0x7ffd1234abcdu);
  text += ' ';
  putHex(textOut(text), 0xffffffffffffffffu);
  EXPECT_EQ(text, "0 18446744073709551615 0 7ffd1234abcd ffffffffffffffff");
}

}  // namespace
}  // namespace quor::platform::detail
