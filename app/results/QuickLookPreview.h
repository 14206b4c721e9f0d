// The preview window of the results: an image scaled to fit, the first part
// of a text file, or for anything else its icon, name, kind and size. A file
// is read only when it is a regular file, and an image is decoded only when
// its stated dimensions are of a sane size, so that a FIFO, a device or a
// decompression bomb never blocks or floods the main thread; the file is
// read off the main thread (FileSystemWork), so that one on a file system
// that stopped answering shows its name alone until it answers. Space and
// Escape close it; closing it in any way signals closed(). Main thread only.
#pragma once

#include <QWidget>
#include <cstdint>

#include "platform/Mailbox.h"

class QStackedLayout;
class QLabel;
class QPlainTextEdit;

class QuickLookPreview final : public QWidget {
  Q_OBJECT

 public:
  explicit QuickLookPreview(QWidget* parent = nullptr);

  // Shows the file, replacing the one shown.
  void showFile(const QString& path);
  const QString& path() const { return path_; }
  // What the window shows: "image", "text" or "file".
  QString shownKind() const;

 signals:
  void closed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  struct Contents;
  void present(const Contents& contents);

  QString path_;
  // The latest file asked for: the answers for earlier ones are not shown.
  std::uint64_t requests_ = 0;
  QStackedLayout* pages_;
  QLabel* image_;
  QPlainTextEdit* text_;
  QWidget* summary_;
  QLabel* summaryIcon_;
  QLabel* summaryName_;
  QLabel* summaryKind_;
  QLabel* summarySize_;
  // Declared last: closed first, before anything a late answer would touch.
  Mailbox mailbox_{this};
};
