// What the preview window shows of a file, read off the main thread: a
// picture scaled to fit, the first part of a text file, or for anything else
// what its summary needs. A file is opened only when it is a regular file,
// never blockingly, and a picture is decoded only when it passes the bounded
// reader's checks. Reentrant.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>
#include <stop_token>

struct PreviewContent {
  enum class Kind : std::uint8_t { image, text, file };

  Kind kind = Kind::file;
  QImage image;
  // The text as shown: a NUL, which would end it for assistive technologies,
  // is shown as the symbol for null.
  QString text;
  // The summary of a file that is neither: its type by its name, and its size
  // when it is there.
  QString iconName;
  QString genericIconName;
  QString typeName;
  std::optional<std::uint64_t> size;
};

// A picture fits the box. A read asked to stop may give up early with the summary.
PreviewContent readPreviewContent(const QString& path, QSize imageBox, std::stop_token stop);

// The summary from the name alone, touching no file: shown while the rest is read.
PreviewContent namedPreviewContent(const QString& path);
