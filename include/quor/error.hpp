// Failures as values: a named error, a status and a result that carry it.
// Nothing in quor throws; a failure is returned and passed up unchanged.
#pragma once

#include <optional>
#include <string_view>
#include <utility>

namespace quor {

/// A named failure. Two errors are the same failure when their names are
/// equal, so a name defined in one module matches the same name elsewhere.
struct Error {
  std::string_view name;
  friend constexpr bool operator==(Error, Error) = default;
};

/// The failure of an allocator that cannot supply the memory asked for.
inline constexpr Error OutOfMemory{"OutOfMemory"};

/// Success, or one failure.
class [[nodiscard]] Status {
 public:
  constexpr Status() = default;
  constexpr Status(Error error) : error_(error), failed_(true) {}  // NOLINT: implicit by design

  constexpr bool failed() const { return failed_; }
  constexpr Error error() const { return error_; }

 private:
  Error error_{};
  bool failed_ = false;
};

/// A value, or one failure.
template <class T>
class [[nodiscard]] Result {
 public:
  constexpr Result(T value) : value_(std::move(value)) {}  // NOLINT: implicit by design
  constexpr Result(Error error) : error_(error) {}         // NOLINT: implicit by design

  constexpr bool failed() const { return !value_.has_value(); }
  constexpr Error error() const { return error_; }
  /// The value; only meaningful when failed() is false.
  constexpr T& value() { return *value_; }
  constexpr const T& value() const { return *value_; }

 private:
  std::optional<T> value_;
  Error error_{};
};

}  // namespace quor
