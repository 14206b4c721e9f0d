#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QByteArray>

#include "folders/FolderListFile.h"
#include "temp_tree.hpp"

namespace {

using FolderListFile::Stored;
using quelmaris::testing::TempTree;

QString qs(const std::string& text) { return QString::fromStdString(text); }

QByteArray contents(const std::string& path) { return QByteArray::fromStdString(quelmaris::testing::read_file(path)); }

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
      {QString::fromUtf8("a\x01"
                         "b\x1f"),
       R"("a\u0001b\u001f")"},
      {QString::fromUtf8("/caf\xc3\xa9 \xe2\x80\x94"), "\"\\/caf\xc3\xa9 \xe2\x80\x94\""},
  };
  for (const auto& [path, written] : cases) {
    SCOPED_TRACE(path.toStdString());
    Stored folder{QUuid::createUuid(), path, {}};
    const QByteArray bytes = FolderListFile::encode({folder});
    EXPECT_TRUE(bytes.contains(",\"path\":" + written + ",")) << bytes.constData();
    const auto decoded = FolderListFile::decode(bytes);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, QList<Stored>{folder});
  }
}

TEST(FolderListFileRoundTrip, write_read_write_gives_the_same_bytes) {
  TempTree tree;
  const std::string first = tree.path("one/folders.json");
  const std::string second = tree.path("two/folders.json");
  QList<Stored> folders{
      photos(), Stored{QUuid::createUuid(), QString::fromUtf8("/x/\xc3\xa9\"/"), QByteArray("\0\x01\xfe\xff/+=", 7)}};
  ASSERT_FALSE(FolderListFile::write(qs(first), folders));
  const auto read = FolderListFile::read(qs(first));
  ASSERT_TRUE(read);
  EXPECT_EQ(*read, folders);
  ASSERT_FALSE(FolderListFile::write(qs(second), *read));
  EXPECT_EQ(contents(second), contents(first));
  // A missing file, or a folder in its place, reads as nothing.
  EXPECT_FALSE(FolderListFile::read(qs(tree.path("absent.json"))));
  EXPECT_FALSE(FolderListFile::read(qs(tree.mkdir("a-folder"))));
}

TEST(FolderListFileReader, accepts_any_key_order_extra_keys_whitespace_and_lower_case_uuids_but_no_bad_object) {
  const auto decoded =
      FolderListFile::decode(R"( [ { "bookmark" : "+/8=", "extra": [1, {"x": null}], "path": "/home/ana/Photos",)"
                             R"(  "id": "e621e1f8-c36c-495a-93fc-0c247a3e6e5f" } ] )");
  ASSERT_TRUE(decoded);
  EXPECT_EQ(*decoded, QList<Stored>{photos()});
  EXPECT_EQ(FolderListFile::decode("[]"), QList<Stored>{});

  // One bad object makes the whole file unreadable.
  const QByteArray good = R"({"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","path":"/a","bookmark":"QQ=="})";
  for (const QByteArray& text : {QByteArray(), QByteArray("["), QByteArray("not json"), good}) {
    SCOPED_TRACE(text.constData());
    EXPECT_FALSE(FolderListFile::decode(text));
  }
  const char* const bad[] = {
      "[1]",
      "[null]",
      R"(["x"])",
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
  for (const char* text : bad) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(FolderListFile::decode(QByteArray(text)));
    EXPECT_FALSE(FolderListFile::decode("[" + good + "," + QByteArray(text).sliced(1)));
  }
  EXPECT_TRUE(FolderListFile::decode("[" + good + "," + good + "]"));
}

TEST(FolderListFileWriter, a_failed_write_leaves_the_previous_file_whole) {
  TempTree tree;
  const std::string path = tree.write("locked/folders.json", "[]");
  ASSERT_EQ(::chmod(tree.path("locked").c_str(), 0555), 0);
  const int status = quelmaris::testing::run_unprivileged([&] {
    const auto error = FolderListFile::write(qs(path), {photos()});
    return error && error->domain == QStringLiteral("QFileDevice") && contents(path) == "[]" ? 0 : 1;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(contents(path), QByteArray("[]"));
}

}  // namespace
