#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <cstring>

#include "trash/FileTrashing.h"
#include "trash/FreedesktopTrash.h"

namespace {

std::string localPath(const QUrl& url) { return QFile::encodeName(url.toLocalFile()).toStdString(); }

QUrl fileUrl(const std::string& path) {
  return QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(path)));
}

// The text for the error, in the user's language; safe off the main thread.
FileOperationError describe(int error) {
  if (error == FreedesktopTrash::kRecordNamesAnotherPlace)
    return {QCoreApplication::translate("SystemFileTrashing", "Its Trash record no longer names this place.")};
  if (error == FreedesktopTrash::kAnotherItem)
    return {QCoreApplication::translate("SystemFileTrashing", "Another file now has its name in the Trash.")};
  if (error == FreedesktopTrash::kOfAnotherKind)
    return {QCoreApplication::translate("SystemFileTrashing", "The item in the Trash is now of another kind.")};
  if (error == FreedesktopTrash::kOfAnotherSize)
    return {QCoreApplication::translate("SystemFileTrashing", "The item in the Trash now has another size.")};
  if (error == FreedesktopTrash::kModifiedSince)
    return {
        QCoreApplication::translate("SystemFileTrashing", "The item in the Trash now has another modification date.")};
  char buffer[256];
  return FileOperationError{QString::fromLocal8Bit(::strerror_r(error, buffer, sizeof buffer))};
}

}  // namespace

quelmaris::Result<TrashedItem, FileOperationError> SystemFileTrashing::trashItem(const QUrl& url) const {
  const std::string path = localPath(url);
  // Read before the move, which keeps it: a file swapped in meanwhile goes to
  // the Trash under another identity, and an undo leaves it there rather than
  // put back a file it cannot vouch for.
  const auto identity = FreedesktopTrash::identity(path);
  if (!identity) return quelmaris::Failure{describe(identity.error())};
  auto trashed = FreedesktopTrash::trash(path);
  // No Trash on the file's volume can take it (files are never copied into
  // a Trash on another volume): the system's "Invalid cross-device link"
  // would only puzzle.
  if (!trashed && trashed.error() == EXDEV)
    return quelmaris::Failure{FileOperationError{
        QCoreApplication::translate("SystemFileTrashing", "This volume has no Trash that Quelmaris can use.")}};
  if (!trashed) return quelmaris::Failure{describe(trashed.error())};
  return TrashedItem{fileUrl(trashed.value()), identity.value()};
}

quelmaris::Result<bool, FileOperationError> SystemFileTrashing::itemExists(const QUrl& url) const {
  const auto exists = FreedesktopTrash::exists(localPath(url));
  if (!exists) return quelmaris::Failure{describe(exists.error())};
  return exists.value();
}

std::optional<FileOperationError> SystemFileTrashing::moveItem(const QUrl& source, const QUrl& destination,
                                                               const ItemIdentity& identity) const {
  if (const int error = FreedesktopTrash::move(localPath(source), localPath(destination), identity,
                                               FreedesktopTrash::renameNoReplace, examine_))
    return describe(error);
  return std::nullopt;
}
