// Runs a program to its end with captured standard output and error, for
// black-box tests of the executables.
#pragma once

#include <string>
#include <vector>

namespace quor::test {

struct Outcome {
  std::string out;
  std::string err;
  int exit_code = -1;   ///< the status, when it exited
  int term_signal = 0;  ///< the signal that ended it, if one did
};

struct Launch {
  std::vector<std::string> args;  ///< args[0] is the program path
  std::vector<std::string> env;   ///< NAME=value added to this process's environment
  std::string stdin_bytes;        ///< written to its standard input, which is then closed
  std::string shell_prefix;       ///< if set, runs `sh -c "<prefix> exec \"$0\" \"$@\""` (for ulimit)
};

Outcome run(const Launch& launch);

/// Runs under a new pseudo-terminal (standard input, output and error), and
/// answers everything the terminal received in `err`.
Outcome runOnTerminal(const Launch& launch);

}  // namespace quor::test
