#include "name_pattern.hpp"

#include <unicode/utf8.h>

#include <cstddef>
#include <cstdint>

namespace quelmaris::detail {

namespace {

// Neither value is a code point, so an invalid pattern character never equals
// a name character, valid or not.
constexpr char32_t kInvalidInPattern = 0xFFFFFFFF;
constexpr char32_t kInvalidInName = 0xFFFFFFFE;

// Decodes the code point at byte offset i and moves i past it.
char32_t next_char(std::string_view text, std::size_t& i, char32_t invalid) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  const std::size_t length = text.size();
  UChar32 c;
  U8_NEXT(bytes, i, length, c);
  return c < 0 ? invalid : static_cast<char32_t>(c);
}

}  // namespace

NamePattern::NamePattern(std::string_view pattern) {
  for (std::size_t i = 0; i < pattern.size();) chars_.push_back(next_char(pattern, i, kInvalidInPattern));
}

// Greedy match that remembers the last "*" and, on a mismatch, lets that star
// absorb one more character. The name is decoded as it is read, by byte
// offset, so that no buffer is needed. A "*" in the pattern is always a
// wildcard, also where the name has a "*" at that place: taking it as a
// literal there would make "*x" miss "*ax".
bool NamePattern::matches(std::string_view utf8_name) const {
  std::size_t p = 0;
  std::size_t n = 0;
  bool star_seen = false;
  std::size_t star = 0;
  std::size_t resume = 0;
  while (n < utf8_name.size()) {
    std::size_t after = n;
    const char32_t c = next_char(utf8_name, after, kInvalidInName);
    if (p < chars_.size() && chars_[p] == U'*') {
      star_seen = true;
      star = p++;
      resume = n;
    } else if (p < chars_.size() && (chars_[p] == U'?' || chars_[p] == c)) {
      ++p;
      n = after;
    } else if (star_seen) {
      next_char(utf8_name, resume, kInvalidInName);
      n = resume;
      p = star + 1;
    } else {
      return false;
    }
  }
  while (p < chars_.size() && chars_[p] == U'*') ++p;
  return p == chars_.size();
}

}  // namespace quelmaris::detail
