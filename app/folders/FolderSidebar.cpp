#include "folders/FolderSidebar.h"

#include <QDragEnterEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "folders/FolderChooser.h"
#include "folders/FolderListModel.h"
#include "folders/FolderListView.h"
#include "folders/FolderRowDelegate.h"
#include "platform/AccessKeys.h"
#include "platform/FileReveal.h"
#include "platform/Icons.h"
#include "platform/LastPathComponent.h"
#include "platform/Palette.h"
#include "platform/TextStyles.h"
#include "platform/UrlDrop.h"
#include "widgets/ContextMenuKey.h"
#include "widgets/FocusRing.h"
#include "widgets/KeyboardReturn.h"

namespace {

QLabel* sectionHeading(const QString& text, const QFont& base) {
  auto* heading = new QLabel(text);
  heading->setFont(TextStyles::font(TextStyle::caption, base, QFont::DemiBold));
  Palette::setTextColor(*heading, Palette::secondaryText());
  heading->setContentsMargins(10, 10, 10, 2);
  return heading;
}

// Runs the dialog; once it has gone, the window it was opened over takes the
// keyboard back, which the desktop may not give it as the widgets expect.
bool runModally(FolderChooser& panel) {
  const bool accepted = panel.exec() == QDialog::Accepted;
  if (QWidget* opener = panel.parentWidget(); opener != nullptr) KeyboardReturn::toOpener(*opener->window());
  return accepted;
}

}  // namespace

FolderSidebar::FolderSidebar(FolderStore& folders, KeepChoice keep, QWidget* parent)
    : QWidget(parent),
      folders_(folders),
      model_(new FolderListModel(folders, keep, this)),
      list_(new FolderListView),
      add_(new QPushButton(Icons::symbol(QStringLiteral("plus")), tr("Add Folder\u2026"))) {
  setAcceptDrops(true);
  list_->setModel(model_);
  list_->setItemDelegate(new FolderRowDelegate(list_));
  list_->setContextMenuPolicy(Qt::CustomContextMenu);
  ContextMenuKey::install(*list_);
  list_->setAccessibleName(tr("Folders"));
  // The rows sit on the column's own ground, whatever the window makes it.
  list_->viewport()->setAutoFillBackground(false);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 8);
  layout->setSpacing(2);
  layout->addWidget(sectionHeading(tr("Folders"), font()));
  layout->addWidget(list_);
  // Room on the left for the button's focus ring.
  auto* addRow = new QHBoxLayout;
  addRow->setContentsMargins(FocusRing::margin, 0, 0, 0);
  addRow->addWidget(add_);
  addRow->addStretch();
  layout->addLayout(addRow);
  add_->setFlat(true);
  add_->setCursor(Qt::PointingHandCursor);
  // A flat button shows no focus of its own.
  FocusRing::attach(*add_, 6);
  layout->addStretch();

  connect(add_, &QPushButton::clicked, this, [this] { chooseFolders(folders_, this); });
  connect(list_, &FolderListView::removeSelectionRequested, this, &FolderSidebar::removeSelection);
  connect(list_, &FolderListView::urlsDropped, &folders_, &FolderStore::add);
  connect(list_, &QListView::customContextMenuRequested, this, &FolderSidebar::showRowMenu);
  connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    const bool hasSelection = !selection().isEmpty();
    if (hasSelection == hadSelection_) return;
    hadSelection_ = hasSelection;
    emit removeFoldersChanged();
  });
}

bool FolderSidebar::event(QEvent* event) {
  const bool handled = QWidget::event(event);
  if ((event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent) && hadSelection_)
    emit removeFoldersChanged();
  return handled;
}

void FolderSidebar::setKeep(KeepChoice keep) { model_->setKeep(keep); }

