// The folder-list file: a UTF-8 JSON array with one object per folder, in
// list order, each with the keys "id", "path" and "bookmark". Written
// compactly (no whitespace, keys in that order, every "/" as "\/", the UUID
// upper-case, the bookmark in Base64) and atomically, so that a reader never
// sees half a file. Read leniently as to key order and extra keys, but one
// object that lacks a key, has one of the wrong type, an invalid UUID or
// invalid Base64 makes the whole file unreadable. Any thread.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUuid>
#include <optional>

#include "folders/FolderLog.h"

namespace FolderListFile {

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

// Absent when the file cannot be read or is not a valid folder list.
std::optional<QList<Stored>> read(const QString& filePath);
// Creates the file's folder and any missing ancestors first. On failure the
// previous file, if any, stays whole.
std::optional<FolderError> write(const QString& filePath, const QList<Stored>& folders);

}  // namespace FolderListFile
