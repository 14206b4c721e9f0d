#include "folders/FolderLog.h"

#include <syslog.h>

namespace FolderLog {

namespace {

// The description is the private argument of the entry.
constexpr char privateArgument[] = "<private>";

void openOnce() {
  static const bool opened = [] {
    ::openlog(applicationId, LOG_PID, LOG_USER);
    return true;
  }();
  (void)opened;
}

bool errorLevelEnabled() {
  // A zero mask reads the current mask without changing it.
  return (::setlogmask(0) & LOG_MASK(LOG_ERR)) != 0;
}

}  // namespace

FolderError errnoError(int number) { return FolderError{QStringLiteral("POSIX"), number, qt_error_string(number)}; }

QString entryText(const QString& message, const FolderError& error) {
  return QStringLiteral("%1: %2 %3 \u2014 %4")
      .arg(message, error.domain, QString::number(error.code), QLatin1String(privateArgument));
}

void logFailure(const QString& message, const FolderError& error) {
  openOnce();
  if (!errorLevelEnabled()) return;
  ::syslog(LOG_ERR, "%s", entryText(message, error).toUtf8().constData());
}

}  // namespace FolderLog
