// Paints the not-read list: a section's heading, or an item as its full path
// on one line, cut in the middle when too long, above its reason in the
// callout style.
#pragma once

#include <QStyledItemDelegate>

class NotReadRowDelegate final : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
