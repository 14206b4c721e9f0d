#include "walk.hpp"

#include "dir_reader.hpp"
#include "file_facts.hpp"
#include "name_pattern.hpp"
#include "package_name.hpp"
#include "path_components.hpp"
#include "text.hpp"

#include <sys/stat.h>

#include <tbb/parallel_for.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <iterator>
#include <unordered_set>

namespace quelmaris::walk {

namespace {

// What every listing of one walk reads, prepared once per walk.
struct WalkContext {
  const NestedRootMap& nested;
  // Every folder with a nested listed folder below it, as a path ending in
  // "/": only in these may a left-out folder hold one.
  std::unordered_set<std::string> above_listed;
  const WalkSettings& settings;
  std::vector<detail::NamePattern> excluded;
  ProgressReporter& reporter;
  const CancelFlag& cancel;
};

// A folder to list. One found by a listing carries the identity that listing
// saw: its path is opened anew a level later, and by then a folder on that
// path (this one or any above it) may have been swapped for a link that leads
// outside the roots. Roots carry none, nor do listed folders reached past a
// left-out one; the roots check has just resolved them.
struct Folder {
  std::string path;
  std::uint32_t root_index;
  std::optional<DevIno> listed_as;
};

struct Listing {
  std::vector<WalkedFile> files;
  std::vector<Folder> subfolders;
};

WalkedFile walked_file(std::string path, std::size_t name_offset, const struct statx& st, std::uint32_t root_index) {
  const DevIno id = identity(st);
  std::optional<std::int64_t> created_ns;
  if (st.stx_mask & STATX_BTIME) created_ns = nanoseconds(st.stx_btime.tv_sec, st.stx_btime.tv_nsec);
  return WalkedFile{std::move(path),
                    static_cast<std::uint32_t>(name_offset),
                    st.stx_size,
                    created_ns,
                    nanoseconds(st.stx_mtime.tv_sec, st.stx_mtime.tv_nsec),
                    id.dev,
                    id.ino,
                    st.stx_nlink,
                    root_index};
}

constexpr std::string_view kUserTrashPrefix = ".Trash-";

// The name the freedesktop.org Trash standard gives one user's Trash folder
// on a volume, .Trash-<uid>, of any user (another user's trashed files on a
// shared volume are no originals either). Beside these, .Trash at a volume's
// top is shared by every user.
bool is_user_trash_name(std::string_view name) {
  return name.size() > kUserTrashPrefix.size() && name.starts_with(kUserTrashPrefix) &&
         std::all_of(name.begin() + kUserTrashPrefix.size(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Whether a .Trash-<uid> belongs to the user it names.
bool is_owned_as_named(std::string_view name, const struct statx& st) {
  const std::string_view digits = name.substr(kUserTrashPrefix.size());
  std::uint64_t uid = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), uid);
  return error == std::errc{} && end == digits.data() + digits.size() && uid == st.stx_uid;
}

bool lies_inside(std::string_view path, std::string_view folder) {
  return path::starts_with_components(path, folder) && !path::same_components(path, folder);
}

// An automount trigger is listed without mounting, so the folder opened on
// its path is the mounted one: its identity cannot be known in advance.
std::optional<DevIno> listed_identity(const struct statx& st) {
  if (st.stx_attributes & STATX_ATTR_AUTOMOUNT) return std::nullopt;
  return identity(st);
}

// Lists one folder. The entry's full path is built in one buffer that keeps
// the folder's prefix, so an entry costs an allocation only when it is kept.
class FolderListing {
public:
  FolderListing(const Folder& folder, const WalkContext& context)
      : folder_(folder),
        context_(context),
        path_(folder.path),
        folder_path_valid_(text::is_valid_utf8(folder.path)) {
    if (path_.empty() || path_.back() != '/') path_ += '/';
    prefix_length_ = path_.size();
    above_listed_ = !context.above_listed.empty() && context.above_listed.contains(path_);
  }

  Listing run() {
    detail::DirReader reader(folder_.path.c_str());
    if (reader.error() == 0 && !is_as_listed(reader)) {
      skip(folder_.path, {SkipReason::Changed{}});
      return {};
    }
    while (reader.error() == 0 && !is_cancelled(context_.cancel)) {
      const auto name = reader.next();
      if (!name) break;
      visit(reader, *name);
    }
    if (reader.error() != 0) skip(folder_.path, skip_reason_for_errno(reader.error()));
    // One shared increment per folder instead of one per file: nothing reads
    // the counter before the level ends.
    context_.reporter.files_seen.fetch_add(regular_files_, std::memory_order_relaxed);
    return std::move(listing_);
  }

private:
  // Whether the opened folder is the one its parent's listing saw. Notes on
  // the way whether it is a volume's top (a mount's root), where the
  // per-volume Trash folders are.
  bool is_as_listed(const detail::DirReader& reader) {
    struct statx st;
    const bool identified = reader.identify(st) == 0;
    volume_top_ = identified && (st.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
    if (!folder_.listed_as) return true;
    return identified && identity(st) == *folder_.listed_as;
  }

  void visit(const detail::DirReader& reader, std::string_view name) {
    if (!text::is_valid_utf8(name)) return skip(entry_path(name), {SkipReason::InvalidName{}});
    if (!context_.settings.include_hidden && name.front() == '.') return leave_out(name);
    if (is_excluded(name)) return leave_out(name);
    // The name is valid here, so the joined path is valid exactly when the folder's is.
    if (!folder_path_valid_) return skip(entry_path(name), {SkipReason::InvalidName{}});
    struct statx st;
    if (const int error = reader.lstat_entry(name, st); error != 0) {
      return skip(entry_path(name), skip_reason_for_errno(error));
    }
    if (S_ISREG(st.stx_mode)) {
      ++regular_files_;
      if (st.stx_size >= context_.settings.min_size) {
        listing_.files.push_back(walked_file(entry_path(name), prefix_length_, st, folder_.root_index));
      }
    } else if (S_ISDIR(st.stx_mode)) {
      if (detail::has_package_extension(name, context_.settings.package_extensions) || is_trash(reader, name, st))
        return leave_out(name);
      const std::string& path = entry_path(name);
      listing_.subfolders.push_back(Folder{path, subfolder_root_index(path), listed_identity(st)});
    }
  }

  // The home Trash, known by its identity; at a volume's top, the folders the
  // standard names there; anywhere else, a .Trash-<uid> that holds the
  // standard's two folders, or a sticky .Trash, the only kind the standard
  // shares among users: one at the point of a bind mount is an ordinary folder
  // of the volume below. Only the first name costs the extra look.
  bool is_trash(const detail::DirReader& reader, std::string_view name, const struct statx& st) const {
    if (identity(st) == context_.settings.home_trash) return true;
    if (is_user_trash_name(name)) return volume_top_ || is_user_trash(reader, name, st);
    return name == ".Trash" && (volume_top_ || (st.stx_mode & S_ISVTX) != 0);
  }

  // Another user's Trash is closed to everyone else (the standard makes it
  // 0700): where only its owner, the user its name gives, may look inside, it
  // is taken for one unseen rather than reported as a folder not read.
  static bool is_user_trash(const detail::DirReader& reader, std::string_view name, const struct statx& st) {
    const int files = reader.entry_holds_folder(name, "files");
    if (files == 0) return reader.entry_holds_folder(name, "info") == 0;
    return files == EACCES && is_owned_as_named(name, st);
  }

  // A folder left out by its name or kind may hold folders, or be one, that
  // the user listed and the roots check dropped as nested in a root above.
  // They are the user's explicit choice: each is walked from itself, with
  // the index it would have had through the left-out folder.
  void leave_out(std::string_view name) {
    if (!above_listed_) return;
    const std::string& left_out = entry_path(name);
    const auto at_or_below = [&](const std::string& path) { return path::starts_with_components(path, left_out); };
    for (const auto& [path, index] : context_.nested) {
      const auto encloses = [&](const auto& other) {
        return at_or_below(other.first) && lies_inside(path, other.first);
      };
      // One inside another such folder is reached through that one.
      if (at_or_below(path) && std::none_of(context_.nested.begin(), context_.nested.end(), encloses))
        listing_.subfolders.push_back(Folder{path, std::min(folder_.root_index, index), std::nullopt});
    }
  }

  bool is_excluded(std::string_view name) const {
    return std::any_of(context_.excluded.begin(), context_.excluded.end(),
                       [&](const detail::NamePattern& pattern) { return pattern.matches(name); });
  }

  // A folder that was itself configured as a root, dropped as nested, keeps
  // the better of the two indices for everything below it.
  std::uint32_t subfolder_root_index(const std::string& path) const {
    const auto nested = context_.nested.find(path);
    return nested == context_.nested.end() ? folder_.root_index : std::min(folder_.root_index, nested->second);
  }

  const std::string& entry_path(std::string_view name) {
    path_.resize(prefix_length_);
    path_.append(name);
    return path_;
  }

  void skip(const std::string& path, SkipReason reason) {
    context_.reporter.skip(text::repair_utf8(path), std::move(reason));
  }

  const Folder& folder_;
  const WalkContext& context_;
  std::string path_;
  std::size_t prefix_length_ = 0;
  bool folder_path_valid_;
  bool above_listed_;
  bool volume_top_ = false;
  std::uint64_t regular_files_ = 0;
  Listing listing_;
};

std::vector<detail::NamePattern> decode_patterns(const std::vector<std::string>& patterns) {
  return {patterns.begin(), patterns.end()};
}

// "/", "/a/" and "/a/b/" for the listed folder /a/b/c.
std::unordered_set<std::string> folders_above(const NestedRootMap& nested) {
  std::unordered_set<std::string> above;
  for (const auto& entry : nested) {
    const std::string& path = entry.first;
    for (auto slash = path.find('/'); slash != std::string::npos; slash = path.find('/', slash + 1))
      above.insert(path.substr(0, slash + 1));
  }
  return above;
}

// Appends every listing's files to files and returns the next frontier, both
// in frontier order.
std::vector<Folder> collect(std::vector<Listing>& listings, std::vector<WalkedFile>& files) {
  std::vector<Folder> next;
  for (Listing& listing : listings) {
    files.insert(files.end(), std::make_move_iterator(listing.files.begin()),
                 std::make_move_iterator(listing.files.end()));
    next.insert(next.end(), std::make_move_iterator(listing.subfolders.begin()),
                std::make_move_iterator(listing.subfolders.end()));
  }
  return next;
}

}  // namespace

std::vector<WalkedFile> walk_root(const std::vector<WalkRoot>& roots, const NestedRootMap& nested,
                                  const WalkSettings& settings, ProgressReporter& reporter,
                                  const CancelFlag& cancel) {
  const WalkContext context{nested, folders_above(nested), settings, decode_patterns(settings.excluded_names), reporter,
                            cancel};
  std::vector<WalkedFile> files;
  std::vector<Folder> frontier;
  frontier.reserve(roots.size());
  for (const WalkRoot& root : roots) frontier.push_back(Folder{root.path, root.root_index, std::nullopt});
  while (!is_cancelled(cancel) && !frontier.empty()) {
    std::vector<Listing> listings(frontier.size());
    // Runs in the caller's arena, so the walk pool's threads share the level.
    tbb::parallel_for(std::size_t{0}, frontier.size(),
                      [&](std::size_t i) { listings[i] = FolderListing(frontier[i], context).run(); });
    frontier = collect(listings, files);
    reporter.flush(false);
  }
  return files;
}

}  // namespace quelmaris::walk
