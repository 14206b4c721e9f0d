// A path with the user's home folder written "~", for the folder sidebar's
// row subtitles only; every other place shows paths in full. The home folder
// is the user database's entry for the real user id, never $HOME.
#pragma once

#include <QString>
#include <optional>

QString abbreviatedPath(const QString& path);

// The same against a given home folder; none leaves every path unchanged.
QString abbreviatedPath(const QString& path, const std::optional<QString>& home);
