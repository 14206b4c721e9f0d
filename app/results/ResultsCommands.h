// The menu bar's results commands and the sidebar's "Remove from List":
// one QAction each, enabled exactly while the shown results view (or the
// sidebar) publishes its action, titled and checked from the latest record,
// and performing the action the record held when it was triggered. Without
// a results view every results command is disabled, the mark toggle reads
// "Select Copy" and the "Show" options are hidden. The "Sort By" options
// check the table's sort column and order, and choosing one sorts the table
// as a click on its header does. The menus place these actions (FileMenu,
// EditMenu, ViewMenu). Main thread only.
#pragma once

#include <QKeySequence>
#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

#include "results/ResultsActions.h"

class FolderSidebar;
class QAction;
class QActionGroup;
class ResultsView;

class ResultsCommands final : public QObject {
  Q_OBJECT

 public:
  explicit ResultsCommands(QObject* parent = nullptr);

  // The results view shown in the window, or none.
  void setResultsView(ResultsView* view);
  void setSidebar(FolderSidebar* sidebar);

  QAction* showInFinder() const { return showInFinder_; }
  QAction* quickLook() const { return quickLook_; }
  QAction* moveToTrash() const { return moveToTrash_; }
  QAction* removeFromList() const { return removeFromList_; }
  QAction* toggleMark() const { return toggleMark_; }
  QAction* keepThisCopy() const { return keepThisCopy_; }
  QAction* selectAllCopies() const { return selectAllCopies_; }
  QAction* selectOutsideFirstFolder() const { return selectOutsideFirstFolder_; }
  QAction* deselectAll() const { return deselectAll_; }
  QAction* filter() const { return filter_; }
  QAction* showDuplicates() const { return showDuplicates_; }
  QAction* showLookalikes() const { return showLookalikes_; }
  QAction* expandAll() const { return expandAll_; }
  QAction* collapseAll() const { return collapseAll_; }
  // "Show Inspector" or "Hide Inspector", as the shown results view has it.
  QAction* toggleInspector() const { return toggleInspector_; }
  // "Sort By": one option per column, in column order, then the two orders.
  const QList<QAction*>& sortColumns() const { return sortColumns_; }
  QAction* sortAscending() const { return sortAscending_; }
  QAction* sortDescending() const { return sortDescending_; }

 private:
  using Field = std::optional<MenuAction> ResultsActions::*;

  QAction* make(const QString& title, const char* name, Field field, const QKeySequence& shortcut = {});
  QAction* makeFilterOption(ResultsFilter option, const char* name);
  void makeSortOptions();
  // An exclusive option of group that sorts by what choose makes of the current sort.
  QAction* makeSortOption(const QString& title, const char* name, QActionGroup* group,
                          std::function<SortComparator(SortComparator)> choose);
  void refresh();
  void refreshRemoveFromList();

  QPointer<ResultsView> view_;
  QPointer<FolderSidebar> sidebar_;
  std::optional<ResultsActions> record_;
  QList<std::pair<QAction*, Field>> fields_;
  QActionGroup* filterGroup_;
  QAction* showInFinder_;
  QAction* quickLook_;
  QAction* moveToTrash_;
  QAction* removeFromList_;
  QAction* toggleMark_;
  QAction* keepThisCopy_;
  QAction* selectAllCopies_;
  QAction* selectOutsideFirstFolder_;
  QAction* deselectAll_;
  QAction* filter_;
  QAction* showDuplicates_;
  QAction* showLookalikes_;
  QAction* expandAll_;
  QAction* collapseAll_;
  QAction* toggleInspector_;
  QList<QAction*> sortColumns_;
  QAction* sortAscending_;
  QAction* sortDescending_;
};
