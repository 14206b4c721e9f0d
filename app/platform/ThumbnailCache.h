// The desktop's shared thumbnail cache (freedesktop.org Thumbnail Managing
// Standard): thumbnails other programs made, found under
// $XDG_CACHE_HOME/thumbnails by the MD5 of the file's URI. Read only; a
// thumbnail counts only while it records the file's URI and modification
// time (and size, when it records one). Reentrant.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>
#include <optional>
#include <stop_token>

namespace ThumbnailCache {

// The file's URI as GLib writes it, which is what the cache is keyed by:
// every byte of the path but A–Z a–z 0–9 !$&'()*+,=:@/-._~ percent-escaped
// with upper-case hex digits.
QByteArray fileUri(const QString& path);

// A valid thumbnail of the file, the closest to 256 pixels first, shrunk to
// fit side × side pixels; none once asked to stop.
std::optional<QImage> thumbnail(const QString& path, std::int64_t modifiedSeconds, std::uint64_t size, int side,
                                std::stop_token stop = {});

}  // namespace ThumbnailCache
