// The folder list in memory and in its file, and the bookmarks that find its folders again.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSignalSpy>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "bounded_child.hpp"
#include "device_node.hpp"
#include "folders/Bookmark.h"
#include "folders/FolderListModel.h"
#include "folders/FolderLog.h"
#include "folders/FolderStore.h"
#include "full_volume.hpp"
#include "mount_namespace.hpp"
#include "temp_tree.hpp"

namespace {

using FolderListFile::Stored;
using quelmaris::testing::read_file;
using quelmaris::testing::TempTree;

QString qs(const std::string& text) { return QString::fromStdString(text); }
QUrl urlOf(const std::string& path) { return QUrl::fromLocalFile(qs(path)); }

QByteArray contents(const QString& path) { return QByteArray::fromStdString(read_file(path.toStdString())); }

// The file is replaced by every save, so a new inode tells of a write.
ino_t inodeOf(const QString& path) {
  struct stat st {};
  return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

// What stands beside the list under a name that keeps a damaged list, by
// name, FIFOs and links included.
QStringList keptBeside(const QString& storage) {
  return QFileInfo(storage).dir().entryList({QStringLiteral("folders.damaged-*.json")},
                                            QDir::AllEntries | QDir::System | QDir::Hidden, QDir::Name);
}

// A step of a test run in a child process: 0 when it holds, else a status
// that names the step, with what was found on the standard error.
int failedUnless(bool holds, int step, const QString& found = {}) {
  if (!holds) std::fprintf(stderr, "step %d failed: %s\n", step, qPrintable(found));
  return holds ? 0 : step;
}

// A bookmark of the first form, path and identity alone, as earlier releases made them.
QByteArray firstFormOf(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  QByteArray first("QMBK\x01", 5);
  for (const std::uint64_t number : {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)})
    for (int byte = 0; byte < 8; ++byte) first.append(static_cast<char>((number >> (8 * byte)) & 0xff));
  return first + QFile::encodeName(qs(path));
}

QStringList pathsOf(const QList<WatchedFolder>& folders) {
  QStringList paths;
  for (const WatchedFolder& folder : folders) paths.append(folder.path);
  return paths;
}

class FolderStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Nothing here may reach the real user's data folder.
    qputenv("XDG_DATA_HOME", QFile::encodeName(qs(tree.path("xdg"))));
  }

  std::unique_ptr<FolderStore> makeStore() {
    return std::make_unique<FolderStore>(storage, [this](const QString& message, const FolderError& error) {
      logged.append(FolderLog::entryText(message, error));
    });
  }

  // A store listing the given folders, made from scratch.
  std::unique_ptr<FolderStore> storeWith(const std::vector<std::string>& folders) {
    auto store = makeStore();
    QList<QUrl> urls;
    for (const std::string& folder : folders) urls.append(urlOf(tree.mkdir(folder)));
    store->add(urls);
    return store;
  }

  TempTree tree;
  static constexpr const char* storageName = "data/Quelmaris/folders.json";
  QString storage = qs(tree.path(storageName));
  QStringList logged;  // as the log shows them
};

Stored photos() {
  return Stored{QUuid::fromString(QStringLiteral("e621e1f8-c36c-495a-93fc-0c247a3e6e5f")),
                QStringLiteral("/home/ana/Photos"), QByteArray("\xfb\xff", 2)};
}

TEST(FolderListFileWriter, writes_the_compact_form_escaping_only_what_json_requires_and_the_solidus) {
  Stored second{QUuid::fromString(QStringLiteral("00000000-0000-0000-0000-000000000001")), QStringLiteral("/b"), {}};
  EXPECT_EQ(FolderListFile::encode({}), QByteArray("[]"));
  EXPECT_EQ(FolderListFile::encode({photos(), second}),
            QByteArray(R"([{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","path":"\/home\/ana\/Photos",)"
                       R"("bookmark":"+\/8="},{"id":"00000000-0000-0000-0000-000000000001","path":"\/b",)"
                       R"("bookmark":""}])"));

  // What JSON requires is escaped, other text kept as UTF-8.
  const std::pair<QString, QByteArray> cases[] = {
      {QStringLiteral("a\"b"), R"("a\"b")"},
      {QStringLiteral("a\\b"), R"("a\\b")"},
      {QStringLiteral("a\nb\tc\rd\be\ff"), R"("a\nb\tc\rd\be\ff")"},
      {QString::fromUtf8("a\001b\037"), R"("a\u0001b\u001f")"},
      {QString::fromUtf8("/caf\xc3\xa9 \xe2\x80\x94"), "\"\\/caf\xc3\xa9 \xe2\x80\x94\""},
  };
  for (const auto& [path, written] : cases) {
    SCOPED_TRACE(path.toStdString());
    Stored folder{QUuid::createUuid(), path, {}};
    const QByteArray bytes = FolderListFile::encode({folder});
    EXPECT_TRUE(bytes.contains(",\"path\":" + written + ",")) << bytes.constData();
    EXPECT_EQ(FolderListFile::decode(bytes), QList<Stored>{folder});
  }
}

