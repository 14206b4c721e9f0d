// The inspector column beside the results table: shows nothing, a set, a
// copy or a lookalike file, as the results view hands it the inspected item.
// Main thread only.
#pragma once

#include <functional>
#include <optional>

#include <QWidget>

#include "inspector/InspectedItem.h"

class ScanStore;
class QStackedLayout;

class InspectorView final : public QWidget {
  Q_OBJECT

 public:
  using QuickLook = std::function<void(const FileEntry&)>;

  InspectorView(ScanStore& scan, QuickLook quickLook, QWidget* parent = nullptr);

  void setItem(const std::optional<InspectedItem>& item);
  const std::optional<InspectedItem>& item() const { return item_; }

 private:
  ScanStore& scan_;
  QuickLook quickLook_;
  std::optional<InspectedItem> item_;
  QStackedLayout* panes_;
};
