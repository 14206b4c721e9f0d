// The preview window of the results: an image scaled to fit, the first part
// of a text file, or for anything else its icon, name, kind and size. The
// file is read off the main thread (see PreviewContent), with the summary its
// name gives shown meanwhile, so that a FIFO, a device, a decompression bomb
// or a mount that stopped answering never blocks or floods the main thread.
// Space and Escape close it; closing it in any way signals closed(). Main
// thread only.
#pragma once

#include <QWidget>
#include <stop_token>

#include "platform/Mailbox.h"
#include "platform/YieldingPool.h"

class QStackedLayout;
class QLabel;
class QPlainTextEdit;
struct PreviewContent;

class QuickLookPreview final : public QWidget {
  Q_OBJECT

 public:
  explicit QuickLookPreview(QWidget* parent = nullptr);
  ~QuickLookPreview() override;

  // Shows the file, replacing the one shown: returns at once, the file's
  // content follows once it has been read.
  void showFile(const QString& path);
  const QString& path() const { return path_; }
  // What the window shows: "image", "text" or "file", or "loading" while the
  // file is being read.
  QString shownKind() const;

 signals:
  void closed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void read(const QString& path);
  void showContent(const PreviewContent& content);
  void stopReading();

  QString path_;
  std::stop_source reading_;
  std::shared_ptr<YieldingPool::Ticket> readTicket_;
  bool loading_ = false;
  QStackedLayout* pages_;
  QLabel* image_;
  QPlainTextEdit* text_;
  QWidget* summary_;
  QLabel* summaryIcon_;
  QLabel* summaryName_;
  QLabel* summaryKind_;
  QLabel* summarySize_;
  // Last, so that it closes first: a read ending late never reaches a
  // preview that is going.
  Mailbox mailbox_{this};
};
