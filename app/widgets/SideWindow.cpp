#include "widgets/SideWindow.h"

#include <QShortcut>
#include <QWidget>

#include "platform/AccessibleRole.h"
#include "platform/MainThread.h"

namespace SideWindow {

void setUp(QWidget& window, QAccessible::Role role) {
  requireMainThread();
  setAccessibleRole(window, role);
  auto* close = new QShortcut(&window);
  close->setKeys({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});
  QObject::connect(close, &QShortcut::activated, &window, &QWidget::close);
}

}  // namespace SideWindow
