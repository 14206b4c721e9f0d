#include "name_pattern.hpp"

#include <gtest/gtest.h>

#include <string>

namespace quelmaris::detail {
namespace {

struct Case {
  std::string pattern;
  std::string name;
  bool matches;
};

TEST(NamePattern, wildcards_match_whole_names_by_code_point_and_case) {
  const Case cases[] = {
      {"a*b*c", "aXbYbZc", true},
      {"a*b*c", "abc", true},
      {"a*b*c", "abcd", false},  // the pattern must cover the whole name
      {"*ab", "aab", true},      // the star must give back what it took
      {"*a*a", "aaa", true},
      {"a*?c", "abc", true},
      {"a*", "ba", false},
      {"?", "x", true},
      {"?", "xy", false},
      {"?", "\xC3\xA9", true},  // é is one character of two bytes
      {"??", "\xC3\xA9", false},
      {"?", "\xF0\x9F\x98\x80", true},  // four bytes, one character
      {"caf?", "caf\xC3\xA9", true},
      {"*\xC3\xA9", "caf\xC3\xA9", true},
      {".DS_Store", ".DS_Store", true},
      {".DS_Store", ".ds_store", false},
      {"._*", "._", true},
      {"._*", "._x.txt", true},
      {"._*", "_.x", false},
      {"Icon\r", "Icon\r", true},
      {"Icon\r", "Icon", false},
      {"*", "", true},
      {"**", "", true},
      {"", "", true},
      {"?", "", false},
      {"", "a", false},
      // A "*" in the pattern stays a wildcard where the name has a "*" too.
      {"*x", "*ax", true},
      {"a?c", "a*c", true},
      // Invalid bytes in a pattern match nothing, not even a replacement character.
      {"\xFF", "\xEF\xBF\xBD", false},
      {"a\xFF*", "a\xEF\xBF\xBDz", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("pattern \"" + c.pattern + "\" name \"" + c.name + "\"");
    EXPECT_EQ(NamePattern(c.pattern).matches(c.name), c.matches);
  }
}

}  // namespace
}  // namespace quelmaris::detail