// What a write that died left beside the file goes with the next write; one
// being written, and another file of a like name, stay.
TEST(FolderListFileRoundTrip, write_read_write_gives_the_same_bytes_and_clears_what_a_dead_write_left) {
  TempTree tree;
  const std::string first = tree.path("one/folders.json"), second = tree.path("two/folders.json");
  tree.write({{"one/.folders.json.3w5e11264sgsg", "[{"}, {"one/.folders.json.mine-too", "x"}});
  const int writing = ::open(tree.write("one/.folders.json.k2", "[").c_str(), O_WRONLY | O_CLOEXEC);
  ASSERT_EQ(::flock(writing, LOCK_EX), 0);
  QList<Stored> folders{
      photos(), Stored{QUuid::createUuid(), QString::fromUtf8("/x/\xc3\xa9\"/"), QByteArray("\0\x01\xfe\xff/+=", 7)}};
  ASSERT_FALSE(FolderListFile::write(qs(first), folders));
  EXPECT_EQ(FolderListFile::read(qs(first)).value(), folders);
  EXPECT_EQ(QDir(qs(tree.path("one"))).entryList(QDir::Files | QDir::Hidden, QDir::Name).join(u' ').toStdString(),
            ".folders.json.k2 .folders.json.mine-too folders.json");
  ::close(writing);
  ASSERT_FALSE(FolderListFile::write(qs(second), folders));
  EXPECT_EQ(contents(qs(second)), contents(qs(first)));
  // A missing file, or a folder in its place, reads as nothing.
  EXPECT_FALSE(FolderListFile::read(qs(tree.path("absent.json"))));
  EXPECT_FALSE(FolderListFile::read(qs(tree.mkdir("a-folder"))));
}

TEST(FolderListFileReader, accepts_any_key_order_extra_keys_whitespace_and_lower_case_uuids_but_no_bad_object) {
  const auto decoded =
      FolderListFile::decode(R"( [ { "bookmark" : "+/8=", "extra": [1, {"x": null}], "path": "/home/ana/Photos",)"
                             R"(  "id": "e621e1f8-c36c-495a-93fc-0c247a3e6e5f" } ] )");
  EXPECT_EQ(decoded, QList<Stored>{photos()});
  EXPECT_EQ(FolderListFile::decode("[]"), QList<Stored>{});

  // One bad object makes the whole file unreadable.
  const QByteArray good = R"({"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","path":"/a","bookmark":"QQ=="})";
  for (const QByteArray& text : {QByteArray(), QByteArray("["), QByteArray("not json"), good})
    EXPECT_FALSE(FolderListFile::decode(text)) << text.constData();
  const char* const bad[] = {
      "[1]",
      R"([{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","path":"/a"}])",
      R"([{"path":"/a","bookmark":"QQ=="}])",
      R"([{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","bookmark":"QQ=="}])",
      R"([{"id":12,"path":"/a","bookmark":"QQ=="}])",
      R"([{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","path":null,"bookmark":"QQ=="}])",
      R"([{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","path":"/a","bookmark":[]}])",
      R"([{"id":"not-a-uuid","path":"/a","bookmark":"QQ=="}])",
      R"([{"id":"{E621E1F8-C36C-495A-93FC-0C247A3E6E5F}","path":"/a","bookmark":"QQ=="}])",
      R"([{"id":"E621E1F8C36C495A93FC0C247A3E6E5F","path":"/a","bookmark":"QQ=="}])",
      R"([{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5G","path":"/a","bookmark":"QQ=="}])",
      R"([{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","path":"/a","bookmark":"QQ"}])",
      R"([{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","path":"/a","bookmark":"Q@=="}])",
      R"([{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","path":"/a","bookmark":"QQ==QQ=="}])",
      R"([{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","path":"/a","bookmark":"QQ\n=="}])",
  };
  for (const char* text : bad)
    EXPECT_FALSE(FolderListFile::decode(text) || FolderListFile::decode("[" + good + "," + QByteArray(text).sliced(1)))
        << text;
  EXPECT_TRUE(FolderListFile::decode("[" + good + "," + good + "]"));
}

