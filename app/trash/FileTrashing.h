// The Trash service's seam to the file system: moving a file to the Trash,
// asking whether anything is at a URL (or why that cannot be told), and
// moving an item back, only while it is still the file that went to the
// Trash. Implementations are called off the main thread, by the moves and by
// the undos, and must be thread-safe.
// SystemFileTrashing is the production one, on the freedesktop.org Trash.
#pragma once

#include <QString>
#include <QUrl>
#include <optional>
#include <utility>

#include "result.hpp"
#include "trash/FreedesktopTrash.h"
#include "trash/ItemIdentity.h"

// A file operation's failure, as the description the user is shown.
struct FileOperationError {
  QString description;
};

// A file as the Trash took it.
struct TrashedItem {
  // The item's URL in the Trash; absent when the Trash names none.
  std::optional<QUrl> url;
  ItemIdentity identity;
};

class FileTrashing {
 public:
  virtual ~FileTrashing() = default;
  virtual quelmaris::Result<TrashedItem, FileOperationError> trashItem(const QUrl& url) const = 0;
  // Whether anything is at the URL; a failure when it cannot be examined.
  virtual quelmaris::Result<bool, FileOperationError> itemExists(const QUrl& url) const = 0;
  // Nothing on success. Never replaces an item at the destination, and moves
  // nothing when the item at source no longer has this identity.
  virtual std::optional<FileOperationError> moveItem(const QUrl& source, const QUrl& destination,
                                                     const ItemIdentity& identity) const = 0;
};

class SystemFileTrashing final : public FileTrashing {
 public:
  // examine: how an item is looked at before it is moved back; tests stand in
  // the answers of a volume mounted again.
  explicit SystemFileTrashing(FreedesktopTrash::ExamineItem examine = FreedesktopTrash::examineItem)
      : examine_(std::move(examine)) {}
  quelmaris::Result<TrashedItem, FileOperationError> trashItem(const QUrl& url) const override;
  // Does not follow a link: a dangling link is an item too.
  quelmaris::Result<bool, FileOperationError> itemExists(const QUrl& url) const override;
  // Putting an item back from the Trash removes its Trash record as well.
  std::optional<FileOperationError> moveItem(const QUrl& source, const QUrl& destination,
                                             const ItemIdentity& identity) const override;

 private:
  const FreedesktopTrash::ExamineItem examine_;
};
