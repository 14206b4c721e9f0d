// When the desktop last saw a file used: the freedesktop.org recent-files
// list ($XDG_DATA_HOME/recently-used.xbel) that GTK and KDE programs keep.
// The list can be large, so it is parsed once and parsed again only when it
// changes. Thread-safe.
#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

namespace RecentFiles {

// The latest of the visit and modification stamps the list holds for the
// file; none when the file is not listed or there is no readable list.
std::optional<QDateTime> lastUsed(const QString& path);

}  // namespace RecentFiles
