// Moving items to the Trash and back after the freedesktop.org Trash
// standard. An item is only ever renamed, never copied across devices,
// and nothing already in place is ever replaced (on file systems without
// RENAME_NOREPLACE, see NoReplaceMove.h for the race that remains).
// Reentrant: the Trash service's move loop calls it off the main thread.
// Errors are errno values.
#pragma once

#include <string>

#include "result.hpp"
#include "trash/NoReplaceMove.h"

namespace FreedesktopTrash {

// Moves the item at the absolute path (a link is moved, not followed) into
// its Trash folder's files/, after writing its record into info/; returns the
// item's path in the Trash. EXDEV: no Trash on the item's volume can take it.
quelmaris::Result<std::string, int> trash(const std::string& path, const NoReplaceRename& rename = renameNoReplace);

// Renames source to destination unless something exists there. When source
// is an item in a Trash folder, it moves only when its record says it came
// from destination (else ENOENT: the item there now is another one), and the
// record is removed after the move. Returns 0 or the errno of the failure.
int move(const std::string& source, const std::string& destination);

// Whether anything, a dangling link included, is at the path.
bool exists(const std::string& path);

}  // namespace FreedesktopTrash
