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

/// Runs args (args[0] is the program path) with standard input closed and
/// NAME=value entries of env added to this process's environment. With a
/// shell prefix it runs `sh -c "<prefix> exec \"$0\" \"$@\""` (for ulimit).
Outcome run(const std::vector<std::string>& args, const std::vector<std::string>& env = {},
            const std::string& shell_prefix = {});

/// Runs under a new pseudo-terminal (standard input, output and error), and
/// answers everything the terminal received in `err`.
Outcome runOnTerminal(const std::vector<std::string>& args, const std::vector<std::string>& env = {});

}  // namespace quor::test
