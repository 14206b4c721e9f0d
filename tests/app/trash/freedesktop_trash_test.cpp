#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QRegularExpression>
#include <QString>
#include <filesystem>
#include <fstream>

#include "mount_namespace.hpp"
#include "reflink_volume.hpp"
#include "temp_data_home.hpp"
#include "temp_tree.hpp"
#include "trash/FileTrashing.h"
#include "trash/FreedesktopTrash.h"
#include "trash/TrashFolder.h"
#include "trash/TrashInfo.h"

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
  const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
  const auto trashed = FreedesktopTrash::trash(original);
  const QDateTime after = QDateTime::currentDateTime().addSecs(1);
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

// FUSE drivers of FAT, exFAT and NTFS refuse RENAME_NOREPLACE with EINVAL.
TEST_F(FreedesktopTrashTest, without_the_no_replace_flag_items_are_linked_or_renamed_into_free_names_only) {
  const FreedesktopTrash::NoReplaceRename unsupported = [](const std::string&, const std::string&) { return EINVAL; };
  // A file is hard-linked in, a folder (no hard links) renamed; neither takes
  // the name of an item without its record, here an empty folder that a plain
  // rename of a folder would replace.
  for (const std::string name : {"file", "folder"}) {
    SCOPED_TRACE(name);
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
    EXPECT_EQ(FreedesktopTrash::move(trashed.value(), original, identity, unsupported), EEXIST);
    fs::remove(original);
    EXPECT_EQ(FreedesktopTrash::move(trashed.value(), original, identity, unsupported), 0);
    EXPECT_EQ(read_file(name == "folder" ? original + "/inside" : original), "item");
    EXPECT_FALSE(fs::exists(inTrash("info", name + ".2.trashinfo")));
  }
  // An item gone before the fallback could move it leaves no record behind.
  const FreedesktopTrash::NoReplaceRename vanishing = [](const std::string& from, const std::string&) {
    fs::remove(from);
    return EINVAL;
  };
  EXPECT_EQ(errorOf(FreedesktopTrash::trash(tree.write("gone", "x"), vanishing)), ENOENT);
  EXPECT_FALSE(fs::exists(inTrash("info", "gone.trashinfo")));
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
      const std::string top = base + "/mount" + std::to_string(code);
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
    // A bind mount of the home file system has the home Trash's device, not its mount.
    const std::string bound = base + "/bound";
    fs::create_directories(base + "/bound source/sub");
    fs::create_directories(bound);
    if (::mount((base + "/bound source").c_str(), bound.c_str(), nullptr, MS_BIND, nullptr) != 0) return 6;
    std::ofstream(bound + "/sub/x") << "x";
    const auto bindTrashed = FreedesktopTrash::trash(bound + "/sub/x");
    const std::string bindFolder = bound + "/.Trash-" + uid();
    if (!bindTrashed.ok() || bindTrashed.value() != bindFolder + "/files/x") return 7;
    if (read_file(bindFolder + "/info/x.trashinfo").find("\nPath=sub/x\n") == std::string::npos) return 8;
    if (fs::exists(dataHome.trash() / "info" / "x.trashinfo")) return 9;
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
                          "1–5: setup or read-only; 6–9: a bind mount of the home file system";
}

// Others who may write to a Trash folder could take the items away.
TEST(FreedesktopTopdirTrash, a_trash_folder_open_to_all_is_ours_only_where_the_file_system_keeps_no_modes) {
  TempTree tree;
  const std::string top = fs::canonical(tree.root()).string(), folder = top + "/.Trash-" + uid();
  for (const std::string& path : {folder, folder + "/files", folder + "/info"}) makeFolder(path, 0777);
  for (const auto& [type, accepted] :
       {std::pair{"vfat", true}, {"fuseblk", true}, {"ntfs3", true}, {"ext4", false}, {"tmpfs", false}}) {
    const auto found = FreedesktopTrash::trashFolderAtTopOf({top, type});
    EXPECT_EQ(errorOf(found), accepted ? 0 : EPERM) << type;
  }
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
  const auto refused = SystemFileTrashing().trashItem(QUrl::fromLocalFile(QString::fromStdString(file)));
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.error().description.toStdString(), "This volume has no Trash that Quelmaris can use.");
  EXPECT_EQ(read_file(file), "kept");
}

// FUSE FAT and NTFS: no RENAME_NOREPLACE, hard links on NTFS only, modes from the mount options.
TEST(FreedesktopFuseTrash, items_go_into_the_trash_at_the_volume_top_and_never_over_another) {
  constexpr int kCannotMount = 90;
  int mounted = 0;
  for (const auto& [name, mkfs, mounter] :
       {std::tuple{"NTFS", "mkntfs -q -F -f", "mount -t ntfs-3g -o loop"}, {"FAT", "mkfs.vfat", "fusefat -o rw+"}}) {
    TempTree tree;
    const std::string image = tree.path("volume.img"), top = fs::canonical(tree.mkdir("volume")).string();
    const int status = quelmaris::testing::run_in_private_mount_namespace([&] {
      const std::string setup = "truncate -s 32M '" + image + "' && " + mkfs + " '" + image + "' && " + mounter + " '" +
                                image + "' '" + top + "' && mountpoint -q '" + top + "'";
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
        return read_file(second.value()) == "y" && read_file(folder + "/files/y") == "orphan" ? 0 : 4;
      }();
      ::umount2(top.c_str(), MNT_DETACH);
      return code;
    });
    if (status == quelmaris::testing::kNoMountNamespace || status == kCannotMount) continue;
    ++mounted;
    EXPECT_EQ(status, 0) << name << " 1–2: first item, 3–4: second item";
  }
  if (mounted == 0) GTEST_SKIP() << "no FUSE volume mountable here (needs root, /dev/fuse, loop devices, the tools)";
}

}  // namespace
