// Paths seen as lists of components: the non-empty runs of bytes between "/"
// separators, so that leading, trailing and doubled separators count for
// nothing and "/a/bc" is never taken to lie inside "/a/b". No allocation.
#pragma once

#include <cstddef>
#include <string_view>

namespace quelmaris::path {

// The next component at or after pos (which moves past it); empty when none is left.
inline std::string_view next_component(std::string_view path, std::size_t& pos) {
  while (pos < path.size() && path[pos] == '/') ++pos;
  const std::size_t start = pos;
  while (pos < path.size() && path[pos] != '/') ++pos;
  return path.substr(start, pos - start);
}

inline std::size_t component_count(std::string_view path) {
  std::size_t count = 0;
  std::size_t pos = 0;
  while (!next_component(path, pos).empty()) ++count;
  return count;
}

// True when the components of prefix are the first components of path.
inline bool starts_with_components(std::string_view path, std::string_view prefix) {
  std::size_t path_pos = 0;
  std::size_t prefix_pos = 0;
  for (;;) {
    const std::string_view wanted = next_component(prefix, prefix_pos);
    if (wanted.empty()) return true;
    if (next_component(path, path_pos) != wanted) return false;
  }
}

inline bool same_components(std::string_view a, std::string_view b) {
  return starts_with_components(a, b) && starts_with_components(b, a);
}

}  // namespace quelmaris::path
