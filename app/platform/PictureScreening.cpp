#include "platform/PictureScreening.h"

#include <zlib.h>

#include <QByteArray>
#include <QByteArrayView>
#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr QByteArrayView pngSignature("\x89PNG\r\n\x1a\n", 8);
// Counted for every piece of text besides its bytes: many tiny chunks still
// make many strings.
constexpr qint64 textChunkOverhead = 64;

quint32 bigEndian32(const char* bytes) {
  quint32 value = 0;
  for (int i = 0; i < 4; ++i) value = (value << 8) | static_cast<uchar>(bytes[i]);
  return value;
}

// The bytes a zlib stream inflates to, counted only up to just past `limit`.
qint64 inflatedSize(QByteArrayView stream, qint64 limit) {
  z_stream inflater{};
  if (inflateInit(&inflater) != Z_OK) return limit + 1;
  inflater.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.data()));
  inflater.avail_in = static_cast<uInt>(stream.size());
  std::array<Bytef, 16 * 1024> out{};
  qint64 produced = 0;
  int status = Z_OK;
  while (status == Z_OK && produced <= limit) {
    inflater.next_out = out.data();
    inflater.avail_out = static_cast<uInt>(out.size());
    status = inflate(&inflater, Z_NO_FLUSH);
    produced += static_cast<qint64>(out.size() - inflater.avail_out);
    if (status == Z_OK && inflater.avail_out == out.size()) break;  // no progress: the input is spent
  }
  inflateEnd(&inflater);
  return produced;
}

// What a text chunk's data costs its decoder beyond its own bytes: the text
// its compressed part inflates to. Past `limit` the count stops.
qint64 inflatedText(QByteArrayView type, QByteArrayView data, qint64 limit) {
  const qsizetype keywordEnd = data.indexOf('\0');
  if (keywordEnd < 0) return 0;
  if (type == "zTXt") return inflatedSize(data.sliced(std::min(data.size(), keywordEnd + 2)), limit);
  if (type != "iTXt" || data.size() < keywordEnd + 3 || data[keywordEnd + 1] == '\0') return 0;
  // keyword, compression flag and method, language, translated keyword, text
  qsizetype at = data.indexOf('\0', keywordEnd + 3);
  if (at >= 0) at = data.indexOf('\0', at + 1);
  return at < 0 ? 0 : inflatedSize(data.sliced(at + 1), limit);
}

// The text a decoder is given: once a piece does not fit, no later one does.
class TextBudget {
 public:
  qint64 left() const { return spent_ ? 0 : left_; }
  bool admits(qint64 cost) {
    spent_ = spent_ || cost > left_;
    if (!spent_) left_ -= cost;
    return !spent_;
  }

 private:
  qint64 left_ = pictureTextBudget;
  bool spent_ = false;
};

std::optional<QList<ByteRange>> screenPng(QIODevice& device) {
  QList<ByteRange> leftOut;
  TextBudget budget;
  qint64 at = pngSignature.size();
  std::array<char, 8> header{};
  while (device.seek(at) && device.read(header.data(), header.size()) == qint64{header.size()}) {
    const quint32 length = bigEndian32(header.data());
    if (length > 0x7fffffffU) break;  // the decoder stops here too
    const QByteArrayView type(header.data() + 4, 4);
    const qint64 chunk = 12 + qint64{length};
    if (type == "IEND") break;
    if (type == "tEXt" || type == "zTXt" || type == "iTXt") {
      qint64 cost = textChunkOverhead + length;
      if (cost <= budget.left()) cost += inflatedText(type, device.read(length), budget.left() - cost);
      if (!budget.admits(cost)) leftOut.append({at, chunk});
    }
    at += chunk;
  }
  device.seek(0);
  return leftOut;
}

// Reads a device front to back in large blocks.
class ByteWalk {
 public:
  explicit ByteWalk(QIODevice& device) : device_(device) {}

  // The next byte, or -1 at the end.
  int next() {
    if (at_ == block_.size() && !refill()) return -1;
    return static_cast<uchar>(block_[at_++]);
  }
  // Moves on to the next 0xFF byte, or to the end.
  void skipToMarker() {
    for (;;) {
      const void* found = std::memchr(block_.constData() + at_, 0xFF, static_cast<size_t>(block_.size() - at_));
      if (found != nullptr) {
        at_ = static_cast<const char*>(found) - block_.constData();
        return;
      }
      if (!refill()) return;
    }
  }
  // Where the next byte lies in the device.
  qint64 position() const { return device_.pos() - (block_.size() - at_); }
  bool skip(qint64 count) {
    const qint64 buffered = block_.size() - at_;
    if (count <= buffered) {
      at_ += count;
      return true;
    }
    at_ = block_.size();
    return device_.seek(device_.pos() + count - buffered);
  }

 private:
  bool refill() {
    block_ = device_.read(64 * 1024);
    at_ = 0;
    return !block_.isEmpty();
  }

  QIODevice& device_;
  QByteArray block_;
  qsizetype at_ = 0;
};

bool startsFrame(int marker) { return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC; }

// Counts start-of-scan markers as a decoder meets them: segments are skipped
// by their length, and entropy-coded data is passed over byte by byte, where
// 0xFF is followed by a stuffed zero or a restart marker. Comments are the
// JPEG's text.
std::optional<QList<ByteRange>> screenJpeg(QIODevice& device) {
  QList<ByteRange> leftOut;
  TextBudget budget;
  ByteWalk bytes(device);
  bytes.skip(2);  // the start of the image
  const auto twoBytes = [&] {
    const int high = bytes.next();
    const int low = bytes.next();
    return low < 0 ? -1 : high << 8 | low;
  };
  qint64 pixels = 0;
  int scans = 0;
  for (;;) {
    bytes.skipToMarker();
    int marker = bytes.next();
    while (marker == 0xFF) marker = bytes.next();
    if (marker < 0 || marker == 0xD9) break;
    if (marker == 0x00 || marker == 0x01 || marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7)) continue;
    int left = twoBytes() - 2;
    if (left < 0) break;
    if (startsFrame(marker) && left >= 5) {
      bytes.next();  // the sample precision
      const int height = twoBytes();
      const int width = twoBytes();
      pixels = qint64{std::max(height, 0)} * std::max(width, 0);
      left -= 5;
    }
    if (marker == 0xDA && (++scans > mostJpegScans || scans * pixels > mostJpegScanPixels)) return std::nullopt;
    // The marker and the length before the position.
    if (marker == 0xFE && !budget.admits(textChunkOverhead + left)) leftOut.append({bytes.position() - 4, left + 4});
    if (!bytes.skip(left)) break;
  }
  device.seek(0);
  return leftOut;
}

}  // namespace

std::optional<QList<ByteRange>> screenPicture(QIODevice& device) {
  const QByteArray start = device.peek(pngSignature.size());
  if (start.startsWith(pngSignature)) return screenPng(device);
  if (start.startsWith("\xFF\xD8\xFF")) return screenJpeg(device);
  return QList<ByteRange>{};
}
