// How far the process's resident memory rose at its peak since a starting
// point, and how much of it is still held, as /proc reports it. The kernel's peak is reset at the start, so that
// an earlier peak of the process does not hide a later one.
#pragma once

#include <QByteArray>
#include <QFile>

namespace apptest {

class PeakMemoryGrowth {
 public:
  PeakMemoryGrowth() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly)) clear.write("5");
    start_ = kibibytes("VmRSS:");
  }

  // The peak since the start less the memory at the start, in KiB.
  qint64 kib() const { return kibibytes("VmHWM:") - start_; }
  // The memory now less that at the start, in KiB.
  qint64 heldKib() const { return kibibytes("VmRSS:") - start_; }

 private:
  static qint64 kibibytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
      if (line.startsWith(field)) return line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong();
    return 0;
  }

  qint64 start_ = 0;
};

}  // namespace apptest
