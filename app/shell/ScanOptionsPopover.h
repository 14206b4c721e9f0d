// The content of the toolbar's options popover: the scan-option controls as
// a grouped form, and a note that the other settings live in Settings. 340
// pixels wide, as tall as its content. Main thread only.
#pragma once

#include <QWidget>

class ScanOptionsBinding;

class ScanOptionsPopover final : public QWidget {
  Q_OBJECT

 public:
  explicit ScanOptionsPopover(ScanOptionsBinding& options, QWidget* parent = nullptr);
};
