// A row that wraps: its items stand side by side at their preferred widths,
// each centred on its line, and an item that does not fit beside the ones
// before it starts a new line below them. An item aligned right
// (setAlignment(widget, Qt::AlignRight)) keeps to the trailing edge of its
// line, as after a flexible space. An item wider than a whole line gets the
// line's width and, when its height follows its width (a wrapping label),
// the height for that width. Follows the layout direction. Main thread only.
#pragma once

#include <QLayout>
#include <QList>

class FlowRow final : public QLayout {
  Q_OBJECT

 public:
  explicit FlowRow(QWidget* parent = nullptr);
  ~FlowRow() override;

  void addItem(QLayoutItem* item) override;
  int count() const override { return static_cast<int>(items_.size()); }
  QLayoutItem* itemAt(int index) const override { return items_.value(index); }
  QLayoutItem* takeAt(int index) override;

  Qt::Orientations expandingDirections() const override { return Qt::Horizontal; }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;
  QSize sizeHint() const override;
  QSize minimumSize() const override;
  void setGeometry(const QRect& rect) override;

 private:
  // Lays the items out in the area and returns the height they take; moves
  // them only when place is set.
  int arrange(const QRect& area, bool place) const;

  QList<QLayoutItem*> items_;
};
