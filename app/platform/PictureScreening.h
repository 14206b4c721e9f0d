// Looks at a picture's structure before any decoder reads it, from chunk and
// segment headers: what a decoder would spend on it beyond its pixels must
// stay small. Embedded text (a PNG's text chunks, counted as the decoder
// would inflate them, and a JPEG's comments) is kept within a small budget;
// text past the budget is to be left out of what the decoder sees (the
// pixels need none of it). A JPEG with an
// unreasonable number of scans, or too many for its size, is refused: each
// scan decodes every block of the picture again. Other formats pass as they
// are. Reentrant.
#pragma once

#include <QIODevice>
#include <QList>
#include <optional>

// Bytes of embedded text a picture may bring to its decoder.
constexpr qint64 pictureTextBudget = 64 * 1024;
// Scans a JPEG may have; the usual encoders write at most a few dozen.
constexpr int mostJpegScans = 1000;
// Scans times pixels: each scan goes over every block of the picture again,
// so that this bounds the decoder's time to a few seconds at worst, while a
// photo of 100 megapixels in the usual ten scans passes.
constexpr qint64 mostJpegScanPixels = 2'000'000'000;

struct ByteRange {
  qint64 start = 0;
  qint64 length = 0;
  bool operator==(const ByteRange&) const = default;
};

// The byte ranges of the device's data the decoder must not see, in order;
// none when the picture is refused. Reads from the start of the device and
// leaves it there.
std::optional<QList<ByteRange>> screenPicture(QIODevice& device);
