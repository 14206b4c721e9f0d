// Paints the Name cell of the results table: the mark checkbox of a copy
// (dimmed where the copy cannot be marked), the folder symbol of a copy or
// lookalike, the name or folder text (a folder elided in the middle) and the
// badges. The other cells paint as the view's items do. Rows leave room for
// the checkbox within the focus frame. Main thread only.
#pragma once

#include <QStyledItemDelegate>

class ResultsRowDelegate final : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  // Where a copy's checkbox lies in its Name cell.
  static QRect checkboxRect(const QRect& cell);

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  // Rows as tall as a checkbox and the focus frame around it.
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  // Keys and clicks never change a check state here: the table decides.
  bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};
