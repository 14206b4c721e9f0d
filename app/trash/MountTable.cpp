#include "trash/MountTable.h"

#include <algorithm>
#include <array>
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

// A line's fifth field (id, parent, maj:min, root, mount point, ...) and the
// first one after the "-" that ends the optional fields; no field holds a
// blank of its own, the table escapes them.
std::optional<Mount> mountOfLine(const std::string& line) {
  std::istringstream in(line);
  std::string field;
  for (int i = 0; i < 5; ++i)
    if (!(in >> field)) return std::nullopt;
  Mount mount{unescapeOctal(field), {}};
  const std::size_t separator = line.find(" - ");
  if (separator == std::string::npos || !(std::istringstream(line.substr(separator + 3)) >> mount.type))
    return std::nullopt;
  return mount;
}

bool holds(const std::string& mountPoint, const std::string& path) {
  if (mountPoint == "/") return path.starts_with('/');
  return path.starts_with(mountPoint) && (path.size() == mountPoint.size() || path[mountPoint.size()] == '/');
}

// FAT and exFAT through the kernel or FUSE; fuseblk may be exFAT as well as NTFS.
bool isFatFamily(const Mount& mount) {
  static constexpr std::array<std::string_view, 6> kFatFamily{"vfat",  "msdos",   "fat",
                                                              "exfat", "fuseblk", "fuse.fusefat"};
  return std::find(kFatFamily.begin(), kFatFamily.end(), mount.type) != kFatFamily.end();
}

}  // namespace

std::optional<Mount> mountHolding(const std::string& path, const std::string& mountinfo) {
  std::ifstream in(mountinfo);
  std::optional<Mount> best;
  for (std::string line; std::getline(in, line);) {
    auto mount = mountOfLine(line);
    // Later lines are mounted on top of earlier ones at the same point.
    if (mount && holds(mount->point, path) && (!best || mount->point.size() >= best->point.size()))
      best = std::move(mount);
  }
  return best;
}

bool keepsUnixPermissions(const Mount& mount) {
  return !isFatFamily(mount) && mount.type != "ntfs" && mount.type != "ntfs3";
}

bool keepsLastingInodeNumbers(const Mount& mount) { return !isFatFamily(mount); }

}  // namespace FreedesktopTrash
