// A count as the number argument of a counted text (tr's n), which is an int:
// counts past its range read as its largest value.
#pragma once

#include <algorithm>
#include <climits>
#include <concepts>
#include <cstdint>

template <std::integral Count>
int countArgument(Count count) {
  if (count < 0) return 0;
  return static_cast<int>(std::min<std::uint64_t>(static_cast<std::uint64_t>(count), INT_MAX));
}
