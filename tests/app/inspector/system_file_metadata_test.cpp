// The system's metadata and thumbnails on real files under temporary XDG folders.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QUrl>
#include <fstream>

#include "app_test_support.hpp"
#include "inspector/SystemFileMetadata.h"
#include "inspector/VolumeFacts.h"
#include "platform/ThumbnailCache.h"
#include "temp_data_home.hpp"
#include "temp_tree.hpp"

namespace {

const quelmaris::testing::TemporaryDataHome dataHome;
// The thumbnail cache beside the data home, before any test asks for it.
const bool cacheHomeSet = ::setenv("XDG_CACHE_HOME", (dataHome.folder() / "cache").c_str(), 1) == 0;

QString text(const std::string& path) { return QString::fromStdString(path); }

QImage filled(int width, int height, Qt::GlobalColor color) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(color);
  return image;
}

// Writes the cache's thumbnail of the file as the standard's "large" one.
void cacheThumbnail(const QString& file, const QByteArray& uri, std::int64_t mtime, const QImage& picture) {
  QImage thumbnail = picture;
  thumbnail.setText(QStringLiteral("Thumb::URI"), QString::fromLatin1(uri));
  thumbnail.setText(QStringLiteral("Thumb::MTime"), QString::number(mtime));
  const QString folder = qEnvironmentVariable("XDG_CACHE_HOME") + QStringLiteral("/thumbnails/large/");
  const QByteArray name = QCryptographicHash::hash(ThumbnailCache::fileUri(file), QCryptographicHash::Md5).toHex();
  ASSERT_TRUE(QDir().mkpath(folder) && thumbnail.save(folder + QString::fromLatin1(name) + ".png", "PNG"));
}

class SystemFileMetadataTest : public ::testing::Test {
 protected:
  QCoreApplication& app = apptest::application();
  quelmaris::testing::TempTree tree;
  SystemFileMetadata system;
};

TEST_F(SystemFileMetadataTest, a_gone_file_is_missing_and_one_behind_a_closed_folder_is_not) {
  for (const char* gone : {"gone.txt", "gone/inside.txt"})
    EXPECT_EQ(system.metadata(text(tree.path(gone))), FileMetadata{});

  const std::string hidden = tree.write("closed/file.txt", "x");
  ::chmod(tree.path("closed").c_str(), 0);  // not even its owner may look inside
  const int status = quelmaris::testing::run_unprivileged([&] {
    const FileMetadata metadata = SystemFileMetadata().metadata(text(hidden));
    return metadata.exists && !metadata.kind ? 0 : 1;
  });
  ::chmod(tree.path("closed").c_str(), 0700);
  EXPECT_EQ(status, 0) << "a file that cannot be looked at was reported gone";
}

TEST_F(SystemFileMetadataTest, a_file_gives_its_kind_tags_volume_and_no_cloud_state) {
  const QString path = text(tree.write("notes.txt", "plain words\n"));
  const std::string tags = "Red, Work,,Blue ,<b>x</b>";
  if (::setxattr(QFile::encodeName(path).constData(), "user.xdg.tags", tags.data(), tags.size(), 0) != 0)
    GTEST_SKIP() << "this file system refuses user attributes";
  const FileMetadata metadata = system.metadata(path);
  EXPECT_TRUE(metadata.exists);
  EXPECT_EQ(metadata.kind, QMimeDatabase().mimeTypeForFile(path).comment());
  EXPECT_EQ(metadata.tags, (QStringList{"Red", "Work", "Blue", "<b>x</b>"}));
  EXPECT_FALSE(metadata.added || metadata.lastOpened) << "not in the recent-files list";
  EXPECT_EQ(metadata.iCloud, FileMetadata::ICloud::notInICloud);
  EXPECT_TRUE(metadata.volumeName && metadata.volumeFormat);
}

TEST_F(SystemFileMetadataTest, last_opened_is_the_latest_stamp_the_recent_files_list_holds) {
  const QString path = text(tree.write("a b;[c]é.png", "x"));
  const QString other = text(tree.write("other.png", "x"));
  std::ofstream(dataHome.folder() / "recently-used.xbel")
      << R"(<?xml version="1.0" encoding="UTF-8"?>
<xbel version="1.0" xmlns:bookmark="http://www.freedesktop.org/standards/desktop-bookmarks"
      xmlns:mime="http://www.freedesktop.org/standards/shared-mime-info">
  <bookmark href=")"
      << ThumbnailCache::fileUri(path).toStdString()
      << R"(" added="2024-01-01T10:00:00.123456Z" modified="2024-01-02T10:00:00Z" visited="2024-01-03T10:00:00Z">
    <info><metadata owner="http://freedesktop.org"><mime:mime-type type="image/png"/>
      <bookmark:applications>
        <bookmark:application name="viewer" exec="&apos;viewer %u&apos;" modified="2024-02-01T08:30:00.5Z" count="2"/>
        <bookmark:application name="editor" exec="&apos;editor %u&apos;" modified="2023-05-01T08:30:00Z" count="1"/>
      </bookmark:applications></metadata></info>
  </bookmark>
</xbel>
)";
  EXPECT_EQ(system.metadata(path).lastOpened,
            QDateTime::fromString(QStringLiteral("2024-02-01T08:30:00.500Z"), Qt::ISODate));
  const FileMetadata unlisted = system.metadata(other);
  EXPECT_TRUE(unlisted.exists && unlisted.kind && !unlisted.lastOpened);
}

