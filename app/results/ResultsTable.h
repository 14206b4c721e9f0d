// The results table: a tree view of the results model with the six columns
// at their widths, the tint of a kept or marked copy painted behind its whole
// row (unless the row is selected), the current row's keyboard focus as the
// application's focus frame (FocusFrame) around the whole row, and the mark
// checkbox answered by the table itself: a click on an enabled checkbox, or
// the toggle of its accessible check box (ResultsTableAccessible), asks for
// the mark to flip without changing the selection; on a disabled one nothing
// happens. Space never edits an item: it asks for the preview; Delete asks
// for "Move to Trash…". Shift+F10 opens the current row's menu, as the Menu
// key does. Taking the keyboard, it tells assistive technology of its
// current row (the first when none is current), as moving onto a row does,
// not of the table alone; holding it, it keeps a row current when the rows
// are replaced. Main thread only.
#pragma once

#include <QTreeView>

class ResultsTable final : public QTreeView {
  Q_OBJECT

 public:
  explicit ResultsTable(QWidget* parent = nullptr);

  // Sets the model and lays the columns out at their widths, sorted by
  // Recoverable, largest first.
  void setModel(QAbstractItemModel* model) override;
  // Rows under a collapsed set are not on screen: nothing to repaint, and
  // finding them among the shown rows would cost a search of every row.
  void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                   const QList<int>& roles = QList<int>()) override;
  // Asks for the mark of the copy at index to flip, when it can be marked.
  void toggleMark(const QModelIndex& index);

 signals:
  void markClicked(const QModelIndex& index);
  void spacePressed();
  void deletePressed();

 protected:
  void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void makeFirstRowCurrent();
  bool onCheckbox(const QPoint& position, QModelIndex* index) const;
  void clampDateColumns(int section, int oldSize, int newSize);
  void fitNameColumn();
};
