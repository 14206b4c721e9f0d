#include "shell/SettingsFile.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QFileDevice>
#include <QFileInfo>
#include <cerrno>

#include "folders/FolderLog.h"
#include "platform/AtomicFile.h"
#include "platform/DamagedFile.h"
#include "platform/UserFolders.h"
#include "shell/SettingsText.h"

namespace SettingsFile {

namespace {

// Reads at most one byte past the limit: a larger file is no settings file.
bool readSettings(QIODevice& device, QSettings::SettingsMap& settings) {
  const QByteArray text = device.read(sizeLimit + 1);
  if (text.size() > sizeLimit) return false;
  settings = SettingsText::decode(text);
  return true;
}

// The bytes go straight to the new file's descriptor, each write checked and
// flushed to the disk, so that the file QSaveFile then renames is whole.
bool writeSettings(QIODevice& device, const QSettings::SettingsMap& settings) {
  auto* file = qobject_cast<QFileDevice*>(&device);
  const int error =
      file == nullptr || file->handle() < 0 ? EBADF : writeAndSync(file->handle(), SettingsText::encode(settings));
  if (error != 0) FolderLog::logFailure(QStringLiteral("Saving settings failed"), FolderLog::errnoError(error));
  return error == 0;
}

// Why the file cannot be read as settings; 0 when it can, or is not there.
int damageOf(const QString& file) {
  struct stat st {};
  if (::stat(QFile::encodeName(file).constData(), &st) != 0) return errno == ENOENT || errno == ENOTDIR ? 0 : errno;
  if (!S_ISREG(st.st_mode)) return EINVAL;
  return st.st_size > sizeLimit ? EFBIG : 0;
}

void setAsideIfDamaged(const QString& file) {
  const int damage = damageOf(file);
  if (damage == 0 || damage == EACCES) return;
  const auto kept = setDamagedFileAside(file, QDateTime::currentDateTime());
  if (kept)
    FolderLog::logFailure(QStringLiteral("Damaged settings kept as %1").arg(QFileInfo(kept.value()).fileName()),
                          FolderLog::errnoError(damage));
}

}  // namespace

QSettings::Format format() {
  static const QSettings::Format registered =
      QSettings::registerFormat(QStringLiteral("conf"), readSettings, writeSettings);
  return registered;
}

QString path() {
  return UserFolders::configHome() + u'/' + QCoreApplication::organizationName() + u'/' +
         QCoreApplication::applicationName() + QStringLiteral(".conf");
}

void use() {
  QSettings::setPath(format(), QSettings::UserScope, UserFolders::configHome());
  QSettings::setDefaultFormat(format());
  setAsideIfDamaged(path());
}

}  // namespace SettingsFile
