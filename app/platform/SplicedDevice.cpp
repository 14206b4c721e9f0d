#include "platform/SplicedDevice.h"

#include <algorithm>

SplicedDevice::SplicedDevice(QIODevice& source, const QList<ByteRange>& leftOut, std::stop_token stop)
    : source_(source), stop_(std::move(stop)) {
  qint64 from = 0;
  const auto keep = [&](qint64 end) {
    if (end > from) {
      kept_.append({size_, from, end - from});
      size_ += end - from;
    }
  };
  for (const ByteRange& range : leftOut) {
    keep(range.start);
    from = range.start + range.length;
  }
  keep(source.size());
}

qint64 SplicedDevice::readData(char* data, qint64 maxSize) {
  if (stop_.stop_requested()) {
    setErrorString(QStringLiteral("stopped"));
    return -1;
  }
  qint64 done = 0;
  qint64 at = pos();
  // The first stretch that ends after the position.
  auto stretch = std::upper_bound(kept_.cbegin(), kept_.cend(), at,
                                  [](qint64 offset, const Kept& kept) { return offset < kept.start + kept.length; });
  for (; stretch != kept_.cend() && done < maxSize; ++stretch) {
    const qint64 offset = at - stretch->start;
    const qint64 wanted = std::min(maxSize - done, stretch->length - offset);
    const qint64 sourceAt = stretch->sourceStart + offset;
    if (source_.pos() != sourceAt && !source_.seek(sourceAt)) break;
    const qint64 read = source_.read(data + done, wanted);
    if (read <= 0) break;
    done += read;
    at += read;
    if (read < wanted) break;
  }
  return done;
}
