#include "platform/AccessibleRole.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QFocusFrame>
#include <QLabel>
#include <QVariant>
#include <QWidget>

#include "platform/MainThread.h"

namespace {

constexpr char roleProperty[] = "quelmarisAccessibleRole";
constexpr char hiddenProperty[] = "quelmarisAccessibleHidden";

// Qt's own interface for a widget, with the given role, listing the children
// Qt lists (neither windows nor focus frames) except those hidden from
// assistive technology and those hidden on screen (the pages a stack does
// not show), which Qt would list at no size.
class RoleAccessible final : public QAccessibleWidget {
 public:
  RoleAccessible(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

  QString text(QAccessible::Text text) const override {
    const auto* label = qobject_cast<const QLabel*>(widget());
    if (text == QAccessible::Name && label != nullptr && label->accessibleName().isEmpty()) return label->text();
    if (text == QAccessible::Name && button() != nullptr && button()->accessibleName().isEmpty())
      return button()->text();
    return QAccessibleWidget::text(text);
  }
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.linked = role() == QAccessible::Link;
    return state;
  }
  QStringList actionNames() const override {
    QStringList names = QAccessibleWidget::actionNames();
    if (button() != nullptr && button()->isEnabled()) names.prepend(pressAction());
    return names;
  }
  void doAction(const QString& name) override {
    if (name == pressAction() && button() != nullptr && button()->isEnabled()) {
      button()->click();
      return;
    }
    QAccessibleWidget::doAction(name);
  }
  int childCount() const override { return static_cast<int>(children().size()); }
  QAccessibleInterface* child(int index) const override {
    const QList<QWidget*> shown = children();
    return index >= 0 && index < shown.size() ? QAccessible::queryAccessibleInterface(shown.at(index)) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    return child != nullptr ? static_cast<int>(children().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
  }

 private:
  QAbstractButton* button() const { return qobject_cast<QAbstractButton*>(widget()); }
  QList<QWidget*> children() const {
    QList<QWidget*> shown;
    for (QWidget* child : widget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (!child->isWindow() && !child->isHidden() && qobject_cast<QFocusFrame*>(child) == nullptr &&
          !child->property(hiddenProperty).toBool())
        shown.append(child);
    return shown;
  }
};

QAccessibleInterface* roleFactory(const QString&, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr) return nullptr;
  const QVariant role = widget->property(roleProperty);
  return role.isValid() ? new RoleAccessible(widget, static_cast<QAccessible::Role>(role.toInt())) : nullptr;
}

}  // namespace

void setAccessibleRole(QWidget& widget, QAccessible::Role role) {
  requireMainThread();
  static const bool installed = [] {
    QAccessible::installFactory(roleFactory);
    return true;
  }();
  (void)installed;
  widget.setProperty(roleProperty, static_cast<int>(role));
  forgetAccessibleInterface(widget);
}

void hideFromAccessibility(QWidget& widget) {
  requireMainThread();
  widget.setProperty(hiddenProperty, true);
  QWidget* parent = widget.parentWidget();
  Q_ASSERT(parent != nullptr);
  if (parent->property(roleProperty).isValid()) {
    forgetAccessibleInterface(*parent);
  } else if (QAccessibleInterface* current = QAccessible::queryAccessibleInterface(parent)) {
    setAccessibleRole(*parent, current->role());
  }
}

void forgetAccessibleInterface(QWidget& widget) {
  requireMainThread();
  // Widgets announce themselves while being built, which makes Qt's
  // interface for them before the widget's own factory could apply.
  if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(&widget))
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}
