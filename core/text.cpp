#include "text.hpp"

#include <unicode/normalizer2.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <stdexcept>
#include <vector>

namespace quelmaris::text {

namespace {

icu::UnicodeString from_utf8(std::string_view utf8) {
  return icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), static_cast<std::int32_t>(utf8.size())));
}

std::string to_utf8(const icu::UnicodeString& s) {
  std::string out;
  s.toUTF8String(out);
  return out;
}

}  // namespace

bool is_valid_utf8(std::string_view bytes) {
  const auto* s = reinterpret_cast<const std::uint8_t*>(bytes.data());
  const auto length = static_cast<std::int64_t>(bytes.size());
  std::int64_t i = 0;
  while (i < length) {
    if (s[i] < 0x80) {
      ++i;
      continue;
    }
    UChar32 c;
    // U8_NEXT takes int32 offsets; walk long texts in windows that fit.
    const auto window = static_cast<std::int32_t>(std::min<std::int64_t>(length - i, 1 << 30));
    std::int32_t j = 0;
    U8_NEXT(s + i, j, window, c);
    if (c < 0) return false;
    i += j;
  }
  return true;
}

std::string repair_utf8(std::string_view bytes) {
  if (is_valid_utf8(bytes)) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() + 8);
  const auto* s = reinterpret_cast<const std::uint8_t*>(bytes.data());
  const auto length = static_cast<std::int32_t>(bytes.size());
  std::int32_t i = 0;
  while (i < length) {
    const std::int32_t start = i;
    UChar32 c;
    U8_NEXT(s, i, length, c);
    if (c < 0) {
      out += "\xEF\xBF\xBD";
    } else {
      out.append(bytes.data() + start, static_cast<std::size_t>(i - start));
    }
  }
  return out;
}

std::string nfc(std::string_view utf8) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* normalizer = icu::Normalizer2::getNFCInstance(status);
  if (U_FAILURE(status)) throw std::runtime_error("ICU NFC normalizer unavailable");
  const icu::UnicodeString source = from_utf8(utf8);
  if (normalizer->isNormalized(source, status) && U_SUCCESS(status)) return std::string(utf8);
  status = U_ZERO_ERROR;
  const icu::UnicodeString composed = normalizer->normalize(source, status);
  if (U_FAILURE(status)) throw std::runtime_error("ICU NFC normalization failed");
  return to_utf8(composed);
}

std::string to_lower(std::string_view utf8) {
  const icu::UnicodeString source = from_utf8(utf8);
  std::vector<UChar> dest(static_cast<std::size_t>(source.length()) * 2 + 4);
  UErrorCode status = U_ZERO_ERROR;
  std::int32_t n = u_strToLower(dest.data(), static_cast<std::int32_t>(dest.size()), source.getBuffer(),
                                source.length(), "", &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    dest.resize(static_cast<std::size_t>(n));
    status = U_ZERO_ERROR;
    n = u_strToLower(dest.data(), n, source.getBuffer(), source.length(), "", &status);
  }
  if (U_FAILURE(status)) throw std::runtime_error("ICU lower-casing failed");
  return to_utf8(icu::UnicodeString(dest.data(), n));
}

}  // namespace quelmaris::text
