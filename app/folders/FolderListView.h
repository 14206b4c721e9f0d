// The list of the folder sidebar: as tall as its rows (scrolling when the
// sidebar is shorter), rows reordered by drag, or by Alt+Up and Alt+Down on
// the selected rows and by the actions "Move Up" and "Move Down" that each row
// offers assistive technology, and the Delete keys (Backspace and Delete
// without a modifier, pressed or repeating) asking for the removal of the
// selected rows; with nothing selected these keys pass on to the parent. A
// right click leaves the selection alone. URLs dragged in from outside are
// accepted as a copy and handed on as a signal. The current row shows the
// keyboard focus frame whenever the list holds the focus that no click gave
// it, from the moment it takes it (at launch, before any key is pressed).
#pragma once

#include <QListView>

class FolderListView final : public QListView {
  Q_OBJECT

 public:
  explicit FolderListView(QWidget* parent = nullptr);

  void setModel(QAbstractItemModel* model) override;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

  // The row before which rows dropped at the point would stand.
  int dropRowAt(const QPoint& point) const;
  // Moves the rows one place up (step -1) or down (step 1) as dropping them
  // there would: before the row above the first of them, or after the row
  // below the last, together and in their order.
  void shiftRows(QModelIndexList rows, int step);

 signals:
  void removeSelectionRequested();
  void urlsDropped(const QList<QUrl>& urls);

 protected:
  void initViewItemOption(QStyleOptionViewItem* option) const override;
  void focusInEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  int contentHeight() const;

  bool clicked_ = false;
};
