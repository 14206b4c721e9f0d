// The inspector column beside the results table: shows nothing, a set, a
// copy or a lookalike file, as the results view hands it the inspected item,
// and has its own model load the inspected file whenever that file changes.
// Main thread only.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "inspector/InspectedItem.h"

class FileDetails;
class FileMetadataProviding;
class InspectorModel;
class QStackedLayout;
class ScanStore;
class SetDetails;

class InspectorView final : public QWidget {
  Q_OBJECT

 public:
  using QuickLook = std::function<void(const FileEntry&)>;

  // Loads from the system's file metadata.
  InspectorView(ScanStore& scan, QuickLook quickLook, QWidget* parent = nullptr);
  InspectorView(ScanStore& scan, std::shared_ptr<const FileMetadataProviding> provider, QuickLook quickLook,
                QWidget* parent = nullptr);

  void setItem(const std::optional<InspectedItem>& item);
  const std::optional<InspectedItem>& item() const { return item_; }

  InspectorModel& model() { return *model_; }
  // Where the keyboard goes when the control holding it in the inspector
  // disables itself and nothing in the inspector follows it.
  void setFocusAfter(QWidget* widget);

 private:
  void showPane();

  ScanStore& scan_;
  InspectorModel* model_;
  std::optional<InspectedItem> item_;
  // The file last handed to the model, compared field by field.
  std::optional<FileEntry> inspectedFile_;
  QStackedLayout* panes_;
  QWidget* empty_;
  QWidget* filePane_;
  QWidget* setPane_;
  FileDetails* fileDetails_;
  SetDetails* setDetails_;
};
