#include "name_pattern.hpp"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "package_name.hpp"

namespace quelmaris::detail {
namespace {

TEST(NamePattern, wildcards_match_whole_names_by_code_point_and_case) {
  const std::tuple<std::string, std::string, bool> cases[] = {
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
  for (const auto& [pattern, name, matches] : cases) {
    SCOPED_TRACE("pattern \"" + pattern + "\" name \"" + name + "\"");
    EXPECT_EQ(NamePattern(pattern).matches(name), matches);
  }
}

TEST(PackageName, only_the_last_extension_lower_cased_decides) {
  const std::tuple<std::string, std::vector<std::string>, bool> cases[] = {
      {"Trip.PhotosLibrary", {"app", "photoslibrary"}, true},
      {".photoslibrary", {"photoslibrary"}, false},  // its only "." leads the name
      {"a.app.b", {"app"}, false},
      {"a.b.app", {"app"}, true},
      {"app", {"app"}, false},
      {"x.app", {}, false},
      {"name.", {""}, true},  // a trailing "." is an empty extension
      {"name.", {"app"}, false},
      {"name", {""}, false},
      {".", {""}, false},
      {"x.appx", {"app"}, false},
      {"x.\xC3\x84PP", {"\xC3\xA4pp"}, true},  // ÄPP lower-cases to äpp
      {"x.\xE2\x84\xAA" "ext", {"kext"}, true},  // KELVIN SIGN lower-cases to ASCII k
      {"x.k\xC3\xA9y", {"key"}, false},
  };
  for (const auto& [folder, extensions, package] : cases) {
    SCOPED_TRACE(folder);
    EXPECT_EQ(has_package_extension(folder, extensions), package);
  }
}

}  // namespace
}  // namespace quelmaris::detail
