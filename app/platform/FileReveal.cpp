#include "platform/FileReveal.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QFileInfo>
#include <utility>

namespace FileReveal {

void reveal(const QString& path) {
  revealWithFallback(path, [](const QUrl& folder) { QDesktopServices::openUrl(folder); });
}

void revealWithFallback(const QString& path, FolderOpener openFolder) {
  const auto openParentFolder = [path, openFolder = std::move(openFolder)] {
    openFolder(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
  };
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    openParentFolder();
    return;
  }
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
      QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
  call << QStringList{QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)} << QString();
  // File managers are often only activatable, so the service may start on
  // this call or be missing altogether: only the answer tells.
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                   [openParentFolder](QDBusPendingCallWatcher* done) {
                     if (QDBusPendingReply<>(*done).isError()) openParentFolder();
                     done->deleteLater();
                   });
}

QString title() { return QCoreApplication::translate("FileReveal", "Show in Finder"); }

}  // namespace FileReveal
