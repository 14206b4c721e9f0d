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

// The system's text for the error, in the user's language; safe off the main thread.
FileOperationError describe(int error) {
  char buffer[256];
  return FileOperationError{QString::fromLocal8Bit(::strerror_r(error, buffer, sizeof buffer))};
}

}  // namespace

quelmaris::Result<std::optional<QUrl>, FileOperationError> SystemFileTrashing::trashItem(const QUrl& url) const {
  auto trashed = FreedesktopTrash::trash(localPath(url));
  // Files are never copied into a Trash on another volume, so the system's
  // "Invalid cross-device link" would only puzzle.
  if (!trashed && trashed.error() == EXDEV)
    return quelmaris::Failure{FileOperationError{
        QCoreApplication::translate("SystemFileTrashing", "This volume has no Trash that Quelmaris can use.")}};
  if (!trashed) return quelmaris::Failure{describe(trashed.error())};
  return std::optional<QUrl>(fileUrl(trashed.value()));
}

bool SystemFileTrashing::itemExists(const QUrl& url) const { return FreedesktopTrash::exists(localPath(url)); }

std::optional<FileOperationError> SystemFileTrashing::moveItem(const QUrl& source, const QUrl& destination) const {
  if (const int error = FreedesktopTrash::move(localPath(source), localPath(destination))) return describe(error);
  return std::nullopt;
}
