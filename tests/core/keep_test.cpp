#include "keep.hpp"

#include <gtest/gtest.h>

#include "file_entries.hpp"

#include <span>
#include <vector>

namespace quelmaris {
namespace {

FileEntry file(std::string path, std::uint32_t root_index, std::optional<std::int64_t> created_ns,
               std::int64_t modified_ns) {
  return testing::entry_at(std::move(path), root_index, created_ns, modified_ns);
}

constexpr KeepRule kAllRules[] = {KeepRule::FolderPriority, KeepRule::Oldest, KeepRule::Newest, KeepRule::ShortestPath};

TEST(ChooseKeeper, picks_the_first_copy_in_keep_order_with_every_tie_break) {
  const struct {
    const char* name;
    KeepRule rule;
    std::vector<FileEntry> files;
    std::uint32_t expected;
  } cases[] = {
      {"folder priority, ties in root 0 go to the older copy",
       KeepRule::FolderPriority,
       {file("/a", 1, 5, 5), file("/b", 0, 9, 10), file("/c", 0, 7, 90)},
       2},
      {"folder priority, equal keep times go to the earlier modification",
       KeepRule::FolderPriority,
       {file("/a", 0, 1, 20), file("/b", 0, 1, 10)},
       1},
      {"oldest, a missing birth time falls back to the modification time",
       KeepRule::Oldest,
       {file("/a", 0, 100, 200), file("/b", 0, std::nullopt, 50)},
       1},
      {"newest, a tie on keep time goes to the earlier modification",
       KeepRule::Newest,
       {file("/a", 0, 100, 30), file("/b", 0, 100, 20)},
       1},
      {"newest, times before 1970 are older", KeepRule::Newest, {file("/a", 0, -5, -5), file("/b", 0, 0, 0)}, 1},
      {"oldest, times before 1970 are older", KeepRule::Oldest, {file("/a", 0, 0, 0), file("/b", 0, -5, -5)}, 1},
      {"shortest path counts components before bytes",
       KeepRule::ShortestPath,
       {file("/a/b/c/d", 0, 1, 1), file("/aaaaaaaa/bbbbbbbb", 0, 1, 1)},
       1},
      {"shortest path, equal counts go to the shorter text",
       KeepRule::ShortestPath,
       {file("/x/ab", 0, 1, 1), file("/x/a", 0, 1, 1)},
       1},
      {"shortest path, doubled separators add no component",
       KeepRule::ShortestPath,
       {file("/x//a", 0, 1, 1), file("/x/a", 0, 1, 1)},
       1},
      {"shortest path, a longer path in fewer components wins",
       KeepRule::ShortestPath,
       {file("/a/b/c", 0, 1, 1), file("//abcdef//", 0, 1, 1)},
       1},
      {"shortest path overrides folder priority",
       KeepRule::ShortestPath,
       {file("/a/b", 0, 1, 1), file("/a", 5, 1, 1)},
       1},
      {"paths compare bytewise, not by length", KeepRule::Oldest, {file("/r/b", 0, 1, 1), file("/r/ab", 0, 1, 1)}, 1},
      {"a path that is a prefix comes first", KeepRule::Newest, {file("/r/ab", 0, 1, 1), file("/r/a", 0, 1, 1)}, 1},
      {"paths compare as unsigned bytes",
       KeepRule::FolderPriority,
       {file("/r/\xC3\xA9", 0, 1, 1), file("/r/z", 0, 1, 1)},
       1},
      {"entries equal in every key keep the smaller index",
       KeepRule::FolderPriority,
       {file("/r/b", 0, 1, 1), file("/r/a", 0, 1, 1), file("/r/a", 0, 1, 1)},
       1},
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
  const std::vector<FileEntry> files = {file("/r/a/b", 1, 10, 40), file("/r/c", 0, std::nullopt, 10),
                                        file("/q/c", 0, 10, 20), file("/q/cc", 2, -3, 30)};
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
