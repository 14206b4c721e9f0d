// A folder's bookmark: bytes of our own that record the folder's path and its
// identity (device, inode), so that a later run finds the folder again and
// notices when another folder has taken its place. A bookmark does not follow
// a folder that moved away: what no longer stands at its path does not
// resolve. Any thread; each call looks at the file system once.
#pragma once

#include <QByteArray>
#include <QUrl>
#include <optional>
#include <variant>

#include "folders/FolderLog.h"

namespace Bookmark {

struct Resolved {
  QUrl url;
  // Another folder stands at the path: the bookmark should be made again.
  bool stale = false;
};

// The bookmark of a local folder; fails when the URL names no folder that can
// be reached.
std::variant<QByteArray, FolderError> make(const QUrl& url);

// The folder's location now; fails when the bytes are no bookmark of ours or
// no folder stands at the recorded path.
std::optional<Resolved> resolve(const QByteArray& bookmark);

}  // namespace Bookmark
