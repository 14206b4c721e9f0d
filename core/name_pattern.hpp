// Wildcard match of an entry name against one excluded-name pattern: "*" is
// any run of characters, "?" exactly one, every other character itself; no
// escapes, case-sensitive, over Unicode code points, the whole name. A pattern
// is decoded once; matching allocates nothing and is safe from any thread.
#pragma once

#include <string_view>
#include <vector>

namespace quelmaris::detail {

class NamePattern {
public:
  explicit NamePattern(std::string_view pattern);

  // An invalid UTF-8 sequence in the pattern matches no character of a name.
  bool matches(std::string_view utf8_name) const;

private:
  std::vector<char32_t> chars_;
};

}  // namespace quelmaris::detail
