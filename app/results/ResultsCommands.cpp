#include "results/ResultsCommands.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>

#include "folders/FolderSidebar.h"
#include "platform/FileReveal.h"
#include "platform/MainThread.h"
#include "results/ResultsView.h"

ResultsCommands::ResultsCommands(QObject* parent)
    : QObject(parent),
      filterGroup_(new QActionGroup(this)),
      showInFinder_(make(FileReveal::title(), "showInFinderAction", &ResultsActions::showInFinder)),
      quickLook_(make(tr("Quick Look"), "quickLookAction", &ResultsActions::quickLook, Qt::CTRL | Qt::Key_Y)),
      moveToTrash_(
          make(tr("Move to Trash…"), "moveToTrashAction", &ResultsActions::moveToTrash, Qt::CTRL | Qt::Key_Backspace)),
      removeFromList_(new QAction(tr("Remove from List"), this)),
      toggleMark_(make(tr("Select Copy"), "toggleMarkAction", &ResultsActions::toggleMark, Qt::CTRL | Qt::Key_Return)),
      keepThisCopy_(make(tr("Keep This Copy"), "keepThisCopyAction", &ResultsActions::keepThisCopy)),
      selectAllCopies_(make(tr("Select All Copies"), "selectAllCopiesAction", &ResultsActions::selectAllCopies)),
      selectOutsideFirstFolder_(make(tr("Select Copies Outside Folder 1"), "selectOutsideFirstFolderAction",
                                     &ResultsActions::selectOutsideFirstFolder)),
      deselectAll_(make(tr("Deselect All"), "deselectAllAction", &ResultsActions::deselectAll)),
      filter_(make(tr("Filter…"), "filterAction", &ResultsActions::focusFilter, Qt::CTRL | Qt::Key_F)),
      showDuplicates_(makeFilterOption(ResultsFilter::duplicates, "showDuplicatesAction")),
      showLookalikes_(makeFilterOption(ResultsFilter::lookalikes, "showLookalikesAction")),
      expandAll_(make(tr("Expand All Groups"), "expandAllAction", &ResultsActions::expandAll)),
      collapseAll_(make(tr("Collapse All Groups"), "collapseAllAction", &ResultsActions::collapseAll)),
      toggleInspector_(new QAction(tr("Hide Inspector"), this)) {
  filterGroup_->setExclusive(true);
  makeSortOptions();
  removeFromList_->setObjectName(QStringLiteral("removeFromListAction"));
  connect(removeFromList_, &QAction::triggered, this, [this] {
    requireMainThread();
    if (sidebar_ == nullptr) return;
    if (const auto remove = sidebar_->removeFolders()) remove->perform();
  });
  // The desktop's usual key for a side panel, in place of the other platform's.
  toggleInspector_->setObjectName(QStringLiteral("toggleInspectorAction"));
  toggleInspector_->setShortcut(Qt::CTRL | Qt::ALT | Qt::Key_I);
  connect(toggleInspector_, &QAction::triggered, this, [this] {
    requireMainThread();
    if (view_ != nullptr) view_->setShowsInspector(!view_->showsInspector());
  });
  refresh();
  refreshRemoveFromList();
}

// The action is copied before it runs: performing it may rebuild the record.
QAction* ResultsCommands::make(const QString& title, const char* name, Field field, const QKeySequence& shortcut) {
  auto* action = new QAction(title, this);
  action->setObjectName(QLatin1String(name));
  action->setShortcut(shortcut);
  connect(action, &QAction::triggered, this, [this, field] {
    requireMainThread();
    if (!record_ || !((*record_).*field)) return;
    const MenuAction perform = *((*record_).*field);
    perform.perform();
  });
  fields_.append({action, field});
  return action;
}

QAction* ResultsCommands::makeFilterOption(ResultsFilter option, const char* name) {
  auto* action = new QAction(title(option), this);
  action->setObjectName(QLatin1String(name));
  action->setCheckable(true);
  filterGroup_->addAction(action);
  connect(action, &QAction::triggered, this, [this, option] {
    requireMainThread();
    if (record_ && record_->filter) record_->filter->set(option);
  });
  return action;
}

