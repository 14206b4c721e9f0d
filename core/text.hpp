// Unicode text helpers of the core. Names compare after canonical composition
// (NFC), case-insensitive comparison uses full default lower-casing (root
// locale, final sigma included), and every ordering of text is bytewise.
// Paths are bytes on Linux: validity is checked before text is treated as
// UTF-8, and invalid sequences are replaced by U+FFFD only for display.
// All functions are thread-safe.
#pragma once

#include <compare>
#include <string>
#include <string_view>

namespace quelmaris::text {

bool is_valid_utf8(std::string_view bytes);

// Each maximal invalid subsequence becomes U+FFFD; valid text comes back as is.
std::string repair_utf8(std::string_view bytes);

// Canonical composition of valid UTF-8 text.
std::string nfc(std::string_view utf8);

// Full Unicode default lower-casing of valid UTF-8 text.
std::string to_lower(std::string_view utf8);

// UTF-8 bytes compared as unsigned values over the shorter length, then the
// shorter text first. No locale, no case folding.
inline std::strong_ordering compare_bytes(std::string_view a, std::string_view b) {
  // char_traits<char> compares as unsigned char, which is exactly the order wanted.
  const int c = a.compare(b);
  return c < 0 ? std::strong_ordering::less : c > 0 ? std::strong_ordering::greater : std::strong_ordering::equal;
}

}  // namespace quelmaris::text
