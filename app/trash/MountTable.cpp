#include "trash/MountTable.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>
#include <string_view>
#include <utility>

#include "path_components.hpp"

namespace FreedesktopTrash {

namespace {

// Whether the path is the folder or lies inside it; both absolute.
constexpr auto liesAtOrBelow = quelmaris::path::starts_with_components;

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

// A line's third to fifth fields (id, parent, maj:min, root, mount point, ...)
// and the first one after the "-" that ends the optional fields; no field
// holds a blank of its own, the table escapes them.
std::optional<Mount> mountOfLine(const std::string& line) {
  std::istringstream in(line);
  std::string id, parent, fileSystem, root, point, type;
  if (!(in >> id >> parent >> fileSystem >> root >> point)) return std::nullopt;
  const std::size_t separator = line.find(" - ");
  if (separator == std::string::npos || !(std::istringstream(line.substr(separator + 3)) >> type))
    return std::nullopt;
  return Mount{unescapeOctal(point), unescapeOctal(root), fileSystem, type};
}

// FAT and exFAT through the kernel or FUSE; fuseblk may be exFAT as well as NTFS.
bool isFatFamily(const Mount& mount) {
  static constexpr std::array<std::string_view, 6> kFatFamily{"vfat",  "msdos",   "fat",
                                                              "exfat", "fuseblk", "fuse.fusefat"};
  return std::find(kFatFamily.begin(), kFatFamily.end(), mount.type) != kFatFamily.end();
}

}  // namespace

std::vector<Mount> readMountTable(const std::string& mountinfo) {
  std::ifstream in(mountinfo);
  std::vector<Mount> table;
  for (std::string line; std::getline(in, line);)
    if (auto mount = mountOfLine(line)) table.push_back(std::move(*mount));
  return table;
}

std::optional<Mount> mountHolding(const std::string& path, const std::vector<Mount>& table) {
  const Mount* best = nullptr;
  // Later lines are mounted on top of earlier ones at the same point.
  for (const Mount& mount : table)
    if (liesAtOrBelow(path, mount.point) && (!best || mount.point.size() >= best->point.size())) best = &mount;
  if (!best) return std::nullopt;
  return *best;
}

// Another mount of the file system whose root holds this mount's root shows
// this mount's top as one of its own folders, where a Trash would be an
// ordinary folder to that mount's users: to its walks and to its file
// managers, which would list what is in it as plain files. Equal roots do not
// count: a volume (or a subvolume, or a folder whose parent is mounted
// nowhere) mounted twice shows the same top in both places, and a Trash there
// is at the top for both.
bool topLiesInsideAnotherMount(const Mount& mount, const std::vector<Mount>& table) {
  return std::any_of(table.begin(), table.end(), [&](const Mount& other) {
    return other.fileSystem == mount.fileSystem && other.root != mount.root && liesAtOrBelow(mount.root, other.root);
  });
}

bool keepsLastingInodeNumbers(const Mount& mount) { return !isFatFamily(mount); }

}  // namespace FreedesktopTrash
