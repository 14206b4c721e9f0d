// The strip above the results table once a scan has finished: how many
// duplicate groups it found, how many extra copies they hold and how much
// space moving them would recover (every set counts, whatever the table
// shows), the count of what was not read, and the "Show" picker that
// switches the table between duplicates and lookalikes. Hidden, taking no
// room, while the scan is not finished. Main thread only.
#pragma once

#include <QList>
#include <QWidget>

#include "results/ResultsFilter.h"
#include "scan/ScanStore.h"

class NotReadButton;
class QButtonGroup;
class TotalsLabel;

class SummaryBar final : public QWidget {
  Q_OBJECT

 public:
  explicit SummaryBar(ScanStore& scan, QWidget* parent = nullptr);

  // The two-way binding to the results view's filter: setFilter moves the
  // picker without signalling; a choice in the picker signals filterChanged.
  ResultsFilter filter() const { return filter_; }
  void setFilter(ResultsFilter filter);

  // "2 groups · 3 extra copies · about 1.2 MB recoverable".
  static QString totalsText(const QList<DuplicateSet>& sets);

  TotalsLabel* totalsLabel() const { return totals_; }
  NotReadButton* notReadButton() const { return notRead_; }
  QButtonGroup* picker() const { return picker_; }

 signals:
  void filterChanged(ResultsFilter filter);

 private:
  QWidget* makePicker();
  void refresh();

  ScanStore& scan_;
  ResultsFilter filter_ = ResultsFilter::duplicates;
  TotalsLabel* totals_;
  NotReadButton* notRead_;
  QButtonGroup* picker_ = nullptr;
};
