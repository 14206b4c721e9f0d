// The toolbar's Options button and its popover: the scan-option form in a
// popup under the button, moved in to end at the button's right edge where it
// would pass the right edge of the window or the screen. The popover closes
// on a click outside it or on Escape; Escape in one of its open drop-downs
// closes that drop-down alone. Assistive technology finds the open popover as
// the button's child and opens it with the button's press or show-menu
// action. Main thread only.
#pragma once

#include <QToolButton>

class QFrame;
class ScanOptionsBinding;

class OptionsButton final : public QToolButton {
  Q_OBJECT

 public:
  explicit OptionsButton(ScanOptionsBinding& options, QWidget* parent = nullptr);

  QWidget* popover() const;
  void showPopover();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QFrame* popover_;
};