TEST(FolderListFileWriter, a_failed_write_leaves_the_previous_file_whole) {
  TempTree tree;
  const std::string path = tree.write("locked/folders.json", "[]");
  ASSERT_EQ(::chmod(tree.path("locked").c_str(), 0555), 0);
  const int status = quelmaris::testing::run_unprivileged([&] {
    const auto error = FolderListFile::write(qs(path), {photos()});
    return error && error->domain == QStringLiteral("POSIX") && error->code == EACCES && contents(qs(path)) == "[]" ? 0
                                                                                                                    : 1;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(contents(qs(path)), QByteArray("[]"));
}

TEST_F(FolderStoreTest, an_unreadable_file_loads_nothing_and_is_left_alone_until_the_next_change) {
  const QByteArray good = R"({"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","path":"\/a","bookmark":"QQ=="})";
  const QByteArray files[] = {
      "[" + good + ",{]",
      "[" + good + R"(,{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5E","path":"\/b"}])",
      "[" + good + R"(,{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5E","path":"\/b","bookmark":"*"}])",
  };
  for (const QByteArray& file : files) {
    SCOPED_TRACE(file.constData());
    tree.write(storageName, file.toStdString());
    const ino_t written = inodeOf(storage);
    auto store = makeStore();
    EXPECT_TRUE(store->folders().isEmpty());
    EXPECT_EQ(inodeOf(storage), written);
    EXPECT_EQ(contents(storage), file);
    store->add({urlOf(tree.mkdir("Photos"))});
    EXPECT_EQ(FolderListFile::decode(contents(storage))->size(), 1);
  }
}

TEST_F(FolderStoreTest, a_missing_folder_stays_listed_unavailable_out_of_the_roots_until_reconnected_in_place) {
  const auto before = storeWith({"A", "B", "C"});
  std::filesystem::remove(tree.path("B"));
  const ino_t saved = inodeOf(storage);
  const auto store = makeStore();
  ASSERT_EQ(store->folders().size(), 3);
  WatchedFolder missing = before->folders()[1];
  missing.url.reset();
  EXPECT_EQ(store->folders()[1], missing);
  EXPECT_EQ(store->urls(), (QList<QUrl>{urlOf(tree.path("A")), urlOf(tree.path("C"))}));
  EXPECT_EQ(inodeOf(storage), saved);
  // Unavailable entries still count as listed.
  tree.mkdir("B");
  store->add({urlOf(tree.path("B"))});
  EXPECT_EQ(store->folders().size(), 3);

  const QUrl moved = urlOf(tree.mkdir("B-moved"));
  store->reconnect(store->folders()[1], moved);
  const WatchedFolder& entry = store->folders()[1];
  EXPECT_EQ(entry.id, before->folders()[1].id);
  EXPECT_EQ(entry.url, moved);
  EXPECT_EQ(entry.path, qs(tree.path("B-moved")));
  EXPECT_EQ(makeStore()->folders(), store->folders());
  // Reconnecting to a listed path drops neither entry.
  store->reconnect(store->folders()[1], urlOf(tree.path("A")));
  EXPECT_EQ(pathsOf(store->folders()), (QStringList{qs(tree.path("A")), qs(tree.path("A")), qs(tree.path("C"))}));
}

TEST_F(FolderStoreTest, a_new_folder_at_the_old_path_is_stale_and_its_bookmark_renewed_and_saved) {
  const auto before = storeWith({"Work", "Other"});
  std::filesystem::rename(tree.path("Work"), tree.path("Work-old"));
  tree.mkdir("Work");
  const auto store = makeStore();
  const WatchedFolder& renewed = store->folders()[0];
  EXPECT_TRUE(renewed.isAvailable());
  EXPECT_EQ(renewed.path, qs(tree.path("Work")));
  EXPECT_NE(renewed.bookmark, before->folders()[0].bookmark);
  EXPECT_EQ(store->folders()[1], before->folders()[1]);
  EXPECT_EQ(FolderListFile::read(storage).value().at(0).bookmark, renewed.bookmark);
  // Renewed for good: the next launch finds the bookmark current and writes nothing.
  const ino_t current = inodeOf(storage);
  makeStore();
  EXPECT_EQ(inodeOf(storage), current);
}

