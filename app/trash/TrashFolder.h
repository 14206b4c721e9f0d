// Which Trash folder takes an item, after the freedesktop.org Trash
// standard: the home Trash ($XDG_DATA_HOME/Trash) for items on its
// device, otherwise the Trash at the top of the item's own file system, so
// that an item is only ever renamed into the Trash, never copied. Reentrant;
// errors are errno values.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

#include "result.hpp"

namespace FreedesktopTrash {

struct TrashFolder {
  // Holds files/ and info/, both present.
  std::string path;
  // The mount point of a top-directory Trash, to which the recorded original
  // path is relative; absent for the home Trash, which records absolute paths.
  std::optional<std::string> topdir;
};

// $XDG_DATA_HOME/Trash (when absolute) or $HOME/.local/share/Trash; absent
// when neither names an absolute folder.
std::optional<std::string> homeTrashPath();

// The Trash folder for the absolute path of an item on device, created when
// missing: the home Trash; else the one on the item's own mount.
quelmaris::Result<TrashFolder, int> trashFolderFor(const std::string& path, dev_t device);

// The Trash folder at the point of the mount holding the item (a bind mount
// of a folder included), created when missing: $topdir/.Trash/$uid when
// $topdir/.Trash is a real sticky folder, else $topdir/.Trash-$uid. EXDEV, no
// Trash can take the item, when the mount is on another device than the item
// (a btrfs subvolume not mounted on its own), or when the Trash folder there
// is not ours alone.
quelmaris::Result<TrashFolder, int> trashFolderOnMountOf(const std::string& path, dev_t device);

// The Trash folder at the top directory of a file system, as above; one of
// ours only when it is ours alone, judged by its owner everywhere and by its
// modes where the file system keeps them.
quelmaris::Result<TrashFolder, int> trashFolderAtTopOf(const std::string& topdir);

// The Trash folder whose files/ directly holds the item; absent for any other path.
std::optional<TrashFolder> trashFolderHolding(const std::string& trashedPath);

// The info record of an item that lies directly in the files/ folder of a
// Trash folder; absent for any other path.
std::optional<std::string> trashInfoPathFor(const std::string& trashedPath);

}  // namespace FreedesktopTrash
