#include "roots.hpp"

#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <filesystem>

#include "mount_namespace.hpp"
#include "temp_tree.hpp"

namespace quelmaris {
namespace {

using testing::TempTree;
namespace fs = std::filesystem;

RootSkipReason missing() { return {RootSkipReason::Missing{}}; }
RootSkipReason unreadable(int error_number) { return {RootSkipReason::Unreadable{error_number}}; }
RootSkipReason duplicate_of(std::string root) { return {RootSkipReason::Duplicate{std::move(root)}}; }
RootSkipReason nested_in(std::string root) { return {RootSkipReason::NestedIn{std::move(root)}}; }

std::string canonical(const std::string& path) { return fs::canonical(path).string(); }

// The check's parts, compared whole.
auto parts(const roots::RootsCheck& check) { return std::tuple(check.walk_roots, check.nested, check.skips); }

TEST(RootsCheck, roots_that_cannot_be_scanned_are_dropped_with_their_reason) {
  TempTree tree;
  const std::string file = tree.write("file.txt", "x");
  const std::string real = tree.mkdir("real");
  fs::create_symlink(tree.path("gone"), tree.path("dangling"));
  fs::create_symlink(tree.path("loop_b"), tree.path("loop_a"));
  fs::create_symlink(tree.path("loop_a"), tree.path("loop_b"));
  const std::tuple<const char*, std::string, RootSkipReason> cases[] = {
      {"does not exist", tree.path("nothing"), missing()},
      {"symbolic link to nothing", tree.path("dangling"), missing()},
      {"regular file", file, {RootSkipReason::NotADirectory{}}},
      {"path through a regular file", file + "/inner", {RootSkipReason::NotADirectory{}}},
      {"symbolic link loop", tree.path("loop_a"), unreadable(ELOOP)},
      // Truncated at the zero byte the text would name an existing folder.
      {"zero byte after an existing folder", real + std::string("\0/elsewhere", 11), unreadable(0)},
  };
  for (const auto& [name, root, expected] : cases)
    EXPECT_EQ(parts(roots::check_roots({root})), parts({{}, {}, {{root, expected}}})) << name;
}

TEST(RootsCheck, a_folder_listed_again_is_a_duplicate_of_the_first_listing) {
  TempTree tree;
  const std::string folder = tree.mkdir("real/folder");
  const std::string expected = canonical(folder);
  fs::create_directory_symlink(folder, tree.path("link"));
  fs::create_directory_symlink(tree.path("real"), tree.path("parent_link"));
  for (const std::string& second :
       {folder, tree.path("link"), tree.path("parent_link/folder"), folder + "/../folder/"}) {
    SCOPED_TRACE(second);
    EXPECT_EQ(parts(roots::check_roots({folder, second})),
              parts({{{expected, 0}}, {}, {{second, duplicate_of(expected)}}}));
  }
}

TEST(RootsCheck, a_folder_reached_by_another_path_with_the_same_inode_is_a_duplicate) {
  TempTree tree;
  const std::string original = canonical(tree.mkdir("original"));
  const std::string mount_point = canonical(tree.mkdir("mount_point"));
  const int status = testing::run_in_private_mount_namespace([&] {
    if (::mount(original.c_str(), mount_point.c_str(), nullptr, MS_BIND, nullptr) != 0) return 10;
    const auto expected = parts({{{original, 0}}, {}, {{mount_point, duplicate_of(original)}}});
    return parts(roots::check_roots({original, mount_point})) == expected ? 0 : 11;
  });
  if (status == testing::kNoMountNamespace) GTEST_SKIP() << "no mount namespace on this machine";
  EXPECT_EQ(status, 0);
}

TEST(RootsCheck, nested_roots_give_way_to_the_outermost_listed_folder_and_siblings_stay) {
  TempTree tree;
  const std::string a = tree.mkdir("a"), ab = tree.mkdir("a/b"), abc = tree.mkdir("a/b/c"), abd = tree.mkdir("a/bd");
  const std::string bad = tree.mkdir("bad\xFF"), bad_inner = tree.mkdir("bad\xFF/inner");
  const std::string absent = tree.path("absent"), base = canonical(tree.root().string());
  const std::string ca = canonical(a), cab = canonical(ab);
  const RootSkipReason in_a = nested_in(ca);
  const struct {
    const char* name;
    std::vector<std::string> roots;
    std::vector<WalkRoot> walk;
    std::vector<RootSkip> skips;
    NestedRootMap nested;
  } cases[] = {
      // Innermost first, so that the nearest container is met before the outermost.
      // clang-format off
      {"three levels", {abc, ab, a}, {{ca, 2}}, {{abc, in_a}, {ab, in_a}}, {{canonical(abc), 0}, {cab, 1}}},
      {"a sibling whose name extends another", {ab, abd}, {{cab, 0}, {canonical(abd), 1}}, {}, {}},
      {"first-pass drops before nested drops", {ab, a, absent}, {{ca, 1}}, {{absent, missing()}, {ab, in_a}}, {{cab, 0}}},
      {"a name that is not UTF-8 is kept as bytes and named in repaired text", {bad_inner, bad},
       {{base + "/bad\xFF", 1}}, {{bad_inner, nested_in(base + "/bad\xEF\xBF\xBD")}}, {{base + "/bad\xFF/inner", 0}}},
      // clang-format on
  };
  for (const auto& [name, configured, walk, skips, nested] : cases)
    EXPECT_EQ(parts(roots::check_roots(configured)), parts({walk, nested, skips})) << name;
}

TEST(RootsCheck, a_folder_the_user_may_not_read_is_unreadable_with_the_permission_error) {
  TempTree tree;
  const std::string locked = tree.mkdir("locked");
  const std::string behind = tree.mkdir("closed/inner");
  fs::permissions(locked, fs::perms::none);
  fs::permissions(tree.path("closed"), fs::perms::none);
  const int status = testing::run_unprivileged([&] {
    // Listing the folder itself is refused, and so is resolving a path through a closed one.
    if (roots::check_roots({locked}).skips != std::vector<RootSkip>{{locked, unreadable(EACCES)}}) return 1;
    return roots::check_roots({behind}).skips == std::vector<RootSkip>{{behind, unreadable(EACCES)}} ? 0 : 2;
  });
  EXPECT_EQ(status, 0);
}

}  // namespace
}  // namespace quelmaris
