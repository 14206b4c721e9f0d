// Replaces a small file the application keeps with new contents, so that the
// file at the path is always either the previous one, byte for byte, or the
// new one whole: the bytes go to a new file in the same folder, every write
// and the flush to the disk are checked, and only then does the new file take
// the name. A full volume or any other failure leaves the previous file as it
// was and removes the new one. A save that died on the way (a crash, a kill)
// may leave its new file beside the old, hidden under a name of its own; the
// next save removes those, but never one that a save still writing holds. A
// symbolic link at the path to a regular file is kept and its target
// replaced; any other link is replaced. Reentrant; errors are errno values.
#pragma once

#include <QByteArray>
#include <QString>

// 0 when the new contents stand at the path; else the errno of the step that failed.
int writeFileAtomically(const QString& path, const QByteArray& bytes);

// Writes every byte to the open file and flushes them to the disk; 0, or the
// errno of the first step that failed.
int writeAndSync(int fd, const QByteArray& bytes);
