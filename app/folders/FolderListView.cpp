#include "folders/FolderListView.h"

#include <QDropEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <algorithm>
#include <memory>

#include "platform/AccessibleList.h"
#include "platform/UrlDrop.h"

namespace {

bool isOutsideUrlDrag(const QDropEvent& event, const QObject* list) {
  return event.source() != list && event.mimeData()->hasUrls();
}

// Only the bare keys: with a modifier they belong to other commands (Ctrl+Backspace
// is the results' "Move to Trash…"). The keypad's Delete counts as bare.
bool isDeleteKey(const QKeyEvent& event) {
  const bool bare = (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  return bare && (event.key() == Qt::Key_Backspace || event.key() == Qt::Key_Delete);
}

// The step of Alt+Up (-1) and Alt+Down (1); 0 for any other key.
int shiftStep(const QKeyEvent& event) {
  if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier) return 0;
  if (event.key() == Qt::Key_Up) return -1;
  return event.key() == Qt::Key_Down ? 1 : 0;
}

AccessibleList::RowAction shiftAction(const QString& name, const QString& title, int step) {
  return {name, title, QKeySequence(Qt::ALT | (step < 0 ? Qt::Key_Up : Qt::Key_Down)),
          [step](const QListView& view, int row) { return step < 0 ? row > 0 : row < view.model()->rowCount() - 1; },
          [step](QListView& view, int row) {
            static_cast<FolderListView&>(view).shiftRows({view.model()->index(row, 0)}, step);
          }};
}

}  // namespace

FolderListView::FolderListView(QWidget* parent) : QListView(parent) {
  AccessibleList::install(*this, {.actions = {shiftAction(QStringLiteral("Move Up"), tr("Move Up"), -1),
                                              shiftAction(QStringLiteral("Move Down"), tr("Move Down"), 1)}});
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::MoveAction);
  setDragDropOverwriteMode(false);
  setDropIndicatorShown(true);
  setUniformItemSizes(true);
  setFrameShape(QFrame::NoFrame);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void FolderListView::setModel(QAbstractItemModel* model) {
  QListView::setModel(model);
  const auto resize = [this] { updateGeometry(); };
  connect(model, &QAbstractItemModel::rowsInserted, this, resize);
  connect(model, &QAbstractItemModel::rowsRemoved, this, resize);
  connect(model, &QAbstractItemModel::modelReset, this, resize);
}

QSize FolderListView::sizeHint() const { return {QListView::sizeHint().width(), contentHeight()}; }

QSize FolderListView::minimumSizeHint() const {
  return {QListView::minimumSizeHint().width(), std::min(contentHeight(), 2 * frameWidth() + sizeHintForRow(0))};
}

int FolderListView::contentHeight() const {
  const int rows = model() != nullptr ? model()->rowCount() : 0;
  const int rowHeight = rows > 0 ? sizeHintForRow(0) : 0;
  return 2 * frameWidth() + rows * rowHeight + 2;
}

int FolderListView::dropRowAt(const QPoint& point) const {
  const QModelIndex index = indexAt(point);
  if (!index.isValid()) return model()->rowCount();
  return index.row() + (point.y() >= visualRect(index).center().y() ? 1 : 0);
}

void FolderListView::shiftRows(QModelIndexList rows, int step) {
  if (rows.isEmpty()) return;
  std::sort(rows.begin(), rows.end());
  const int first = rows.first().row(), last = rows.last().row(), count = model()->rowCount();
  // Rows together at the end they move towards stay as they are.
  if (last - first + 1 == rows.size() && (step < 0 ? first == 0 : last == count - 1)) return;
  const std::unique_ptr<QMimeData> dragged(model()->mimeData(rows));
  model()->dropMimeData(dragged.get(), Qt::MoveAction, step < 0 ? std::max(first - 1, 0) : std::min(last + 2, count), 0,
                        {});
}

// The style shows the focus only once a key has moved it in the window; the
// list, which the window gives the keyboard at launch, shows it at once.
void FolderListView::initViewItemOption(QStyleOptionViewItem* option) const {
  QListView::initViewItemOption(option);
  if (!clicked_) option->state |= QStyle::State_KeyboardFocusChange;
}

// Coming back with its window, the list shows its focus as it did before.
void FolderListView::focusInEvent(QFocusEvent* event) {
  if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
    clicked_ = event->reason() == Qt::MouseFocusReason;
  QListView::focusInEvent(event);
}

void FolderListView::keyPressEvent(QKeyEvent* event) {
  const int step = shiftStep(*event);
  if (step == 0 && !isDeleteKey(*event)) {
    QListView::keyPressEvent(event);
    return;
  }
  const QModelIndexList selected = selectionModel()->selectedRows();
  if (selected.isEmpty()) {
    event->ignore();
    return;
  }
  if (step != 0)
    shiftRows(selected, step);
  else
    emit removeSelectionRequested();
  event->accept();
}

// A right click opens the row menu, which acts on its row alone: it neither
// selects the row nor clears the selection.
void FolderListView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    event->accept();
    return;
  }
  QListView::mousePressEvent(event);
}

void FolderListView::dragEnterEvent(QDragEnterEvent* event) {
  if (isOutsideUrlDrag(*event, this)) {
    acceptUrlDrop(*event);
  } else {
    QListView::dragEnterEvent(event);
  }
}

void FolderListView::dragMoveEvent(QDragMoveEvent* event) {
  if (isOutsideUrlDrag(*event, this)) {
    acceptUrlDrop(*event);
  } else {
    QListView::dragMoveEvent(event);
  }
}

// Rows dragged inside the list go to the model, which reorders the store;
// the event is accepted as a copy so that the view removes no source rows.
// Files from outside are added, never taken from their source.
void FolderListView::dropEvent(QDropEvent* event) {
  if (isOutsideUrlDrag(*event, this)) {
    if (!acceptUrlDrop(*event)) return;
    emit urlsDropped(event->mimeData()->urls());
  } else if (event->source() == this) {
    model()->dropMimeData(event->mimeData(), Qt::MoveAction, dropRowAt(event->position().toPoint()), 0, {});
    event->setDropAction(Qt::CopyAction);
    event->accept();
  } else {
    event->ignore();
    return;
  }
  stopAutoScroll();
  setState(NoState);
  viewport()->update();
}
