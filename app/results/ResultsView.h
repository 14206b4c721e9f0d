// The detail area once a scan has finished: a banner slot, the summary bar,
// the results table and a bottom bar with the "Select" menu, the totals of
// the marking and "Move to Trash…", beside the inspector column. While it
// lives it hands the toolbar a filter field and the inspector toggle, keeps
// the preview window and the scoped access the preview needs, and publishes
// the results actions for the menu bar (actionsChanged, then actions()).
// Keyboard focus given to the view goes to the table. Tab visits the view's
// controls as they stand: the banner, the summary row, the table, the bottom
// bar, the inspector column; Shift+Tab the same the other way round.
// The view's state (filter, query, sort order, selected row ids, preview)
// lasts as long as the view; expanded rows live in the scan store; the
// inspector column's visibility in the setting "showsInspector".
// Main thread only.
#pragma once

#include <QPointer>
#include <QSet>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <optional>

#include "results/ResultsActions.h"
#include "results/ResultsFilter.h"

class InspectorView;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class QToolButton;
class QUndoStack;
class QuickLookPreview;
class ResultRows;
class ResultsMove;
class ResultsModel;
class ResultsTable;
class ScanStore;
class SummaryBar;
class TrashService;
struct FileEntry;

class ResultsView final : public QWidget {
  Q_OBJECT

 public:
  ResultsView(ScanStore& scan, TrashService& trash, QUndoStack* undoStack, QWidget* parent = nullptr);
  ~ResultsView() override;

  // The filter field and the inspector toggle, for the window's toolbar,
  // which owns them from then on; the first call only.
  QWidget* takeToolbarItems();
  // The place above the summary bar where the banners of a move go.
  QWidget* bannerSlot() const { return bannerSlot_; }

  // The record the menu bar reads, built from the current state.
  ResultsActions actions();

  ResultsFilter filter() const;
  void setFilter(ResultsFilter filter);
  // The column and order the table is sorted by, as its header shows them.
  SortComparator sort() const;
  void setSort(SortComparator sort);
  const QSet<QString>& tableSelection() const { return tableSelection_; }
  bool showsInspector() const { return showsInspector_; }
  void setShowsInspector(bool shows);
  // The file the preview shows; absent while it is closed.
  const std::optional<QString>& previewPath() const { return previewPath_; }
  void setPreviewPath(const std::optional<QString>& path);
  // The roots whose scoped access the preview holds.
  const QList<QUrl>& previewAccess() const { return previewAccess_; }
  // A move to the Trash is running: "Move to Trash…" is not offered.
  bool isMoving() const { return isMoving_; }
  void setMoving(bool moving);
  // The move to the Trash from these results, with its sheets and banners;
  // it keeps isMoving.
  ResultsMove* move() const { return move_; }
  // How "Show in Finder" reveals a file; the desktop's file manager by default.
  void setReveal(std::function<void(const QString&)> reveal) { reveal_ = std::move(reveal); }

  ScanStore& scan() const { return scan_; }
  TrashService& trash() const { return trash_; }
  QUndoStack* undoStack() const { return undoStack_; }
  ResultsTable* table() const { return table_; }
  ResultsModel* model() const { return model_; }
  const ResultRows& rows() const { return *rows_; }
  InspectorView* inspector() const { return inspector_; }
  QuickLookPreview* preview() const { return preview_; }
  SummaryBar* summaryBar() const { return summary_; }

 protected:
  void changeEvent(QEvent* event) override;

 signals:
  // Something the actions depend on changed: read actions() again.
  void actionsChanged();
  // "Move to Trash…" was chosen, from the button or the menu.
  void moveToTrashRequested();
  void filterChanged(ResultsFilter filter);

 private:
  QWidget* makeBottomBar();
  QWidget* makeToolbarItems();
  void installMove();
  void orderTabStops();
  void selectionChangedByUser();
  void restoreAfterReset();
  void applyExpandedRows();
  void rowExpanded(const QModelIndex& index, bool expanded);
  void changed();
  void updateTotals();
  void markClicked(const QModelIndex& index);
  void spacePressed();
  void deletePressed();
  void showContextMenu(const QPoint& position);
  void previewClosed();
  void updatePreviewAccess(bool open);
  bool filterFocused() const;
  void focusFilter();

  ScanStore& scan_;
  TrashService& trash_;
  QUndoStack* undoStack_;
  ResultRows* rows_;
  ResultsModel* model_;
  ResultsTable* table_;
  SummaryBar* summary_;
  QWidget* bannerSlot_;
  ResultsMove* move_ = nullptr;
  QSplitter* split_;
  InspectorView* inspector_;
  QuickLookPreview* preview_ = nullptr;
  QLabel* totals_ = nullptr;
  QPushButton* moveButton_ = nullptr;
  QWidget* toolbarItems_ = nullptr;
  QPointer<QLineEdit> filterField_;
  QPointer<QToolButton> inspectorToggle_;
  QSet<QString> tableSelection_;
  std::optional<QString> previewPath_;
  QList<QUrl> previewAccess_;
  bool showsInspector_ = true;
  bool isMoving_ = false;
  // Set while the view itself moves the table's selection or expansion.
  bool restoring_ = false;
  // Set while the view writes its own expansion to the store.
  bool echoing_ = false;
  std::function<void(const QString&)> reveal_;
};
