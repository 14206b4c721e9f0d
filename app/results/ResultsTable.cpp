#include "results/ResultsTable.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QProxyStyle>

#include "platform/FocusFrame.h"
#include "platform/Palette.h"
#include "results/ResultsModel.h"
#include "results/ResultsRowDelegate.h"
#include "results/ResultsTableAccessible.h"
#include "widgets/ContextMenuKey.h"
#include "widgets/FocusStyle.h"

namespace {

constexpr int tintInset = 10;
constexpr qreal tintRadius = 10;
constexpr int nameMinimumWidth = 260;
constexpr int nameIdealWidth = 420;
constexpr int dateMinimumWidth = 120;
constexpr int dateIdealWidth = 140;
constexpr int dateMaximumWidth = 180;

bool isDateColumn(int section) {
  return section == ResultsModel::createdColumn || section == ResultsModel::modifiedColumn;
}

// The application's style without a focus frame of its own: the table draws
// the current row's, where the style would fill the row faintly.
class NoFocusFrameStyle final : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
    if (element != PE_FrameFocusRect) QProxyStyle::drawPrimitive(element, option, painter, widget);
  }
};

QStyle& noFocusFrameStyle() {
  static QStyle* style = [] {
    auto* made = new NoFocusFrameStyle(FocusStyle::createDesktopStyle());
    made->setParent(qApp);
    return made;
  }();
  return *style;
}

}  // namespace

ResultsTable::ResultsTable(QWidget* parent) : QTreeView(parent) {
  setObjectName(QStringLiteral("results"));
  setAccessibleName(tr("Results"));
  setUniformRowHeights(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setAllColumnsShowFocus(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setExpandsOnDoubleClick(true);
  setContextMenuPolicy(Qt::CustomContextMenu);
  ContextMenuKey::install(*this);
  setItemDelegate(new ResultsRowDelegate(this));
  setFrameShape(QFrame::NoFrame);
  setStyle(&noFocusFrameStyle());
}

void ResultsTable::setModel(QAbstractItemModel* model) {
  QTreeView::setModel(model);
  QHeaderView* columns = header();
  columns->setStretchLastSection(false);
  columns->setSectionsMovable(false);
  columns->setMinimumSectionSize(40);
  columns->setSectionResizeMode(ResultsModel::nameColumn, QHeaderView::Interactive);
  for (const auto& [column, width] :
       {std::pair{ResultsModel::copiesColumn, 60}, std::pair{ResultsModel::sizeColumn, 80},
        std::pair{ResultsModel::recoverableColumn, 100}}) {
    columns->setSectionResizeMode(column, QHeaderView::Fixed);
    columns->resizeSection(column, width);
  }
  for (const int column : {int(ResultsModel::createdColumn), int(ResultsModel::modifiedColumn)}) {
    columns->setSectionResizeMode(column, QHeaderView::Interactive);
    columns->resizeSection(column, dateIdealWidth);
  }
  columns->resizeSection(ResultsModel::nameColumn, nameIdealWidth);
  connect(columns, &QHeaderView::sectionResized, this, &ResultsTable::clampDateColumns, Qt::UniqueConnection);
  connect(model, &QAbstractItemModel::modelReset, this, &ResultsTable::makeFirstRowCurrent, Qt::UniqueConnection);
  fitNameColumn();
  ResultsTableAccessible::install(*this);
  // The indicator first: enabling sorting sorts by the indicator's column.
  columns->setSortIndicator(ResultsModel::recoverableColumn, Qt::DescendingOrder);
  setSortingEnabled(true);
}

void ResultsTable::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles) {
  if (topLeft.parent().isValid() && !isExpanded(topLeft.parent())) return;
  QTreeView::dataChanged(topLeft, bottomRight, roles);
  // The view repaints the changed cells, which leave out the indentation
  // where the tint begins: the rows are repainted across the whole width.
  const QRect first = visualRect(topLeft.siblingAtColumn(0));
  const QRect last = visualRect(bottomRight.siblingAtColumn(0));
  if (first.isValid() && last.isValid())
    viewport()->update(QRect(QPoint(0, first.top()), QPoint(viewport()->width() - 1, last.bottom())));
}

void ResultsTable::clampDateColumns(int section, int, int newSize) {
  if (!isDateColumn(section)) return;
  const int clamped = std::clamp(newSize, dateMinimumWidth, dateMaximumWidth);
  if (clamped != newSize) header()->resizeSection(section, clamped);
  fitNameColumn();
}

// The Name column takes the width the others leave, never less than its
// minimum: a narrow table scrolls sideways instead.
void ResultsTable::fitNameColumn() {
  if (model() == nullptr) return;
  int others = 0;
  for (int column = ResultsModel::copiesColumn; column < ResultsModel::columns; ++column)
    others += header()->sectionSize(column);
  const int width = std::max(nameMinimumWidth, viewport()->width() - others);
  if (header()->sectionSize(ResultsModel::nameColumn) != width)
    header()->resizeSection(ResultsModel::nameColumn, width);
}

// The view makes the first row current when none is. What assistive
// technology hears of a widget taking the focus (the widget alone, or
// nothing when its window comes back) follows this event: the row is told
// after it.
void ResultsTable::focusInEvent(QFocusEvent* event) {
  QTreeView::focusInEvent(event);
  QMetaObject::invokeMethod(
      this, [this] { ResultsTableAccessible::announceCurrent(*this); }, Qt::QueuedConnection);
}

// A reset (files moved to the Trash) leaves no row current under the
// keyboard, where the user would be nowhere: the first row becomes current,
// which the view tells assistive technology as it tells any move.
void ResultsTable::makeFirstRowCurrent() {
  if (!hasFocus() || currentIndex().isValid() || model()->rowCount() == 0) return;
  selectionModel()->setCurrentIndex(model()->index(0, 0), QItemSelectionModel::NoUpdate);
}

void ResultsTable::resizeEvent(QResizeEvent* event) {
  QTreeView::resizeEvent(event);
  fitNameColumn();
}

void ResultsTable::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const auto tint = index.data(ResultsModel::TintRole).value<QColor>();
  const bool selected = selectionModel()->isSelected(index);
  const QRect row(0, option.rect.top(), viewport()->width(), option.rect.height());
  if (tint.isValid() && !selected) {
    QPainterPath backdrop;
    backdrop.addRoundedRect(QRectF(row.adjusted(tintInset, 0, -tintInset, 0)), tintRadius, tintRadius);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->fillPath(backdrop, tint);
    painter->restore();
  }
  QTreeView::drawRow(painter, option, index);
  // Shown, as the style shows its own, once the keyboard has moved the focus;
  // the view's options never say that it has the focus.
  const bool keyboardFocus = hasFocus() && option.state.testFlag(QStyle::State_KeyboardFocusChange);
  if (keyboardFocus && currentIndex().siblingAtColumn(index.column()) == index) {
    QStyleOptionViewItem focused = option;
    focused.state.setFlag(QStyle::State_Selected, selected);
    // The frame crosses the base at the row's ends and the tint between them.
    const QColor base = option.palette.color(QPalette::Base);
    paintFocusFrame(*painter, row, focused, tint.isValid() ? QList{base, Palette::over(tint, base)} : QList{base});
  }
}

