#include "platform/UserFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <vector>

namespace UserFolders {

namespace {

// The variable's value when it is an absolute path.
QString absoluteVariable(const char* name) {
  const QString value = qEnvironmentVariable(name);
  return QDir::isAbsolutePath(value) ? QDir::cleanPath(value) : QString();
}

QString accountHome() {
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
      found->pw_dir == nullptr)
    return QString();
  return QFile::decodeName(found->pw_dir);
}

// The file system's root when the account has no home either.
QString home() {
  const QString variable = absoluteVariable("HOME");
  const QString home = variable.isEmpty() ? accountHome() : variable;
  return home.isEmpty() ? QDir::rootPath() : home;
}

QString underHomeUnlessSet(const char* variable, const QString& belowHome) {
  const QString set = absoluteVariable(variable);
  return set.isEmpty() ? QDir::cleanPath(QDir(home()).filePath(belowHome)) : set;
}

}  // namespace

QString dataHome() { return underHomeUnlessSet("XDG_DATA_HOME", QStringLiteral(".local/share")); }

QString configHome() { return underHomeUnlessSet("XDG_CONFIG_HOME", QStringLiteral(".config")); }

QString cacheHome() { return underHomeUnlessSet("XDG_CACHE_HOME", QStringLiteral(".cache")); }

}  // namespace UserFolders
