#include "keep.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <vector>

#include "orderings.hpp"

namespace quelmaris {
namespace {

// A file that differs from the others only in path, root index and times.
FileEntry f(std::string path, std::uint32_t root_index, std::optional<std::int64_t> created_ns,
            std::int64_t modified_ns) {
  return FileEntry{std::move(path), "f", root_index, 1, created_ns, modified_ns, 1, 1, 1, {}, false, {}};
}

constexpr KeepRule kAllRules[] = {KeepRule::FolderPriority, KeepRule::Oldest, KeepRule::Newest, KeepRule::ShortestPath};

TEST(ChooseKeeper, picks_the_first_copy_in_keep_order_with_every_tie_break) {
  using enum KeepRule;
  const std::tuple<const char*, KeepRule, std::vector<FileEntry>, std::uint32_t> cases[] = {
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
  for (const auto& [name, rule, files, expected] : cases) EXPECT_EQ(choose_keeper(files, rule), expected) << name;
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

WalkedFile walked(std::string path, std::uint32_t root_index, std::uint64_t ino) {
  return WalkedFile{std::move(path), 0, 1, std::nullopt, 0, 1, ino, 2, root_index};
}

std::vector<std::string> paths_of(const auto& files) {
  std::vector<std::string> paths;
  for (const auto& file : files) paths.push_back(file.path);
  return paths;
}

TEST(MemberOrder, root_index_decides_then_paths_compare_as_unsigned_bytes_prefix_first) {
  std::vector<WalkedFile> files = {walked("/a/link", 1, 7),    walked("/r/\xC3\xA9", 0, 1), walked("/r/alpha", 0, 2),
                                   walked("/r/ab", 0, 3),      walked("/r/a", 0, 4),        walked("/r/Zeta", 0, 5)};
  sort_member_order(files);
  EXPECT_EQ(paths_of(files),
            (std::vector<std::string>{"/r/Zeta", "/r/a", "/r/ab", "/r/alpha", "/r/\xC3\xA9", "/a/link"}));
}

TEST(MemberOrder, equal_keys_keep_the_order_they_came_in) {
  // Enough files that an unstable sort would reorder equal keys.
  std::vector<WalkedFile> files;
  for (std::uint64_t i = 0; i < 200; ++i) files.push_back(walked(i % 3 == 0 ? "/b" : "/a", 0, i));
  std::vector<WalkedFile> expected = files;
  std::ranges::stable_partition(expected, [](const WalkedFile& file) { return file.path == "/a"; });
  sort_member_order(files);
  EXPECT_TRUE(files == expected);
}

TEST(EntryOrder, files_come_in_root_order_and_the_keeper_index_counts_in_it) {
  std::vector<FileEntry> files = {f("/two/f", 2, 1, 1), f("/zero/f", 0, 3, 3), f("/one/f", 1, 2, 2)};
  sort_entry_order(files);
  EXPECT_EQ(paths_of(files), (std::vector<std::string>{"/zero/f", "/one/f", "/two/f"}));
  EXPECT_EQ(choose_keeper(files, KeepRule::Oldest), 2u);
  EXPECT_EQ(choose_keeper(files, KeepRule::FolderPriority), 0u);
}

TEST(IdentityOrder, pairs_sort_by_device_then_inode_as_unsigned_numbers) {
  std::vector<DevIno> pairs = {{1ULL << 63, 1}, {2, 9}, {2, 1ULL << 63}, {1, 5}};
  sort_identity_order(pairs);
  EXPECT_EQ(pairs, (std::vector<DevIno>{{1, 5}, {2, 9}, {2, 1ULL << 63}, {1ULL << 63, 1}}));
}

Digest digest_starting(std::uint8_t first, std::uint8_t rest) {
  Digest d;
  d.fill(rest);
  d[0] = first;
  return d;
}

TEST(DigestOrder, the_first_differing_byte_decides_as_an_unsigned_value) {
  std::vector<DigestGroup> groups = {{digest_starting(0x80, 0x00), {walked("/high", 0, 1)}},
                                     {digest_starting(0x01, 0x00), {walked("/one", 0, 2)}},
                                     {digest_starting(0x00, 0xFF), {walked("/zero", 0, 3)}},
                                     {digest_starting(0x7F, 0xFF), {walked("/low", 0, 4)}},
                                     {digest_starting(0x01, 0x00), {walked("/one-again", 0, 5)}}};
  sort_digest_order(groups);
  std::vector<std::string> firsts;
  for (const auto& g : groups) firsts.push_back(g.files.front().path);
  EXPECT_EQ(firsts, (std::vector<std::string>{"/zero", "/one", "/one-again", "/low", "/high"}));
}

}  // namespace
}  // namespace quelmaris