// Bytes that are no bookmark leave their entry unavailable and are saved back unchanged.
TEST_F(FolderStoreTest, the_path_at_load_comes_from_the_bookmark_and_alone_causes_no_save) {
  storeWith({"Real"});
  const QByteArray unknown = R"({"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","path":"\/a","bookmark":"QUJD"})";
  QByteArray file = contents(storage);
  file.replace("Real", "Stale-name");
  file.insert(file.size() - 1, "," + unknown);
  tree.write(storageName, file.toStdString());
  const ino_t written = inodeOf(storage);
  const auto store = makeStore();
  ASSERT_EQ(store->folders().size(), 2);
  EXPECT_EQ(store->folders()[0].path, qs(tree.path("Real")));
  EXPECT_FALSE(store->folders()[1].isAvailable());
  EXPECT_EQ(inodeOf(storage), written);
  EXPECT_EQ(contents(storage), file);
  store->save();
  EXPECT_TRUE(contents(storage).endsWith("," + unknown + "]"));
}

// The file and its folder are made by the first add, whatever it added.
TEST_F(FolderStoreTest, nothing_is_written_before_the_first_add_which_keeps_only_new_folders_and_saves_in_every_case) {
  EXPECT_EQ(FolderStore::defaultStoragePath(), qs(tree.path("xdg/Quelmaris/folders.json")));
  const std::string photos = tree.mkdir("Photos");
  const std::string file = tree.write("notes.txt", "x");
  // Two names that are canonically equivalent but different bytes on disk.
  const std::string composed = tree.mkdir("caf\xc3\xa9");
  const std::string decomposed = tree.mkdir("cafe\xcc\x81");
  const std::tuple<const char*, QList<QUrl>, QStringList> cases[] = {
      {"empty call", {}, {}},
      {"the same folder twice", {urlOf(photos), urlOf(photos)}, {qs(photos)}},
      {"a file and a missing path", {urlOf(file), urlOf(tree.path("gone"))}, {}},
      {"not a local file", {QUrl(QStringLiteral("https://example.invalid/x"))}, {}},
      {"canonically equivalent names", {urlOf(composed), urlOf(decomposed)}, {qs(composed)}},
      {"a trailing slash is another path", {urlOf(photos), urlOf(photos + "/")}, {qs(photos), qs(photos + "/")}},
      {"dot segments are resolved", {urlOf(tree.path("x/../Photos")), urlOf(photos)}, {qs(photos)}},
  };
  tree.mkdir("x");
  std::unique_ptr<FolderStore> store = makeStore();
  EXPECT_FALSE(std::filesystem::exists(tree.path("data"))) << "a first launch writes nothing";
  for (const auto& [name, urls, expected] : cases) {
    SCOPED_TRACE(name);
    QFile::remove(storage);
    store = makeStore();
    store->add(urls);
    EXPECT_EQ(pathsOf(store->folders()), expected);
    EXPECT_TRUE(QFile::exists(storage));
  }
  EXPECT_EQ(store->folders().first().url, urlOf(tree.path("x/../Photos"))) << "the given url is kept";
  EXPECT_TRUE(logged.empty());
}

TEST_F(FolderStoreTest, a_folder_whose_kind_cannot_be_read_is_not_added) {
  const std::string hidden = tree.mkdir("closed/inner");
  ASSERT_EQ(::chmod(tree.path("closed").c_str(), 0), 0);
  const std::string storagePath = tree.path("nobody/folders.json");
  tree.mkdir("nobody");
  ASSERT_EQ(::chmod(tree.path("nobody").c_str(), 0777), 0);
  const int status = quelmaris::testing::run_unprivileged([&] {
    FolderStore store(qs(storagePath), [](const QString&, const FolderError&) {});
    store.add({urlOf(hidden)});
    return store.folders().isEmpty() && QFile::exists(qs(storagePath)) ? 0 : 1;
  });
  EXPECT_EQ(status, 0);
}

