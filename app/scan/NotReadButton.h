// The count of what a scan did not read, as a borderless button in the brand
// colour that opens the not-read sheet. Follows the store's skipped items and
// dropped folders as they change, during a scan too, and is hidden while the
// count is 0. Main thread only.
#pragma once

#include <QPointer>
#include <QPushButton>
#include <cstdint>

#include "scan/ScanStore.h"
#include "scan/SkippedListView.h"

class NotReadButton final : public QPushButton {
  Q_OBJECT

 public:
  explicit NotReadButton(ScanStore& scan, QWidget* parent = nullptr);

  // Every skipped item, and every dropped folder except those dropped for
  // lying inside or equalling another listed folder: those were scanned.
  static std::int64_t count(const QList<SkippedItem>& skipped, const QList<RootSkip>& rootSkips);

  // The sheet while it is shown (showsList), else null.
  SkippedListView* presentedList() const { return list_; }

 private:
  void refresh();
  void showList();

  ScanStore& scan_;
  QPointer<SkippedListView> list_;
};
