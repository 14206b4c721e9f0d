#include "roots.hpp"

#include "file_facts.hpp"
#include "path_components.hpp"
#include "result.hpp"
#include "text.hpp"
#include "unique_dir.hpp"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <optional>

namespace quelmaris::roots {
namespace {

// A root that passed the first pass.
struct KeptRoot {
  std::string path;  // canonical, as bytes
  std::uint32_t root_index;
  std::uint64_t dev;
  std::uint64_t ino;
};

RootSkipReason reason_for_errno(int error_number) {
  switch (error_number) {
    case ENOENT:
      return {RootSkipReason::Missing{}};
    case ENOTDIR:
      return {RootSkipReason::NotADirectory{}};
    default:
      return {RootSkipReason::Unreadable{error_number}};
  }
}

struct FreeC {
  void operator()(char* p) const { std::free(p); }
};

Result<std::string, RootSkipReason> canonical_path(const std::string& text) {
  // The C calls would silently stop at a zero byte and check some other folder.
  if (text.find('\0') != std::string::npos) return Failure{RootSkipReason{RootSkipReason::Unreadable{0}}};
  errno = 0;
  const std::unique_ptr<char, FreeC> resolved(::realpath(text.c_str(), nullptr));
  if (!resolved) return Failure{reason_for_errno(errno)};
  return std::string(resolved.get());
}

// Opening the folder is what tells whether its entries can be listed at all.
std::optional<RootSkipReason> check_listable(const std::string& path) {
  errno = 0;
  const UniqueDir dir(::opendir(path.c_str()));
  if (!dir) return reason_for_errno(errno);
  return std::nullopt;
}

Result<KeptRoot, RootSkipReason> inspect(const std::string& text, std::uint32_t root_index) {
  auto canonical = canonical_path(text);
  if (!canonical) return Failure{canonical.error()};
  std::string path = std::move(canonical).value();
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return Failure{reason_for_errno(errno)};
  if (!S_ISDIR(st.st_mode)) return Failure{RootSkipReason{RootSkipReason::NotADirectory{}}};
  if (auto problem = check_listable(path)) return Failure{*problem};
  return KeptRoot{std::move(path), root_index, device_id(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

const KeptRoot* same_folder_kept(const KeptRoot& root, const std::vector<KeptRoot>& kept) {
  for (const KeptRoot& other : kept) {
    if (path::same_components(root.path, other.path) || (root.dev == other.dev && root.ino == other.ino)) return &other;
  }
  return nullptr;
}

std::vector<KeptRoot> first_pass(const std::vector<std::string>& configured, std::vector<RootSkip>& skips) {
  std::vector<KeptRoot> kept;
  for (std::uint32_t i = 0; i < configured.size(); ++i) {
    auto root = inspect(configured[i], i);
    if (!root) {
      skips.push_back({configured[i], root.error()});
    } else if (const KeptRoot* first = same_folder_kept(root.value(), kept)) {
      skips.push_back({configured[i], {RootSkipReason::Duplicate{text::repair_utf8(first->path)}}});
    } else {
      kept.push_back(std::move(root).value());
    }
  }
  return kept;
}

// The outermost kept root that contains this one, the first in kept order among equals.
const KeptRoot* outermost_container(const KeptRoot& root, const std::vector<KeptRoot>& kept) {
  const KeptRoot* best = nullptr;
  std::size_t best_count = 0;
  for (const KeptRoot& other : kept) {
    if (path::same_components(root.path, other.path) || !path::starts_with_components(root.path, other.path)) continue;
    const std::size_t count = path::component_count(other.path);
    if (best == nullptr || count < best_count) {
      best = &other;
      best_count = count;
    }
  }
  return best;
}

void second_pass(const std::vector<KeptRoot>& kept, const std::vector<std::string>& configured, RootsCheck& out) {
  for (const KeptRoot& root : kept) {
    if (const KeptRoot* container = outermost_container(root, kept)) {
      out.skips.push_back(
          {configured[root.root_index], {RootSkipReason::NestedIn{text::repair_utf8(container->path)}}});
      out.nested.insert_or_assign(root.path, root.root_index);
    } else {
      out.walk_roots.push_back({root.path, root.root_index});
    }
  }
}

}  // namespace

RootsCheck check_roots(const std::vector<std::string>& configured) {
  RootsCheck out;
  const std::vector<KeptRoot> kept = first_pass(configured, out.skips);
  second_pass(kept, configured, out);
  return out;
}

}  // namespace quelmaris::roots
