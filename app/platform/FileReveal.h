// Shows a file or folder in the desktop's file manager, selected: through the
// freedesktop FileManager1 D-Bus service, and when that is absent or answers
// with an error, by opening the item's parent folder. Asynchronous: the call
// returns at once and a failure is not reported. Main thread only.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>

namespace FileReveal {

// Opens a folder when the file manager cannot show the item in it.
using FolderOpener = std::function<void(const QUrl& folder)>;

// A path that no longer exists is handed over all the same. The parent
// folder opens with the desktop's default application.
void reveal(const QString& path);
// As reveal, the parent folder opened by openFolder.
void revealWithFallback(const QString& path, FolderOpener openFolder);

// The command's title wherever it is offered, in this desktop's words.
QString title();

}  // namespace FileReveal
