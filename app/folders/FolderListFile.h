// The folder-list file: a UTF-8 JSON array with one object per folder, in
// list order, each with the keys "id", "path" and "bookmark". Written
// compactly (no whitespace, keys in that order, every "/" as "\/", the UUID
// upper-case, the bookmark in Base64) and atomically, so that a reader never
// sees half a file, and a failed write leaves the previous file whole. Read
// leniently as to key order and extra keys, but one object that lacks a key,
// has one of the wrong type, an invalid UUID or invalid Base64 makes the whole
// file unreadable, and so does anything at the path that is not a regular
// file of at most sizeLimit bytes, which is never read. Any thread.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUuid>
#include <optional>

#include "folders/FolderLog.h"
#include "result.hpp"

namespace FolderListFile {

// Far above any real list: ten thousand folders take about 2.4 MB.
inline constexpr qint64 sizeLimit = qint64{64} * 1024 * 1024;

// What the file keeps of one folder.
struct Stored {
  QUuid id;
  QString path;
  QByteArray bookmark;
  friend bool operator==(const Stored&, const Stored&) = default;
};

QByteArray encode(const QList<Stored>& folders);
// Absent when the bytes are not a valid folder list.
std::optional<QList<Stored>> decode(const QByteArray& bytes);

// Why the file could not be read: nothing at the path (POSIX ENOENT or
// ENOTDIR), something that is not a regular file (EINVAL), a file over the
// limit (EFBIG), no permission, or bytes that are no folder list
// (notAFolderList).
quelmaris::Result<QList<Stored>, FolderError> read(const QString& filePath);
inline const QString notAFolderList = QStringLiteral("FolderListFile");
// Whether the failure of read() means that there is no file at the path.
bool isAbsent(const FolderError& error);

// Creates the file's folder and any missing ancestors first. On failure the
// previous file, if any, stays whole, byte for byte.
std::optional<FolderError> write(const QString& filePath, const QList<Stored>& folders);

}  // namespace FolderListFile
