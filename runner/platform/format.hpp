// Number formatting of "{}": the shortest scientific notation that reads back
// to the same value in the value's own type. 3 -> "3e0", 0.6 -> "6e-1",
// 1000 -> "1e3", NaN -> "nan" whatever its sign, -inf -> "-inf".
#pragma once

#include <cstddef>
#include <string>

namespace quor::platform {

/// Longest text formatFloat can produce, for either type.
inline constexpr std::size_t max_float_text = 32;

/// Writes into out (at least max_float_text bytes) and answers the length.
std::size_t formatFloat(char* out, double value);
std::size_t formatFloat(char* out, float value);

std::string formatFloat(double value);
std::string formatFloat(float value);

}  // namespace quor::platform
