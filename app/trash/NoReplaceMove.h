// Renaming an item to a name where nothing may be replaced, also on file
// systems whose drivers lack RENAME_NOREPLACE (FUSE drivers such as those of
// FAT, exFAT, NTFS and SFTP answer EINVAL). Either way the item ends with one
// name: a move that reports success has left `from`, and one that fails leaves
// the item at `from` and nothing of it at `to`. Reentrant; errors are errno
// values.
#pragma once

#include <functional>
#include <string>

namespace FreedesktopTrash {

// One rename that never replaces: 0 or the errno of the failure. The
// production one is renameat2 with RENAME_NOREPLACE; tests stand in one that
// reports the flag unsupported.
using NoReplaceRename = std::function<int(const std::string& from, const std::string& to)>;
int renameNoReplace(const std::string& from, const std::string& to);

// Moves the item to `to`, a name the caller reserved beforehand (as a Trash
// does with the record it creates exclusively), unless something is there
// (EEXIST). Where the flag is not supported: a plain rename once `to` is seen
// absent. What remains: an item made at `to` between that check and the
// rename, by a program that ignores the reservation, is replaced.
int moveIntoReservedName(const std::string& from, const std::string& to,
                         const NoReplaceRename& rename = renameNoReplace);

// Moves the item unless something is at `to` (EEXIST), where nothing reserves
// that name. Where the flag is not supported and the volume's own inode
// numbers show through (`inodeNumbersLast`: two names of one file show one
// number): a hard link, then the old name's removal while it still holds the
// linked item. Elsewhere a hard link proves nothing (sshfs numbers each name
// on its own), and on volumes or items without hard links there is none: an
// empty stand-in of the item's kind is created at `to` exclusively and the
// item renamed over it. What remains there: a program that replaces the
// stand-in with an item of its own in that moment loses that item; a stand-in
// another program filled meanwhile is kept, not removed, when the rename
// fails; and a process ended between the two leaves the empty stand-in.
int moveWithoutReplacing(const std::string& from, const std::string& to, bool inodeNumbersLast,
                         const NoReplaceRename& rename = renameNoReplace);

}  // namespace FreedesktopTrash