void ResultsTable::toggleMark(const QModelIndex& index) {
  if (index.data(ResultsModel::CanMarkRole).toBool()) emit markClicked(index);
}

bool ResultsTable::onCheckbox(const QPoint& position, QModelIndex* index) const {
  const QModelIndex hit = indexAt(position);
  if (!hit.isValid() || hit.column() != ResultsModel::nameColumn || hit.data(Qt::CheckStateRole).isNull()) return false;
  if (!ResultsRowDelegate::checkboxRect(visualRect(hit)).contains(position)) return false;
  *index = hit;
  return true;
}

void ResultsTable::mousePressEvent(QMouseEvent* event) {
  QModelIndex box;
  if (event->button() == Qt::LeftButton && onCheckbox(event->position().toPoint(), &box)) {
    toggleMark(box);
    event->accept();
    return;
  }
  QTreeView::mousePressEvent(event);
}

void ResultsTable::mouseDoubleClickEvent(QMouseEvent* event) {
  QModelIndex box;
  if (onCheckbox(event->position().toPoint(), &box)) {
    mousePressEvent(event);
    return;
  }
  QTreeView::mouseDoubleClickEvent(event);
}

// The keypad's Delete counts as bare.
void ResultsTable::keyPressEvent(QKeyEvent* event) {
  const bool bare = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
    emit spacePressed();
  } else if (event->key() == Qt::Key_Delete && bare) {
    emit deletePressed();
  } else {
    QTreeView::keyPressEvent(event);
    return;
  }
  event->accept();
}
