#include "folders/FolderListView.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>

namespace {

bool isOutsideUrlDrag(const QDropEvent& event, const QObject* list) {
  return event.source() != list && event.mimeData()->hasUrls();
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

// Only the bare keys remove: Ctrl+Backspace belongs to "Move to Trash…", and
// must not remove folders (and with them the results) when that is disabled.
void FolderListView::keyPressEvent(QKeyEvent* event) {
  const bool bare = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (!bare || (event->key() != Qt::Key_Backspace && event->key() != Qt::Key_Delete)) {
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

void FolderListView::dragEnterEvent(QDragEnterEvent* event) {
  if (!isOutsideUrlDrag(*event, this)) {
    QListView::dragEnterEvent(event);
    return;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void FolderListView::dragMoveEvent(QDragMoveEvent* event) {
  if (!isOutsideUrlDrag(*event, this)) {
    QListView::dragMoveEvent(event);
    return;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

// Rows dragged inside the list go to the model, which reorders the store;
// the event is accepted as a copy so that the view removes no source rows.
void FolderListView::dropEvent(QDropEvent* event) {
  if (isOutsideUrlDrag(*event, this)) {
    emit urlsDropped(event->mimeData()->urls());
  } else if (event->source() == this) {
    model()->dropMimeData(event->mimeData(), Qt::MoveAction, dropRowAt(event->position().toPoint()), 0, {});
  } else {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
  stopAutoScroll();
  setState(NoState);
  viewport()->update();
}