// A remove saves even when nothing matched; a reconnect that cannot proceed saves nothing.
TEST_F(FolderStoreTest, remove_keeps_the_order_of_the_others_and_a_reconnect_that_cannot_proceed_changes_nothing) {
  const auto store = storeWith({"A", "B", "C"});
  const QList<WatchedFolder> before = store->folders();
  QFile::remove(storage);
  store->remove({QUuid::createUuid()});
  EXPECT_EQ(store->folders(), before);
  EXPECT_TRUE(QFile::exists(storage));
  store->remove({before[1].id});
  const QList<WatchedFolder> after{before[0], before[2]};
  EXPECT_EQ(store->folders(), after);
  EXPECT_EQ(FolderListFile::read(storage).value().size(), 2);

  QFile::remove(storage);
  QSignalSpy changed(store.get(), &FolderStore::foldersChanged);
  store->reconnect(before[1], urlOf(tree.mkdir("Elsewhere")));
  store->reconnect(after[0], urlOf(tree.path("missing")));
  store->reconnect(after[0], urlOf(tree.write("a-file", "x")));
  EXPECT_EQ(store->folders(), after);
  EXPECT_FALSE(QFile::exists(storage));
  EXPECT_EQ(changed.count(), 0);
  EXPECT_TRUE(logged.empty());
}

// Two copies of the application on one list, where no lock kept the second from running.
TEST_F(FolderStoreTest, a_save_keeps_the_folders_another_store_added_to_the_file_since_this_one_loaded) {
  const auto store = storeWith({"A"});
  makeStore()->add({urlOf(tree.mkdir("B"))});
  store->add({urlOf(tree.mkdir("C"))});
  EXPECT_EQ(pathsOf(makeStore()->folders()), (QStringList{qs(tree.path("A")), qs(tree.path("C")), qs(tree.path("B"))}));
}

TEST_F(FolderStoreTest, move_puts_the_folders_before_the_one_at_the_target_and_saves_the_order) {
  const std::tuple<QList<qsizetype>, qsizetype, QString> cases[] = {
      {{0}, 2, QStringLiteral("BAC")},    {{0}, 3, QStringLiteral("BCA")}, {{0, 2}, 1, QStringLiteral("ACB")},
      {{2, 0}, 3, QStringLiteral("BAC")}, {{1}, 1, QStringLiteral("ABC")}, {{1}, 2, QStringLiteral("ABC")},
  };
  for (const auto& [from, to, expected] : cases) {
    SCOPED_TRACE(expected.toStdString());
    QFile::remove(storage);
    const auto store = storeWith({"A", "B", "C"});
    store->move(from, to);
    QString order;
    for (const QString& path : pathsOf(store->folders())) order += path.back();
    EXPECT_EQ(order, expected);
    EXPECT_EQ(pathsOf(makeStore()->folders()), pathsOf(store->folders()));
  }
}

TEST_F(FolderStoreTest, observers_hear_of_every_change_and_not_of_a_load_that_changed_nothing) {
  const auto store = storeWith({"A"});
  QSignalSpy changed(store.get(), &FolderStore::foldersChanged);
  store->add({urlOf(tree.mkdir("B")), urlOf(tree.mkdir("C")), urlOf(tree.path("A"))});
  EXPECT_EQ(changed.count(), 2);
  store->move({0}, 2);
  store->remove({QUuid::createUuid()});
  store->reconnect(store->folders()[0], urlOf(tree.mkdir("D")));
  EXPECT_EQ(changed.count(), 5);
  changed.clear();
  store->load();
  EXPECT_EQ(changed.count(), 0);
  std::filesystem::remove(tree.path("C"));
  store->load();
  EXPECT_EQ(changed.count(), 1);
  EXPECT_EQ(store->urls().size(), 2);
}

TEST_F(FolderStoreTest, a_failed_save_is_logged_and_the_list_in_memory_stays) {
  tree.write("blocker", "x");
  storage = qs(tree.path("blocker/Quelmaris/folders.json"));
  auto store = makeStore();
  store->add({urlOf(tree.mkdir("A"))});
  EXPECT_EQ(store->folders().size(), 1);
  EXPECT_EQ(logged, QStringList{QStringLiteral("Saving folders failed: POSIX %1 \u2014 <private>").arg(ENOTDIR)});
}

TEST_F(FolderStoreTest, a_save_on_a_full_volume_keeps_the_previous_list_byte_for_byte_and_is_logged) {
  const std::string volume = tree.mkdir("volume");
  storage = qs(volume + "/Quelmaris/folders.json");
  const QUrl photos = urlOf(tree.mkdir("Photos")), music = urlOf(tree.mkdir("Music"));
  QByteArray before;
  const int status = quelmaris::testing::run_on_full_volume(
      volume,
      [&] {
        makeStore()->add({photos});
        before = contents(storage);
      },
      [&] {
        const auto store = makeStore();
        store->add({music});
        store->remove({store->folders()[0].id});
        const QString full = QStringLiteral("Saving folders failed: POSIX %1 \u2014 <private>").arg(ENOSPC);
        const QStringList left = QDir(qs(volume + "/Quelmaris")).entryList(QDir::Files | QDir::Hidden);
        return failedUnless(before.contains("Photos"), 1) +
               failedUnless(contents(storage) == before, 2, contents(storage)) +
               failedUnless(logged == QStringList{full, full}, 3, logged.join(u'\n')) +
               failedUnless(pathsOf(store->folders()) == QStringList{music.toLocalFile()}, 4) +
               failedUnless(left == QStringList{QStringLiteral("folders.json")}, 5, left.join(u' '));
      });
  if (status == quelmaris::testing::kNoMountNamespace) GTEST_SKIP() << "no mount namespace here";
  EXPECT_EQ(status, 0);
}

