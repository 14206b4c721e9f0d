#include "platform/medium.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <optional>

#include "temp_tree.hpp"

namespace quelmaris::platform::detail {
namespace {

namespace fs = std::filesystem;
using quelmaris::testing::TempTree;
using enum MediumKind;

std::string number_of(dev_t device) { return std::to_string(major(device)) + ":" + std::to_string(minor(device)); }

std::string device_of(const std::string& path) {
  struct stat facts {};
  EXPECT_EQ(::stat(path.c_str(), &facts), 0) << path;
  return number_of(facts.st_dev);
}

// A sysfs tree in miniature: devices/<disk>/queue/rotational, and
// dev/block/<maj:min> linking to the disk or to one of its partitions, as the
// kernel lays them out.
class FakeSysfs {
 public:
  explicit FakeSysfs(const TempTree& tree) : tree_(tree) { tree_.mkdir("sys/dev/block"); }

  void disk(const std::string& name, std::optional<std::string> rotational) const {
    tree_.mkdir("sys/devices/" + name + "/queue");
    if (rotational) tree_.write("sys/devices/" + name + "/queue/rotational", *rotational);
  }
  void partition(const std::string& disk, const std::string& name) const {
    tree_.write("sys/devices/" + disk + "/" + name + "/partition", "1\n");
  }
  void link(const std::string& number, const std::string& device) const {
    fs::create_directory_symlink("../../devices/" + device, tree_.path("sys/dev/block/" + number));
  }
  MediumSources sources(const std::string& mountinfo = "/nonexistent/mountinfo") const {
    return {tree_.path("sys"), mountinfo};
  }

 private:
  const TempTree& tree_;
};

TEST(StorageMedium, reads_the_whole_disks_rotational_flag) {
  // clang-format off
  const std::tuple<const char*, std::optional<std::string>, bool, MediumKind> cases[] = {
      {"solid state", "0\n", false, SolidState}, {"rotating", "1\n", false, Rotational},
      {"no newline", "1", false, Rotational}, {"empty", "", false, Unknown}, {"padded", " 0\n", false, Unknown},
      {"no flag file", std::nullopt, false, Unknown}, {"a partition takes its disk's flag", "1\n", true, Rotational},
  };
  // clang-format on
  for (const auto& [name, flag, partition, expected] : cases) {
    SCOPED_TRACE(name);
    TempTree tree;
    const FakeSysfs sysfs(tree);
    const std::string file = tree.write("data/file", "x");
    sysfs.disk("vdz", flag);
    if (partition) sysfs.partition("vdz", "vdz2");
    sysfs.link(device_of(file), partition ? "vdz/vdz2" : "vdz");
    EXPECT_EQ(storage_medium(file, sysfs.sources()), expected);
  }
}

TEST(StorageMedium, what_cannot_be_found_is_unknown) {
  TempTree tree;
  const FakeSysfs sysfs(tree);
  const std::string file = tree.write("data/file", "x");
  EXPECT_EQ(storage_medium(file, sysfs.sources()), Unknown);
  EXPECT_EQ(storage_medium(tree.path("missing"), sysfs.sources()), Unknown);
  sysfs.disk("vdz", "0\n");
  sysfs.link(device_of(file), "vdz");
  EXPECT_EQ(storage_medium(std::string(file + '\0' + "tail"), sysfs.sources()), Unknown);
}

std::optional<std::string> any_block_device() {
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/dev", error))
    if (entry.is_block_file(error)) return entry.path().string();
  return std::nullopt;
}

// btrfs subvolumes, overlays and the like report a device number that sysfs
// does not know; the mount table names the device behind them.
TEST(StorageMedium, an_anonymous_device_is_found_through_the_mount_table) {
  const auto device = any_block_device();
  if (!device) GTEST_SKIP() << "no block device node under /dev";
  struct stat node {};
  ASSERT_EQ(::stat(device->c_str(), &node), 0);

  TempTree tree;
  const FakeSysfs sysfs(tree);
  const std::string on_device = tree.write("vol/file", "x");
  const std::string on_tmpfs = tree.write("vol-other/file", "x");
  sysfs.disk("nvme9n1", "0\n");
  sysfs.link(number_of(node.st_rdev), "nvme9n1");
  const std::string root = fs::canonical(tree.root()).string();
  const std::string mountinfo = tree.write("mountinfo", "1 0 8:1 / / rw - ext4 /dev/quelmaris-none rw\n2 1 0:99 / " +
                                                            root + "/vol rw shared:5 - btrfs " + *device + " rw\n" +
                                                            "3 1 0:98 / " + root + "/vol-other rw - tmpfs tmpfs rw\n");
  EXPECT_EQ(storage_medium(on_device, sysfs.sources(mountinfo)), SolidState);
  EXPECT_EQ(storage_medium(on_tmpfs, sysfs.sources(mountinfo)), Unknown);
}

TEST(MountSource, the_innermost_mount_holding_the_path_wins) {
  TempTree tree;
  const std::string mountinfo = tree.write("mountinfo",
                                           "20 1 8:1 / / rw - ext4 /dev/root rw\n"
                                           "21 20 8:2 / /srv/data rw - ext4 /dev/first rw\n"
                                           "22 21 8:3 / /srv/data/a\\040b rw master:1 - xfs /dev/spaced rw\n"
                                           "23 20 8:4 / /srv/dat rw - ext4 /dev/shorter rw\n"
                                           "24 20 8:5 / /srv/data rw - ext4 /dev/on\\040top rw\n"
                                           "malformed line\n");
  const std::pair<const char*, const char*> cases[] = {
      {"/srv/data/a b/file", "/dev/spaced"}, {"/srv/data/ab", "/dev/on top"}, {"/srv/data", "/dev/on top"},
      {"/srv/dat/file", "/dev/shorter"},     {"/srv/datum", "/dev/root"},     {"/", "/dev/root"},
  };
  for (const auto& [path, source] : cases) EXPECT_EQ(mount_source(path, mountinfo), source) << path;
  EXPECT_EQ(mount_source("/srv", tree.path("no-such-table")), std::nullopt);
}

TEST(StorageMedium, this_machines_memory_file_system_is_unknown) {
  const auto volume = quelmaris::testing::memory_volume();
  if (!volume) GTEST_SKIP() << "no tmpfs at /dev/shm";
  EXPECT_EQ(quelmaris::storage_medium(volume->string()), Unknown);
}

}  // namespace
}  // namespace quelmaris::platform::detail
