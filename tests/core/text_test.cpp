#include "text.hpp"

#include <gtest/gtest.h>

namespace quelmaris::text {
namespace {

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

}  // namespace
}  // namespace quelmaris::text