TEST_F(SystemFileMetadataTest, a_thumbnail_cached_under_the_uri_glib_escapes_counts_only_while_it_describes_the_file) {
  EXPECT_EQ(QCryptographicHash::hash(ThumbnailCache::fileUri(QStringLiteral("/home/jens/photos/me.png")),
                                     QCryptographicHash::Md5)
                .toHex(),
            "c6ee772d9e49320e97ec29a7eb5b1697");
  EXPECT_EQ(ThumbnailCache::fileUri(QStringLiteral("/home/u/a b;c[d]#e%f?é~!$&'()*+,=:@.png")),
            "file:///home/u/a%20b%3Bc%5Bd%5D%23e%25f%3F%C3%A9~!$&'()*+,=:@.png");

  const QString path = text(tree.path("pic a;[b]é.png"));
  ASSERT_TRUE(filled(40, 20, Qt::red).save(path, "PNG"));
  const std::int64_t mtime = QFileInfo(path).lastModified().toSecsSinceEpoch();
  const std::tuple<const char*, QByteArray, std::int64_t, QRgb> cases[] = {
      {"valid", ThumbnailCache::fileUri(path), mtime, qRgb(0, 0, 255)},
      {"stale", ThumbnailCache::fileUri(path), mtime - 1, qRgb(255, 0, 0)},
      {"URI escaped as QUrl does", QUrl::fromLocalFile(path).toEncoded(), mtime, qRgb(255, 0, 0)},
  };
  for (const auto& [name, uri, cachedTime, expected] : cases) {
    SCOPED_TRACE(name);
    cacheThumbnail(path, uri, cachedTime, filled(32, 16, Qt::blue));
    const std::optional<QImage> thumbnail = system.thumbnail(path, 128, 2.0, {});
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ(thumbnail->pixel(0, 0), expected) << "blue is the cached one, red the file itself";
  }
}

// A file that became a FIFO is read without waiting for a writer.
TEST_F(SystemFileMetadataTest, only_pictures_safe_to_decode_give_a_thumbnail_and_a_fifo_is_never_waited_on) {
  ASSERT_TRUE(filled(4000, 1000, Qt::green).save(text(tree.path("wide.png")), "PNG"));
  const std::optional<QImage> wide = system.thumbnail(text(tree.path("wide.png")), 128, 2.0, {});
  ASSERT_TRUE(wide);
  EXPECT_EQ(wide->size(), QSize(256, 64));

  ASSERT_EQ(::mkfifo(tree.path("clip.png").c_str(), 0644), 0);
  const FileMetadata fifo = system.metadata(text(tree.path("clip.png")));
  EXPECT_TRUE(fifo.exists);
  EXPECT_EQ(fifo.kind, QMimeDatabase().mimeTypeForName(QStringLiteral("inode/fifo")).comment());
  const std::string declaredHuge = "P6\n60000 60000\n255\n" + std::string(64, '\x7f');
  const std::string noPicture[] = {tree.write("huge.ppm", declaredHuge), tree.path("clip.png"),
                                   tree.write("broken.png", "\x89PNG\r\n\x1a\nrest"), tree.write("words.txt", "words")};
  for (const std::string& path : noPicture) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(system.thumbnail(text(path), 128, 2.0, {}));
  }
}

TEST_F(SystemFileMetadataTest, the_location_follows_the_file_system_type_and_the_disk) {
  // Sysfs as the kernel lays it out: a device number links to a partition inside its disk.
  for (const auto& [number, disk, removable] :
       {std::tuple{"8:1", "ata1/sda", "0"}, {"8:17", "usb1/1-1/sdb", "0"}, {"8:33", "ata2/sdc", "1"}}) {
    const std::string folder = "sys/devices/" + std::string(disk);
    tree.write(folder + "/removable", removable);
    tree.write(folder + "/part1/partition", "1");
    std::filesystem::create_directories(tree.path("sys/dev/block"));
    std::filesystem::create_symlink(tree.path(folder + "/part1"), tree.path(std::string("sys/dev/block/") + number));
  }
  using enum FileMetadata::Location;
  const std::tuple<const char*, std::optional<dev_t>, std::optional<FileMetadata::Location>> cases[] = {
      {"ext4", makedev(8, 1), internal},     {"ext4", makedev(8, 17), external},
      {"vfat", makedev(8, 33), external},    {"nfs4", makedev(8, 1), network},
      {"fuse.sshfs", std::nullopt, network}, {"tmpfs", std::nullopt, std::nullopt},
      {"ext4", makedev(7, 0), std::nullopt}};
  for (const auto& [type, block, expected] : cases) {
    SCOPED_TRACE(type);
    EXPECT_EQ(locationOf(QString::fromLatin1(type), block, text(tree.path("sys"))), expected);
  }
}

}  // namespace
