#include "widgets/KeyboardMenu.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMenu>

#include "platform/MainThread.h"

namespace {

// Set once the menu is on screen: an item made current before is not
// announced.
class FirstItemOnShow final : public QObject {
 public:
  explicit FirstItemOnShow(QMenu& menu) : QObject(&menu) { menu.installEventFilter(this); }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && QGuiApplication::mouseButtons() == Qt::NoButton) {
      auto* menu = static_cast<QMenu*>(watched);
      for (QAction* item : menu->actions()) {
        if (item->isSeparator() || !item->isVisible() || !item->isEnabled()) continue;
        menu->setActiveAction(item);
        break;
      }
    }
    return false;
  }
};

}  // namespace

namespace KeyboardMenu {

void startAtFirstItem(QMenu& menu) {
  requireMainThread();
  new FirstItemOnShow(menu);
}

}  // namespace KeyboardMenu
