// A two-way binding to the user's scan options: get reads them where they
// live, set writes them there and tells every control bound to them, so that
// the "Scan" menu and the toolbar's popover show the same choice. Main thread
// only.
#pragma once

#include <QObject>
#include <functional>

#include "scan/ScanOptions.h"

class ScanOptionsBinding final : public QObject {
  Q_OBJECT

 public:
  using Get = std::function<ScanOptions()>;
  using Set = std::function<void(const ScanOptions&)>;

  ScanOptionsBinding(Get get, Set set, QObject* parent = nullptr);

  ScanOptions get() const;
  // Writes the options; changed follows when a read gives another value.
  void set(const ScanOptions& options);
  // Reads, lets the edit change the value, and writes it back.
  void edit(const std::function<void(ScanOptions&)>& change);

 signals:
  void changed();

 private:
  Get get_;
  Set set_;
};
