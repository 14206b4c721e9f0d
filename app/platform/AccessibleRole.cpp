#include "platform/AccessibleRole.h"

#include <QAccessibleWidget>
#include <QVariant>
#include <QWidget>

#include "platform/MainThread.h"

namespace {

constexpr char roleProperty[] = "quelmarisAccessibleRole";

QAccessibleInterface* roleFactory(const QString&, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr) return nullptr;
  const QVariant role = widget->property(roleProperty);
  return role.isValid() ? new QAccessibleWidget(widget, static_cast<QAccessible::Role>(role.toInt())) : nullptr;
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

void forgetAccessibleInterface(QWidget& widget) {
  requireMainThread();
  // Widgets announce themselves while being built, which makes Qt's
  // interface for them before the widget's own factory could apply.
  if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(&widget))
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}
