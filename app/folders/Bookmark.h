// A folder's bookmark: bytes of our own that record the folder's path, its
// identity (device, inode), where the path led (its real path, links
// resolved) and whether the folder was the top of a volume, so that a later
// run finds the folder again and notices when another folder has taken its
// place. A bookmark does not follow a folder that moved away: what no longer
// stands at its path does not resolve, nor does a path that now leads
// elsewhere through a link, nor the bare mount point of a volume that is not
// mounted. Bookmarks of the first form, which recorded only the path and the
// identity, resolve as they always did, but for the empty folder that an
// unmounted volume leaves where they found its top. Any thread; each call
// may wait on the folder's file system.
#pragma once

#include <QByteArray>
#include <QUrl>
#include <optional>
#include <variant>

#include "folders/FolderLog.h"

namespace Bookmark {

struct Resolved {
  QUrl url;
  // The bookmark should be made again: another folder stands at the path, or
  // the bytes are of the first form.
  bool stale = false;
};

// The bookmark of a local folder; fails when the URL names no folder that can
// be reached.
std::variant<QByteArray, FolderError> make(const QUrl& url);

// The folder's location now; fails when the bytes are no bookmark of ours,
// no folder stands at the recorded path, the path leads elsewhere now, or
// the folder was a volume's top and the volume is not mounted there.
std::optional<Resolved> resolve(const QByteArray& bookmark);

// The path whose file system resolving would ask: the real path where
// recorded, else the path; empty for bytes that are no bookmark. Asks the
// file system nothing.
QByteArray whereItLooks(const QByteArray& bookmark);

}  // namespace Bookmark
