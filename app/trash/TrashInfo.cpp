#include "trash/TrashInfo.h"

#include <climits>

namespace FreedesktopTrash {

namespace {

constexpr std::string_view kInfoSuffix = ".trashinfo";
constexpr std::size_t kMaxEntryName = NAME_MAX - kInfoSuffix.size();

// RFC 2396's unreserved characters, which a URL writes as they are.
bool isUnreserved(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("-_.!~*'()").find(static_cast<char>(c)) != std::string_view::npos;
}

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// At most room bytes of text, not cutting a UTF-8 sequence in two.
std::string_view fitted(std::string_view text, std::size_t room) {
  if (text.size() <= room) return text;
  std::size_t cut = room;
  while (cut > 0 && isContinuationByte(text[cut])) --cut;
  return text.substr(0, cut > 0 ? cut : room);
}

}  // namespace

std::string percentEncodedPath(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(path.size());
  for (const char byte : path) {
    const auto c = static_cast<unsigned char>(byte);
    if (c == '/' || isUnreserved(c)) {
      out += byte;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    }
  }
  return out;
}

std::string trashInfoText(std::string_view originalPath, std::time_t deletedAt) {
  std::tm local{};
  ::localtime_r(&deletedAt, &local);
  char date[32];
  const std::size_t length = std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
  std::string text = "[Trash Info]\nPath=";
  text += percentEncodedPath(originalPath);
  text += "\nDeletionDate=";
  text.append(date, length);
  text += '\n';
  return text;
}

std::string trashEntryName(std::string_view baseName, std::uint64_t number) {
  const std::string suffix = number <= 1 ? std::string() : "." + std::to_string(number);
  std::size_t dot = baseName.rfind('.');
  // A leading dot names a hidden file, not an extension; an extension too long
  // to keep is shortened with the rest of the name.
  if (dot == std::string_view::npos || dot == 0 || baseName.size() - dot + suffix.size() >= kMaxEntryName)
    dot = baseName.size();
  const std::string_view extension = baseName.substr(dot);
  const std::string_view stem = fitted(baseName.substr(0, dot), kMaxEntryName - suffix.size() - extension.size());
  std::string name(stem);
  name += suffix;
  name += extension;
  return name;
}

}  // namespace FreedesktopTrash
