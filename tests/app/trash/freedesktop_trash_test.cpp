#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QRegularExpression>
#include <QString>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <utility>

#include "app_test_support.hpp"
#include "defaults.hpp"
#include "mount_namespace.hpp"
#include "recording_listener.hpp"
#include "reflink_volume.hpp"
#include "scan_job.hpp"
#include "temp_data_home.hpp"
#include "temp_tree.hpp"
#include "trash/FileTrashing.h"
#include "trash/FreedesktopTrash.h"
#include "trash/TrashFolder.h"
#include "trash/TrashInfo.h"
#include "unique_fd.hpp"

namespace {

namespace fs = std::filesystem;
using quelmaris::testing::read_file;
using quelmaris::testing::TempTree;

const quelmaris::testing::TemporaryDataHome dataHome;

std::string uid() { return std::to_string(::getuid()); }

void makeFolder(const std::string& path, mode_t mode) {
  fs::create_directories(path);
  ::chmod(path.c_str(), mode);
}

// 0 for a success, else the error.
int errorOf(const auto& result) { return result.ok() ? 0 : result.error(); }

class FreedesktopTrashTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::remove_all(dataHome.trash()); }
  static fs::path inTrash(const std::string& folder, const std::string& name) {
    return dataHome.trash() / folder / name;
  }
  TempTree tree;
};

TEST(TrashInfo, paths_are_percent_encoded_byte_by_byte_and_numbered_names_keep_the_extension_within_the_limit) {
  const std::pair<std::string, std::string> encodings[] = {
      {"/home/u/plain-name_1.txt", "/home/u/plain-name_1.txt"},
      {"/a b/100%.txt", "/a%20b/100%25.txt"},
      {"/x\n#?&=", "/x%0A%23%3F%26%3D"},
      {"/not-utf8-\xFF", "/not-utf8-%FF"},
  };
  for (const auto& [path, encoded] : encodings) EXPECT_EQ(FreedesktopTrash::percentEncodedPath(path), encoded) << path;
  // Numbered names keep the extension and fit the record name limit.
  const std::tuple<std::string, std::uint64_t, std::string> rows[] = {
      {"report.txt", 1, "report.txt"}, {"report.txt", 2, "report.2.txt"}, {"archive.tar.gz", 3, "archive.tar.3.gz"},
      {".hidden", 2, ".hidden.2"},     {"README", 12, "README.12"},
  };
  for (const auto& [base, number, name] : rows) EXPECT_EQ(FreedesktopTrash::trashEntryName(base, number), name);
  // 2-byte characters, so that a cut at the limit would fall inside one.
  const std::string longStem = QString(150, QChar(0xE9)).toStdString();
  const std::string name = FreedesktopTrash::trashEntryName(longStem + ".txt", 7);
  EXPECT_LE(name.size() + std::string(".trashinfo").size(), std::size_t{NAME_MAX});
  EXPECT_TRUE(name.ends_with("\xC3\xA9.7.txt")) << name;
  EXPECT_EQ(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())).toUtf8().toStdString(), name)
      << "a character was cut in two";
}

