#include "startup.hpp"

#include <elf.h>
#include <link.h>
#include <sys/auxv.h>

#include <algorithm>

namespace quor::platform {

std::optional<rlim_t> stackSoftLimitToSet(std::uint64_t wanted, rlimit current) {
  const rlim_t capped = std::min<rlim_t>(wanted, current.rlim_max);
  if (capped > current.rlim_cur) return capped;
  return std::nullopt;
}

void raiseStackLimit() {
  const auto* phdrs = reinterpret_cast<const ElfW(Phdr)*>(::getauxval(AT_PHDR));
  const auto count = static_cast<std::size_t>(::getauxval(AT_PHNUM));
  if (phdrs == nullptr) return;
  for (std::size_t i = 0; i < count; ++i) {
    if (phdrs[i].p_type != PT_GNU_STACK) continue;
    // Only the first GNU-stack entry counts; 0 means no size was asked for.
    const std::uint64_t wanted = phdrs[i].p_memsz;
    if (wanted == 0) return;
    rlimit current{};
    if (::getrlimit(RLIMIT_STACK, &current) != 0) return;
    if (const auto soft = stackSoftLimitToSet(wanted, current)) {
      current.rlim_cur = *soft;
      (void)::setrlimit(RLIMIT_STACK, &current);
    }
    return;
  }
}

}  // namespace quor::platform
