// The case registry: one fixed, read-only array of {name, function}, in the
// order the terminal run reports it.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "quor/error.hpp"

namespace quor::runner {

using CaseFn = Status (*)();

struct TestFn {
  std::string_view name;  ///< UTF-8, printed unchanged
  CaseFn func;
};

using Registry = std::span<const TestFn>;

/// Joins module tables into one array while the program is built.
template <std::size_t... N>
consteval auto joinRegistries(const std::array<TestFn, N>&... tables) {
  std::array<TestFn, (N + ...)> all{};
  std::size_t at = 0;
  ((at = static_cast<std::size_t>(std::copy(tables.begin(), tables.end(), all.begin() + at) - all.begin())), ...);
  return all;
}

}  // namespace quor::runner
