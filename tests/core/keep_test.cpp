#include "keep.hpp"

#include <gtest/gtest.h>

#include "file_entries.hpp"

#include <span>
#include <vector>

namespace quelmaris {
namespace {

constexpr auto f = testing::entry_at;

constexpr KeepRule kAllRules[] = {KeepRule::FolderPriority, KeepRule::Oldest, KeepRule::Newest, KeepRule::ShortestPath};

TEST(ChooseKeeper, picks_the_first_copy_in_keep_order_with_every_tie_break) {
  using enum KeepRule;
  const struct {
    const char* name;
    KeepRule rule;
    std::vector<FileEntry> files;
    std::uint32_t expected;
  } cases[] = {
      // clang-format off
      {"folder priority, a root 0 tie to the older",
       FolderPriority, {f("/a", 1, 5, 5), f("/b", 0, 9, 10), f("/c", 0, 7, 90)}, 2},
      {"folder priority, equal times to the earlier mtime", FolderPriority, {f("/a", 0, 1, 20), f("/b", 0, 1, 10)}, 1},
      {"oldest, no birth time falls back to mtime", Oldest, {f("/a", 0, 100, 200), f("/b", 0, std::nullopt, 50)}, 1},
      {"newest, a time tie to the earlier mtime", Newest, {f("/a", 0, 100, 30), f("/b", 0, 100, 20)}, 1},
      {"newest, times before 1970 are older", Newest, {f("/a", 0, -5, -5), f("/b", 0, 0, 0)}, 1},
      {"oldest, times before 1970 are older", Oldest, {f("/a", 0, 0, 0), f("/b", 0, -5, -5)}, 1},
      {"shortest, components before bytes",
       ShortestPath, {f("/a/b/c/d", 0, 1, 1), f("/aaaaaaaa/bbbbbbbb", 0, 1, 1)}, 1},
      {"shortest, equal counts to the shorter text", ShortestPath, {f("/x/ab", 0, 1, 1), f("/x/a", 0, 1, 1)}, 1},
      {"shortest, doubled separators add nothing", ShortestPath, {f("/x//a", 0, 1, 1), f("/x/a", 0, 1, 1)}, 1},
      {"shortest, longer text in fewer components", ShortestPath, {f("/a/b/c", 0, 1, 1), f("//abcdef//", 0, 1, 1)}, 1},
      {"shortest path overrides folder priority", ShortestPath, {f("/a/b", 0, 1, 1), f("/a", 5, 1, 1)}, 1},
      {"paths compare bytewise, not by length", Oldest, {f("/r/b", 0, 1, 1), f("/r/ab", 0, 1, 1)}, 1},
      {"a path that is a prefix comes first", Newest, {f("/r/ab", 0, 1, 1), f("/r/a", 0, 1, 1)}, 1},
      {"paths compare as unsigned bytes", FolderPriority, {f("/r/\xC3\xA9", 0, 1, 1), f("/r/z", 0, 1, 1)}, 1},
      {"equal in every key: smaller index",
       FolderPriority, {f("/r/b", 0, 1, 1), f("/r/a", 0, 1, 1), f("/r/a", 0, 1, 1)}, 1},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(choose_keeper(c.files, c.rule), c.expected);
  }
}

TEST(ChooseKeeper, an_empty_list_is_an_internal_error) {
  try {
    (void)choose_keeper({}, KeepRule::FolderPriority);
    FAIL() << "no error";
  } catch (const InternalError& error) {
    EXPECT_STREQ(error.what(), "a set has at least one file");
  }
}

TEST(KeepOrder, is_antisymmetric_so_the_keeper_does_not_depend_on_list_order) {
  const std::vector<FileEntry> files = {f("/r/a/b", 1, 10, 40), f("/r/c", 0, std::nullopt, 10),
                                        f("/q/c", 0, 10, 20), f("/q/cc", 2, -3, 30)};
  for (KeepRule rule : kAllRules) {
    SCOPED_TRACE(static_cast<int>(rule));
    for (const FileEntry& a : files) {
      for (const FileEntry& b : files) {
        EXPECT_EQ(keep::keep_order(a, b, rule) < 0, keep::keep_order(b, a, rule) > 0);
        EXPECT_EQ(keep::keep_order(a, b, rule) == 0, keep::keep_order(b, a, rule) == 0);
      }
    }
    std::vector<FileEntry> reversed(files.rbegin(), files.rend());
    EXPECT_EQ(files[choose_keeper(files, rule)], reversed[choose_keeper(reversed, rule)]);
    EXPECT_EQ(choose_keeper(std::span(files).first(1), rule), 0u) << "a single file is its own keeper";
  }
}

}  // namespace
}  // namespace quelmaris
