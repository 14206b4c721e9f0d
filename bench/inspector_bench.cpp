// Times the inspector's loads on the system's metadata: from selecting a copy
// to its published metadata and thumbnail for a 20-megapixel JPEG, the same
// for a cache hit, and holding the Down key through 500 such rows (one show
// every 33 ms), where the last row must publish its metadata at once and its
// thumbnail within about one load's time.
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <cstdlib>

#include "inspector/InspectorModel.h"

namespace {

constexpr int rows = 500;
constexpr int keyRepeatMs = 33;

FileEntry entryFor(const QString& path) {
  struct stat st {};
  ::stat(QFile::encodeName(path).constData(), &st);
  return FileEntry{path,
                   path.section(u'/', -1),
                   0,
                   static_cast<std::uint64_t>(st.st_size),
                   std::nullopt,
                   qint64{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec,
                   static_cast<std::uint64_t>(st.st_dev),
                   static_cast<std::uint64_t>(st.st_ino),
                   static_cast<std::uint32_t>(st.st_nlink),
                   std::nullopt,
                   false,
                   std::nullopt};
}

// A picture with detail everywhere, so that it does not compress to nothing.
void writePhoto(const QString& path) {
  QImage photo(5472, 3648, QImage::Format_RGB32);
  for (int y = 0; y < photo.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
    for (int x = 0; x < photo.width(); ++x) line[x] = qRgb((x * 7) ^ y, (y * 3) ^ x, (x + y) * 5);
  }
  photo.save(path, "JPEG", 90);
}

double showAndWait(InspectorModel& model, const FileEntry& file) {
  QElapsedTimer timer;
  timer.start();
  model.show(file, {});
  if (!QTest::qWaitFor([&] { return model.metadata().has_value() && !model.isLoading(); }, 600'000)) std::abort();
  return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  QTemporaryDir folder;
  const QString photo = folder.filePath(QStringLiteral("photo.jpg"));
  writePhoto(photo);
  // Hard links: 500 rows, one picture on disk, every one decoded afresh.
  QList<FileEntry> files;
  for (int row = 0; row < rows; ++row) {
    const QString link = folder.filePath(QStringLiteral("row%1.jpg").arg(row));
    if (::link(QFile::encodeName(photo).constData(), QFile::encodeName(link).constData()) != 0) return 1;
    files.append(entryFor(link));
  }

  InspectorModel model;
  const double first = showAndWait(model, entryFor(photo));
  if (!model.thumbnail()) return 1;
  std::printf("20 MP JPEG: %.1f ms to metadata and thumbnail (%dx%d)\n", first, model.thumbnail()->width(),
              model.thumbnail()->height());
  showAndWait(model, files.first());
  QElapsedTimer hit;
  hit.start();
  model.show(entryFor(photo), {});
  std::printf("cache hit: %.3f ms, published at once: %s\n", static_cast<double>(hit.nsecsElapsed()) / 1e6,
              model.metadata() ? "yes" : "no");

  for (const FileEntry& file : files) {
    model.show(file, {});
    QTest::qWait(keyRepeatMs);
  }
  QElapsedTimer last;
  last.start();
  if (!QTest::qWaitFor([&] { return model.metadata().has_value(); }, 600'000)) return 1;
  const double metadata = static_cast<double>(last.nsecsElapsed()) / 1e6;
  if (!QTest::qWaitFor([&] { return !model.isLoading(); }, 600'000)) return 1;
  std::printf("%d rows at %d ms each: the last row's metadata %.1f ms and thumbnail %.1f ms after the key was let go\n",
              rows, keyRepeatMs, metadata, static_cast<double>(last.nsecsElapsed()) / 1e6);
  return 0;
}
