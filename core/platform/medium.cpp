#include "platform/medium.hpp"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>
#include <vector>

namespace quelmaris {

MediumKind storage_medium(const std::string& path) { return platform::detail::storage_medium(path, {}); }

namespace platform::detail {

namespace {

namespace fs = std::filesystem;

MediumKind rotational_flag(const fs::path& file) {
  std::ifstream in(file);
  std::string value;
  if (!std::getline(in, value)) return MediumKind::Unknown;
  if (value == "0") return MediumKind::SolidState;
  if (value == "1") return MediumKind::Rotational;
  return MediumKind::Unknown;
}

// Nothing when sysfs knows no block device by that number. A partition has no
// queue of its own: the flag belongs to the disk that holds it.
std::optional<MediumKind> block_device_medium(const MediumSources& sources, dev_t device) {
  const std::string number = std::to_string(major(device)) + ":" + std::to_string(minor(device));
  std::error_code error;
  fs::path dir = fs::canonical(fs::path(sources.sysfs_root) / "dev" / "block" / number, error);
  if (error) return std::nullopt;
  if (fs::exists(dir / "partition", error)) dir = dir.parent_path();
  return rotational_flag(dir / "queue" / "rotational");
}

bool is_octal_digit(char c) { return c >= '0' && c <= '7'; }

// The mount table writes blanks, tabs, newlines and backslashes in octal (\040).
std::string unescape_octal(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() && is_octal_digit(text[i + 1]) && is_octal_digit(text[i + 2]) &&
        is_octal_digit(text[i + 3])) {
      out += static_cast<char>(((text[i + 1] - '0') << 6) | ((text[i + 2] - '0') << 3) | (text[i + 3] - '0'));
      i += 3;
    } else {
      out += text[i];
    }
  }
  return out;
}

struct Mount {
  std::string point;
  std::string source;
};

// One line: id, parent, maj:min, root, mount point, options, optional fields,
// "-", file-system type, source, super options.
std::optional<Mount> parse_mount(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> fields;
  for (std::string field; in >> field;) fields.push_back(std::move(field));
  const auto separator = std::find(fields.begin() + std::min<std::ptrdiff_t>(6, std::ssize(fields)), fields.end(), "-");
  if (fields.end() - separator < 3) return std::nullopt;
  return Mount{unescape_octal(fields[4]), unescape_octal(*(separator + 2))};
}

bool holds(const std::string& mount_point, const std::string& path) {
  if (mount_point == "/") return path.starts_with('/');
  return path.starts_with(mount_point) && (path.size() == mount_point.size() || path[mount_point.size()] == '/');
}

MediumKind mounted_device_medium(const MediumSources& sources, const std::string& path) {
  std::error_code error;
  const fs::path canonical = fs::canonical(path, error);
  const auto source = mount_source(error ? path : canonical.string(), sources.mountinfo);
  struct stat device {};
  if (!source || !source->starts_with("/dev/") || ::stat(source->c_str(), &device) != 0 || !S_ISBLK(device.st_mode))
    return MediumKind::Unknown;
  return block_device_medium(sources, device.st_rdev).value_or(MediumKind::Unknown);
}

}  // namespace

std::optional<std::string> mount_source(const std::string& path, const std::string& mountinfo) {
  std::ifstream in(mountinfo);
  std::optional<Mount> best;
  for (std::string line; std::getline(in, line);) {
    auto mount = parse_mount(line);
    // Later lines are mounted on top of earlier ones at the same point.
    if (mount && holds(mount->point, path) && (!best || mount->point.size() >= best->point.size()))
      best = std::move(mount);
  }
  if (!best) return std::nullopt;
  return best->source;
}

MediumKind storage_medium(const std::string& path, const MediumSources& sources) {
  if (path.find('\0') != std::string::npos) return MediumKind::Unknown;
  struct stat facts {};
  if (::stat(path.c_str(), &facts) != 0) return MediumKind::Unknown;
  if (auto medium = block_device_medium(sources, facts.st_dev)) return *medium;
  return mounted_device_medium(sources, path);
}

}  // namespace platform::detail

}  // namespace quelmaris
