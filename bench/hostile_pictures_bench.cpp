// Peak memory and time of the inspector and the preview on pictures made to
// exhaust their reader: PNGs whose text chunks inflate to 7 MB each (200 and
// 60 of them) and a 4000 × 4000 progressive JPEG of 60,000 scans, and of the
// 120 scans the screening lets through at that size. For each:
// the inspector's time to its metadata and to the end of its load, the
// preview's time in showFile (what the main thread waits) and to its content,
// and the peak resident growth of each. One JSON line.
#include <sys/stat.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "hostile_pictures.hpp"
#include "inspector/InspectorModel.h"
#include "process_memory.hpp"
#include "results/QuickLookPreview.h"

namespace {

FileEntry entryFor(const QString& path) {
  struct stat st {};
  ::stat(QFile::encodeName(path).constData(), &st);
  return FileEntry{path,          path.section(u'/', -1), 0,     static_cast<std::uint64_t>(st.st_size),
                   std::nullopt,  qint64{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec,
                   0,             static_cast<std::uint64_t>(st.st_ino),
                   1,             std::nullopt,
                   false,         std::nullopt};
}

double msSince(const QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e6; }

// The growth of the peak resident size over what is resident now, in MiB.
struct Peak {
  Peak() : resident((apptest::resetPeakResident(), memoryMiB("VmRSS:"))) {}
  double grown() const { return memoryMiB("VmHWM:") - resident; }
  double resident;
};

QString measure(const QString& name, const QString& path) {
  QString line = QStringLiteral("{\"picture\":\"%1\",\"bytes\":%2").arg(name).arg(QFileInfo(path).size());
  {
    InspectorModel model;
    const Peak peak;
    QElapsedTimer timer;
    timer.start();
    model.show(entryFor(path), {});
    if (!QTest::qWaitFor([&] { return model.metadata().has_value(); }, 1'200'000)) std::abort();
    const double metadata = msSince(timer);
    if (!QTest::qWaitFor([&] { return !model.isLoading(); }, 1'200'000)) std::abort();
    line += QStringLiteral(",\"inspector_metadata_ms\":%1,\"inspector_load_ms\":%2,\"inspector_thumbnail\":%3,"
                           "\"inspector_peak_mib\":%4")
                .arg(metadata, 0, 'f', 1)
                .arg(msSince(timer), 0, 'f', 1)
                .arg(model.thumbnail() ? QStringLiteral("true") : QStringLiteral("false"))
                .arg(peak.grown(), 0, 'f', 1);
  }
  {
    QuickLookPreview preview;
    const Peak peak;
    QElapsedTimer timer;
    timer.start();
    preview.showFile(path);
    const double call = msSince(timer);
    if (!QTest::qWaitFor([&] { return preview.shownKind() != QStringLiteral("loading"); }, 1'200'000)) std::abort();
    line += QStringLiteral(",\"preview_call_ms\":%1,\"preview_content_ms\":%2,\"preview_shows\":\"%3\","
                           "\"preview_peak_mib\":%4}")
                .arg(call, 0, 'f', 1)
                .arg(msSince(timer), 0, 'f', 1)
                .arg(preview.shownKind())
                .arg(peak.grown(), 0, 'f', 1);
  }
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QTemporaryDir folder;
  const QImage small = apptest::noise(256, 192);
  QImage flat(4000, 4000, QImage::Format_RGB32);
  flat.fill(qRgb(90, 140, 200));
  const std::pair<QString, QByteArray> pictures[] = {
      {QStringLiteral("png_200_text_chunks_of_7MB"), apptest::pngWithTextBomb(small, 200, 7 * 1024 * 1024)},
      {QStringLiteral("png_60_text_chunks_of_7MB"), apptest::pngWithTextBomb(small, 60, 7 * 1024 * 1024)},
      {QStringLiteral("jpeg_4000x4000_60000_scans"), apptest::jpegWithScans(flat, 60'000)},
      // The most scans a picture of this size may have: the longest decode let through.
      {QStringLiteral("jpeg_4000x4000_120_scans"), apptest::jpegWithScans(flat, 120)},
  };
  QStringList lines;
  for (const auto& [name, data] : pictures) {
    const QString path = folder.filePath(name);
    if (!apptest::writeFile(path, data)) return 1;
    lines << measure(name, path);
  }
  std::printf("{\"bench\":\"hostile_pictures\",\"results\":[%s]}\n", qPrintable(lines.join(u',')));
  return 0;
}
