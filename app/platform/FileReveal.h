// Shows a file or folder in the desktop's file manager, selected: through the
// freedesktop FileManager1 D-Bus service, and when that is absent or answers
// with an error, by opening the item's parent folder. Asynchronous: the call
// returns at once and a failure is not reported. Main thread only.
#pragma once

#include <QString>

namespace FileReveal {

// A path that no longer exists is handed over all the same.
void reveal(const QString& path);

// The command's title wherever it is offered, in this desktop's words.
QString title();

}  // namespace FileReveal
