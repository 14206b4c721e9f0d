#include "widgets/FocusStyle.h"

#include <QApplication>
#include <QComboBox>
#include <QPainter>
#include <QPushButton>
#include <QStyleFactory>
#include <QStyleOption>

#include "platform/FocusFrame.h"
#include "platform/MainThread.h"
#include "platform/Palette.h"
#include "widgets/FocusRing.h"
#include "widgets/ListEditor.h"

namespace {

bool keyboardFocus(const QStyleOption& option) {
  return option.state.testFlag(QStyle::State_HasFocus) && option.state.testFlag(QStyle::State_KeyboardFocusChange);
}

// What a frame may cross: the surfaces, and the lines and bevels a control
// draws on them in the separator's strength.
QList<QColor> controlGrounds() {
  const QList<QColor> surfaces = Palette::surfaces();
  QList<QColor> grounds = surfaces;
  for (const QColor& surface : surfaces) grounds.append(Palette::over(Palette::separator(), surface));
  return grounds;
}

// Inside the control's outline, over its face; never in the colours of a
// selected row.
void paintControlFrame(QPainter& painter, const QRect& rect, const QStyleOption& option) {
  QStyleOption control = option;
  control.state.setFlag(QStyle::State_Selected, false);
  paintFocusFrame(painter, rect, control, controlGrounds());
}

// Draws the element as the base style does without the focus, whose own
// mark (a faint outline) would leave the frame on a line it barely differs
// from; false when the option is not of that kind.
template <class Kind>
bool drawnWithoutFocus(const QProxyStyle& style, QStyle::PrimitiveElement element, const QStyleOption& option,
                       QPainter& painter, const QWidget* widget) {
  const auto* typed = qstyleoption_cast<const Kind*>(&option);
  if (typed == nullptr) return false;
  Kind plain = *typed;
  plain.state.setFlag(QStyle::State_HasFocus, false);
  style.QProxyStyle::drawPrimitive(element, &plain, &painter, widget);
  return true;
}

// Push buttons and drop-downs show their focus on their face; a ring, where
// one is attached, shows it around the control.
bool focusShownElsewhere(const QWidget* widget) {
  if (widget == nullptr) return false;
  return FocusRing::isAttached(widget) || qobject_cast<const QPushButton*>(widget) != nullptr ||
         qobject_cast<const QComboBox*>(widget) != nullptr;
}

}  // namespace

void FocusStyle::install(QApplication& application) {
  requireMainThread();
  auto* style = new FocusStyle(QStyleFactory::create(QApplication::style()->name()));
  QApplication::setStyle(style);
  style->setParent(&application);
}

QStyle* FocusStyle::createDesktopStyle() {
  const auto* application = qobject_cast<const QProxyStyle*>(QApplication::style());
  return QStyleFactory::create(application != nullptr ? application->baseStyle()->name()
                                                      : QApplication::style()->name());
}

void FocusStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                               const QWidget* widget) const {
  switch (element) {
    case PE_FrameFocusRect:
      if (option->state.testFlag(State_KeyboardFocusChange) && !focusShownElsewhere(widget))
        paintFocusFrame(*painter, option->rect, *option, controlGrounds());
      return;
    case PE_Frame:
      QProxyStyle::drawPrimitive(element, option, painter, widget);
      if (qobject_cast<const ListEditor*>(widget) != nullptr && option->state.testFlag(State_HasFocus))
        paintControlFrame(*painter, option->rect, *option);
      return;
    case PE_PanelButtonCommand:
    case PE_FrameLineEdit: {
      // A text field shows its focus however it came, as the style does.
      const bool framed = element == PE_FrameLineEdit ? option->state.testFlag(State_HasFocus)
                                                      : keyboardFocus(*option) && !FocusRing::isAttached(widget);
      const bool plain = framed && (drawnWithoutFocus<QStyleOptionButton>(*this, element, *option, *painter, widget) ||
                                    drawnWithoutFocus<QStyleOptionFrame>(*this, element, *option, *painter, widget));
      if (!plain) QProxyStyle::drawPrimitive(element, option, painter, widget);
      if (framed) paintControlFrame(*painter, option->rect, *option);
      return;
    }
    default:
      QProxyStyle::drawPrimitive(element, option, painter, widget);
  }
}

int FocusStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
  // A list field's text and scroll bar leave its focus frame room, as a one-line field's text does.
  if (metric == PM_DefaultFrameWidth && qobject_cast<const ListEditor*>(widget) != nullptr) return focusFrameRoom;
  return QProxyStyle::pixelMetric(metric, option, widget);
}

void FocusStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                             const QWidget* widget) const {
  QProxyStyle::drawControl(element, option, painter, widget);
  // The menu bar holds the focus while the keyboard walks its titles; the
  // style marks the current title only while its menu is open.
  const bool walkedByKeyboard = element == CE_MenuBarItem && widget != nullptr && widget->hasFocus() &&
                                option->state.testFlag(State_Selected) && !option->state.testFlag(State_Sunken);
  if (walkedByKeyboard) paintControlFrame(*painter, option->rect, *option);
}
