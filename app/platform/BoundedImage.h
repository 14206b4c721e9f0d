// Decodes a picture from data nobody vouches for, scaled to fit a box:
// the picture's structure is screened before any decoder reads it (its
// embedded text within a small budget, a JPEG's scans counted), the size the
// picture declares is checked before anything is decoded, so that a small
// file declaring enormous dimensions allocates nothing, and Qt's own
// allocation limit stays in force behind those checks. A decode asked to stop
// gives up at its next read. Reentrant.
#pragma once

#include <QHash>
#include <QIODevice>
#include <QImage>
#include <QString>
#include <optional>
#include <stop_token>

// Pictures declaring more pixels than this are not decoded.
constexpr qint64 largestDecodedPixels = 100'000'000;

// The picture in its stored orientation, shrunk to fit the box (never
// enlarged); none when the data is no picture, is refused by the screening,
// declares no size or too large a one, fails to decode or was asked to stop.
// The picture holds no embedded text; what it had within the budget goes to
// `text` when asked for.
std::optional<QImage> readImageFitting(QIODevice& device, QSize box, std::stop_token stop = {},
                                       QHash<QString, QString>* text = nullptr);
