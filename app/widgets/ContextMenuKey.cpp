#include "widgets/ContextMenuKey.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include "platform/MainThread.h"

namespace {

class ShiftF10 final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (key.key() != Qt::Key_F10 || (key.modifiers() & ~Qt::KeypadModifier) != Qt::ShiftModifier) return false;
    auto& widget = static_cast<QWidget&>(*watched);
    const QPoint position = widget.inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, position, widget.mapToGlobal(position), key.modifiers());
    QCoreApplication::sendEvent(&widget, &menu);
    return true;
  }
};

}  // namespace

void ContextMenuKey::install(QWidget& widget) {
  requireMainThread();
  widget.installEventFilter(new ShiftF10(&widget));
}
