#include "keep.hpp"
#include "orderings.hpp"

#include <gtest/gtest.h>

#include "file_entries.hpp"

#include <vector>

namespace quelmaris {
namespace {

WalkedFile walked(std::string path, std::uint32_t root_index, std::uint64_t ino) {
  return WalkedFile{std::move(path), 0, 1, std::nullopt, 0, 1, ino, 2, root_index};
}

FileEntry entry(std::string path, std::uint32_t root_index, std::int64_t created_ns) {
  return testing::entry_at(std::move(path), root_index, created_ns, created_ns);
}

std::vector<std::string> paths_of(const auto& files) {
  std::vector<std::string> paths;
  for (const auto& f : files) paths.push_back(f.path);
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
  sort_member_order(files);
  for (std::size_t i = 1; i < files.size(); ++i) {
    if (files[i - 1].path == files[i].path) {
      EXPECT_LT(files[i - 1].ino, files[i].ino) << "at " << i;
    }
  }
  EXPECT_EQ(files.front().path, "/a");
}

TEST(EntryOrder, files_come_in_root_order_and_the_keeper_index_counts_in_it) {
  std::vector<FileEntry> files = {entry("/two/f", 2, 1), entry("/zero/f", 0, 3), entry("/one/f", 1, 2)};
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
