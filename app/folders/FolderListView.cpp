#include "folders/FolderListView.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>

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

}  // namespace

FolderListView::FolderListView(QWidget* parent) : QListView(parent) {
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

void FolderListView::keyPressEvent(QKeyEvent* event) {
  if (!isDeleteKey(*event)) {
    QListView::keyPressEvent(event);
    return;
  }
  if (selectionModel()->selectedRows().isEmpty()) {
    event->ignore();
    return;
  }
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
