#include "trash.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "file_facts.hpp"
#include "temp_tree.hpp"

namespace quelmaris {
namespace {

using testing::TempTree;
namespace fs = std::filesystem;

// The entry a scan would have recorded for the file as it is now.
FileEntry recorded(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) throw std::runtime_error("cannot lstat " + path);
  const auto size = static_cast<std::uint64_t>(st.st_size);
  const auto nlink = static_cast<std::uint32_t>(st.st_nlink);
  const std::string name = fs::path(path).filename().string();
  return FileEntry{path, name, 0, size, {}, modified_ns(st), device_id(st.st_dev), st.st_ino, nlink, {}, false, {}};
}

void set_mtime(const std::string& path, std::int64_t ns) {
  const timespec times[2] = {{0, UTIME_OMIT}, {ns / 1'000'000'000, ns % 1'000'000'000}};
  if (::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0) throw std::runtime_error("utimensat");
}

PlanSet plan_set(std::uint64_t id, std::vector<FileEntry> files, std::uint32_t keeper,
                 std::vector<std::uint32_t> marked, bool verified = true) {
  return PlanSet{id, std::move(files), keeper, std::move(marked), verified};
}

InvariantViolation violation_of(const std::vector<PlanSet>& sets) {
  const auto result = plan_trash(sets, false);
  if (result.ok()) throw std::runtime_error("plan was not refused");
  return result.error();
}

TrashPlan plan_of(const std::vector<PlanSet>& sets, bool allow_unverified = false) {
  auto result = plan_trash(sets, allow_unverified);
  if (!result.ok()) throw std::runtime_error("plan was refused");
  return std::move(result).value();
}

TEST(CheckIdentity, every_difference_from_the_record_is_seen_and_only_those) {
  using enum Identity;
  // Each change is given the path of another file, the recorded file's path and its entry.
  // clang-format off
  const std::tuple<const char*, void (*)(const std::string&, const std::string&, FileEntry&), Identity> cases[] = {
      {"untouched", [](auto&, auto&, auto&) {}, Same},
      {"deleted", [](auto&, auto& p, auto&) { fs::remove(p); }, Missing},
      {"size changed, mtime restored",
       [](auto&, auto& p, auto& e) { fs::resize_file(p, 1); set_mtime(p, e.modified_ns); }, Changed},
      {"mtime one nanosecond later", [](auto&, auto& p, auto& e) { set_mtime(p, e.modified_ns + 1); }, Changed},
      {"another inode, equal size and mtime",
       [](auto& o, auto& p, auto& e) { set_mtime(o, e.modified_ns); fs::rename(o, p); }, Changed},
      {"a symbolic link to the original",
       [](auto& o, auto& p, auto&) { fs::rename(p, o); fs::create_symlink(o, p); }, Changed},
      {"a parent that is now a file (ENOTDIR)", [](auto&, auto& p, auto& e) { e.path = p + "/below"; }, Changed},
      {"recorded on another device", [](auto&, auto&, auto& e) { e.dev += 1; }, Changed},
      {"a zero byte after the real path", [](auto&, auto&, auto& e) { e.path.push_back('\0'); }, Changed},
      {"a new hard link", [](auto& o, auto& p, auto&) { fs::remove(o); fs::create_hard_link(p, o); }, Same},
      {"other birth time and clone facts",
       [](auto&, auto&, auto& e) { e.created_ns = 1; e.clone_id = 42; e.may_share_blocks = true; }, Same},
  };
  // clang-format on
  for (const auto& [what, change, expected] : cases) {
    SCOPED_TRACE(what);
    TempTree tree;
    const auto path = tree.write("dir/file", "content");
    auto entry = recorded(path);
    change(tree.write("other", "content"), path, entry);
    EXPECT_EQ(check_identity(entry), expected);
  }
}

TEST(CheckIdentity, a_file_that_cannot_be_examined_is_changed_not_missing) {
  TempTree tree;
  const auto path = tree.write("closed/file", "content");
  const auto entry = recorded(path);
  fs::permissions(tree.path("closed"), fs::perms::owner_read);
  const int status = testing::run_unprivileged([&] { return check_identity(entry) == Identity::Changed ? 0 : 1; });
  EXPECT_EQ(status, 0);
}

class PlanTrash : public ::testing::Test {
 protected:
  FileEntry file(const std::string& name, std::string_view content = "same content") {
    return recorded(tree.write(name, content));
  }
  TempTree tree;
};

TEST_F(PlanTrash, refusals_come_in_their_fixed_order) {
  const auto a = file("a"), b = file("b"), c = file("c");
  fs::create_hard_link(a.path, tree.path("a-link"));
  const auto a_link = recorded(tree.path("a-link"));
  auto a_elsewhere = a;  // same path, other inode: refused by path alone
  a_elsewhere.ino += 1;
  using V = InvariantViolation;
  const std::tuple<const char*, std::vector<PlanSet>, V> cases[] = {
      {"one file, nothing marked", {plan_set(1, {a}, 0, {})}, {V::TooSmall{1}}},
      {"no files, index out of range not reached", {plan_set(1, {}, 7, {9})}, {V::TooSmall{1}}},
      {"first out-of-range mark in list order", {plan_set(1, {a, b, c}, 0, {5, 1})}, {V::IndexOutOfRange{1, 5}}},
      {"marks before the keeper", {plan_set(1, {a, b, c}, 4, {1, 3})}, {V::IndexOutOfRange{1, 3}}},
      {"keeper out of range, nothing marked", {plan_set(1, {a, b, c}, 3, {})}, {V::IndexOutOfRange{1, 3}}},
      {"keeper marked", {plan_set(1, {a, b, c}, 1, {1})}, {V::KeeperMarked{1}}},
      {"keeper marked after its hard link", {plan_set(1, {a, a_link, c}, 0, {1, 0})}, {V::KeeperMarked{1}}},
      {"hard link of the keeper marked", {plan_set(1, {a, b, a_link}, 0, {1, 2})}, {V::SameInodeAsKeeper{1}}},
      {"keeper's path marked", {plan_set(1, {a_elsewhere, b, a}, 2, {0})}, {V::SameInodeAsKeeper{1}}},
      {"first bad set wins",
       {plan_set(1, {a, b}, 0, {1}), plan_set(2, {a, b}, 0, {0}), plan_set(3, {a}, 0, {})},
       {V::KeeperMarked{2}}},
      {"a bad set anywhere beats a keeper that would move",
       {plan_set(1, {a, b}, 0, {}), plan_set(2, {c, a}, 0, {1}), plan_set(3, {c}, 0, {})},
       {V::TooSmall{3}}},
  };
  for (const auto& [what, sets, expected] : cases) {
    SCOPED_TRACE(what);
    EXPECT_EQ(violation_of(sets), expected);
  }
}

TEST_F(PlanTrash, unverified_sets_are_skipped_unexamined_unless_allowed) {
  const auto a = file("a"), b = file("b"), c = file("c");
  const std::vector<PlanSet> sets = {plan_set(4, {a, b, c}, 0, {2, 1}, false)};
  const auto plan = plan_of(sets, true);
  EXPECT_EQ(plan.to_move, (std::vector<PlannedMove>{{4, c, a.path}, {4, b, a.path}}));
  EXPECT_TRUE(plan.skipped.empty());

  fs::remove(a.path);
  fs::remove(b.path);
  EXPECT_EQ(plan_of(sets, false),
            (TrashPlan{{}, {{4, c.path, PlanSkipReason::Unverified}, {4, b.path, PlanSkipReason::Unverified}}}));
}

TEST_F(PlanTrash, a_keeper_gone_or_changed_holds_back_its_whole_set_unexamined) {
  const std::tuple<const char*, void (*)(const std::string&), PlanSkipReason> cases[] = {
      {"deleted", [](const std::string& p) { fs::remove(p); }, PlanSkipReason::KeeperMissing},
      {"rewritten", [](const std::string& p) { fs::resize_file(p, 5); }, PlanSkipReason::KeeperChanged},
  };
  for (const auto& [what, change_keeper, expected] : cases) {
    SCOPED_TRACE(what);
    TempTree t;
    const auto keeper = recorded(t.write("keep", "x")), gone = recorded(t.write("gone", "x")),
               fine = recorded(t.write("fine", "x"));
    fs::remove(gone.path);  // would be Missing if it were looked at
    change_keeper(keeper.path);
    EXPECT_EQ(plan_of({plan_set(9, {gone, keeper, fine}, 1, {2, 0})}),
              (TrashPlan{{}, {{9, fine.path, expected}, {9, gone.path, expected}}}));
  }
}

TEST_F(PlanTrash, marked_files_gone_or_changed_stay_while_the_rest_move_in_order_as_sent) {
  const auto keep = file("keep"), gone = file("gone"), changed = file("changed");
  auto fine = file("fine");  // a move carries the entry as sent, not as read back from disk
  std::tie(fine.name, fine.root_index, fine.created_ns, fine.nlink, fine.clone_id, fine.may_share_blocks,
           fine.freed_bytes) = std::tuple("shown name", 7u, -5, 3u, 11u, true, 0u);
  const auto other_keep = file("other/keep"), other_fine = file("other/fine");
  fs::remove(gone.path);
  set_mtime(changed.path, changed.modified_ns + 1);
  const auto plan =
      plan_of({plan_set(1, {keep, gone, changed, fine}, 0, {3, 1, 2}), plan_set(2, {other_fine, other_keep}, 1, {0})});
  EXPECT_EQ(plan.to_move, (std::vector<PlannedMove>{{1, fine, keep.path}, {2, other_fine, other_keep.path}}));
  EXPECT_EQ(plan.skipped, (std::vector<PlanSkip>{{1, gone.path, PlanSkipReason::Missing},
                                                 {1, changed.path, PlanSkipReason::Changed}}));
}

// Once the file is gone or changed it is only skipped where it is marked.
TEST_F(PlanTrash, a_file_kept_in_one_set_is_refused_as_an_extra_copy_of_another_until_gone_or_changed) {
  const auto shared = file("shared"), a_other = file("a-other"), b_keep = file("b-keep"), c_keep = file("c-keep");
  const auto b_marks_shared = plan_set(20, {b_keep, shared}, 0, {1});
  const auto c_marks_shared = plan_set(30, {shared, c_keep}, 1, {0});
  // Whether the keeping set has marks or not; it comes last: keepers of the whole
  // request count, and the first move in order names the set.
  for (const auto& keeps_shared : {plan_set(10, {shared, a_other}, 0, {1}), plan_set(10, {shared, a_other}, 0, {})}) {
    SCOPED_TRACE(keeps_shared.marked.size());
    EXPECT_EQ(violation_of({b_marks_shared, c_marks_shared, keeps_shared}),
              InvariantViolation{InvariantViolation::KeeperMarked{20}});
  }

  const std::vector<PlanSet> sets = {plan_set(1, {shared, a_other}, 0, {}), b_marks_shared};
  fs::resize_file(shared.path, 1);
  EXPECT_EQ(plan_of(sets), (TrashPlan{{}, {{20, shared.path, PlanSkipReason::Changed}}}));
  fs::remove(shared.path);
  EXPECT_EQ(plan_of(sets), (TrashPlan{{}, {{20, shared.path, PlanSkipReason::Missing}}}));
}

}  // namespace
}  // namespace quelmaris
