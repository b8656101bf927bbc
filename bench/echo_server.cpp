// The baseline of the round-trip benchmark: reads standard input and writes
// each chunk back to standard output, until the input ends.
#include <unistd.h>

#include <cerrno>

int main() {
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n == 0 ? 0 : 1;
    for (ssize_t done = 0; done < n;) {
      const ssize_t w = ::write(STDOUT_FILENO, buffer + done, static_cast<std::size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) return 1;
      done += w;
    }
  }
}
