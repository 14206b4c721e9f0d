#include "package_name.hpp"

#include "text.hpp"

#include <algorithm>

namespace quelmaris::detail {

namespace {

bool is_ascii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// For ASCII text, full lower-casing is exactly A–Z to a–z, so the common case
// needs neither ICU nor a copy.
bool ascii_lower_equals(std::string_view ascii, std::string_view lower) {
  return ascii.size() == lower.size() &&
         std::equal(ascii.begin(), ascii.end(), lower.begin(), [](char a, char b) { return ascii_lower(a) == b; });
}

}  // namespace

bool has_package_extension(std::string_view folder_name, const std::vector<std::string>& extensions) {
  if (extensions.empty()) return false;
  const auto dot = folder_name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return false;
  const std::string_view extension = folder_name.substr(dot + 1);
  if (is_ascii(extension)) {
    return std::any_of(extensions.begin(), extensions.end(),
                       [&](const std::string& e) { return ascii_lower_equals(extension, e); });
  }
  // Non-ASCII text may lower-case to another length, even to ASCII (KELVIN SIGN → "k").
  const std::string lowered = text::to_lower(extension);
  return std::find(extensions.begin(), extensions.end(), lowered) != extensions.end();
}

}  // namespace quelmaris::detail
