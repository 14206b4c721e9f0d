// The mount point that holds a path as its text reads, found in the kernel's
// mount table without asking the file system anything, so that it answers at
// once for a path on a mount that stopped answering. The table is read again
// only after a mount came or went. Any thread; empty when no mount holds the
// path or the table cannot be read.
#pragma once

#include <QByteArray>
#include <string>

std::string mountPointHolding(const QByteArray& path);
