#include "platform/clone_info.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "reflink_volume.hpp"
#include "temp_tree.hpp"

namespace quelmaris::platform {
namespace {

// A file system without copy-on-write either reports every extent private or
// has no extent map at all (tmpfs): never a shared block.
TEST(CloneInfo, unshared_file_reports_its_whole_allocation_private_or_no_clone_facts) {
  testing::TempTree tree;
  for (const std::size_t size : {std::size_t{0}, std::size_t{10'000}, std::size_t{3'000'000}}) {
    SCOPED_TRACE(size);
    const std::string path = tree.write("f" + std::to_string(size), std::string(size, 'q'));
    const auto info = clone_info(path);
    ASSERT_TRUE(info.ok()) << info.error();
    if (info.value() == CloneInfo{}) continue;
    EXPECT_EQ(std::tuple(info.value().ext_flags, info.value().clone_id), std::tuple(0u, std::nullopt));
    ASSERT_TRUE(info.value().private_size.has_value());
    EXPECT_GE(*info.value().private_size, size);
    EXPECT_EQ(*info.value().private_size == 0, size == 0);
  }
}

// Hundreds of separate extents need several extent-map requests; holes are
// not counted.
TEST(CloneInfo, private_size_counts_every_written_extent_of_a_fragmented_sparse_file) {
  testing::TempTree tree;
  const std::string path = tree.path("sparse");
  constexpr int kBlocks = 300;
  constexpr off_t kBlock = 4096;
  {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    const std::string block(kBlock, 'b');
    for (int i = 0; i < kBlocks; ++i) ASSERT_EQ(::pwrite(fd, block.data(), block.size(), 2 * i * kBlock), kBlock);
    ::close(fd);
  }
  const auto info = clone_info(path);
  ASSERT_TRUE(info.ok()) << info.error();
  if (info.value() == CloneInfo{}) GTEST_SKIP() << "no extent map on this file system";
  EXPECT_EQ(info.value().private_size, std::uint64_t{kBlocks * kBlock});
}

// "Not supported" is the file system's answer, not a failure of the file.
TEST(CloneInfo, a_file_on_a_volume_without_extent_maps_has_no_clone_facts_and_no_error) {
  const auto volume = testing::memory_volume();
  if (!volume) GTEST_SKIP() << "no tmpfs at /dev/shm";
  const testing::TempTree tree(*volume);
  const auto info = clone_info(tree.write("f", std::string(10'000, 'q')));
  ASSERT_TRUE(info.ok()) << info.error();
  EXPECT_EQ(info.value(), CloneInfo{});
}

TEST(CloneInfo, paths_that_must_not_be_read_fail_with_their_errno) {
  testing::TempTree tree;
  const std::string target = tree.write("target", "content");
  std::filesystem::create_symlink(target, tree.path("link"));
  const std::tuple<const char*, std::string, int> cases[] = {
      {"zero byte inside", target + std::string("\0x", 2), EINVAL},
      {"symbolic link", tree.path("link"), ELOOP},
      {"missing", tree.path("missing"), ENOENT},
  };
  for (const auto& [what, path, expected] : cases) {
    const auto info = clone_info(path);
    EXPECT_EQ(info.ok() ? 0 : info.error(), expected) << what;
  }
}

TEST(CloneInfo, reflinked_copies_share_a_clone_id_and_may_share_blocks) {
  testing::TempTree tree;
  const testing::ReflinkVolume volume(tree);
  if (!volume.skip_reason().empty()) GTEST_SKIP() << volume.skip_reason();

  const std::string original = volume.path() + "/original";
  const std::string clone = volume.path() + "/clone";
  const std::string unrelated = volume.path() + "/unrelated";
  ASSERT_EQ(std::system(("head -c 1048576 /dev/urandom > '" + original + "'").c_str()), 0);
  ASSERT_TRUE(volume.copy(original, unrelated, false));
  ASSERT_TRUE(volume.copy(original, clone, true));

  const auto a = clone_info(original), b = clone_info(clone), c = clone_info(unrelated);
  ASSERT_TRUE(a.ok() && b.ok() && c.ok());
  ASSERT_TRUE(a.value().clone_id.has_value());
  const CloneInfo shared{0, a.value().clone_id, kMayShareBlocks | kSharesAllBlocks};
  EXPECT_EQ(a.value(), shared);
  EXPECT_EQ(b.value(), shared);
  EXPECT_EQ(std::tuple(c.value().ext_flags, c.value().clone_id), std::tuple(0u, std::nullopt));
  EXPECT_GE(c.value().private_size.value_or(0), std::uint64_t{1'048'576});
}

}  // namespace
}  // namespace quelmaris::platform