// A column keeps the order chosen, an order keeps the column.
void ResultsCommands::makeSortOptions() {
  auto* sortColumns = new QActionGroup(this);
  const std::pair<QString, const char*> columns[] = {
      {tr("&Name"), "sortByNameAction"},       {tr("&Copies"), "sortByCopiesAction"},
      {tr("&Size"), "sortBySizeAction"},       {tr("&Recoverable"), "sortByRecoverableAction"},
      {tr("Cr&eated"), "sortByCreatedAction"}, {tr("&Modified"), "sortByModifiedAction"}};
  for (std::size_t column = 0; column < std::size(columns); ++column)
    sortColumns_.append(makeSortOption(columns[column].first, columns[column].second, sortColumns,
                                       [key = SortKey(column)](SortComparator sort) {
                                         sort.key = key;
                                         return sort;
                                       }));
  auto* sortOrders = new QActionGroup(this);
  const auto inOrder = [](Qt::SortOrder order) {
    return [order](SortComparator sort) {
      sort.order = order;
      return sort;
    };
  };
  sortAscending_ = makeSortOption(tr("&Ascending"), "sortAscendingAction", sortOrders, inOrder(Qt::AscendingOrder));
  sortDescending_ = makeSortOption(tr("&Descending"), "sortDescendingAction", sortOrders, inOrder(Qt::DescendingOrder));
}

QAction* ResultsCommands::makeSortOption(const QString& title, const char* name, QActionGroup* group,
                                         std::function<SortComparator(SortComparator)> choose) {
  auto* action = new QAction(title, this);
  action->setObjectName(QLatin1String(name));
  action->setCheckable(true);
  group->addAction(action);
  connect(action, &QAction::triggered, this, [this, choose = std::move(choose)] {
    requireMainThread();
    if (record_ && record_->sort) record_->sort->set(choose(record_->sort->get()));
  });
  return action;
}

void ResultsCommands::setResultsView(ResultsView* view) {
  if (view_ != nullptr) view_->disconnect(this);
  view_ = view;
  if (view_ != nullptr) connect(view_, &ResultsView::actionsChanged, this, &ResultsCommands::refresh);
  refresh();
}

void ResultsCommands::setSidebar(FolderSidebar* sidebar) {
  sidebar_ = sidebar;
  connect(sidebar, &FolderSidebar::removeFoldersChanged, this, &ResultsCommands::refreshRemoveFromList);
  refreshRemoveFromList();
}

void ResultsCommands::refresh() {
  record_ = view_ != nullptr ? std::optional(view_->actions()) : std::nullopt;
  for (const auto& [action, field] : std::as_const(fields_)) action->setEnabled(record_ && (*record_).*field);
  toggleMark_->setText(record_ && record_->toggleMarkTitle ? *record_->toggleMarkTitle : tr("Select Copy"));
  const bool offersFilter = record_ && record_->filter;
  const ResultsFilter current = offersFilter ? record_->filter->get() : ResultsFilter::duplicates;
  for (QAction* option : {showDuplicates_, showLookalikes_}) option->setVisible(offersFilter);
  showDuplicates_->setChecked(current == ResultsFilter::duplicates);
  showLookalikes_->setChecked(current == ResultsFilter::lookalikes);
  const bool offersSort = record_ && record_->sort;
  const SortComparator sort = offersSort ? record_->sort->get() : SortComparator{};
  for (qsizetype column = 0; column < sortColumns_.size(); ++column) {
    sortColumns_[column]->setEnabled(offersSort);
    sortColumns_[column]->setChecked(offersSort && sort.key == SortKey(column));
  }
  sortAscending_->setEnabled(offersSort);
  sortAscending_->setChecked(offersSort && sort.order == Qt::AscendingOrder);
  sortDescending_->setEnabled(offersSort);
  sortDescending_->setChecked(offersSort && sort.order == Qt::DescendingOrder);
  toggleInspector_->setEnabled(view_ != nullptr);
  toggleInspector_->setText(view_ == nullptr || view_->showsInspector() ? tr("Hide Inspector") : tr("Show Inspector"));
}

void ResultsCommands::refreshRemoveFromList() {
  removeFromList_->setEnabled(sidebar_ != nullptr && sidebar_->removeFolders().has_value());
}
