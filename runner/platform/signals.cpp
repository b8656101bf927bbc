// PLACEHOLDER: the platform layer replaces this file.
#include <csignal>
#include <cstring>
#include <string>

#include "quor/panic.hpp"
#include "startup.hpp"

namespace quor::platform {

void installFatalSignalHandler() {}

namespace {
void noop(int) {}
}  // namespace

void installNoopSigpipeHandler() {
  struct sigaction action {};
  action.sa_handler = noop;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  if (::sigaction(SIGPIPE, &action, nullptr) != 0)
    panic(std::string("failed to set noop SIGPIPE handler: ") + std::strerror(errno));
}

void installPanicHandler() {}

}  // namespace quor::platform
