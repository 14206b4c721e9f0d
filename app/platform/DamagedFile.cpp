#include "platform/DamagedFile.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace {

QString keptName(const QString& path, const QDateTime& now, int attempt) {
  const QFileInfo info(path);
  const QString suffix = info.suffix();
  QString name =
      info.completeBaseName() + QStringLiteral(".damaged-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
  if (attempt > 1) name += u'-' + QString::number(attempt);
  if (!suffix.isEmpty()) name += u'.' + suffix;
  return info.dir().filePath(name);
}

// Renames without ever replacing what stands at the new name: EEXIST when
// something does. File systems that cannot say so atomically get a link and
// an unlink, or, for what cannot be linked, a look before the rename.
int renameWithoutReplacing(const QByteArray& from, const QByteArray& to) {
  if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return errno;
  if (::link(from.constData(), to.constData()) == 0) return ::unlink(from.constData()) == 0 ? 0 : errno;
  if (errno == EEXIST) return EEXIST;
  if (::faccessat(AT_FDCWD, to.constData(), F_OK, AT_SYMLINK_NOFOLLOW) == 0 || errno != ENOENT) return EEXIST;
  return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

}  // namespace

quelmaris::Result<QString, int> setDamagedFileAside(const QString& path, const QDateTime& now) {
  for (int attempt = 1;; ++attempt) {
    const QString kept = keptName(path, now, attempt);
    const int error = renameWithoutReplacing(QFile::encodeName(path), QFile::encodeName(kept));
    if (error == 0) return kept;
    if (error != EEXIST) return quelmaris::Failure{error};
  }
}
