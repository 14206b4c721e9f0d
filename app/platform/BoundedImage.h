// Decodes a picture from data nobody vouches for, scaled to fit a box:
// the size the picture declares is checked before anything is decoded, so
// that a small file declaring enormous dimensions allocates nothing, and
// Qt's own allocation limit stays in force behind that check. Reentrant.
#pragma once

#include <QIODevice>
#include <QImage>
#include <optional>

// Pictures declaring more pixels than this are not decoded.
constexpr qint64 largestDecodedPixels = 100'000'000;

// The picture in its stored orientation, shrunk to fit the box (never
// enlarged); none when the data is no picture, declares no size or too large
// a one, or fails to decode.
std::optional<QImage> readImageFitting(QIODevice& device, QSize box);
