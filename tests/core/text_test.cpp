#include "text.hpp"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "name_pattern.hpp"
#include "package_name.hpp"

namespace quelmaris {
namespace {

using namespace text;

TEST(Text, composed_and_decomposed_accents_normalise_to_the_same_bytes) {
  const std::string composed = "caf\xC3\xA9.txt";     // é as U+00E9
  const std::string decomposed = "cafe\xCC\x81.txt";  // e + U+0301
  EXPECT_NE(composed, decomposed);
  EXPECT_EQ(nfc(decomposed), composed);
  EXPECT_EQ(nfc(composed), composed);
}

TEST(Text, lower_casing_is_full_unicode_with_final_sigma) {
  EXPECT_EQ(to_lower("\xCE\x9F\xCE\x94\xCE\x9F\xCE\xA3"), "\xCE\xBF\xCE\xB4\xCE\xBF\xCF\x82");  // ΟΔΟΣ → οδος
  // "." is case-ignorable and a letter follows, so the sigma is not word-final.
  EXPECT_EQ(to_lower("\xCE\x9F\xCE\x94\xCE\x9F\xCE\xA3.txt"), "\xCE\xBF\xCE\xB4\xCE\xBF\xCF\x83.txt");
  EXPECT_EQ(to_lower("README.TXT"), "readme.txt");
  // Full mapping: İ (U+0130) lower-cases to i + combining dot above, two code points.
  EXPECT_EQ(to_lower("\xC4\xB0"), "i\xCC\x87");
}

TEST(Text, invalid_utf8_is_detected_and_repaired_with_replacement_characters) {
  EXPECT_TRUE(is_valid_utf8(""));
  EXPECT_TRUE(is_valid_utf8("plain \xC3\xA9 \xF0\x9F\x98\x80"));
  EXPECT_FALSE(is_valid_utf8("bad\xFF"));
  EXPECT_FALSE(is_valid_utf8("\xC0\xAF"));          // overlong "/"
  EXPECT_FALSE(is_valid_utf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(is_valid_utf8("cut \xE2\x82"));      // truncated sequence
  EXPECT_EQ(repair_utf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(repair_utf8("ok"), "ok");
  EXPECT_TRUE(is_valid_utf8(repair_utf8("\xFE\xFF\xC3")));
}

// A pattern covers the whole name, a star gives back what it took, "?" is one
// character of any byte length, a "*" in the name is no wildcard, and invalid
// bytes in a pattern match nothing, not even a replacement character.
TEST(NamePattern, wildcards_match_whole_names_by_code_point_and_case) {
  // clang-format off
  const std::tuple<std::string, std::string, bool> cases[] = {
      {"a*b*c", "aXbYbZc", true}, {"a*b*c", "abc", true}, {"a*b*c", "abcd", false}, {"*ab", "aab", true},
      {"*a*a", "aaa", true}, {"a*?c", "abc", true}, {"a*", "ba", false}, {"?", "x", true}, {"?", "xy", false},
      {"?", "\xC3\xA9", true}, {"??", "\xC3\xA9", false}, {"?", "\xF0\x9F\x98\x80", true},
      {"caf?", "caf\xC3\xA9", true}, {"*\xC3\xA9", "caf\xC3\xA9", true}, {".DS_Store", ".ds_store", false},
      {"._*", "._", true}, {"Icon\r", "Icon\r", true}, {"Icon\r", "Icon", false}, {"*", "", true}, {"**", "", true},
      {"", "", true}, {"?", "", false}, {"", "a", false}, {"*x", "*ax", true}, {"a?c", "a*c", true},
      {"\xFF", "\xEF\xBF\xBD", false}, {"a\xFF*", "a\xEF\xBF\xBDz", false},
  };
  // clang-format on
  for (const auto& [pattern, name, matches] : cases)
    EXPECT_EQ(detail::NamePattern(pattern).matches(name), matches)
        << "pattern \"" + pattern + "\" name \"" + name + "\"";
}

TEST(PackageName, only_the_last_extension_lower_cased_decides) {
  // A leading "." starts no extension, a trailing one ends an empty one; ÄPP
  // lower-cases to äpp and the KELVIN SIGN to ASCII k.
  // clang-format off
  const std::tuple<std::string, std::vector<std::string>, bool> cases[] = {
      {"Trip.PhotosLibrary", {"app", "photoslibrary"}, true}, {".photoslibrary", {"photoslibrary"}, false},
      {"a.app.b", {"app"}, false}, {"a.b.app", {"app"}, true}, {"app", {"app"}, false}, {"x.app", {}, false},
      {"name.", {""}, true}, {"name.", {"app"}, false}, {"name", {""}, false}, {".", {""}, false},
      {"x.appx", {"app"}, false}, {"x.\xC3\x84PP", {"\xC3\xA4pp"}, true}, {"x.\xE2\x84\xAA" "ext", {"kext"}, true},
      {"x.k\xC3\xA9y", {"key"}, false},
  };
  // clang-format on
  for (const auto& [folder, extensions, package] : cases)
    EXPECT_EQ(detail::has_package_extension(folder, extensions), package) << folder;
}

}  // namespace
}  // namespace quelmaris