TEST_F(FreedesktopTrashTest, an_item_is_recorded_then_renamed_into_the_home_trash_and_a_missing_one_leaves_no_record) {
  // The home Trash is the temporary one, on the device of the test files.
  ASSERT_EQ(FreedesktopTrash::homeTrashPath(), dataHome.trash().string());
  struct stat home = {}, files = {};
  ASSERT_TRUE(::stat(dataHome.folder().c_str(), &home) == 0 && ::stat(tree.root().c_str(), &files) == 0);
  EXPECT_EQ(home.st_dev, files.st_dev) << "test files would go to another Trash than the temporary one";

  EXPECT_EQ(errorOf(FreedesktopTrash::trash(tree.path("absent"))), ENOENT);
  EXPECT_TRUE(!fs::exists(dataHome.trash() / "info") || fs::is_empty(dataHome.trash() / "info"));

  const std::string original = tree.write("dir/my file%.txt", "content");
  // The record's clock: time() reads the kernel's clock as of its last tick, which for a few
  // milliseconds after each second lags a finer clock read just before into the second before.
  const QDateTime before = QDateTime::fromSecsSinceEpoch(std::time(nullptr));
  const auto trashed = FreedesktopTrash::trash(original);
  const QDateTime after = QDateTime::fromSecsSinceEpoch(std::time(nullptr));
  ASSERT_TRUE(trashed.ok()) << std::strerror(trashed.error());
  EXPECT_EQ(trashed.value(), inTrash("files", "my file%.txt").string());
  EXPECT_FALSE(fs::exists(original));
  EXPECT_EQ(read_file(trashed.value()), "content");

  const std::string info = read_file(inTrash("info", "my file%.txt.trashinfo"));
  const QRegularExpression form(QStringLiteral("^\\[Trash Info\\]\nPath=(.*)\nDeletionDate=(.*)\n$"));
  const auto match = form.match(QString::fromStdString(info));
  ASSERT_TRUE(match.hasMatch()) << info;
  EXPECT_EQ(match.captured(1).toStdString(), FreedesktopTrash::percentEncodedPath(original));
  EXPECT_TRUE(match.captured(1).endsWith(QStringLiteral("/dir/my%20file%25.txt")));
  const QDateTime deleted = QDateTime::fromString(match.captured(2), QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
  ASSERT_TRUE(deleted.isValid()) << info;
  EXPECT_TRUE(before <= deleted && deleted <= after) << "not the local time of the move: " << info;
}

TEST_F(FreedesktopTrashTest, a_taken_name_gets_the_next_free_one_a_link_moves_itself_and_moving_back_never_replaces) {
  ASSERT_TRUE(FreedesktopTrash::trash(tree.write("a/report.txt", "a")).ok());
  // An item without its record still holds its name.
  fs::create_directories(dataHome.trash() / "files");
  std::ofstream(inTrash("files", "report.2.txt")) << "orphan";
  const std::string second = FreedesktopTrash::trash(tree.write("b/report.txt", "b")).value();
  EXPECT_EQ(second, inTrash("files", "report.3.txt").string());
  EXPECT_EQ((std::vector{read_file(inTrash("files", "report.txt")), read_file(inTrash("files", "report.2.txt")),
                         read_file(second)}),
            (std::vector<std::string>{"a", "orphan", "b"}));
  EXPECT_FALSE(fs::exists(inTrash("info", "report.2.txt.trashinfo")));
  EXPECT_TRUE(fs::exists(inTrash("info", "report.3.txt.trashinfo")));
  // A dangling link is moved itself and still exists in the Trash.
  const std::string link = tree.path("link");
  fs::create_symlink(tree.path("nowhere"), link);
  ASSERT_TRUE(FreedesktopTrash::exists(link).value());
  const std::string movedLink = FreedesktopTrash::trash(link).value();
  EXPECT_EQ(std::tuple(fs::is_symlink(movedLink), FreedesktopTrash::exists(movedLink).value(),
                       FreedesktopTrash::exists(link).value()),
            std::tuple(true, true, false));
  // Moving back never replaces and a done move drops the record.
  const std::string original = tree.write("file", "moved");
  const ItemIdentity identity = FreedesktopTrash::identity(original).value();
  const std::string trashed = FreedesktopTrash::trash(original).value();
  const fs::path record = inTrash("info", "file.trashinfo");
  tree.write("file", "newcomer");
  EXPECT_EQ(FreedesktopTrash::move(trashed, original, identity), EEXIST);
  EXPECT_EQ(read_file(original), "newcomer");
  EXPECT_EQ(read_file(trashed), "moved");
  EXPECT_TRUE(fs::exists(record));

  fs::remove(original);
  EXPECT_EQ(FreedesktopTrash::move(trashed, original, identity), 0);
  EXPECT_EQ(read_file(original), "moved");
  EXPECT_FALSE(fs::exists(record));
  // An item trashed under the same name after the Trash was emptied is never put in another one's place.
  const std::string again = FreedesktopTrash::trash(original).value();
  fs::remove(again);
  fs::remove(record);
  const std::string unrelated = tree.write("b/file", "unrelated");
  const ItemIdentity its = FreedesktopTrash::identity(unrelated).value();
  ASSERT_EQ(FreedesktopTrash::trash(unrelated).value(), again);
  EXPECT_EQ(FreedesktopTrash::move(again, original, its), FreedesktopTrash::kRecordNamesAnotherPlace);
  EXPECT_FALSE(fs::exists(original));
  EXPECT_EQ(read_file(again), "unrelated");
  EXPECT_TRUE(fs::exists(record));
  EXPECT_EQ(FreedesktopTrash::move(again, unrelated, its), 0) << "its own owner still gets it back";
}

// The item as a volume shows it whose inode numbers last, or not.
FreedesktopTrash::ExamineItem inodeNumbersLasting(bool last) {
  return [last](const std::string& path) {
    auto found = FreedesktopTrash::examineItem(path);
    if (found) found.value().volume.inodeNumbersLast = last;
    return found;
  };
}

// FUSE drivers of FAT, exFAT, NTFS and SFTP refuse RENAME_NOREPLACE with EINVAL.
TEST_F(FreedesktopTrashTest, without_the_no_replace_flag_items_are_renamed_into_free_names_only) {
  const FreedesktopTrash::NoReplaceRename unsupported = [](const std::string&, const std::string&) { return EINVAL; };
  // Neither takes the name of an item without its record, here an empty
  // folder that a plain rename of a folder would replace. Moving back, where
  // nothing reserves the place, goes by a hard link where inode numbers last
  // and over an empty stand-in elsewhere.
  for (const auto& [name, inodeNumbersLast] :
       {std::pair<std::string, bool>{"file", true}, {"folder", true}, {"file", false}, {"folder", false}}) {
    SCOPED_TRACE(name + (inodeNumbersLast ? " where inode numbers last" : " where they do not"));
    const auto examine = inodeNumbersLasting(inodeNumbersLast);
    const fs::path orphan = inTrash("files", name);
    fs::create_directories(orphan);
    tree.write("a/" + name + (name == "folder" ? "/inside" : ""), "item");
    const auto trashed = FreedesktopTrash::trash(tree.path("a/" + name), unsupported);
    ASSERT_TRUE(trashed.ok()) << std::strerror(trashed.error());
    EXPECT_EQ(trashed.value(), orphan.string() + ".2");
    EXPECT_EQ(read_file(name == "folder" ? trashed.value() + "/inside" : trashed.value()), "item");
    EXPECT_FALSE(fs::exists(tree.path("a/" + name)));
    EXPECT_TRUE(fs::is_empty(orphan));
    EXPECT_TRUE(fs::exists(inTrash("info", name + ".2.trashinfo")));
    // Putting back goes the same way, and never over what took the place.
    const std::string original = tree.path("a/" + name);
    const auto identity = FreedesktopTrash::identity(trashed.value()).value();
    tree.write("a/" + name, "newer");
    EXPECT_EQ(FreedesktopTrash::move(trashed.value(), original, identity, unsupported, examine), EEXIST);
    EXPECT_EQ(read_file(original), "newer");
    fs::remove(original);
    EXPECT_EQ(FreedesktopTrash::move(trashed.value(), original, identity, unsupported, examine), 0);
    EXPECT_EQ(read_file(name == "folder" ? original + "/inside" : original), "item");
    EXPECT_FALSE(fs::exists(trashed.value()));
    EXPECT_FALSE(fs::exists(inTrash("info", name + ".2.trashinfo")));
  }
  // A rename that fails after the stand-in was made (a folder into itself) leaves no stand-in.
  const std::string folder = tree.path("a/folder");
  EXPECT_EQ(FreedesktopTrash::moveWithoutReplacing(folder, folder + "/into itself", false, unsupported), EINVAL);
  EXPECT_EQ(std::vector(fs::directory_iterator(folder), {}), std::vector{fs::directory_entry(folder + "/inside")});
  // An item gone before the fallback could move it leaves no record behind.
  const FreedesktopTrash::NoReplaceRename vanishing = [](const std::string& from, const std::string&) {
    fs::remove(from);
    return EINVAL;
  };
  EXPECT_EQ(errorOf(FreedesktopTrash::trash(tree.write("gone", "x"), vanishing)), ENOENT);
  EXPECT_FALSE(fs::exists(inTrash("info", "gone.trashinfo")));
}

// A Trash holding many items of one name: after the numbered names, random ones, never a taken one
// (taken by an item without its record, or by a record without its item).
TEST_F(FreedesktopTrashTest, after_sixteen_names_taken_in_a_row_an_item_takes_a_random_free_one) {
  for (const std::string folder : {"files", "info"}) fs::create_directories(dataHome.trash() / folder);
  for (std::uint64_t number = 1; number <= 16; ++number) {
    const std::string name = FreedesktopTrash::trashEntryName("report.txt", number);
    std::ofstream(number % 2 == 1 ? inTrash("files", name) : inTrash("info", name + ".trashinfo")) << "taken";
  }
  const auto trashed = FreedesktopTrash::trash(tree.write("report.txt", "new"));
  ASSERT_TRUE(trashed.ok()) << std::strerror(trashed.error());
  const std::string name = fs::path(trashed.value()).filename().string();
  const auto match = QRegularExpression(QStringLiteral("^report\\.(\\d+)\\.txt$")).match(QString::fromStdString(name));
  ASSERT_TRUE(match.hasMatch()) << name;
  EXPECT_GT(match.captured(1).toULongLong(), 16U);
  EXPECT_EQ(read_file(trashed.value()), "new");
  EXPECT_TRUE(fs::exists(inTrash("info", name + ".trashinfo")));
  const auto count = [](const fs::path& folder) { return std::distance(fs::directory_iterator(folder), {}); };
  EXPECT_EQ(std::pair(count(dataHome.trash() / "files"), count(dataHome.trash() / "info")), std::pair(9L, 9L));
}

// Another program may take the name in files/ after its record was reserved, before the fallback's
// rename (a folder has no hard links): the item goes under the next name and the newcomer stays.
TEST_F(FreedesktopTrashTest, a_name_taken_between_its_reservation_and_the_fallback_rename_passes_to_the_next_one) {
  bool taken = false;
  const FreedesktopTrash::NoReplaceRename takenMeanwhile = [&](const std::string&, const std::string& to) {
    if (!std::exchange(taken, true)) std::ofstream(to) << "newcomer";
    return EINVAL;
  };
  tree.write("a/folder/inside", "item");
  const auto trashed = FreedesktopTrash::trash(tree.path("a/folder"), takenMeanwhile);
  ASSERT_TRUE(trashed.ok()) << std::strerror(trashed.error());
  EXPECT_EQ(trashed.value(), inTrash("files", "folder.2").string());
  EXPECT_EQ(read_file(trashed.value() + "/inside"), "item");
  EXPECT_EQ(read_file(inTrash("files", "folder")), "newcomer");
  EXPECT_FALSE(fs::exists(inTrash("info", "folder.trashinfo"))) << "the newcomer is not ours to record";
  EXPECT_TRUE(fs::exists(inTrash("info", "folder.2.trashinfo")));
}

// Without the no-replace flag an item is linked in, then its old name removed; where that removal is
// refused (here an append-only folder), the item is not reported moved and leaves nothing in the Trash.
TEST_F(FreedesktopTrashTest,
       an_item_whose_old_name_cannot_be_removed_stays_with_no_second_name_or_record_in_the_trash) {
  const FreedesktopTrash::NoReplaceRename unsupported = [](const std::string&, const std::string&) { return EINVAL; };
  const std::string item = tree.write("append only/file", "item");
  const quelmaris::UniqueFd folder(::open(tree.path("append only").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  int flags = 0;
  if (::ioctl(folder.get(), FS_IOC_GETFLAGS, &flags) != 0) GTEST_SKIP() << "no file flags on this file system";
  const int appendOnly = flags | FS_APPEND_FL;
  if (::ioctl(folder.get(), FS_IOC_SETFLAGS, &appendOnly) != 0) GTEST_SKIP() << "append-only folders need root";
  const int error = errorOf(FreedesktopTrash::trash(item, unsupported));
  ::ioctl(folder.get(), FS_IOC_SETFLAGS, &flags);
  EXPECT_EQ(error, EPERM);
  EXPECT_EQ(read_file(item), "item");
  EXPECT_TRUE(fs::is_empty(dataHome.trash() / "files"));
  EXPECT_TRUE(fs::is_empty(dataHome.trash() / "info"));
}

// Each case mounts a fresh tmpfs in a private mount namespace and arranges its top directory.
TEST(FreedesktopTopdirTrash, items_on_another_device_stay_on_it_in_the_trash_at_its_top) {
  TempTree tree;
  const std::string base = fs::canonical(tree.root()).string();
  const int status = quelmaris::testing::run_in_private_mount_namespace([&] {
    // Each case arranges the volume's top; in one the Trash is the shared .Trash's folder of this user.
    // clang-format off
    const std::tuple<const char*, void (*)(const std::string&), bool> cases[] = {
        {"no shared folder", [](const std::string&) {}, false},
        {"real sticky .Trash", [](const std::string& top) { makeFolder(top + "/.Trash", 01777); }, true},
        {".Trash without the sticky bit", [](const std::string& top) { makeFolder(top + "/.Trash", 0777); }, false},
        {".Trash a link to a sticky folder", [](const std::string& top) {
           makeFolder(top + "/elsewhere", 01777);
           fs::create_directory_symlink(top + "/elsewhere", top + "/.Trash"); }, false},
        {"own folder in .Trash held by another user", [](const std::string& top) {
           makeFolder(top + "/.Trash/" + uid(), 0700);
           ::chmod((top + "/.Trash").c_str(), 01777);
           ::chown((top + "/.Trash/" + uid()).c_str(), 65534, 65534); }, false},
    };
    // clang-format on
    int code = 10;
    for (const auto& [name, arrange, shared] : cases) {
      // The table writes the blank as \040.
      const std::string top = base + "/mount " + std::to_string(code);
      fs::create_directories(top);
      if (::mount("tmpfs", top.c_str(), "tmpfs", 0, nullptr) != 0) return 1;
      arrange(top);
      fs::create_directories(top + "/sub dir");
      const std::string original = top + "/sub dir/x";
      std::ofstream(original) << "x";
      const ItemIdentity identity = FreedesktopTrash::identity(original).value();
      const auto trashed = FreedesktopTrash::trash(original);
      const std::string folder = top + (shared ? "/.Trash/" : "/.Trash-") + uid();
      if (!trashed.ok() || trashed.value() != folder + "/files/x") return code + 1;
      if (read_file(folder + "/info/x.trashinfo").find("\nPath=sub%20dir/x\n") == std::string::npos) return code + 2;
      if (fs::exists(dataHome.trash() / "files" / "x")) return code + 3;
      if (FreedesktopTrash::move(trashed.value(), original, identity) != 0 || fs::exists(folder + "/info/x.trashinfo"))
        return code + 4;
      code += 10;
    }
    // A file system where no Trash can be made keeps its files: nothing is copied.
    const std::string readOnly = base + "/readonly";
    fs::create_directories(readOnly);
    if (::mount("tmpfs", readOnly.c_str(), "tmpfs", 0, nullptr) != 0) return 2;
    std::ofstream(readOnly + "/kept") << "kept";
    if (::mount(nullptr, readOnly.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) return 3;
    const auto refused = FreedesktopTrash::trash(readOnly + "/kept");
    if (refused.ok() || refused.error() != EROFS || !fs::exists(readOnly + "/kept")) return 4;
    if (fs::exists(dataHome.trash() / "files" / "kept")) return 5;
    return 0;
  });
  if (status == quelmaris::testing::kNoMountNamespace) GTEST_SKIP() << "no mount namespace on this machine";
  EXPECT_EQ(status, 0) << "10s: no shared folder, 20s: sticky, 30s: not sticky, 40s: link, 50s: foreign own folder; "
                          "1–5: setup or read-only";
}

// A record that cannot be written keeps the item where it is, with no name taken in the Trash, and says
// why in the system's words.
TEST(FreedesktopTopdirTrash, an_item_whose_record_cannot_be_written_on_a_full_volume_stays_where_it_is) {
  TempTree tree;
  const std::string top = fs::canonical(tree.mkdir("full")).string(), folder = top + "/.Trash-" + uid();
  const int status = quelmaris::testing::run_in_private_mount_namespace([&] {
    if (::mount("tmpfs", top.c_str(), "tmpfs", 0, "size=16k") != 0) return 1;
    std::ofstream(top + "/x") << "x";
    if (!FreedesktopTrash::trashFolderAtTopOf(top).ok()) return 2;
    const quelmaris::UniqueFd filler(::open((top + "/filler").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
    const std::string block(4096, 'f');
    while (::write(filler.get(), block.data(), block.size()) > 0) {
    }
    const auto refused = SystemFileTrashing().trashItem(apptest::urlOf(top + "/x"));
    if (refused.ok() || refused.error().description.toStdString() != std::strerror(ENOSPC)) return 3;
    if (read_file(top + "/x") != "x" || !fs::is_empty(folder + "/files") || !fs::is_empty(folder + "/info")) return 4;
    return 0;
  });
  if (status == quelmaris::testing::kNoMountNamespace) GTEST_SKIP() << "no mount namespace on this machine";
  EXPECT_EQ(status, 0) << "1–2: setup, 3: not refused for want of space, 4: something left behind";
}

// A mount hidden under a later one over a folder above its point: a file at that point is on the
// later mount's volume, whose top takes its Trash, as the file manager puts it.
TEST(FreedesktopTopdirTrash, a_file_where_a_hidden_mount_was_goes_to_the_trash_at_the_top_of_the_volume_it_is_on) {
  TempTree tree;
  const std::string upper = fs::canonical(tree.mkdir("x")).string(), lower = upper + "/a";
  const int status = quelmaris::testing::run_in_private_mount_namespace([&] {
    fs::create_directories(lower);
    if (::mount("tmpfs", lower.c_str(), "tmpfs", 0, nullptr) != 0 ||
        ::mount("tmpfs", upper.c_str(), "tmpfs", 0, nullptr) != 0)
      return 1;
    const std::string file = tree.write("x/a/f.txt", "f"), folder = upper + "/.Trash-" + uid();
    const ItemIdentity identity = FreedesktopTrash::identity(file).value();
    const auto trashed = FreedesktopTrash::trash(file);
    if (!trashed.ok() || trashed.value() != folder + "/files/f.txt" || fs::exists(lower + "/.Trash-" + uid())) return 2;
    if (read_file(folder + "/info/f.txt.trashinfo").find("\nPath=a/f.txt\n") == std::string::npos) return 3;
    if (FreedesktopTrash::move(trashed.value(), file, identity) != 0 || read_file(file) != "f") return 4;
    return 0;
  });
  if (status == quelmaris::testing::kNoMountNamespace) GTEST_SKIP() << "no mount namespace on this machine";
  EXPECT_EQ(status, 0) << "1: setup, 2: not in the Trash at the upper volume's top, 3: its record, 4: its undo";
}

// The folder an item came from was removed since: the move back fails with the system's reason, from
// the home Trash and from a volume's own alike, and the item stays in the Trash with its record; a
// record naming another place still refuses it.
TEST(FreedesktopTopdirTrash, a_move_back_into_a_folder_removed_since_fails_with_the_systems_reason_from_every_trash) {
  TempTree tree;
  const std::string home = fs::canonical(tree.mkdir("home")).string(),
                    volume = fs::canonical(tree.mkdir("volume")).string();
  const int status = quelmaris::testing::run_in_private_mount_namespace([&] {
    if (::mount("tmpfs", volume.c_str(), "tmpfs", 0, nullptr) != 0) return 1;
    const SystemFileTrashing files;
    int code = 10;
    for (const std::string& top : {home, volume}) {
      const std::string original = top + "/gone/f.txt";
      fs::create_directories(top + "/gone");
      std::ofstream(original) << "f";
      const auto trashed = files.trashItem(apptest::urlOf(original));
      if (!trashed.ok() || !trashed.value().url) return code + 1;
      const QUrl inTrash = *trashed.value().url;
      const std::string record = *FreedesktopTrash::trashInfoPathFor(inTrash.toLocalFile().toStdString());
      fs::remove_all(top + "/gone");
      const auto refusal = files.moveItem(inTrash, apptest::urlOf(original), trashed.value().identity);
      if (!refusal || refusal->description.toStdString() != std::strerror(ENOENT)) return code + 2;
      if (!fs::exists(inTrash.toLocalFile().toStdString()) || !fs::exists(record)) return code + 3;
      const auto elsewhere = files.moveItem(inTrash, apptest::urlOf(top + "/other/f.txt"), trashed.value().identity);
      if (!elsewhere || elsewhere->description != "Its Trash record no longer names this place.") return code + 4;
      fs::create_directories(top + "/gone");
      if (files.moveItem(inTrash, apptest::urlOf(original), trashed.value().identity) || read_file(original) != "f")
        return code + 5;
      code += 10;
    }
    return 0;
  });
  if (status == quelmaris::testing::kNoMountNamespace) GTEST_SKIP() << "no mount namespace on this machine";
  EXPECT_EQ(status, 0) << "1: setup; 10s: the home Trash, 20s: the volume's own; 1: move, 2: not the system's "
                          "reason, 3: the item or its record left the Trash, 4: another place, 5: moving back at last";
}

// The paths of every file in the duplicate sets a scan of the root finds.
std::vector<std::string> pathsInSetsOf(const std::string& root) {
  quelmaris::ScanConfig config = quelmaris::default_scan_config();
  config.roots = {root};
  config.min_size = 1;
  config.mode = quelmaris::MatchMode::ContentOnly;
  quelmaris::testing::RecordingListener listener;
  quelmaris::ScanJob().run(config, listener);
  const std::vector<quelmaris::ScanEvent> events = listener.events();
  std::vector<std::string> paths;
  for (const auto* ready : quelmaris::testing::all_of<quelmaris::ScanEvent::SetReady>(events))
    for (const auto& file : ready->set.files) paths.push_back(file.path);
  return paths;
}

// A bind mount of a folder is a mount of its own: renames do not leave it, so its Trash is at its
// point, as the file manager puts it, inside a folder of the volume that the volume's own scans leave
// out. A volume shown whole twice, or a folder of a volume mounted nowhere else, has its top there too.
TEST(FreedesktopTopdirTrash,
     a_bind_mount_of_a_folder_has_its_trash_at_its_point_which_a_scan_of_the_volume_leaves_out) {
  TempTree tree;
  const std::string base = fs::canonical(tree.root()).string();
  const int status = quelmaris::testing::run_in_private_mount_namespace([&] {
    const auto bind = [](const std::string& from, const std::string& to) {
      fs::create_directories(from);
      fs::create_directories(to);
      return ::mount(from.c_str(), to.c_str(), nullptr, MS_BIND, nullptr) == 0;
    };
    // The item goes into the Trash at the top, the home Trash takes nothing, and it comes back.
    const auto trashedAtTop = [&](const std::string& top, const std::string& item) {
      std::ofstream(item) << "song";
      const auto trashed = FreedesktopTrash::trash(item);
      const std::string expected = top + "/.Trash-" + uid() + "/files/" + fs::path(item).filename().string();
      if (!trashed.ok() || trashed.value() != expected || fs::exists(item)) return std::string();
      if (fs::exists(dataHome.trash() / "files" / fs::path(item).filename())) return std::string();
      return trashed.value();
    };
    const auto comesBack = [](const std::string& trashed, const std::string& item) {
      const ItemIdentity identity = FreedesktopTrash::identity(trashed).value();
      return FreedesktopTrash::move(trashed, item, identity) == 0 && read_file(item) == "song" && !fs::exists(trashed);
    };
    // A folder of the home volume: the home Trash's device, but no rename across the two mounts.
    if (!bind(base + "/bound source", base + "/bound")) return 1;
    const std::string homeFolderItem = trashedAtTop(base + "/bound", base + "/bound/x.bin");
    if (homeFolderItem.empty() || !comesBack(homeFolderItem, base + "/bound/x.bin")) return 2;
    // The home Trash on another volume; a data volume's Music folder bound into the home folder.
    if (::mount("tmpfs", dataHome.folder().c_str(), "tmpfs", 0, nullptr) != 0) return 3;
    const std::string volume = base + "/mnt/data", music = base + "/home/Music";
    fs::create_directories(volume);
    if (::mount("tmpfs", volume.c_str(), "tmpfs", 0, nullptr) != 0 || !bind(volume + "/Music", music)) return 4;
    fs::create_directories(volume + "/Backup");
    std::ofstream(volume + "/Backup/song.ogg") << "song";
    const std::string copy = trashedAtTop(music, music + "/song.ogg");
    if (copy.empty() || !fs::exists(volume + "/Music/.Trash-" + uid() + "/files/song.ogg")) return 5;
    if (!pathsInSetsOf(volume).empty()) return 6;
    if (!comesBack(copy, music + "/song.ogg")) return 7;
    if (pathsInSetsOf(volume) != std::vector<std::string>{volume + "/Backup/song.ogg", volume + "/Music/song.ogg"})
      return 8;
    // A volume shown whole at two places keeps its Trash at the top of each.
    fs::create_directories(base + "/volume");
    if (::mount("tmpfs", (base + "/volume").c_str(), "tmpfs", 0, nullptr) != 0 ||
        !bind(base + "/volume", base + "/again"))
      return 9;
    if (trashedAtTop(base + "/again", base + "/again/x").empty()) return 10;
    // A folder of a volume that is mounted nowhere else: its top is the only way to it.
    fs::create_directories(base + "/hidden");
    if (::mount("tmpfs", (base + "/hidden").c_str(), "tmpfs", 0, nullptr) != 0) return 11;
    fs::create_directories(base + "/hidden/sub");
    if (!bind(base + "/hidden/sub", base + "/alone") || ::umount2((base + "/hidden").c_str(), MNT_DETACH) != 0)
      return 12;
    return trashedAtTop(base + "/alone", base + "/alone/x").empty() ? 13 : 0;
  });
  if (status == quelmaris::testing::kNoMountNamespace) GTEST_SKIP() << "no mount namespace on this machine";
  EXPECT_EQ(status, 0) << "1–2: a folder of the home volume; 3–8: a data volume's folder bound into the home "
                          "folder (6: the scan listed the Trash); 9–10: a volume shown twice; 11–13: a folder of a "
                          "volume mounted nowhere else";
}

// A subvolume mounted on its own has its top there, whether or not the volume's top is mounted too.
TEST(FreedesktopTopdirTrash, a_btrfs_subvolume_keeps_its_trash_while_the_volume_holding_it_is_mounted_too) {
  constexpr int kCannotMount = 90;
  TempTree tree;
  const std::string image = tree.path("volume.img"), top = fs::canonical(tree.mkdir("top")).string(),
                    sub = fs::canonical(tree.mkdir("sub")).string();
  const int status = quelmaris::testing::run_in_private_mount_namespace([&] {
    const std::string setup = "truncate -s 120M '" + image + "' && mkfs.btrfs -q '" + image + "' && mount -o loop '" +
                              image + "' '" + top + "' && btrfs subvolume create '" + top + "/s' && umount '" + top +
                              "' && mount -o loop,subvol=s '" + image + "' '" + sub + "'";
    if (std::system(("(" + setup + ") >/dev/null 2>&1").c_str()) != 0) return kCannotMount;
    std::ofstream(sub + "/x") << "x";
    const auto trashed = FreedesktopTrash::trash(sub + "/x");
    if (!trashed.ok() || trashed.value() != sub + "/.Trash-" + uid() + "/files/x") return 1;
    if (std::system(("mount -o loop '" + image + "' '" + top + "' >/dev/null 2>&1").c_str()) != 0) return kCannotMount;
    std::ofstream(sub + "/y") << "y";
    const auto alongside = FreedesktopTrash::trash(sub + "/y");
    if (!alongside.ok() || alongside.value() != sub + "/.Trash-" + uid() + "/files/y") return 2;
    return 0;
  });
  if (status == quelmaris::testing::kNoMountNamespace || status == kCannotMount)
    GTEST_SKIP() << "no btrfs loop volume here (needs root, loop devices, btrfs-progs)";
  EXPECT_EQ(status, 0) << "1: the subvolume alone, 2: with the volume's top mounted too";
}

// Others who may write to a Trash folder could take the items away: on a volume that keeps modes, a
// folder of ours found open is refused, left as it was found.
TEST(FreedesktopTopdirTrash, a_trash_folder_found_open_to_all_on_a_volume_that_keeps_modes_is_refused_as_it_was) {
  TempTree tree;
  const std::string top = fs::canonical(tree.root()).string(), folder = top + "/.Trash-" + uid();
  for (const std::string& path : {folder, folder + "/files", folder + "/info"}) makeFolder(path, 0700);
  ::chmod((folder + "/info").c_str(), 0777);
  EXPECT_EQ(errorOf(FreedesktopTrash::trashFolderAtTopOf(top)), EXDEV);
  EXPECT_EQ(fs::status(folder + "/info").permissions(), fs::perms::all);
  ::chmod((folder + "/info").c_str(), 0700);
  EXPECT_EQ(errorOf(FreedesktopTrash::trashFolderAtTopOf(top)), 0);
}

// A btrfs subvolume not mounted on its own has its own device but no top directory.
TEST(SystemFileTrashing, a_file_no_trash_can_take_stays_and_the_failure_says_so_in_plain_words) {
  TempTree tree;
  const quelmaris::testing::ReflinkVolume volume(tree);
  if (!volume.skip_reason().empty()) GTEST_SKIP() << volume.skip_reason();
  if (std::system(("btrfs subvolume create '" + volume.path() + "/sub' >/dev/null 2>&1").c_str()) != 0)
    GTEST_SKIP() << "the volume is not btrfs";
  const std::string file = volume.path() + "/sub/kept";
  std::ofstream(file) << "kept";
  const auto refused = SystemFileTrashing().trashItem(apptest::urlOf(file));
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.error().description.toStdString(), "This volume has no Trash that Quelmaris can use.");
  EXPECT_EQ(read_file(file), "kept");
}

// FUSE FAT and NTFS: no RENAME_NOREPLACE, hard links on NTFS only, modes from the mount options. NTFS
// mounted on an image file rather than a loop device is a plain "fuse" mount showing every folder as 0777.
TEST(FreedesktopFuseTrash, items_go_into_the_trash_at_the_volume_top_and_never_over_another) {
  constexpr int kCannotMount = 90;
  int mounted = 0;
  for (const auto& [name, mkfs, mounter] : {std::tuple{"NTFS", "mkntfs -q -F -f", "mount -t ntfs-3g -o loop"},
                                            {"NTFS from an image file", "mkntfs -q -F -f", "ntfs-3g"},
                                            {"FAT", "mkfs.vfat", "fusefat -o rw+"}}) {
    TempTree tree;
    const std::string image = tree.path("volume.img"), top = fs::canonical(tree.mkdir("volume")).string();
    const std::string mount = std::string(mounter) + " '" + image + "' '" + top + "' && mountpoint -q '" + top + "'";
    const int status = quelmaris::testing::run_in_private_mount_namespace([&] {
      const std::string setup = "truncate -s 32M '" + image + "' && " + mkfs + " '" + image + "' && " + mount;
      if (std::system(("(" + setup + ") >/dev/null 2>&1").c_str()) != 0) return kCannotMount;
      const int code = [&] {
        const std::string folder = top + "/.Trash-" + uid();
        fs::create_directories(top + "/sub dir");
        std::ofstream(top + "/sub dir/x") << "x";
        const auto first = FreedesktopTrash::trash(top + "/sub dir/x");
        if (!first.ok() || first.value() != folder + "/files/x" || fs::exists(top + "/sub dir/x")) return 1;
        if (read_file(folder + "/info/x.trashinfo").find("\nPath=sub%20dir/x\n") == std::string::npos) return 2;
        // The folder the first item made takes the next; an item without its record keeps its name.
        std::ofstream(folder + "/files/y") << "orphan";
        std::ofstream(top + "/y") << "y";
        const auto second = FreedesktopTrash::trash(top + "/y");
        if (!second.ok() || second.value() != folder + "/files/y.2" || fs::exists(top + "/y")) return 3;
        if (read_file(second.value()) != "y" || read_file(folder + "/files/y") != "orphan") return 4;
        // A later launch, the volume plugged in again, finds the folder and takes two more.
        if (std::system(("(umount '" + top + "' && " + mount + ") >/dev/null 2>&1").c_str()) != 0) return 5;
        for (const std::string later : {"z1", "z2"}) {
          std::ofstream(top + "/" + later) << later;
          const auto moved = FreedesktopTrash::trash(top + "/" + later);
          if (!moved.ok() || moved.value() != folder + "/files/" + later || fs::exists(top + "/" + later)) return 6;
        }
        return 0;
      }();
      ::umount2(top.c_str(), MNT_DETACH);
      return code;
    });
    if (status == quelmaris::testing::kNoMountNamespace || status == kCannotMount) continue;
    ++mounted;
    EXPECT_EQ(status, 0) << name << " 1–2: first item, 3–4: second item, 5–6: items of a later launch";
  }
  if (mounted == 0) GTEST_SKIP() << "no FUSE volume mountable here (needs root, /dev/fuse, loop devices, the tools)";
}

}  // namespace
