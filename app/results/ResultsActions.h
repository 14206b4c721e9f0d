// The results commands the menu bar offers, as the results view publishes
// them: each present exactly when it can act, rebuilt at every change of the
// selection, the marks, the sets or a running move. An action captures what
// it acts on by identity (a set id and a path) and finds it again in the
// store when it is performed: an action built before the sets changed acts
// on the copy it was built for, or does nothing when that copy is gone.
// Main thread only.
#pragma once

#include <QSet>
#include <QString>
#include <functional>
#include <optional>

#include "results/ResultRows.h"
#include "results/ResultsFilter.h"
#include "shell/MenuAction.h"

class ScanStore;

struct ResultsActions {
  // Reads and writes a value of the view.
  template <class Value>
  struct Binding {
    std::function<Value()> get;
    std::function<void(Value)> set;
  };
  // The filter.
  using FilterBinding = Binding<ResultsFilter>;
  // The column and order the table is sorted by.
  using SortBinding = Binding<SortComparator>;

  std::optional<MenuAction> moveToTrash;
  std::optional<MenuAction> showInFinder;
  std::optional<MenuAction> quickLook;
  std::optional<MenuAction> keepThisCopy;
  std::optional<MenuAction> selectAllCopies;
  std::optional<MenuAction> selectOutsideFirstFolder;
  std::optional<MenuAction> deselectAll;
  std::optional<MenuAction> expandAll;
  std::optional<MenuAction> collapseAll;
  std::optional<MenuAction> focusFilter;
  std::optional<FilterBinding> filter;
  std::optional<SortBinding> sort;
  std::optional<MenuAction> toggleMark;
  // "Select Copy", "Select Copies", "Deselect Copy" or "Deselect Copies".
  std::optional<QString> toggleMarkTitle;
};

// What the actions change in the view that publishes them.
struct ResultsViewHooks {
  std::function<void()> confirmMove;
  std::function<void(const QString& path)> reveal;
  std::function<void(const QString& path)> quickLook;
  std::function<void()> focusFilter;
  ResultsActions::FilterBinding filter;
  ResultsActions::SortBinding sort;
};

// The record for the view's table selection (row ids) and whether a move runs.
ResultsActions buildResultsActions(ScanStore& scan, const ResultRows& rows, const QSet<QString>& selection,
                                   bool isMoving, const ResultsViewHooks& hooks);

// The copy of the set with this id at this path in the store's current sets.
std::optional<ResultRows::Member> findCopy(const ScanStore& scan, std::uint64_t setId, const QString& path);
// Keeps the copy at this path, when the store still has it.
void keepCopy(ScanStore& scan, std::uint64_t setId, const QString& path);
