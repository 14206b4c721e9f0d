// Another device's data with some byte ranges left out, read only, for a
// decoder that must not see them; once a stop is requested every read fails,
// so that a decoder nobody waits for any more gives up at its next read. The
// other device must stay open and unread by others while this one is used.
#pragma once

#include <QIODevice>
#include <QList>
#include <stop_token>

#include "platform/PictureScreening.h"

class SplicedDevice final : public QIODevice {
 public:
  // The ranges in order, not overlapping, inside the other device's data.
  SplicedDevice(QIODevice& source, const QList<ByteRange>& leftOut, std::stop_token stop);

  bool isSequential() const override { return false; }
  qint64 size() const override { return size_; }

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  // A stretch of the data that is kept: where it starts here and in the source.
  struct Kept {
    qint64 start;
    qint64 sourceStart;
    qint64 length;
  };

  QIODevice& source_;
  std::stop_token stop_;
  QList<Kept> kept_;
  qint64 size_ = 0;
};
