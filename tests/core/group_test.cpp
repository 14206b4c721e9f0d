#include "group.hpp"

#include <gtest/gtest.h>

namespace quelmaris {
namespace {

WalkedFile walked(std::string path, std::uint64_t size, std::uint64_t ino, std::uint32_t root = 0) {
  const auto slash = path.rfind('/');
  return WalkedFile{std::move(path), static_cast<std::uint32_t>(slash + 1), size, 1, 1, 7, ino, 1, root};
}

// The candidate groups in their order; the hard links dropped are added to hard_links.
std::vector<CandidateGroup> grouped(std::vector<WalkedFile> files, MatchMode mode = MatchMode::NameAndSize,
                                    bool ignore_case = false, std::uint64_t* hard_links = nullptr) {
  std::uint64_t dropped = 0;
  group::GroupingMap map(std::move(files), mode, ignore_case);
  auto groups = group::candidate_groups(std::move(map), hard_links ? *hard_links : dropped);
  group::sort_candidate_group_order(groups);
  return groups;
}

std::vector<std::string> paths(const CandidateGroup& group) {
  std::vector<std::string> out;
  for (const auto& f : group.files) out.push_back(f.path);
  return out;
}

TEST(CandidateGrouping, the_link_under_the_better_root_survives_and_every_dropped_link_counts_in_groups_of_any_size) {
  std::uint64_t links = 0;
  const auto groups = grouped({walked("/one/z/x.txt", 100, 1, 1), walked("/zero/b/x.txt", 100, 1, 0),
                               walked("/zero/a/x.txt", 100, 1, 0), walked("/one/copy/x.txt", 100, 2, 1)},
                              MatchMode::NameAndSize, false, &links);
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(paths(groups[0]), (std::vector<std::string>{"/zero/a/x.txt", "/one/copy/x.txt"}));
  EXPECT_EQ(links, 2u);

  for (const std::uint64_t copies : {std::uint64_t{3}, std::uint64_t{12}}) {
    SCOPED_TRACE(copies);
    std::vector<WalkedFile> files;
    // Each copy has a second name (a hard link) under a later path.
    for (std::uint64_t i = 0; i < copies; ++i) {
      files.push_back(walked("/r/a" + std::to_string(100 + i) + "/x", 9, i));
      files.push_back(walked("/r/b" + std::to_string(100 + i) + "/x", 9, i));
    }
    links = 0;
    const auto large = grouped(files, MatchMode::NameAndSize, false, &links);
    ASSERT_EQ(large.size(), 1u);
    EXPECT_EQ(large[0].files.size(), copies);
    EXPECT_EQ(links, copies);
    // The first link in member order stays.
    for (const auto& f : large[0].files) EXPECT_EQ(f.path.substr(0, 4), "/r/a");
  }
}

TEST(CandidateGrouping, hard_links_collapse_only_within_a_key_and_keys_follow_the_mode) {
  const std::vector<WalkedFile> files{walked("/r/a.txt", 100, 1), walked("/r/b.txt", 100, 1)};
  std::uint64_t by_name = 0, by_size = 0;
  EXPECT_TRUE(grouped(files, MatchMode::NameAndSize, false, &by_name).empty());
  EXPECT_EQ(by_name, 0u) << "different names are different keys";
  EXPECT_TRUE(grouped(files, MatchMode::ContentOnly, false, &by_size).empty());
  EXPECT_EQ(by_size, 1u);

  // Keys need equal sizes, and equal names only when matching by name.
  EXPECT_TRUE(grouped({walked("/r/a/x", 1, 1), walked("/r/b/x", 2, 2)}).empty());
  EXPECT_TRUE(grouped({walked("/r/x", 5, 1), walked("/r/y", 5, 2)}).empty());
  EXPECT_EQ(grouped({walked("/r/x", 5, 1), walked("/r/y", 5, 2)}, MatchMode::ContentOnly).size(), 1u);
}

TEST(CandidateGrouping, names_differing_in_composition_share_a_key_and_case_only_under_ignore_case) {
  const std::vector<WalkedFile> composed{walked("/r/a/caf\xC3\xA9", 9, 1), walked("/r/b/cafe\xCC\x81", 9, 2)};
  EXPECT_EQ(grouped(composed).size(), 1u);
  const std::vector<WalkedFile> cased{walked("/r/a/Read.ME", 9, 1), walked("/r/b/read.me", 9, 2),
                                      walked("/r/c/\xC3\x89t\xC3\xA9", 9, 3), walked("/r/d/\xC3\xA9t\xC3\xA9", 9, 4)};
  EXPECT_TRUE(grouped(cased).empty());
  const auto folded = grouped(cased, MatchMode::NameAndSize, true);
  ASSERT_EQ(folded.size(), 2u);
  EXPECT_EQ(folded[0].name, "read.me");
  EXPECT_EQ(folded[1].name, "\xC3\xA9t\xC3\xA9");
}

TEST(CandidateGroupOrder, largest_files_first_then_names_bytewise_with_upper_case_first_unless_case_is_ignored) {
  const std::vector<WalkedFile> sized{walked("/r/1/c.txt", 10, 1),   walked("/r/2/c.txt", 10, 2),
                                      walked("/r/1/b.txt", 5000, 3), walked("/r/2/b.txt", 5000, 4),
                                      walked("/r/1/a.txt", 5000, 5), walked("/r/2/a.txt", 5000, 6)};
  const auto groups = grouped(sized);
  ASSERT_EQ(groups.size(), 3u);
  EXPECT_EQ(groups[0].name, "a.txt");
  EXPECT_EQ(groups[1].name, "b.txt");
  EXPECT_EQ(groups[2].size, 10u);

  const std::vector<WalkedFile> files{walked("/r/1/alpha.txt", 7, 1), walked("/r/2/alpha.txt", 7, 2),
                                      walked("/r/1/Zeta.txt", 7, 3), walked("/r/2/Zeta.txt", 7, 4)};
  EXPECT_EQ(grouped(files).at(0).name, "Zeta.txt");
  EXPECT_EQ(grouped(files, MatchMode::NameAndSize, true).at(0).name, "alpha.txt");
}

}  // namespace
}  // namespace quelmaris
