#include "roots.hpp"

#include "mount_namespace.hpp"
#include "temp_tree.hpp"

#include <gtest/gtest.h>

#include <sys/mount.h>

#include <cerrno>
#include <filesystem>

namespace quelmaris {
namespace {

using testing::TempTree;
namespace fs = std::filesystem;

RootSkipReason missing() { return {RootSkipReason::Missing{}}; }
RootSkipReason not_a_directory() { return {RootSkipReason::NotADirectory{}}; }
RootSkipReason unreadable(int error_number) { return {RootSkipReason::Unreadable{error_number}}; }
RootSkipReason duplicate_of(std::string root) { return {RootSkipReason::Duplicate{std::move(root)}}; }
RootSkipReason nested_in(std::string root) { return {RootSkipReason::NestedIn{std::move(root)}}; }

std::string canonical(const std::string& path) { return fs::canonical(path).string(); }

TEST(RootsCheck, roots_that_cannot_be_scanned_are_dropped_with_their_reason) {
  TempTree tree;
  const std::string file = tree.write("file.txt", "x");
  const std::string real = tree.mkdir("real");
  fs::create_symlink(tree.path("gone"), tree.path("dangling"));
  fs::create_symlink(tree.path("loop_b"), tree.path("loop_a"));
  fs::create_symlink(tree.path("loop_a"), tree.path("loop_b"));
  const struct {
    const char* name;
    std::string root;
    RootSkipReason expected;
  } cases[] = {
      {"does not exist", tree.path("nothing"), missing()},
      {"symbolic link to nothing", tree.path("dangling"), missing()},
      {"regular file", file, not_a_directory()},
      {"path through a regular file", file + "/inner", not_a_directory()},
      {"symbolic link loop", tree.path("loop_a"), unreadable(ELOOP)},
      // Truncated at the zero byte the text would name an existing folder.
      {"zero byte after an existing folder", real + std::string("\0/elsewhere", 11), unreadable(0)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const roots::RootsCheck result = roots::check_roots({c.root});
    EXPECT_TRUE(result.walk_roots.empty());
    EXPECT_TRUE(result.nested.empty());
    EXPECT_EQ(result.skips, (std::vector<RootSkip>{{c.root, c.expected}}));
  }
}

TEST(RootsCheck, a_folder_listed_again_is_a_duplicate_of_the_first_listing) {
  TempTree tree;
  const std::string folder = tree.mkdir("real/folder");
  const std::string expected = canonical(folder);
  fs::create_directory_symlink(folder, tree.path("link"));
  fs::create_directory_symlink(tree.path("real"), tree.path("parent_link"));
  const struct {
    const char* name;
    std::string second;
  } cases[] = {
      {"same text twice", folder},
      {"through a symbolic link", tree.path("link")},
      {"through a symbolically linked parent", tree.path("parent_link/folder")},
      {"with dot-dot and a trailing separator", folder + "/../folder/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const roots::RootsCheck result = roots::check_roots({folder, c.second});
    EXPECT_EQ(result.walk_roots, (std::vector<WalkRoot>{{expected, 0}}));
    EXPECT_EQ(result.skips, (std::vector<RootSkip>{{c.second, duplicate_of(expected)}}));
    EXPECT_TRUE(result.nested.empty());
  }
}

TEST(RootsCheck, a_folder_reached_by_another_path_with_the_same_inode_is_a_duplicate) {
  TempTree tree;
  const std::string original = canonical(tree.mkdir("original"));
  const std::string mount_point = canonical(tree.mkdir("mount_point"));
  const int status = testing::run_in_private_mount_namespace([&] {
    if (::mount(original.c_str(), mount_point.c_str(), nullptr, MS_BIND, nullptr) != 0) return 10;
    const roots::RootsCheck result = roots::check_roots({original, mount_point});
    if (result.walk_roots != std::vector<WalkRoot>{{original, 0}}) return 11;
    if (result.skips != std::vector<RootSkip>{{mount_point, duplicate_of(original)}}) return 12;
    return 0;
  });
  if (status == testing::kNoMountNamespace) GTEST_SKIP() << "no mount namespace on this machine";
  EXPECT_EQ(status, 0);
}

TEST(RootsCheck, an_inner_folder_of_higher_priority_gives_way_to_its_parent) {
  TempTree tree;
  const std::string parent = tree.mkdir("parent");
  const std::string inner = tree.mkdir("parent/inner");
  const roots::RootsCheck result = roots::check_roots({inner, parent});
  EXPECT_EQ(result.walk_roots, (std::vector<WalkRoot>{{canonical(parent), 1}}));
  EXPECT_EQ(result.skips, (std::vector<RootSkip>{{inner, nested_in(canonical(parent))}}));
  EXPECT_EQ(result.nested, (NestedRootMap{{canonical(inner), 0}}));
}

TEST(RootsCheck, nested_roots_name_the_outermost_listed_folder) {
  TempTree tree;
  const std::string a = tree.mkdir("a");
  const std::string ab = tree.mkdir("a/b");
  const std::string abc = tree.mkdir("a/b/c");
  const std::string outer = canonical(a);
  // Innermost first, so that the nearest container is met before the outermost.
  const roots::RootsCheck result = roots::check_roots({abc, ab, a});
  EXPECT_EQ(result.walk_roots, (std::vector<WalkRoot>{{outer, 2}}));
  EXPECT_EQ(result.skips, (std::vector<RootSkip>{{abc, nested_in(outer)}, {ab, nested_in(outer)}}));
  EXPECT_EQ(result.nested, (NestedRootMap{{canonical(abc), 0}, {canonical(ab), 1}}));
}

TEST(RootsCheck, a_sibling_whose_name_extends_another_is_not_nested_in_it) {
  TempTree tree;
  const std::string b = tree.mkdir("a/b");
  const std::string bc = tree.mkdir("a/bc");
  const roots::RootsCheck result = roots::check_roots({b, bc});
  EXPECT_EQ(result.walk_roots, (std::vector<WalkRoot>{{canonical(b), 0}, {canonical(bc), 1}}));
  EXPECT_TRUE(result.skips.empty());
  EXPECT_TRUE(result.nested.empty());
}

TEST(RootsCheck, first_pass_drops_come_before_nested_drops) {
  TempTree tree;
  const std::string parent = tree.mkdir("parent");
  const std::string inner = tree.mkdir("parent/inner");
  const std::string absent = tree.path("absent");
  const roots::RootsCheck result = roots::check_roots({inner, parent, absent});
  EXPECT_EQ(result.skips, (std::vector<RootSkip>{{absent, missing()}, {inner, nested_in(canonical(parent))}}));
  EXPECT_EQ(result.walk_roots, (std::vector<WalkRoot>{{canonical(parent), 1}}));
}

TEST(RootsCheck, a_folder_whose_name_is_not_utf8_is_kept_as_bytes_and_named_in_repaired_text) {
  TempTree tree;
  const std::string bad = tree.mkdir("bad\xFF");
  const std::string inner = tree.mkdir("bad\xFF/inner");
  const std::string base = canonical(tree.root().string());
  const roots::RootsCheck result = roots::check_roots({inner, bad});
  EXPECT_EQ(result.walk_roots, (std::vector<WalkRoot>{{base + "/bad\xFF", 1}}));
  EXPECT_EQ(result.nested, (NestedRootMap{{base + "/bad\xFF/inner", 0}}));
  EXPECT_EQ(result.skips, (std::vector<RootSkip>{{inner, nested_in(base + "/bad\xEF\xBF\xBD")}}));
}

TEST(RootsCheck, a_folder_the_user_may_not_read_is_unreadable_with_the_permission_error) {
  TempTree tree;
  const std::string locked = tree.mkdir("locked");
  const std::string behind = tree.mkdir("closed/inner");
  fs::permissions(locked, fs::perms::none);
  fs::permissions(tree.path("closed"), fs::perms::none);
  const int status = testing::run_unprivileged([&] {
    // Listing the folder itself is refused.
    if (roots::check_roots({locked}).skips != std::vector<RootSkip>{{locked, unreadable(EACCES)}}) return 1;
    // Resolving a path through a closed folder is refused.
    if (roots::check_roots({behind}).skips != std::vector<RootSkip>{{behind, unreadable(EACCES)}}) return 2;
    return 0;
  });
  EXPECT_EQ(status, 0);
}

TEST(RootsCheck, no_configured_roots_give_empty_results) {
  const roots::RootsCheck result = roots::check_roots({});
  EXPECT_TRUE(result.walk_roots.empty());
  EXPECT_TRUE(result.nested.empty());
  EXPECT_TRUE(result.skips.empty());
}

}  // namespace
}  // namespace quelmaris
