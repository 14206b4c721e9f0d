// The inspector's pane for a duplicate set: its name and number of copies,
// the size of one copy, what moving the extra copies would recover, the copy
// the set keeps (following the scan's selection at once), how the copies were
// proven equal, and the files that only look alike. Reads only. Main thread only.
#pragma once

#include <QWidget>
#include <optional>

#include "interface/InterfaceRecords.h"

class ContentRow;
class ElidedLabel;
class QLabel;
class ScanStore;
class SymbolLabel;

class SetDetails final : public QWidget {
  Q_OBJECT

 public:
  explicit SetDetails(ScanStore& scan, QWidget* parent = nullptr);

  void setSet(const DuplicateSet& set);

 private:
  void refreshKeptCopy();

  ScanStore& scan_;
  std::optional<DuplicateSet> set_;
  ElidedLabel* name_;
  QLabel* count_;
  QLabel* size_;
  QLabel* recoverable_;
  ElidedLabel* keptCopy_;
  ContentRow* content_;
  SymbolLabel* lookalikes_;
};
