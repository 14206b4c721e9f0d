// A ring drawn around a control while it holds the keyboard focus, outside
// the control's own area so that its unfocused look stays as it is: for
// controls whose style sheet or flat look leaves focus hardly visible. An
// area that fills its parent (a scrolling pane) has it along the inside of
// its edges instead. The ring shows unless the focus came from a mouse
// click. A focus frame, so that assistive technology leaves it out as it
// does Qt's own. Main thread only.
#pragma once

#include <QFocusFrame>

class FocusRing final : public QFocusFrame {
  Q_OBJECT

 public:
  // The room the ring takes around its target, which the target's parent
  // must leave free for the ring to show whole.
  static constexpr int margin = 3;

  // The ring follows the target, which must have a parent, for its lifetime.
  static FocusRing* attach(QWidget& target, int cornerRadius);
  static FocusRing* attachInside(QWidget& target, int cornerRadius);
  // Whether a ring shows the widget's focus, so that its style need not.
  static bool isAttached(const QWidget* widget);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  FocusRing(QWidget& target, int cornerRadius, int reach);
  void follow();

  QWidget& target_;
  int cornerRadius_;
  int outset_;
};
