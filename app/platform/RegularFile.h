// Opens a file for reading only when it is a regular file, without blocking:
// a path that has become a FIFO or a device since it was scanned would
// otherwise hang the reader in open() or read(). Reentrant.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <memory>

#include "result.hpp"

// The open file, or null when the path is not a regular file or cannot be
// opened. A final symbolic link is not followed.
std::unique_ptr<QFile> openRegularFile(const QString& path);

// The whole of a file the application keeps, when the path names a regular
// file, through symbolic links, of at most limit bytes; nothing else is ever
// opened, so that a FIFO or a device in its place can neither block nor feed
// the reader without end. Fails with errno: EINVAL when something else stands
// there, EFBIG when the file is larger than the limit.
quelmaris::Result<QByteArray, int> readRegularFile(const QString& path, qint64 limit);
