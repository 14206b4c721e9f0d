#include "walk.hpp"

#include "file_facts.hpp"
#include "mount_namespace.hpp"
#include "recording_listener.hpp"
#include "temp_tree.hpp"

#include <gtest/gtest.h>
#include <tbb/task_arena.h>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <functional>
#include <filesystem>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace quelmaris {
namespace {

namespace fs = std::filesystem;
using testing::RecordingListener;
using testing::TempTree;

struct WalkOutcome {
  std::vector<WalkedFile> files;
  std::vector<SkippedItem> skipped;
  std::uint64_t files_seen = 0;
  bool progress_sent_by_walk = false;
};

WalkSettings settings(std::vector<std::string> excluded = {}, std::vector<std::string> packages = {},
                      bool include_hidden = true, std::uint64_t min_size = 1,
                      std::optional<DevIno> home_trash = std::nullopt) {
  return WalkSettings{std::move(excluded), std::move(packages), include_hidden, min_size, home_trash};
}

// The hook sees each event the walk sends and may cancel the walk.
using Hook = std::function<void(const ScanEvent&, CancelFlag&)>;

WalkOutcome run_walk(const std::vector<WalkRoot>& roots, const WalkSettings& walk_settings,
                     const NestedRootMap& nested = {}, bool cancelled = false, int threads = 4, const Hook& hook = {}) {
  RecordingListener listener;
  CancelFlag cancel{static_cast<std::uint8_t>(cancelled ? 1 : 0)};
  if (hook) listener.hook = [&](const ScanEvent& event) { hook(event, cancel); };
  ProgressReporter reporter(listener);
  WalkOutcome outcome;
  tbb::task_arena arena(threads);
  arena.execute([&] { outcome.files = walk::walk_root(roots, nested, walk_settings, reporter, cancel); });
  outcome.progress_sent_by_walk = !listener.events().empty();
  listener.hook = nullptr;
  reporter.flush(true);
  outcome.skipped = testing::skipped_items(listener.events());
  outcome.files_seen = reporter.files_seen.load();
  return outcome;
}

std::vector<std::string> relative_paths(const WalkOutcome& outcome, const TempTree& tree) {
  const std::string prefix = tree.root().string() + "/";
  std::vector<std::string> paths;
  for (const WalkedFile& file : outcome.files)
    paths.push_back(file.path.rfind(prefix, 0) == 0 ? file.path.substr(prefix.size()) : file.path);
  std::sort(paths.begin(), paths.end());
  return paths;
}

using Paths = std::vector<std::string>;

// The walk found exactly these files, counted each, and reported nothing:
// what it left out, it left out silently.
void expect_walked_silently(const WalkOutcome& outcome, const TempTree& tree, const Paths& expected) {
  EXPECT_EQ(relative_paths(outcome, tree), expected);
  EXPECT_EQ(outcome.files_seen, expected.size());
  EXPECT_TRUE(outcome.skipped.empty());
}

// The root's trailing "/" tests that a path is joined without a double one.
TEST(Walk, walked_file_carries_the_entrys_own_lstat_facts) {
  TempTree tree;
  const std::string file = tree.write("sub/data.bin", "0123456789");
  fs::create_hard_link(file, tree.path("linked.bin"));
  const WalkOutcome outcome = run_walk({WalkRoot{tree.path("sub") + "/", 3}}, settings());

  struct stat st {};
  ASSERT_EQ(::lstat(file.c_str(), &st), 0);
  struct statx birth {};
  ASSERT_EQ(::statx(AT_FDCWD, file.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BTIME, &birth), 0);
  const auto created = (birth.stx_mask & STATX_BTIME)
                           ? std::optional{nanoseconds(birth.stx_btime.tv_sec, birth.stx_btime.tv_nsec)}
                           : std::nullopt;
  const auto name_at = static_cast<std::uint32_t>(file.size() - 8);
  const WalkedFile expected{file, name_at, 10, created, modified_ns(st), device_id(st.st_dev), st.st_ino, 2, 3};
  EXPECT_EQ(outcome.files, std::vector{expected});
  EXPECT_EQ(outcome.files.at(0).name(), "data.bin");
  EXPECT_TRUE(outcome.skipped.empty());
  EXPECT_TRUE(outcome.progress_sent_by_walk);
}

// Each setting leaves out what it names, never enters a left-out folder and
// reports nothing; files below the minimum size are still counted as seen.
// Links and special files are never followed, listed, counted or reported.
TEST(Walk, settings_leave_out_names_folders_and_small_files_but_never_a_root_and_links_are_never_followed) {
  TempTree tree;
  // clang-format off
  tree.write({{"ten", "1234567890"}, {"empty", ""}, {"one", "x"}, {".h", "x"}, {"d/.h", "x"}, {".d/f", "x"},
              {"P.PhotosLibrary/f", "x"}, {"f.photoslibrary", "x"}, {"d/abc/f", "x"}});
  const std::tuple<const char*, WalkSettings, Paths, std::uint64_t> cases[] = {
      {"defaults: only the empty file is too small", settings(),
       {".d/f", ".h", "P.PhotosLibrary/f", "d/.h", "d/abc/f", "f.photoslibrary", "one", "ten"}, 9},
      {"hidden names at any depth", settings({}, {}, false),
       {"P.PhotosLibrary/f", "d/abc/f", "f.photoslibrary", "one", "ten"}, 6},
      {"package folders, not files", settings({}, {"photoslibrary"}),
       {".d/f", ".h", "d/.h", "d/abc/f", "f.photoslibrary", "one", "ten"}, 8},
      {"excluded names", settings({"a*b*c", "one"}),
       {".d/f", ".h", "P.PhotosLibrary/f", "d/.h", "f.photoslibrary", "ten"}, 7},
      {"minimum size met exactly", settings({}, {}, true, 10), {"ten"}, 9},
  };
  // A root is listed whatever its own name.
  const std::pair<const char*, WalkSettings> roots[] = {
      {"P.PhotosLibrary", settings({}, {"photoslibrary"})}, {".d", settings({}, {}, false)},
      {"d/abc", settings({"a*b*c"})}};
  // clang-format on
  fs::create_symlink(tree.path("one"), tree.path("link-to-file"));
  fs::create_symlink(tree.path("d"), tree.path("link-to-folder"));
  fs::create_symlink(tree.path("nowhere"), tree.path("dangling"));
  ASSERT_EQ(::mkfifo(tree.path("pipe").c_str(), 0600), 0);
  for (const auto& [what, walk_settings, expected, seen] : cases) {
    SCOPED_TRACE(what);
    const WalkOutcome outcome = run_walk({WalkRoot{tree.root().string(), 0}}, walk_settings);
    EXPECT_EQ(relative_paths(outcome, tree), expected);
    EXPECT_EQ(outcome.files_seen, seen);
    EXPECT_TRUE(outcome.skipped.empty());
  }
  for (const auto& [root, walk_settings] : roots)
    EXPECT_EQ(run_walk({WalkRoot{tree.path(root), 0}}, walk_settings).files.size(), 1u) << root;
}

std::vector<SkippedItem> sorted_by_path(std::vector<SkippedItem> skipped) {
  std::sort(skipped.begin(), skipped.end(), [](const auto& a, const auto& b) { return a.path < b.path; });
  return skipped;
}

// A folder whose name is invalid is reported, not entered; below a root with
// an invalid path every entry is reported, none walked.
TEST(Walk, invalid_utf8_names_are_reported_before_hidden_and_excluded_tests) {
  TempTree tree;
  // clang-format off
  tree.write({{"bad\xFF", "x"}, {".hidden\xFF", "x"}, {"folder\xFE/file.txt", "x"}, {"folder\xFE/.hidden", "x"},
              {"folder\xFE/sub/inner.txt", "x"}, {"good.txt", "x"}});
  // clang-format on
  const WalkOutcome outcome = run_walk({WalkRoot{tree.root().string(), 0}}, settings({"*\xFF", ".*"}, {}, false));
  EXPECT_EQ(relative_paths(outcome, tree), Paths{"good.txt"});
  EXPECT_EQ(outcome.files_seen, 1u);
  const std::string folder = tree.path("folder\xEF\xBF\xBD");
  const SkipReason invalid{SkipReason::InvalidName{}};
  EXPECT_EQ(sorted_by_path(outcome.skipped), (std::vector<SkippedItem>{{tree.path(".hidden\xEF\xBF\xBD"), invalid},
                                                                       {tree.path("bad\xEF\xBF\xBD"), invalid},
                                                                       {folder, invalid}}));

  const WalkOutcome below = run_walk({WalkRoot{tree.path("folder\xFE"), 0}}, settings({}, {}, false));
  EXPECT_EQ(std::tuple(below.files.size(), below.files_seen), std::tuple(0u, 0u));
  EXPECT_EQ(sorted_by_path(below.skipped),
            (std::vector<SkippedItem>{{folder + "/file.txt", invalid}, {folder + "/sub", invalid}}));
}

TEST(Walk, files_below_a_nested_root_keep_the_better_index) {
  TempTree tree;
  tree.write({{"outer/top.txt", "x"}, {"outer/inner/mid.txt", "x"}, {"outer/inner/deep/low.txt", "x"}});
  // {outer's index, inner's index, index of the top file, index below the inner root}
  for (const auto& [outer, inner, top, below_inner] : {std::array{1u, 0u, 1u, 0u}, {0u, 1u, 0u, 0u}}) {
    SCOPED_TRACE("outer " + std::to_string(outer) + " inner " + std::to_string(inner));
    const WalkOutcome outcome =
        run_walk({WalkRoot{tree.path("outer"), outer}}, settings(), {{tree.path("outer/inner"), inner}});
    ASSERT_EQ(outcome.files.size(), 3u);
    for (const WalkedFile& file : outcome.files)
      EXPECT_EQ(file.root_index, file.path.find("/inner/") != std::string::npos ? below_inner : top) << file.path;
  }
}

// The home Trash is known by identity, not by name or place. A listed folder
// inside it was dropped as nested in the root above, and is walked all the same.
TEST(Walk, the_home_trash_is_left_out_silently_unless_it_or_a_folder_inside_it_is_listed) {
  TempTree tree;
  tree.write({{"keep.txt", "x"}, {"data/Trash/files/old/f", "x"}, {"data/Trash/info/old.trashinfo", "x"}});
  struct statx trash {};
  ASSERT_EQ(::statx(AT_FDCWD, tree.path("data/Trash").c_str(), 0, STATX_INO, &trash), 0);
  const std::tuple<const char*, NestedRootMap, Paths> cases[] = {
      {"left out", {}, {"keep.txt"}},
      {"listed itself",
       {{tree.path("data/Trash"), 0}},
       {"data/Trash/files/old/f", "data/Trash/info/old.trashinfo", "keep.txt"}},
      {"a folder inside listed twice over",
       {{tree.path("data/Trash/files"), 2}, {tree.path("data/Trash/files/old"), 0}},
       {"data/Trash/files/old/f", "keep.txt"}},
  };
  for (const auto& [what, nested, expected] : cases) {
    SCOPED_TRACE(what);
    const WalkOutcome outcome =
        run_walk({WalkRoot{tree.root().string(), 1}}, settings({}, {}, true, 1, identity(trash)), nested);
    expect_walked_silently(outcome, tree, expected);
    for (const WalkedFile& file : outcome.files) EXPECT_EQ(file.root_index, file.name() == "keep.txt" ? 1u : 0u);
  }
}

// Whatever leaves a folder out (a hidden name, a package, an excluded name),
// a listed folder inside it, dropped as nested in the root above, is walked
// from itself, once, however deep; so is a left-out folder that is listed.
TEST(Walk, a_listed_folder_inside_a_left_out_folder_is_walked_with_its_index) {
  TempTree tree;
  // clang-format off
  tree.write({{"top.txt", "x"}, {".cache/inner/a.txt", "x"}, {".cache/other.txt", "x"}, {".cache/.deep/inner/d.txt", "x"},
              {"Tool.app/inner/b.txt", "x"}, {"Tool.app/other.txt", "x"}, {"skip/inner/c.txt", "x"}});
  const std::tuple<const char*, NestedRootMap, Paths> cases[] = {
      {"none listed", {}, {"top.txt"}},
      {"a folder inside each",
       {{tree.path(".cache/inner"), 0}, {tree.path(".cache/.deep/inner"), 0}, {tree.path("Tool.app/inner"), 0},
        {tree.path("skip/inner"), 0}},
       {".cache/.deep/inner/d.txt", ".cache/inner/a.txt", "Tool.app/inner/b.txt", "skip/inner/c.txt", "top.txt"}},
      {"the left-out folders themselves, and one inside again",
       {{tree.path(".cache"), 0}, {tree.path(".cache/inner"), 2}, {tree.path("Tool.app"), 0}, {tree.path("skip"), 0}},
       {".cache/inner/a.txt", ".cache/other.txt", "Tool.app/inner/b.txt", "Tool.app/other.txt", "skip/inner/c.txt",
        "top.txt"}},
  };
  // clang-format on
  for (const auto& [what, nested, expected] : cases) {
    SCOPED_TRACE(what);
    const WalkOutcome outcome =
        run_walk({WalkRoot{tree.root().string(), 1}}, settings({"skip"}, {"app"}, false), nested);
    expect_walked_silently(outcome, tree, expected);
    for (const WalkedFile& file : outcome.files) EXPECT_EQ(file.root_index, file.name() == "top.txt" ? 1u : 0u);
  }
}

// A Trash made inside an ordinary folder (the top of a bind mount elsewhere)
// is known by its name and its two folders; the other names stay ordinary.
TEST(Walk, a_trash_at_any_depth_is_left_out_silently_unless_it_or_a_folder_inside_it_is_listed) {
  TempTree tree;
  // clang-format off
  tree.write({{"a/.Trash-1000/files/old/f", "x"}, {"a/.Trash-1000/info/old.trashinfo", "x"},
              {"a/.Trash-1001/files/f", "x"}, {"a/.Trash-1002/info/f", "x"}, {"a/.Trash/files/f", "x"},
              {"a/.Trash/info/f", "x"}, {"a/Trash-1003/files/f", "x"}, {"a/Trash-1003/info/f", "x"}});
  tree.write("b/.Trash/1000/files/f", "x");
  // clang-format on
  // The standard shares a .Trash only when it is sticky.
  ASSERT_EQ(::chmod(tree.path("b/.Trash").c_str(), 01777), 0);
  const Paths others{"a/.Trash-1001/files/f", "a/.Trash-1002/info/f", "a/.Trash/files/f", "a/.Trash/info/f",
                     "a/Trash-1003/files/f", "a/Trash-1003/info/f"};
  const auto with = [&](Paths paths) {
    paths.insert(paths.end(), others.begin(), others.end());
    std::sort(paths.begin(), paths.end());
    return paths;
  };
  const std::tuple<const char*, NestedRootMap, Paths> cases[] = {
      {"left out", {}, others},
      {"listed itself",
       {{tree.path("a/.Trash-1000"), 0}},
       with({"a/.Trash-1000/files/old/f", "a/.Trash-1000/info/old.trashinfo"})},
      {"a folder inside listed", {{tree.path("a/.Trash-1000/files/old"), 0}}, with({"a/.Trash-1000/files/old/f"})},
  };
  for (const auto& [what, nested, expected] : cases) {
    SCOPED_TRACE(what);
    const WalkOutcome outcome = run_walk({WalkRoot{tree.root().string(), 1}}, settings(), nested);
    expect_walked_silently(outcome, tree, expected);
  }
}

// Each user's Trash is closed to the others: one the scanning user cannot open
// is still known by its name and owner, while a closed folder that only
// looks like one is reported.
TEST(Walk, another_users_trash_closed_to_the_scanning_user_is_left_out_silently) {
  TempTree tree;
  tree.write({{"a/.Trash-0/files/f", "x"}, {"a/.Trash-0/info/f.trashinfo", "x"}, {"a/.Trash-4321/files/f", "x"},
              {"a/kept.txt", "x"}});
  // Made by root here: .Trash-0 is its owner's, .Trash-4321 is not.
  for (const char* folder : {"a/.Trash-0", "a/.Trash-4321"}) ASSERT_EQ(::chmod(tree.path(folder).c_str(), 0700), 0);
  const int status = testing::run_unprivileged([&] {
    const WalkOutcome outcome = run_walk({WalkRoot{tree.root().string(), 0}}, settings(), {}, false, 1);
    if (relative_paths(outcome, tree) != Paths{"a/kept.txt"}) return 1;
    const std::vector<SkippedItem> expected{{tree.path("a/.Trash-4321"), SkipReason{SkipReason::Permission{}}}};
    return outcome.skipped == expected ? 0 : 2;
  });
  EXPECT_EQ(status, 0);
}

// A fresh tmpfs in a private mount namespace makes a volume's top, met both
// as a root and as a folder inside one; the names mean nothing elsewhere.
TEST(Walk, trash_folders_at_a_volumes_top_are_left_out_silently) {
  TempTree tree;
  const std::string volume = tree.mkdir("volume");
  const int status = testing::run_in_private_mount_namespace([&] {
    if (::mount("tmpfs", volume.c_str(), "tmpfs", 0, nullptr) != 0) return 1;
    // clang-format off
    tree.write({{"volume/.Trash/1000/files/f", "x"}, {"volume/.Trash-1234/files/f", "x"}, {"volume/.Trash-/f", "x"},
                {"volume/.Trash-12a/f", "x"}, {"volume/.Trashes2/f", "x"}, {"volume/sub/.Trash-1234/f", "x"},
                {"volume/sub/.Trash/f", "x"}});
    // clang-format on
    const Paths kept{"volume/.Trash-/f", "volume/.Trash-12a/f", "volume/.Trashes2/f", "volume/sub/.Trash-1234/f",
                     "volume/sub/.Trash/f"};
    for (const std::string& root : {tree.root().string(), volume}) {
      const WalkOutcome outcome = run_walk({WalkRoot{root, 0}}, settings(), {}, false, 1);
      if (relative_paths(outcome, tree) != kept) return 2;
      if (outcome.files_seen != kept.size() || !outcome.skipped.empty()) return 3;
    }
    return 0;
  });
  if (status == testing::kNoMountNamespace) GTEST_SKIP() << "no mount namespace on this machine";
  EXPECT_EQ(status, 0);
}

TEST(Walk, a_cancel_starts_no_further_level) {
  TempTree tree;
  tree.write({{"top.txt", "x"}, {"sub/below.txt", "x"}});
  const WalkOutcome before_start = run_walk({WalkRoot{tree.root().string(), 0}}, settings(), {}, true);
  EXPECT_EQ(std::tuple(before_start.files.size(), before_start.files_seen, before_start.skipped.size()),
            std::tuple(0u, 0u, 0u));
  // The walk sends its first event after its first level.
  const auto cancel_at_once = [](const ScanEvent&, CancelFlag& cancel) { cancel.store(1, std::memory_order_relaxed); };
  const WalkOutcome cancelled = run_walk({WalkRoot{tree.root().string(), 0}}, settings(), {}, false, 2, cancel_at_once);
  EXPECT_EQ(relative_paths(cancelled, tree), Paths{"top.txt"});
}

TEST(Walk, a_folder_swapped_for_a_link_after_its_parent_was_listed_is_skipped_as_changed) {
  TempTree tree;
  tree.write({{"r/A/B/b.txt", "x"}, {"outside/B/secret.txt", "x"}});
  // Between the level that lists r/A and the one that opens r/A/B (the walk's
  // second emission, sure to come as the first is held past the throttle), r/A
  // becomes a link to a folder outside the root.
  int sent = 0;
  const auto swap = [&](const ScanEvent&, CancelFlag&) {
    if (++sent == 1) std::this_thread::sleep_for(2 * ProgressReporter::kThrottle);
    if (sent != 2) return;
    fs::remove_all(tree.path("r/A"));
    fs::create_symlink(tree.path("outside"), tree.path("r/A"));
  };
  const WalkOutcome outcome = run_walk({WalkRoot{tree.path("r"), 0}}, settings(), {}, false, 1, swap);
  EXPECT_TRUE(outcome.files.empty());
  EXPECT_EQ(outcome.skipped, (std::vector<SkippedItem>{{tree.path("r/A/B"), {SkipReason::Changed{}}}}));
}

TEST(Walk, many_folders_over_several_roots_are_each_listed_once) {
  TempTree tree;
  std::vector<std::string> expected;
  for (int n = 0; n < 3 * 40 * 5; ++n) {
    const int folder = n / 5 % 40;
    expected.push_back("r" + std::to_string(n / 200) + "/d" + std::to_string(folder) + "/e" +
                       std::to_string(folder % 4) + "/f" + std::to_string(n % 5));
    tree.write(expected.back(), "x");
  }
  std::sort(expected.begin(), expected.end());
  const WalkOutcome outcome =
      run_walk({WalkRoot{tree.path("r0"), 0}, WalkRoot{tree.path("r1"), 1}, WalkRoot{tree.path("r2"), 2}}, settings(),
               {}, false, 8);
  EXPECT_EQ(relative_paths(outcome, tree), expected);
  EXPECT_EQ(outcome.files_seen, expected.size());
  for (const WalkedFile& file : outcome.files)
    EXPECT_EQ(file.path.substr(tree.root().string().size() + 2, 1), std::to_string(file.root_index));
}

// Root reads through any permission bits, so these cases run as an
// unprivileged user in a child process; a single arena thread keeps the
// child clear of the parent's worker threads.
TEST(Walk, unreadable_folders_and_entries_are_reported_and_the_rest_is_walked) {
  TempTree tree;
  tree.write({{"readable.txt", "x"}, {"locked/secret.txt", "x"}, {"unsearchable/hidden-facts.txt", "x"}});
  ASSERT_EQ(::chmod(tree.path("locked").c_str(), 0), 0);
  ASSERT_EQ(::chmod(tree.path("unsearchable").c_str(), 0444), 0);  // names readable, entries not
  const SkipReason permission{SkipReason::Permission{}};

  const int status = testing::run_unprivileged([&] {
    const WalkOutcome outcome = run_walk({WalkRoot{tree.root().string(), 0}}, settings(), {}, false, 1);
    if (relative_paths(outcome, tree) != Paths{"readable.txt"}) return 1;
    const std::vector<SkippedItem> expected{{tree.path("locked"), permission},
                                            {tree.path("unsearchable/hidden-facts.txt"), permission}};
    if (sorted_by_path(outcome.skipped) != expected) return 2;

    const WalkOutcome locked_root = run_walk({WalkRoot{tree.path("locked"), 0}}, settings(), {}, false, 1);
    const std::vector<SkippedItem> root_expected{{tree.path("locked"), permission}};
    return locked_root.files.empty() && locked_root.skipped == root_expected ? 0 : 3;
  });
  EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace quelmaris
