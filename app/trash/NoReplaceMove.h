// Renaming an item to a name where nothing may be replaced, also on file
// systems whose drivers lack RENAME_NOREPLACE (the FUSE drivers of FAT, exFAT
// and NTFS answer EINVAL). Reentrant; errors are errno values.
#pragma once

#include <functional>
#include <string>

namespace FreedesktopTrash {

// One rename that never replaces: 0 or the errno of the failure. The
// production one is renameat2 with RENAME_NOREPLACE; tests stand in one that
// reports the flag unsupported.
using NoReplaceRename = std::function<int(const std::string& from, const std::string& to)>;
int renameNoReplace(const std::string& from, const std::string& to);

// Moves the item unless something is at `to` (EEXIST). Where the flag is not
// supported: a hard link and the old name's removal, or, on a file system
// without hard links, a plain rename once `to` is seen absent, which replaces
// whatever comes in between: callers reserve the name first.
int moveWithoutReplacing(const std::string& from, const std::string& to,
                         const NoReplaceRename& rename = renameNoReplace);

}  // namespace FreedesktopTrash
