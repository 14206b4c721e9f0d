// The tags a user gave a file on this desktop: the comma-separated extended
// attribute "user.xdg.tags" that file managers write. Anyone who can write
// the file can write it, so the names are shown as plain text. Reentrant.
#pragma once

#include <QString>
#include <QStringList>

// The tag names in their stored order, blanks around them trimmed and empty
// ones dropped; empty when the file has no tags or they cannot be read.
QStringList fileTags(const QString& path);
