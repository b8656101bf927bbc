// Redirects file descriptor 2 into a temporary file for the life of the
// object, so a test can read back exactly what was written to standard error.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <string>

namespace quor::test {

class CapturedStderr {
 public:
  CapturedStderr() : file_(std::tmpfile()) {
    std::fflush(stderr);
    saved_ = ::dup(STDERR_FILENO);
    ::dup2(::fileno(file_), STDERR_FILENO);
  }
  ~CapturedStderr() {
    restore();
    std::fclose(file_);
  }
  CapturedStderr(const CapturedStderr&) = delete;
  CapturedStderr& operator=(const CapturedStderr&) = delete;

  /// Stops capturing and answers everything written meanwhile.
  std::string text() {
    restore();
    std::string bytes;
    char chunk[4096];
    ::lseek(::fileno(file_), 0, SEEK_SET);
    for (ssize_t n; (n = ::read(::fileno(file_), chunk, sizeof chunk)) > 0;)
      bytes.append(chunk, static_cast<std::size_t>(n));
    return bytes;
  }

 private:
  void restore() {
    if (saved_ < 0) return;
    ::dup2(saved_, STDERR_FILENO);
    ::close(saved_);
    saved_ = -1;
  }

  std::FILE* file_;
  int saved_ = -1;
};

}  // namespace quor::test