// Whatever cannot be read loads nothing, silently, and stays as it is until a
// change is saved; then it is set aside first, under a name of its own.
TEST_F(FolderStoreTest, a_list_that_cannot_be_read_is_kept_beside_it_before_the_first_save_and_named_in_the_log_once) {
  const QByteArray good = R"({"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","path":"\/a","bookmark":"QQ=="})";
  const auto writes = [&](const QByteArray& bytes) {
    return [&, bytes] { tree.write(storageName, bytes.toStdString()); };
  };
  const std::tuple<const char*, std::function<void()>, std::function<bool(const QString&)>> cases[] = {
      {"cut off", writes("[" + good + ",{\"id\":\"E6"), {}},
      {"not JSON", writes("folders: /a"), {}},
      {"of the wrong shape", writes(good), {}},
      {"a FIFO", [&] { ASSERT_EQ(::mkfifo(qPrintable(storage), 0600), 0); },
       [](const QString& kept) { return QFileInfo(kept).isFile() == false && QFileInfo(kept).exists(); }},
      {"a link to a device",
       [&] {
         if (!QFileInfo::exists(qs(tree.path("zero")))) quelmaris::testing::make_zero_device(tree.path("zero"));
         std::filesystem::create_symlink(tree.path("zero"), storage.toStdString());
       },
       [&](const QString& kept) { return QFileInfo(kept).symLinkTarget() == qs(tree.path("zero")); }},
      {"larger than any list",
       [&] { std::filesystem::resize_file(tree.write(storageName, "["), FolderListFile::sizeLimit + 1); },
       [](const QString& kept) { return QFileInfo(kept).size() == FolderListFile::sizeLimit + 1; }},
  };
  tree.mkdir("data/Quelmaris");
  const QUrl photos = urlOf(tree.mkdir("Photos"));
  for (const auto& [name, damage, keptAsItWas] : cases) {
    SCOPED_TRACE(name);
    QDir(QFileInfo(storage).path()).removeRecursively();
    tree.mkdir("data/Quelmaris");
    damage();
    const int status = quelmaris::testing::run_in_bounded_child(30, [&] {
      const QByteArray bytes = keptAsItWas ? QByteArray() : contents(storage);
      auto store = makeStore();
      int failed = failedUnless(store->folders().isEmpty() && logged.isEmpty() && keptBeside(storage).isEmpty(), 1);
      store->add({photos});
      store->add({});
      const QStringList kept = keptBeside(storage);
      const QString path = QFileInfo(storage).dir().filePath(kept.value(0));
      failed += failedUnless(kept.size() == 1, 2, kept.join(u' '));
      failed += failedUnless(keptAsItWas ? keptAsItWas(path) : contents(path) == bytes, 3);
      failed += failedUnless(
          logged.size() == 1 && logged[0].startsWith("Damaged folder list kept as " + kept.value(0) + ": "), 4,
          logged.join(u'\n'));
      failed += failedUnless(FolderListFile::read(storage).value().size() == 1, 5);
      // A later damaged file is kept too, and the earlier one stays.
      tree.write(storageName, "[");
      makeStore()->add({photos});
      const QStringList both = keptBeside(storage);
      return failed + failedUnless(both.size() == 2 && both.contains(kept.value(0)), 6, both.join(u' '));
    });
    EXPECT_EQ(status, 0);
  }
  // A link to a good list is read through.
  QDir(QFileInfo(storage).path()).removeRecursively();
  tree.write("elsewhere.json", "[" + good.toStdString() + "]");
  tree.mkdir("data/Quelmaris");
  std::filesystem::create_symlink(tree.path("elsewhere.json"), storage.toStdString());
  const auto store = makeStore();
  EXPECT_EQ(pathsOf(store->folders()), QStringList{QStringLiteral("/a")});
  store->add({photos});
  EXPECT_TRUE(QFileInfo(storage).isSymLink()) << "the save replaces the file the link names";
  EXPECT_EQ(FolderListFile::read(qs(tree.path("elsewhere.json"))).value().size(), 2);
}

