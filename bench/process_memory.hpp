// The process's memory as /proc reports it, for the benchmarks' figures.
#pragma once

#include <QByteArray>
#include <QFile>

// A field of /proc/self/status ("VmRSS:", "VmHWM:") in MiB; 0 when unreadable.
inline double memoryMiB(const char* field) {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith(field)) return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toDouble() / 1024.0;
  return 0;
}
