// The sheet before a move to the Trash: how many files, how much space, the
// safeguards that hold and what deserves a warning, and the marked files
// (collapsed under "Files"). "Move to Trash" closes the sheet, then signals
// confirmed; "Cancel" and Escape only close it. Neither button is a default
// button and Cancel has the first focus: Return or Enter on Cancel cancels,
// and Return never moves anything.
// Window-modal over its parent; opens at once for any number of files.
// Main thread only; it changes nothing itself.
#pragma once

#include <QDialog>
#include <QList>

#include "interface/QuelmarisCore.h"
#include "scan/SelectionModel.h"

class QPushButton;

class TrashConfirmationSheet final : public QDialog {
  Q_OBJECT

 public:
  TrashConfirmationSheet(const SelectionModel::Totals& totals, const QList<FileEntry>& files,
                         QWidget* parent = nullptr);

 signals:
  // After the sheet has closed.
  void confirmed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QWidget* makeChecks(const SelectionModel::Totals& totals);
  QLayout* makeFiles(const QList<FileEntry>& files);
  QLayout* makeButtons();

  QPushButton* cancel_ = nullptr;
};