TEST_F(FolderStoreTest, a_repeated_id_gets_a_fresh_one_at_load_so_removing_one_entry_removes_only_it) {
  const auto made = storeWith({"F0", "F1", "F2"});
  const auto idText = [&](int i) { return made->folders()[i].id.toString(QUuid::WithoutBraces).toUpper().toLatin1(); };
  tree.write(storageName, contents(storage).replace(idText(2), idText(0)).toStdString());
  const auto store = makeStore();
  const FolderListModel rows(*store, KeepChoice::folderPriority);
  ASSERT_EQ(store->folders().size(), 3);
  QSet<QUuid> ids;
  for (const WatchedFolder& folder : store->folders()) ids.insert(folder.id);
  EXPECT_EQ(ids.size(), 3);
  EXPECT_EQ(store->folders()[0].id, made->folders()[0].id) << "the first keeps its id";

  store->remove({store->folders()[1].id});
  EXPECT_EQ(pathsOf(store->folders()), (QStringList{qs(tree.path("F0")), qs(tree.path("F2"))}));
  EXPECT_EQ(rows.rowCount(), 2);
  store->remove({store->folders()[1].id});
  EXPECT_EQ(pathsOf(makeStore()->folders()), QStringList{qs(tree.path("F0"))});
  EXPECT_EQ(rows.rowCount(), 1);
}

// The data folder as the XDG base-directory rules give it.
TEST(FolderStorePlace, a_relative_xdg_data_home_is_ignored_and_without_home_the_account_home_is_used) {
  const QByteArray home = qgetenv("HOME"), dataHome = qgetenv("XDG_DATA_HOME");
  const passwd* account = ::getpwuid(::getuid());
  ASSERT_NE(account, nullptr);
  const QString accountHome = QFile::decodeName(account->pw_dir);
  const std::tuple<const char*, const char*, QString> cases[] = {
      {"/home/ana", "rel/data", QStringLiteral("/home/ana/.local/share")},
      {"/home/ana", "", QStringLiteral("/home/ana/.local/share")},
      {"/home/ana", "/srv/data/", QStringLiteral("/srv/data")},
      {nullptr, nullptr, accountHome + "/.local/share"},
      {"", "rel", accountHome + "/.local/share"},
      {"relative/home", nullptr, accountHome + "/.local/share"},
  };
  for (const auto& [homeValue, dataValue, expected] : cases) {
    SCOPED_TRACE(std::string(homeValue ? homeValue : "(unset)") + " " + (dataValue ? dataValue : "(unset)"));
    homeValue ? qputenv("HOME", homeValue) : qunsetenv("HOME");
    dataValue ? qputenv("XDG_DATA_HOME", dataValue) : qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(FolderStore::defaultStoragePath().toStdString(),
              (QDir::cleanPath(expected) + "/Quelmaris/folders.json").toStdString());
  }
  qputenv("HOME", home);
  qputenv("XDG_DATA_HOME", dataHome);
}

// What stands at the path now is another folder than the one listed, and
// not one that merely took its place: it must not be taken for it.
TEST_F(FolderStoreTest, an_unmounted_volumes_mount_point_or_a_link_elsewhere_is_unavailable_and_the_bookmark_kept) {
  const std::string volume = tree.mkdir("photos");
  const std::string elsewhere = tree.mkdir("elsewhere");
  const int status = quelmaris::testing::run_in_private_mount_namespace([&] {
    if (::mount("tmpfs", volume.c_str(), "tmpfs", 0, "size=1m") != 0) return 1;
    const auto listed = storeWith({"photos", "linked"});
    const QByteArray saved = contents(storage);
    const auto availability = [&] {
      const auto store = makeStore();
      return std::pair(store->folders()[0].isAvailable(), store->folders()[1].isAvailable());
    };

    if (::umount(volume.c_str()) != 0) return 2;
    std::filesystem::rename(tree.path("linked"), tree.path("linked-away"));
    std::filesystem::create_directory_symlink(elsewhere, tree.path("linked"));
    if (availability() != std::pair(false, false)) return 3;
    if (contents(storage) != saved) return 4;

    // The volume back, a new file system at the same place, is the folder again.
    if (::mount("tmpfs", volume.c_str(), "tmpfs", 0, "size=1m") != 0) return 5;
    std::filesystem::remove(tree.path("linked"));
    std::filesystem::rename(tree.path("linked-away"), tree.path("linked"));
    if (availability() != std::pair(true, true)) return 6;
    return listed->folders().size() == 2 ? 0 : 7;
  });
  if (status == quelmaris::testing::kNoMountNamespace) GTEST_SKIP() << "no mount namespace here";
  EXPECT_EQ(status, 0);
}

