#include "shell/OptionsButton.h"

#include <QAccessibleWidget>
#include <QFrame>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>

#include "platform/AccessibleRole.h"
#include "platform/Icons.h"
#include "platform/MainThread.h"
#include "shell/ScanOptionsPopover.h"
#include "widgets/TabStops.h"

namespace {

constexpr int popoverGap = 4;

// Under the button from its left edge, or ending at its right edge when that
// would pass the right of the bounds; never left of them.
QRect popoverGeometry(const QRect& button, const QSize& size, const QRect& bounds) {
  QRect placed(QPoint(button.left(), button.bottom() + popoverGap), size);
  if (placed.right() > bounds.right()) placed.moveRight(button.right());
  if (placed.left() < bounds.left()) placed.moveLeft(bounds.left());
  return placed;
}

// Qt's own interface for a tool button ignores the show-menu action of an
// instant popup and never lists the popup among its children.
class OptionsButtonAccessible final : public QAccessibleWidget {
 public:
  explicit OptionsButtonAccessible(OptionsButton* button) : QAccessibleWidget(button, QAccessible::ButtonMenu) {}

  QString text(QAccessible::Text text) const override {
    if (text == QAccessible::Name && widget()->accessibleName().isEmpty()) return button().text();
    return QAccessibleWidget::text(text);
  }
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.hasPopup = true;
    state.expandable = true;
    state.expanded = shown();
    state.collapsed = !shown();
    return state;
  }
  QStringList actionNames() const override {
    QStringList names = QAccessibleWidget::actionNames();
    if (widget()->isEnabled()) names = QStringList{showMenuAction(), pressAction()} + names;
    return names;
  }
  void doAction(const QString& action) override {
    if (action == showMenuAction() || action == pressAction()) {
      if (widget()->isEnabled()) button().showPopover();
    } else {
      QAccessibleWidget::doAction(action);
    }
  }
  int childCount() const override { return shown() ? 1 : 0; }
  QAccessibleInterface* child(int index) const override {
    return index == 0 && shown() ? QAccessible::queryAccessibleInterface(button().popover()) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    return child != nullptr && shown() && child->object() == button().popover() ? 0 : -1;
  }

 private:
  OptionsButton& button() const { return *static_cast<OptionsButton*>(widget()); }
  bool shown() const { return button().popover()->isVisible(); }
};

QAccessibleInterface* accessibleFactory(const QString&, QObject* object) {
  auto* button = qobject_cast<OptionsButton*>(object);
  return button != nullptr ? new OptionsButtonAccessible(button) : nullptr;
}

}  // namespace

OptionsButton::OptionsButton(ScanOptionsBinding& options, QWidget* parent)
    : QToolButton(parent), popover_(new QFrame(this, Qt::Popup)) {
  requireMainThread();
  static const bool installed = [] {
    QAccessible::installFactory(accessibleFactory);
    return true;
  }();
  (void)installed;
  setObjectName(QStringLiteral("optionsButton"));
  setText(tr("Options"));
  setIcon(Icons::symbol(QStringLiteral("slider.horizontal.3")));
  setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  setToolTip(tr("Matching criterion, content verification and which copy to keep"));
  setStyleSheet(QStringLiteral("QToolButton { padding: 4px 8px; }"));

  popover_->setObjectName(QStringLiteral("optionsPopover"));
  popover_->setAccessibleName(tr("Options"));
  popover_->setFrameShape(QFrame::StyledPanel);
  auto* layout = new QVBoxLayout(popover_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new ScanOptionsPopover(options));
  popover_->installEventFilter(this);
  connect(this, &QToolButton::clicked, this, &OptionsButton::showPopover);
  forgetAccessibleInterface(*this);
}

QWidget* OptionsButton::popover() const { return popover_; }

// A press on this button while the popover is open closes the popover; were
// that press replayed to the button, it would open the popover again.
bool OptionsButton::eventFilter(QObject* watched, QEvent* event) {
  if (watched == popover_ && event->type() == QEvent::MouseButtonPress) {
    const QPoint at = mapFromGlobal(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
    popover_->setAttribute(Qt::WA_NoMouseReplay, rect().contains(at));
  }
  return QToolButton::eventFilter(watched, event);
}

void OptionsButton::showPopover() {
  requireMainThread();
  if (popover_->isVisible()) return;
  QRect bounds = window()->geometry();
  if (const QScreen* screen = this->screen(); screen != nullptr && bounds.intersects(screen->availableGeometry()))
    bounds &= screen->availableGeometry();
  popover_->setGeometry(popoverGeometry(QRect(mapToGlobal(QPoint(0, 0)), size()), popover_->sizeHint(), bounds));
  popover_->show();
  // Keyboard users and screen readers land on the first control.
  if (QWidget* first = TabStops::nextWithin(*popover_, *popover_)) first->setFocus(Qt::PopupFocusReason);
}
