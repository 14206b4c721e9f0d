// Undo of a move to the Trash where the volume renumbers its files, where the
// item in the Trash changed, and where the system refuses the user.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QUndoStack>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app_test_support.hpp"
#include "interface/CoreTrashPlanner.h"
#include "mount_namespace.hpp"
#include "temp_data_home.hpp"
#include "temp_tree.hpp"
#include "trash/FreedesktopTrash.h"
#include "trash/MountTable.h"
#include "trash/TrashService.h"

namespace {

namespace fs = std::filesystem;
using quelmaris::testing::read_file;
using quelmaris::testing::TempTree;
using Failure = TrashService::Failure;
using RestoreOutcome = TrashService::RestoreOutcome;
using Change = std::function<void(const fs::path& inTrash)>;

const quelmaris::testing::TemporaryDataHome dataHome;

using apptest::urlOf;
fs::path inTrash(const std::string& name) { return dataHome.trash() / "files" / name; }

// The item as a volume that keeps these facts shows it once mounted again: a new inode.
FreedesktopTrash::ExamineItem mountedAgain(FreedesktopTrash::KeptFacts volume) {
  return [volume](const std::string& path) {
    auto found = FreedesktopTrash::examineItem(path);
    if (found) {
      found.value().identity.inode += 1000;
      found.value().volume = volume;
    }
    return found;
  };
}
const FreedesktopTrash::KeptFacts kFuseFat{false, 0}, kKernelFat{false, 2'000'000'000}, kLasting{true, 1};

// The move, or the undo, as a user other than root: root passes every
// permission check. setfsuid changes the calling thread only.
struct AsNobody final : FileTrashing {
  explicit AsNobody(bool movesAsNobody) : moving(movesAsNobody) {}
  template <class Call>
  static auto run(bool asNobody, Call call) {
    if (asNobody) ::setfsgid(65534), ::setfsuid(65534);
    auto result = call();
    if (asNobody) ::setfsuid(0), ::setfsgid(0);
    return result;
  }
  quelmaris::Result<TrashedItem, FileOperationError> trashItem(const QUrl& url) const override {
    return run(moving, [&] { return system.trashItem(url); });
  }
  quelmaris::Result<bool, FileOperationError> itemExists(const QUrl& url) const override {
    return run(!moving, [&] { return system.itemExists(url); });
  }
  std::optional<FileOperationError> moveItem(const QUrl& source, const QUrl& destination,
                                             const ItemIdentity& identity) const override {
    return run(!moving, [&] { return system.moveItem(source, destination, identity); });
  }
  const bool moving;
  SystemFileTrashing system;
};

class TrashUndo : public ::testing::Test {
 protected:
  void SetUp() override {
    apptest::application();
    fs::remove_all(dataHome.trash());
  }

  // Moves one file per change to the Trash, makes each change to its item
  // there, undoes, and returns what the undo reports.
  RestoreOutcome moveChangeAndUndo(const std::shared_ptr<const FileTrashing>& files,
                                   const std::vector<std::pair<std::string, Change>>& changes) {
    PlanSet set{1, {apptest::entryFor(tree.write("keep/kept", "kept"))}, 0, {}, true};
    for (const auto& [name, change] : changes) {
      set.marked.append(static_cast<std::uint32_t>(set.files.size()));
      set.files.append(apptest::entryFor(tree.write("marked/" + name, "kept")));
    }
    TrashService service(std::make_unique<CoreTrashPlanner>(), files);
    const auto moving = service.moveToTrash({set}, false, &undoStack, {});
    EXPECT_TRUE(apptest::runEventsUntil([&] { return moving.isFinished(); }));
    EXPECT_EQ(moving.result().moved.size(), std::ssize(changes));
    for (const auto& [name, change] : changes) change(inTrash(name));
    undoStack.undo();
    EXPECT_TRUE(apptest::runEventsUntil([&] { return service.lastRestore().has_value(); }));
    return service.lastRestore().value_or(RestoreOutcome{});
  }
  QUrl marked(const std::string& name) const { return urlOf(tree.path("marked/" + name)); }
  Failure leftWith(const std::string& name, const char* reason) const {
    return {QString::fromStdString(tree.path("marked/" + name)), reason};
  }

  TempTree tree;
  QUndoStack undoStack;
};

const Change untouched = [](const fs::path&) {};
const Change stamped = [](const fs::path& item) {
  fs::last_write_time(item, fs::last_write_time(item) + std::chrono::hours(1));
};
const Change resized = [](const fs::path& item) { std::ofstream(item, std::ios::app) << " and more"; };
const Change madeAFolder = [](const fs::path& item) {
  fs::remove(item);
  fs::create_directory(item);
};

TEST(MountTable, fat_exfat_fuse_drivers_that_number_their_own_files_and_cifs_without_server_numbers_renumber_them) {
  // A plain "fuse" mount names no driver.
  for (const char* type : {"vfat", "msdos", "exfat", "fuse.fusefat", "fuseblk", "fuse.sshfs", "fuse.rclone",
                           "fuse.gvfsd-fuse", "fuse.someone-elses", "fuse"})
    EXPECT_FALSE(FreedesktopTrash::keepsLastingInodeNumbers({"/media/stick", type})) << type;
  for (const char* type : {"ext4", "btrfs", "tmpfs", "ntfs3", "nfs4"})
    EXPECT_TRUE(FreedesktopTrash::keepsLastingInodeNumbers({"/media/disk", type})) << type;
  // CIFS numbers files itself only when told not to use the server's numbers.
  TempTree tree;
  const auto table = FreedesktopTrash::readMountTable(
      tree.write("mountinfo",
                 "40 1 0:50 / /mnt/own rw,relatime - cifs //nas/own rw,vers=3.1.1,noserverino,actimeo=1\n"
                 "41 1 0:51 / /mnt/server rw,relatime - smb3 //nas/server rw,vers=3.1.1,serverino,actimeo=1\n"
                 "42 1 0:52 / /mnt/words rw,relatime - cifs //nas/words rw,noserverinos\n"));
  ASSERT_EQ(table.size(), 3U);
  EXPECT_EQ(std::vector<bool>({FreedesktopTrash::keepsLastingInodeNumbers(table[0]),
                               FreedesktopTrash::keepsLastingInodeNumbers(table[1]),
                               FreedesktopTrash::keepsLastingInodeNumbers(table[2])}),
            std::vector<bool>({false, true, true}));
  // Only the FUSE FAT driver loses the time through a rename; SFTP keeps whole seconds.
  const std::pair<const char*, std::int64_t> steps[] = {{"vfat", 2'000'000'000},
                                                        {"exfat", 10'000'000},
                                                        {"fuseblk", 2'000'000'000},
                                                        {"fuse.fusefat", 0},
                                                        {"fuse.sshfs", 1'000'000'000},
                                                        {"ext4", 1},
                                                        {"cifs", 1}};
  for (const auto& [type, step] : steps) EXPECT_EQ(FreedesktopTrash::modificationTimeStepNs({"/media", type}), step);
}

// FAT keeps local time, so a day at each end of 1980–2107 may fall either side in some time zone.
TEST(MountTable, fat_and_exfat_hold_times_from_1980_to_2107_and_other_file_systems_any_time) {
  constexpr std::int64_t kDayNs = 86'400'000'000'000, k1980Ns = 315'532'800'000'000'000,
                         k2108Ns = 4'354'819'200'000'000'000;
  for (const char* type : {"vfat", "exfat", "fuseblk"}) {
    const auto held = FreedesktopTrash::modificationTimesHeld({"/media/stick", type});
    EXPECT_TRUE(held.holds(k1980Ns + 2 * kDayNs) && held.holds(k2108Ns - 2 * kDayNs)) << type;
    EXPECT_FALSE(held.holds(k1980Ns - 1) || held.holds(k1980Ns + kDayNs / 2) || held.holds(0)) << type;
    EXPECT_FALSE(held.holds(k2108Ns - kDayNs / 2) || held.holds(k2108Ns)) << type;
  }
  const auto ext4 = FreedesktopTrash::modificationTimesHeld({"/", "ext4"});
  EXPECT_TRUE(ext4.holds(0) && ext4.holds(k1980Ns - 1) && ext4.holds(k2108Ns));
}

// A FAT stick through the FUSE driver plugged in again: every number is new
// and the driver stamps a renamed file with the time of the rename.
TEST_F(TrashUndo, files_come_back_from_a_volume_that_renumbers_them_and_a_different_item_is_named_for_what_differs) {
  const RestoreOutcome outcome =
      moveChangeAndUndo(std::make_shared<SystemFileTrashing>(mountedAgain(kFuseFat)),
                        {{"same", untouched}, {"stamped", stamped}, {"resized", resized}, {"folder", madeAFolder}});
  EXPECT_EQ(outcome.restored, (QList<QUrl>{marked("same"), marked("stamped")}));
  EXPECT_EQ(outcome.notRestored, (QList<Failure>{leftWith("resized", "The item in the Trash now has another size."),
                                                 leftWith("folder", "The item in the Trash is now of another kind.")}));
  EXPECT_EQ(read_file(tree.path("marked/same")), "kept");
  EXPECT_EQ(read_file(inTrash("resized")), "kept and more");
  EXPECT_TRUE(fs::is_directory(inTrash("folder")));
  EXPECT_FALSE(fs::exists(tree.path("marked/folder")));
}

TEST_F(TrashUndo,
       where_inode_numbers_last_an_item_in_the_trash_that_differs_stays_and_the_reason_names_the_difference) {
  const RestoreOutcome kept = moveChangeAndUndo(std::make_shared<SystemFileTrashing>(),
                                                {{"stamped", stamped}, {"resized", resized}, {"same", untouched}});
  EXPECT_EQ(kept.restored, QList<QUrl>{marked("same")});
  EXPECT_EQ(kept.notRestored,
            (QList<Failure>{leftWith("stamped", "The item in the Trash now has another modification date."),
                            leftWith("resized", "The item in the Trash now has another size.")}));

  fs::remove_all(tree.path("marked"));
  const RestoreOutcome renumbered =
      moveChangeAndUndo(std::make_shared<SystemFileTrashing>(mountedAgain(kLasting)), {{"renumbered", untouched}});
  EXPECT_EQ(renumbered.notRestored,
            QList<Failure>{leftWith("renumbered", "Another file now has its name in the Trash.")});
  EXPECT_TRUE(fs::exists(inTrash("renumbered")));
}

// The kernel's FAT and exFAT drivers renumber files at each mount but keep
// their times, in a coarser step than the kernel shows before the remount.
TEST_F(TrashUndo, where_files_are_renumbered_but_keep_their_time_a_stranger_of_the_same_size_stays_in_the_trash) {
  const Change toItsStep = [](const fs::path& item) {
    struct stat facts {};
    ::stat(item.c_str(), &facts);
    const timespec even{facts.st_mtim.tv_sec - facts.st_mtim.tv_sec % 2, 0}, times[] = {even, even};
    ::utimensat(AT_FDCWD, item.c_str(), times, 0);
  };
  const Change stranger = [](const fs::path& item) {
    const auto time = fs::last_write_time(item);
    fs::remove(item);
    std::ofstream(item) << "ours";
    fs::last_write_time(item, time - std::chrono::minutes(1));
  };
  const RestoreOutcome outcome = moveChangeAndUndo(
      std::make_shared<SystemFileTrashing>(mountedAgain(kKernelFat)),
      {{"same", untouched}, {"in its step", toItsStep}, {"stranger", stranger}, {"resized", resized}});
  EXPECT_EQ(outcome.restored, (QList<QUrl>{marked("same"), marked("in its step")}));
  EXPECT_EQ(outcome.notRestored,
            (QList<Failure>{leftWith("stranger", "The item in the Trash now has another modification date."),
                            leftWith("resized", "The item in the Trash now has another size.")}));
  EXPECT_EQ(read_file(inTrash("stranger")), "ours");
  EXPECT_FALSE(fs::exists(tree.path("marked/stranger")));
}

TEST_F(TrashUndo, an_item_in_the_trash_that_cannot_be_examined_stays_there_and_the_reason_says_so) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to look as another user";
  // The Trash lies in a folder only root may search.
  const RestoreOutcome outcome = moveChangeAndUndo(std::make_shared<AsNobody>(false), {{"hidden", untouched}});
  EXPECT_TRUE(outcome.restored.isEmpty());
  EXPECT_EQ(outcome.notRestored,
            QList<Failure>{leftWith("hidden", "The item in the Trash cannot be examined (Permission denied).")});
  EXPECT_EQ(read_file(inTrash("hidden")), "kept");
  EXPECT_FALSE(fs::exists(tree.path("marked/hidden")));
}

TEST_F(TrashUndo, a_move_the_system_refuses_reaches_the_outcome_with_its_text_and_leaves_no_record) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  // The Trash is open to all, the file's folder is not.
  for (const char* folder : {"files", "info"}) fs::create_directories(dataHome.trash() / folder);
  for (const fs::path& folder : {dataHome.folder(), dataHome.trash()}) fs::permissions(folder, fs::perms(0711));
  for (const char* folder : {"files", "info"}) fs::permissions(dataHome.trash() / folder, fs::perms::all);
  const std::string file = tree.write("closed/file", "kept"), keeper = tree.write("keep/file", "kept");
  const PlanSet set{1, {apptest::entryFor(keeper), apptest::entryFor(file)}, 0, {1}, true};
  TrashService service(std::make_unique<CoreTrashPlanner>(), std::make_shared<AsNobody>(true));
  const auto moving = service.moveToTrash({set}, false, &undoStack, {});
  ASSERT_TRUE(apptest::runEventsUntil([&] { return moving.isFinished(); }));
  fs::permissions(dataHome.folder(), fs::perms::owner_all);

  EXPECT_TRUE(moving.result().moved.isEmpty());
  EXPECT_EQ(moving.result().failed, (QList<Failure>{{QString::fromStdString(file), "Permission denied"}}));
  EXPECT_EQ(undoStack.count(), 0);
  EXPECT_EQ(read_file(file), "kept");
  EXPECT_TRUE(fs::is_empty(dataHome.trash() / "files"));
  EXPECT_TRUE(fs::is_empty(dataHome.trash() / "info")) << "the record of a refused move is removed";
}

// The FUSE FAT driver stamps a renamed file with the time of the rename (shown
// at once without its attribute cache) and numbers files afresh at each mount.
TEST(FuseFatUndo, a_file_comes_back_after_the_move_and_after_the_volume_was_mounted_again) {
  constexpr int kCannotMount = 90;
  TempTree tree;
  const std::string image = tree.path("stick.img"), top = fs::canonical(tree.mkdir("stick")).string();
  const std::string mount = "fusefat -o rw+,attr_timeout=0 '" + image + "' '" + top + "'";
  const auto remount = [&] {
    ::umount2(top.c_str(), 0);
    return std::system(mount.c_str()) == 0;
  };
  const int status = quelmaris::testing::run_in_private_mount_namespace([&] {
    const std::string make = "truncate -s 32M '" + image + "' && mkfs.fat '" + image + "' >/dev/null 2>&1";
    if (std::system(make.c_str()) != 0 || std::system(mount.c_str()) != 0) return kCannotMount;
    const int code = [&] {
      const SystemFileTrashing files;
      const std::string original = top + "/photo.jpg";
      const QUrl url = urlOf(original);
      // Three rounds: put back at once, after a new mount, and refused when another size took its place.
      for (int round = 1; round <= 3; ++round) {
        std::ofstream(original) << "photo";
        // Both times: this driver ignores a change of the modification time alone.
        const timespec yearAgo{std::time(nullptr) - 365 * 24 * 3600, 0}, times[] = {yearAgo, yearAgo};
        if (::utimensat(AT_FDCWD, original.c_str(), times, 0) != 0) return 10 * round;
        const auto trashed = files.trashItem(url);
        if (!trashed.ok() || fs::exists(original)) return 10 * round + 1;
        if (round >= 2 && !remount()) return 10 * round + 2;
        const QUrl inTrash = trashed.value().url.value_or(url);
        // Another file takes its name by renames: this driver, given a file
        // removed and one written, may write the new one over another's data.
        if (round == 3) {
          fs::rename(inTrash.toLocalFile().toStdString(), top + "/taken away");
          std::ofstream(top + "/stranger") << "another photo";
          fs::rename(top + "/stranger", inTrash.toLocalFile().toStdString());
        }
        const auto refusal = files.moveItem(inTrash, url, trashed.value().identity);
        if (round < 3 && (refusal || read_file(original) != "photo")) return 10 * round + 3;
        if (round == 3 &&
            (!refusal || refusal->description != "The item in the Trash now has another size." || fs::exists(original)))
          return 10 * round + 4;
      }
      return 0;
    }();
    ::umount2(top.c_str(), MNT_DETACH);
    return code;
  });
  if (status == quelmaris::testing::kNoMountNamespace || status == kCannotMount)
    GTEST_SKIP() << "no FUSE FAT volume mountable here (needs root, /dev/fuse, fusefat and mkfs.fat)";
  EXPECT_EQ(status, 0) << "tens: round (1 at once, 2 after a new mount, 3 another size); units: step";
}

// The loop device the image is now attached to; empty when none could take it.
std::string attachedLoopDevice(const std::string& image) {
  std::string device(64, '\0');
  FILE* out = ::popen(("losetup -f --show '" + image + "' 2>/dev/null").c_str(), "r");
  if (out == nullptr) return std::string();
  device.resize(std::fread(device.data(), 1, device.size(), out));
  ::pclose(out);
  return device.substr(0, device.find('\n'));
}

// Sets both times: the FUSE exFAT driver ignores a change of the modification time alone.
bool dated(const std::string& path, std::time_t seconds) {
  const timespec times[] = {{seconds, 0}, {seconds, 0}};
  return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

// An exFAT stick through the FUSE driver plugged in again: it stored 1980 in
// place of 1975 and a date of this century in place of 2150, and numbers its
// files afresh. Its folder "hidden" is the point of an earlier mount, which
// the stick's mount hides. Round 1 takes the Trash at the stick's top; round 2
// a home folder on the stick, inside "hidden", whose Trash takes its files.
TEST(FuseExFatUndo, files_dated_outside_what_the_volume_holds_come_back_after_it_was_mounted_again) {
  constexpr int kCannotMount = 90;
  constexpr std::time_t k1975 = 170'812'800, k2150 = 5'693'328'000, k2000 = 959'817'600, k2001 = 991'353'600;
  TempTree tree;
  const std::string image = tree.path("stick.img"), top = fs::canonical(tree.mkdir("stick")).string();
  const std::pair<std::string, std::time_t> items[] = {
      {"old.jpg", k1975}, {"hidden/future.jpg", k2150}, {"stranger.jpg", k2000}};
  const auto moveRemountAndUndo = [&](const std::string& mount, const std::string& trashFiles) {
    const SystemFileTrashing files;
    fs::create_directories(top + "/hidden");
    std::vector<TrashedItem> moved;
    for (const auto& [name, time] : items) {
      std::ofstream(top + "/" + name) << "photo";
      if (!dated(top + "/" + name, time)) return 1;
      const auto trashed = files.trashItem(urlOf(top + "/" + name));
      if (!trashed.ok() || trashed.value().url != urlOf(trashFiles + fs::path(name).filename().string())) return 2;
      moved.push_back(trashed.value());
    }
    if (::umount2(top.c_str(), 0) != 0 || std::system(mount.c_str()) != 0) return 3;
    // Another photo of the same size, dated in the range the volume holds, took the last one's name.
    const std::string stranger = trashFiles + "stranger.jpg";
    fs::rename(stranger, top + "/taken away");
    std::ofstream(top + "/another") << "PHOTO";
    if (!dated(top + "/another", k2001)) return 1;
    fs::rename(top + "/another", stranger);
    for (std::size_t i = 0; i < moved.size(); ++i) {
      const std::string original = top + "/" + items[i].first;
      const auto refusal = files.moveItem(*moved[i].url, urlOf(original), moved[i].identity);
      if (i < 2 && (refusal || read_file(original) != "photo")) return 4 + static_cast<int>(i);
      if (i == 2 && (!refusal || refusal->description != "The item in the Trash now has another modification date." ||
                     fs::exists(original)))
        return 6;
    }
    fs::remove(stranger);
    return 0;
  };
  const auto twoRounds = [&](const std::string& mount) {
    if (const int code = moveRemountAndUndo(mount, top + "/.Trash-" + std::to_string(::getuid()) + "/files/"))
      return 10 + code;
    ::setenv("XDG_DATA_HOME", (top + "/hidden/data").c_str(), 1);
    if (const int code = moveRemountAndUndo(mount, top + "/hidden/data/Trash/files/")) return 20 + code;
    return 0;
  };
  const int status = quelmaris::testing::run_in_private_mount_namespace([&] {
    if (std::system(("truncate -s 16M '" + image + "' && mkfs.exfat '" + image + "' >/dev/null 2>&1").c_str()) != 0)
      return kCannotMount;
    const std::string device = attachedLoopDevice(image);
    if (device.empty()) return kCannotMount;
    const std::string mount = "mount.exfat-fuse -o nonempty '" + device + "' '" + top + "' >/dev/null 2>&1";
    fs::create_directories(top + "/hidden");
    const bool mounted =
        ::mount("tmpfs", (top + "/hidden").c_str(), "tmpfs", 0, nullptr) == 0 && std::system(mount.c_str()) == 0;
    const int code = mounted ? twoRounds(mount) : kCannotMount;
    ::umount2(top.c_str(), MNT_DETACH);
    std::system(("losetup -d '" + device + "'").c_str());
    return code;
  });
  if (status == quelmaris::testing::kNoMountNamespace || status == kCannotMount)
    GTEST_SKIP() << "no FUSE exFAT volume here (needs root, /dev/fuse, loop devices, exfat-fuse, exfatprogs)";
  EXPECT_EQ(status, 0) << "tens: round; units: 1 dating, 2 not moved into the Trash meant, 3 mounting again, 4 the "
                          "1975 file stayed, 5 the 2150 file stayed, 6 the stranger came back";
}

// A stick plugged into another port comes back on another device number;
// the inode numbers, times and sizes that ext4 keeps still know its items.
TEST(RemountedUndo, items_come_back_from_a_volume_mounted_again_on_another_device_number) {
  constexpr int kCannotMount = 90;
  TempTree tree;
  const std::string image = tree.path("stick.img"), top = fs::canonical(tree.mkdir("stick")).string();
  const auto attach = [&] { return attachedLoopDevice(image); };
  const auto deviceOf = [](const std::string& path) {
    struct stat facts {};
    return ::stat(path.c_str(), &facts) == 0 ? facts.st_dev : dev_t{0};
  };
  const int status = quelmaris::testing::run_in_private_mount_namespace([&] {
    if (std::system(("truncate -s 16M '" + image + "' && mkfs.ext4 -q '" + image + "' 2>/dev/null").c_str()) != 0)
      return kCannotMount;
    // The first loop device stays taken while the volume comes back, as another stick takes a port.
    const std::string first = attach();
    if (first.empty() || ::mount(first.c_str(), top.c_str(), "ext4", 0, nullptr) != 0) return kCannotMount;
    const SystemFileTrashing files;
    std::vector<std::pair<QUrl, TrashedItem>> moved;
    for (const std::string name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"}) {
      std::ofstream(top + "/" + name) << "photo";
      const auto trashed = files.trashItem(urlOf(top + "/" + name));
      if (!trashed.ok() || !trashed.value().url) return 1;
      moved.emplace_back(urlOf(top + "/" + name), trashed.value());
    }
    const dev_t before = deviceOf(top);
    const std::string second = attach();
    const bool remounted = ::umount2(top.c_str(), 0) == 0 && !second.empty() &&
                           ::mount(second.c_str(), top.c_str(), "ext4", 0, nullptr) == 0;
    std::system(("losetup -d '" + first + "'").c_str());
    if (!remounted) return kCannotMount;
    const int code = [&] {
      if (deviceOf(top) == before) return 2;
      // Another file of the same size and time took the last one's name: another inode.
      const std::string last = moved.back().second.url->toLocalFile().toStdString();
      const auto time = fs::last_write_time(last);
      fs::rename(last, top + "/taken away");
      std::ofstream(last) << "other";
      fs::last_write_time(last, time);
      for (const auto& [original, item] : moved) {
        const auto refusal = files.moveItem(*item.url, original, item.identity);
        if (original != moved.back().first && (refusal || read_file(original.toLocalFile().toStdString()) != "photo"))
          return 3;
        if (original == moved.back().first &&
            (!refusal || refusal->description != "Another file now has its name in the Trash."))
          return 4;
      }
      return 0;
    }();
    ::umount2(top.c_str(), MNT_DETACH);
    std::system(("losetup -d '" + second + "'").c_str());
    return code;
  });
  if (status == quelmaris::testing::kNoMountNamespace || status == kCannotMount)
    GTEST_SKIP() << "no ext4 loop volume here (needs root, loop devices, e2fsprogs)";
  EXPECT_EQ(status, 0) << "1: move, 2: the same device again, 3: an item left, 4: the stranger put back";
}

}  // namespace