// Qt's own dialog waits on the main thread for a folder in view whose mount
// stopped answering, as it goes and for every path typed: ours never does.
std::unique_ptr<FolderChooser> FolderSidebar::makeOpenPanel(bool allowsMultipleSelection, QWidget* parent) {
  auto dialog = std::make_unique<FolderChooser>(allowsMultipleSelection, tr("Add"), parent);
  // The reconnect panel puts its message in the title's place.
  dialog->setWindowTitle(tr("Add Folder\u2026"));
  return dialog;
}

void FolderSidebar::chooseFolders(FolderStore& folders, QWidget* parent) {
  const auto panel = makeOpenPanel(true, parent);
  if (runModally(*panel)) folders.add(panel->chosenUrls());
}

QString FolderSidebar::reconnectMessage(const QString& path) {
  return tr("Choose the new location of \u201C%1\u201D.").arg(lastPathComponent(path));
}

std::optional<MenuAction> FolderSidebar::removeFolders() {
  // A column hidden on purpose offers nothing: the menu must not remove
  // folders the user cannot see. (One not shown yet is not hidden on purpose.)
  const bool hiddenOnPurpose = testAttribute(Qt::WA_WState_ExplicitShowHide) && isHidden();
  if (hiddenOnPurpose || selection().isEmpty()) return std::nullopt;
  // The menu bar may hold the action past the sidebar's life.
  return MenuAction{[sidebar = QPointer<FolderSidebar>(this)] {
    if (sidebar) sidebar->removeSelection();
  }};
}

QSet<QUuid> FolderSidebar::selection() const {
  QSet<QUuid> ids;
  for (const QModelIndex& index : list_->selectionModel()->selectedRows())
    ids.insert(index.data(FolderListModel::IdRole).toUuid());
  return ids;
}

// Nothing stays selected, so that a held Delete removes the selection once
// and then passes on; the folder that followed the first removed one becomes
// the current row, so that the arrow keys go on from there.
void FolderSidebar::removeSelection() {
  const QModelIndexList rows = list_->selectionModel()->selectedRows();
  if (rows.isEmpty()) return;
  const int first = std::min_element(rows.begin(), rows.end())->row();
  folders_.remove(selection());
  list_->selectionModel()->clearSelection();
  if (const int count = model_->rowCount(); count > 0)
    list_->selectionModel()->setCurrentIndex(model_->index(std::min(first, count - 1)), QItemSelectionModel::NoUpdate);
}

std::unique_ptr<QMenu> FolderSidebar::makeRowMenu(int row) {
  const WatchedFolder folder = model_->folder(row);
  auto menu = std::make_unique<QMenu>(this);
  AccessKeys::give(*menu);
  if (!folder.isAvailable()) menu->addAction(tr("Reconnect\u2026"), this, [this, folder] { reconnect(folder); });
  QAction* reveal = menu->addAction(FileReveal::title(), this, [path = folder.path] { FileReveal::reveal(path); });
  reveal->setEnabled(folder.isAvailable());
  menu->addSeparator();
  menu->addAction(tr("Remove from List"), this, [this, id = folder.id] { folders_.remove({id}); });
  return menu;
}

void FolderSidebar::showRowMenu(const QPoint& position) {
  const QModelIndex index = list_->indexAt(position);
  if (!index.isValid()) return;
  makeRowMenu(index.row())->exec(list_->viewport()->mapToGlobal(position));
}

void FolderSidebar::reconnect(const WatchedFolder& folder) {
  const auto panel = makeOpenPanel(false, this);
  panel->setWindowTitle(reconnectMessage(folder.path));
  if (!runModally(*panel)) return;
  const QList<QUrl> chosen = panel->chosenUrls();
  if (!chosen.isEmpty()) folders_.reconnect(folder, chosen.first());
}

void FolderSidebar::dragEnterEvent(QDragEnterEvent* event) { acceptUrlDrop(*event); }

void FolderSidebar::dragMoveEvent(QDragMoveEvent* event) { acceptUrlDrop(*event); }

void FolderSidebar::dropEvent(QDropEvent* event) {
  if (acceptUrlDrop(*event)) folders_.add(event->mimeData()->urls());
}
