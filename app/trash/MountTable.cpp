#include "trash/MountTable.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <filesystem>
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

// A line's fifth field (id, parent, maj:min, root, mount point, ...)
// and the first and third after the "-" that ends the optional fields (type,
// source, super options); no field holds a blank of its own, the table
// escapes them.
std::optional<Mount> mountOfLine(const std::string& line) {
  std::istringstream in(line);
  std::uint64_t id = 0;
  std::string parent, fileSystem, root, point, type, source, superOptions;
  if (!(in >> id >> parent >> fileSystem >> root >> point)) return std::nullopt;
  const std::size_t separator = line.find(" - ");
  if (separator == std::string::npos) return std::nullopt;
  std::istringstream afterSeparator(line.substr(separator + 3));
  if (!(afterSeparator >> type)) return std::nullopt;
  afterSeparator >> source >> superOptions;
  return Mount{unescapeOctal(point), type, id, superOptions};
}

}  // namespace

std::optional<Mount> mountHolding(const std::string& path, const std::vector<Mount>& table) {
  const Mount* best = nullptr;
  // Later lines are mounted on top of earlier ones at the same point.
  for (const Mount& mount : table)
    if (liesAtOrBelow(path, mount.point) && (!best || mount.point.size() >= best->point.size())) best = &mount;
  if (!best) return std::nullopt;
  return *best;
}

namespace {

// The id of the mount the item lies on; nothing from kernels before 5.8,
// which give none.
std::optional<std::uint64_t> mountIdOf(const std::string& path) {
  struct statx facts {};
  if (::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, STATX_MNT_ID, &facts) != 0 ||
      (facts.stx_mask & STATX_MNT_ID) == 0)
    return std::nullopt;
  return facts.stx_mnt_id;
}

struct FatFamilyType {
  std::string_view type;
  std::int64_t modificationTimeStepNs;
};

constexpr std::int64_t kTwoSeconds = 2'000'000'000, kOneSecond = 1'000'000'000, kTenMilliseconds = 10'000'000;

// FAT and exFAT through the kernel or FUSE; fuseblk may be exFAT as well as
// NTFS, whose finer times the FAT step reads as well.
constexpr std::array<FatFamilyType, 6> kFatFamily{{{"vfat", kTwoSeconds},
                                                   {"msdos", kTwoSeconds},
                                                   {"fat", kTwoSeconds},
                                                   {"exfat", kTenMilliseconds},
                                                   {"fuseblk", kTwoSeconds},
                                                   {"fuse.fusefat", 0}}};

const FatFamilyType* fatFamilyType(const Mount& mount) {
  const auto found = std::find_if(kFatFamily.begin(), kFatFamily.end(),
                                  [&](const FatFamilyType& fat) { return fat.type == mount.type; });
  return found == kFatFamily.end() ? nullptr : &*found;
}

bool hasOption(const std::string& options, std::string_view wanted) {
  std::istringstream in(options);
  for (std::string option; std::getline(in, option, ',');)
    if (option == wanted) return true;
  return false;
}

struct KeptByType {
  bool lastingInodeNumbers;
  std::int64_t modificationTimeStepNs;
};

// What the volume keeps of its files by its type (see MountTable.h).
KeptByType keptBy(const Mount& mount) {
  if (const FatFamilyType* fat = fatFamilyType(mount)) return {false, fat->modificationTimeStepNs};
  if (mount.type == "fuse" || mount.type.starts_with("fuse.")) return {false, kOneSecond};
  if ((mount.type == "cifs" || mount.type == "smb3") && hasOption(mount.superOptions, "noserverino")) return {false, 1};
  return {true, 1};
}

}  // namespace

std::vector<Mount> readMountTable(const std::string& mountinfo) {
  std::ifstream in(mountinfo);
  std::vector<Mount> table;
  for (std::string line; std::getline(in, line);)
    if (auto mount = mountOfLine(line)) table.push_back(std::move(*mount));
  return table;
}

std::optional<Mount> mountOfItem(const std::string& path, const std::vector<Mount>& table) {
  if (const auto id = mountIdOf(path)) {
    const auto found = std::find_if(table.begin(), table.end(), [&](const Mount& mount) { return mount.id == *id; });
    if (found == table.end()) return std::nullopt;
    return *found;
  }
  const std::filesystem::path item(path);
  std::error_code error;
  const auto folder = std::filesystem::canonical(item.parent_path(), error);
  if (error) return std::nullopt;
  return mountHolding((folder / item.filename()).string(), table);
}

bool keepsLastingInodeNumbers(const Mount& mount) { return keptBy(mount).lastingInodeNumbers; }

std::int64_t modificationTimeStepNs(const Mount& mount) { return keptBy(mount).modificationTimeStepNs; }

TimeSpan modificationTimesHeld(const Mount& mount) {
  // 1980-01-02 and 2107-12-31, 00:00 UTC: a day inside FAT's local-time range.
  constexpr std::int64_t kFirstFatSecond = 315'619'200, kLastFatSecond = 4'354'732'800, kNsPerSecond = 1'000'000'000;
  if (!fatFamilyType(mount)) return {};
  return {kFirstFatSecond * kNsPerSecond, kLastFatSecond * kNsPerSecond};
}

}  // namespace FreedesktopTrash
