// The strip that reports a move to the Trash that went through cleanly: how
// many files moved and what they freed, with "Undo" and a close button. It
// only asks; the results view undoes and removes it. Main thread only.
#pragma once

#include <QWidget>

class QPushButton;

#include "trash/TrashService.h"

class MovedBanner final : public QWidget {
  Q_OBJECT

 public:
  explicit MovedBanner(const TrashService::Outcome& outcome, QWidget* parent = nullptr);

  // "Moved 2 files to the Trash, freeing about 1.2 MB."
  static QString text(const TrashService::Outcome& outcome);

  // Undo is enabled only while it is offered.
  void setUndoOffered(bool offered);

 signals:
  void undoRequested();
  void closeRequested();

 private:
  QPushButton* undo_;
};
