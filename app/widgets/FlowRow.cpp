#include "widgets/FlowRow.h"

#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <utility>

namespace {

struct Placed {
  QLayoutItem* item;
  QSize size;
};

struct Line {
  QList<Placed> items;
  int width = 0;
  int height = 0;
};

}  // namespace

FlowRow::FlowRow(QWidget* parent) : QLayout(parent) {}

FlowRow::~FlowRow() { qDeleteAll(items_); }

void FlowRow::addItem(QLayoutItem* item) { items_.append(item); }

QLayoutItem* FlowRow::takeAt(int index) {
  if (index < 0 || index >= items_.size()) return nullptr;
  QLayoutItem* item = items_.takeAt(index);
  invalidate();
  return item;
}

int FlowRow::arrange(const QRect& area, bool place) const {
  const int gap = spacing();
  const int room = std::max(0, area.width());
  QList<Line> lines;
  for (QLayoutItem* item : std::as_const(items_)) {
    if (item->isEmpty()) continue;
    const int width = std::min(item->sizeHint().width(), room);
    if (lines.isEmpty() || lines.last().width + gap + width > room) lines.append(Line{});
    Line& line = lines.last();
    const int height = item->hasHeightForWidth() ? item->heightForWidth(width) : item->sizeHint().height();
    line.width += (line.items.isEmpty() ? 0 : gap) + width;
    line.height = std::max(line.height, height);
    line.items.append(Placed{item, QSize(width, height)});
  }
  int top = area.top();
  for (const Line& line : std::as_const(lines)) {
    int left = area.left();
    bool pushed = false;
    for (const auto& [item, size] : line.items) {
      if (!pushed && item->alignment().testFlag(Qt::AlignRight)) {
        left += room - line.width;
        pushed = true;
      }
      const QRect rect(QPoint(left, top + (line.height - size.height()) / 2), size);
      if (place) item->setGeometry(QStyle::visualRect(parentWidget()->layoutDirection(), area, rect));
      left += size.width() + gap;
    }
    top += line.height + gap;
  }
  return lines.isEmpty() ? 0 : top - gap - area.top();
}

int FlowRow::heightForWidth(int width) const {
  const QMargins margins = contentsMargins();
  return arrange(QRect(0, 0, width - margins.left() - margins.right(), 0), false) + margins.top() + margins.bottom();
}

// All items on one line.
QSize FlowRow::sizeHint() const {
  QSize size(-spacing(), 0);
  for (const QLayoutItem* item : items_) {
    if (item->isEmpty()) continue;
    size = {size.width() + spacing() + item->sizeHint().width(), std::max(size.height(), item->sizeHint().height())};
  }
  return size.expandedTo(QSize(0, 0)).grownBy(contentsMargins());
}

// The widest item on a line of its own; the height comes from the width.
QSize FlowRow::minimumSize() const {
  QSize size;
  for (const QLayoutItem* item : items_)
    if (!item->isEmpty()) size = size.expandedTo(item->minimumSize());
  return size.expandedTo(QSize(0, 0)).grownBy(contentsMargins());
}

void FlowRow::setGeometry(const QRect& rect) {
  QLayout::setGeometry(rect);
  arrange(contentsRect(), true);
}
