// The main window's toolbar: the Options button with its popover of scan
// options, a fixed gap, and the Scan button, which turns into Stop while a
// scan runs and is disabled while files move to the Trash; after it, the
// items the detail area shows while it lives (the results' filter field and
// inspector toggle). The buttons carry no shortcuts; Ctrl+R and Ctrl+. belong
// to the "Scan" menu. Main thread only.
#pragma once

#include <QToolBar>

class FolderStore;
class QPushButton;
class OptionsButton;
class ScanOptionsBinding;
class ScanStore;
class TrashService;

class MainToolBar final : public QToolBar {
  Q_OBJECT

 public:
  MainToolBar(FolderStore& folders, ScanStore& scan, const TrashService& trash, ScanOptionsBinding& options,
              QWidget* parent = nullptr);

  // Replaces the detail area's items with these (owned from now on), or
  // removes them for none.
  void setDetailItems(QWidget* items);
  // Whether the widget is one of the detail area's items or inside one.
  bool detailItemsContain(const QWidget* widget) const;

  // The Scan button, which reads Stop while a scan runs.
  QPushButton* scanButton() const { return scanButton_; }

  // Whether the options popover is open.
  bool showsOptions() const;

 private:
  QPushButton* makeScanButton();
  void updateScanButton();
  void scanButtonClicked();

  FolderStore& folders_;
  ScanStore& scan_;
  const TrashService& trash_;
  ScanOptionsBinding& options_;
  OptionsButton* optionsButton_;
  QPushButton* scanButton_ = nullptr;
  QAction* detailItems_ = nullptr;
  bool showsOptions_ = false;
};
