#include "shell/EmptyStateView.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>

#include "folders/FolderStore.h"
#include "platform/MainThread.h"
#include "platform/UrlDrop.h"
#include "shell/QuelmarisMark.h"
#include "widgets/ContentUnavailableView.h"

namespace {

constexpr int markSide = 72;

QWidget* mark() {
  auto* view = new QuelmarisMark;
  view->setFixedSize(markSide, markSide);
  return view;
}

}  // namespace

EmptyStateView::EmptyStateView(FolderStore& folders, std::function<void()> chooseFolders, QWidget* parent)
    : QWidget(parent), folders_(folders), content_(new ContentUnavailableView(mark(), QString(), QString(), this)) {
  requireMainThread();
  setObjectName(QStringLiteral("emptyState"));
  setAcceptDrops(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(content_);

  QPushButton* add = content_->addButton(tr("Add Folder…"));
  add->setObjectName(QStringLiteral("emptyStateAddFolder"));
  setFocusProxy(add);
  connect(add, &QPushButton::clicked, this, [chooseFolders = std::move(chooseFolders)] { chooseFolders(); });
  connect(&folders_, &FolderStore::foldersChanged, this, &EmptyStateView::update);
  update();
}

bool EmptyStateView::ready() const { return !folders_.urls().isEmpty(); }

void EmptyStateView::update() {
  if (ready()) {
    content_->setTitle(tr("Ready to Scan"));
    content_->setDescription(
        tr("Click Scan to look for duplicates inside and across the folders in the sidebar. Scanning only reads "
           "files: nothing is moved until you confirm."));
  } else {
    content_->setTitle(tr("Drop Folders Here"));
    content_->setDescription(
        tr("Quelmaris finds copies of the same file and moves the extra ones to the Trash. Nothing about your files "
           "leaves this Mac."));
  }
}

void EmptyStateView::dragEnterEvent(QDragEnterEvent* event) { acceptUrlDrop(*event); }

void EmptyStateView::dragMoveEvent(QDragMoveEvent* event) { acceptUrlDrop(*event); }

void EmptyStateView::dropEvent(QDropEvent* event) {
  requireMainThread();
  if (acceptUrlDrop(*event)) folders_.add(event->mimeData()->urls());
}
