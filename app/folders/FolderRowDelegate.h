// Paints one folder row: the folder icon (brand colour, or a question mark
// in the secondary style when unavailable or not responding), the name with the "Originals"
// tag, the abbreviated path cut in the middle, and the priority badge, whose
// help text tells how to reorder; elsewhere the row's tip is its full path.
// An unavailable row is dimmed. Keyboard focus shows as a frame.
#pragma once

#include <QStyledItemDelegate>

class FolderRowDelegate final : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override;

  // Where the badge of a row painted in the rectangle stands.
  static QRect badgeRect(const QStyleOptionViewItem& option, const QModelIndex& index);
  // "Priority 3: drag folders to reorder".
  static QString badgeHelp(int priority);
};
