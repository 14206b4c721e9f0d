// Pictures made to cost their reader far more than their size, written by the
// tests and the benchmarks themselves, and the process's peak memory to
// measure what reading them took.
#pragma once

#include <zlib.h>

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QString>
#include <QtEndian>

namespace apptest {

// A PNG of the picture with `chunks` zTXt chunks after its header, each
// inflating to `inflatedBytes` bytes of text under a key of its own.
inline QByteArray pngWithTextBomb(const QImage& picture, int chunks, qsizetype inflatedBytes) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, "PNG");
  const QByteArray text(inflatedBytes, 'a');
  QByteArray packed(qsizetype(compressBound(uLong(text.size()))), '\0');
  auto packedSize = uLongf(packed.size());
  compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(text.constData()),
            uLong(text.size()), 9);
  packed.truncate(qsizetype(packedSize));
  QByteArray inserted;
  for (int n = 0; n < chunks; ++n) {
    const QByteArray body = "zTXt" + QByteArray("Note") + QByteArray::number(n) + '\0' + '\0' + packed;
    char length[4];
    qToBigEndian(quint32(body.size() - 4), length);
    char crc[4];
    qToBigEndian(quint32(crc32(0, reinterpret_cast<const Bytef*>(body.constData()), uInt(body.size()))), crc);
    inserted += QByteArray(length, 4) + body + QByteArray(crc, 4);
  }
  // The signature and the header chunk come first.
  return png.insert(8 + 25, inserted);
}

// A progressive JPEG of the picture whose last scan is repeated until it has
// `scans` scans: each one decodes every block of the picture again.
inline QByteArray jpegWithScans(const QImage& picture, int scans) {
  QByteArray jpeg;
  QBuffer buffer(&jpeg);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "jpeg");
  writer.setProgressiveScanWrite(true);
  writer.write(picture);
  // Inside entropy-coded data 0xFF is never followed by 0xDA: the last such
  // pair starts the last scan, which runs to the end-of-image marker.
  const qsizetype last = jpeg.lastIndexOf("\xFF\xDA");
  const QByteArray scan = jpeg.mid(last, jpeg.size() - 2 - last);
  const auto written = jpeg.count("\xFF\xDA");
  QByteArray more;
  for (qsizetype n = written; n < scans; ++n) more += scan;
  return jpeg.insert(jpeg.size() - 2, more);
}

// Noise, so that a picture does not compress to nothing.
inline QImage noise(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  quint32 state = 1;
  for (int y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) line[x] = (state = state * 1664525U + 1013904223U) >> 8;
  }
  return image;
}

inline bool writeFile(const QString& path, const QByteArray& data) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

// The process's peak resident size in kB since the last reset.
inline qint64 peakResidentKiB() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toLongLong();
  return 0;
}

// Starts the peak resident size over from the present one.
inline void resetPeakResident() {
  QFile refs(QStringLiteral("/proc/self/clear_refs"));
  if (refs.open(QIODevice::WriteOnly)) refs.write("5");
}

}  // namespace apptest
