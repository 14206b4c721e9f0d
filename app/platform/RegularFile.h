// Opens a file for reading only when it is a regular file, without blocking:
// a path that has become a FIFO or a device since it was scanned would
// otherwise hang the reader in open() or read(). A final symbolic link is not
// followed. Reentrant.
#pragma once

#include <QFile>
#include <QString>
#include <memory>

// The open file, or null when the path is not a regular file or cannot be opened.
std::unique_ptr<QFile> openRegularFile(const QString& path);
