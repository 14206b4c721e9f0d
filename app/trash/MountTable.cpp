#include "trash/MountTable.h"

#include <fstream>
#include <sstream>
#include <string_view>

namespace FreedesktopTrash {

namespace {

bool isOctalDigit(char c) { return c >= '0' && c <= '7'; }

// The table writes blanks, tabs, newlines and backslashes in octal (\040).
std::string unescapeOctal(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() && isOctalDigit(text[i + 1]) && isOctalDigit(text[i + 2]) &&
        isOctalDigit(text[i + 3])) {
      out += static_cast<char>(((text[i + 1] - '0') << 6) | ((text[i + 2] - '0') << 3) | (text[i + 3] - '0'));
      i += 3;
    } else {
      out += text[i];
    }
  }
  return out;
}

// The fifth field of a line (id, parent, maj:min, root, mount point, ...).
std::optional<std::string> mountPointField(const std::string& line) {
  std::istringstream in(line);
  std::string field;
  for (int i = 0; i < 5; ++i)
    if (!(in >> field)) return std::nullopt;
  return unescapeOctal(field);
}

bool holds(const std::string& mountPoint, const std::string& path) {
  if (mountPoint == "/") return path.starts_with('/');
  return path.starts_with(mountPoint) && (path.size() == mountPoint.size() || path[mountPoint.size()] == '/');
}

}  // namespace

std::optional<std::string> mountPointHolding(const std::string& path, const std::string& mountinfo) {
  std::ifstream in(mountinfo);
  std::optional<std::string> best;
  for (std::string line; std::getline(in, line);) {
    auto point = mountPointField(line);
    // Later lines are mounted on top of earlier ones at the same point.
    if (point && holds(*point, path) && (!best || point->size() >= best->size())) best = std::move(point);
  }
  return best;
}

}  // namespace FreedesktopTrash
