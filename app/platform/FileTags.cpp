#include "platform/FileTags.h"

#include <sys/xattr.h>

#include <QByteArray>
#include <QFile>

QStringList fileTags(const QString& path) {
  // The largest value an attribute can hold, read at once: no race between
  // asking for the size and reading.
  QByteArray value(64 * 1024, Qt::Uninitialized);
  const ssize_t length = ::lgetxattr(QFile::encodeName(path).constData(), "user.xdg.tags", value.data(),
                                     static_cast<size_t>(value.size()));
  if (length <= 0) return {};
  value.truncate(length);
  QStringList tags;
  for (const QString& tag : QString::fromUtf8(value).split(u',')) {
    const QString trimmed = tag.trimmed();
    if (!trimmed.isEmpty()) tags.append(trimmed);
  }
  return tags;
}
