// Moving items to the Trash and back after the freedesktop.org Trash
// standard. An item is only ever renamed, never copied across devices,
// and nothing already in place is ever replaced (on file systems without
// RENAME_NOREPLACE, see NoReplaceMove.h for the race that remains).
// Reentrant: the Trash service's move loop calls it off the main thread.
// Errors are errno values.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "result.hpp"
#include "trash/ItemIdentity.h"
#include "trash/MountTable.h"
#include "trash/NoReplaceMove.h"

namespace FreedesktopTrash {

// Moves the item at the absolute path (a link is moved, not followed) into
// its Trash folder's files/, after writing its record into info/; returns the
// item's path in the Trash. EXDEV: no Trash on the item's volume can take it.
quelmaris::Result<std::string, int> trash(const std::string& path, const NoReplaceRename& rename = renameNoReplace);

// What move() returns when it leaves an item where it is for a reason that no
// errno value names; both are negative, unlike errno values.
enum MoveRefusal : int {
  // The item's record is gone or says it came from another place.
  kRecordNamesAnotherPlace = -1,
  // The item at source is another file than the one with the identity given:
  // another inode where inode numbers last.
  kAnotherItem = -2,
  // The item at source differs from the identity given in its kind (file,
  // folder, link …), its size or its modification time.
  kOfAnotherKind = -3,
  kOfAnotherSize = -4,
  kModifiedSince = -5,
};

// What the volume holding an item keeps of it across a rename and a mount
// (see MountTable.h).
struct KeptFacts {
  // False on volumes that number their files themselves, afresh at each mount
  // or per name: there the inode number tells nothing, not even whether two
  // names hold one file.
  bool inodeNumbersLast = true;
  // The step of the modification time; 0 where a rename rewrites it.
  std::int64_t modificationTimeStepNs = 1;
  // The times the volume holds: it stored another in place of one outside.
  TimeSpan modificationTimesHeld{};
};

// An item as found where it lies now.
struct FoundItem {
  ItemIdentity identity;
  KeptFacts volume;
};

// How move() looks at the item it is to move; tests stand in the answers
// that a volume mounted again gives. The errno when it cannot be examined.
using ExamineItem = std::function<quelmaris::Result<FoundItem, int>(const std::string& path)>;
quelmaris::Result<FoundItem, int> examineItem(const std::string& path);

// Renames source to destination unless something exists there, and only
// while source is still the item with this identity. When source is an item
// in a Trash folder, it moves only when its record says it came from
// destination, and the record is removed after the move. Returns 0, a
// MoveRefusal or the errno of the failure.
int move(const std::string& source, const std::string& destination, const ItemIdentity& identity,
         const NoReplaceRename& rename = renameNoReplace, const ExamineItem& examine = examineItem);

// The identity of the item at the path, a link itself and not its target.
quelmaris::Result<ItemIdentity, int> identity(const std::string& path);

// Whether anything, a dangling link included, is at the path; the errno when
// that cannot be told (a folder on the way that may not be searched).
quelmaris::Result<bool, int> exists(const std::string& path);

}  // namespace FreedesktopTrash
