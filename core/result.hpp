// A value or an error, for operations whose failure is data (a file that
// cannot be read, a refused plan). Stands in for std::expected.
#pragma once

#include <cassert>
#include <utility>
#include <variant>

namespace quelmaris {

template <class E>
struct Failure {
  E error;
};
template <class E>
Failure(E) -> Failure<E>;

template <class T, class E>
class [[nodiscard]] Result {
public:
  Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
  template <class F>
  Result(Failure<F> failure) : state_(std::in_place_index<1>, E(std::move(failure.error))) {}

  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }

  T& value() & { assert(ok()); return std::get<0>(state_); }
  const T& value() const& { assert(ok()); return std::get<0>(state_); }
  T&& value() && { assert(ok()); return std::get<0>(std::move(state_)); }
  const E& error() const { assert(!ok()); return std::get<1>(state_); }

private:
  std::variant<T, E> state_;
};

}  // namespace quelmaris