// Bookmarks of the first form, path and identity alone, resolve as they did
// and are made again in the current form.
TEST_F(FolderStoreTest, a_bookmark_of_the_first_form_resolves_as_before_and_is_renewed_once) {
  const auto listed = storeWith({"Old"});
  const QByteArray first = firstFormOf(tree.path("Old"));
  const Stored old{listed->folders()[0].id, listed->folders()[0].path, first};
  ASSERT_FALSE(FolderListFile::write(storage, {old}));

  const auto store = makeStore();
  EXPECT_TRUE(store->folders()[0].isAvailable());
  EXPECT_EQ(store->folders()[0].bookmark, listed->folders()[0].bookmark);
  EXPECT_EQ(FolderListFile::read(storage).value().at(0).bookmark, listed->folders()[0].bookmark);
  const auto resolved = Bookmark::resolve(first);
  ASSERT_TRUE(resolved);
  EXPECT_TRUE(resolved->stale);
  EXPECT_EQ(resolved->url, urlOf(tree.path("Old")));
}

// Lists saved by earlier releases hold the first form, which knew no volume's
// top: the empty mount point an unmounted volume leaves is not taken for it.
TEST_F(FolderStoreTest, an_unmounted_volumes_mount_point_in_a_list_of_the_first_form_is_unavailable_and_kept) {
  const std::string volume = tree.mkdir("photos");
  const int status = quelmaris::testing::run_in_private_mount_namespace([&] {
    if (::mount("tmpfs", volume.c_str(), "tmpfs", 0, "size=1m") != 0) return 1;
    const Stored listed{QUuid::createUuid(), qs(volume), firstFormOf(volume)};
    if (FolderListFile::write(storage, {listed}) || ::umount(volume.c_str()) != 0) return 2;
    const QByteArray saved = contents(storage);
    const WatchedFolder row = makeStore()->folders().at(0);
    const int failed = failedUnless(!row.isAvailable(), 3) +
                       failedUnless(row.bookmark == listed.bookmark && contents(storage) == saved, 4);
    // The volume back is the folder again.
    if (::mount("tmpfs", volume.c_str(), "tmpfs", 0, "size=1m") != 0) return 5;
    return failed + failedUnless(makeStore()->folders().at(0).isAvailable(), 6);
  });
  if (status == quelmaris::testing::kNoMountNamespace) GTEST_SKIP() << "no mount namespace here";
  EXPECT_EQ(status, 0);
}

TEST(Bookmark, resolves_by_path_reports_another_folder_there_as_stale_and_refuses_damaged_bytes) {
  TempTree tree;
  const std::string folder = tree.mkdir("F");
  const auto made = Bookmark::make(urlOf(folder));
  ASSERT_TRUE(std::holds_alternative<QByteArray>(made));
  const QByteArray bookmark = std::get<QByteArray>(made);

  // {url, stale} when it resolves.
  const auto resolved = [&] {
    const auto found = Bookmark::resolve(bookmark);
    return found ? std::optional(std::pair(found->url, found->stale)) : std::nullopt;
  };
  EXPECT_EQ(resolved(), std::pair(urlOf(folder), false));
  std::filesystem::rename(folder, tree.path("F-away"));
  EXPECT_FALSE(resolved());
  tree.write("F", "now a file");
  EXPECT_FALSE(resolved());
  std::filesystem::remove(folder);
  tree.mkdir("F");
  EXPECT_EQ(resolved(), std::pair(urlOf(folder), true));

  // Damaged bytes do not resolve.
  const QByteArray& good = bookmark;
  QByteArray otherVersion = good;
  otherVersion[4] = 3;
  QByteArray relative = good;
  relative[21] = 'x';
  const QByteArray damaged[] = {QByteArray(), good.left(21),        otherVersion,
                                relative,     "XXXX" + good.mid(4), good + QByteArray(1, '\0') + "x"};
  for (const QByteArray& bytes : damaged) EXPECT_FALSE(Bookmark::resolve(bytes)) << bytes.toHex().toStdString();
}

}  // namespace
