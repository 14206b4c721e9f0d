#include "widgets/KeyboardReturn.h"

#include <xcb/xcb.h>

#include <QApplication>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdlib>
#include <memory>

namespace KeyboardReturn {

namespace {

enum class XFocus { opener, none, elsewhere, unknown };

// Where the X server has the keyboard, on X11; unknown on other platforms.
XFocus xFocus(const QWidget& opener) {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->connection() == nullptr) return XFocus::unknown;
  xcb_connection_t* connection = x11->connection();
  const std::unique_ptr<xcb_get_input_focus_reply_t, decltype(&std::free)> reply(
      xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr), &std::free);
  if (!reply) return XFocus::unknown;
  if (reply->focus == opener.winId()) return XFocus::opener;
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
  if (reply->focus == XCB_NONE || reply->focus == XCB_INPUT_FOCUS_POINTER_ROOT || reply->focus == root)
    return XFocus::none;
  return XFocus::elsewhere;
}

// One look; false where there is nothing to look at again (no X server).
bool look(QWidget& opener) {
  const XFocus focus = xFocus(opener);
  // The window that went may still count as active until its focus-out comes.
  if (const QWidget* active = QApplication::activeWindow(); active != nullptr && active->isVisible())
    return focus != XFocus::unknown;
  switch (focus) {
    case XFocus::opener:
      QApplication::setActiveWindow(&opener);
      return true;
    case XFocus::none:
      opener.activateWindow();
      return true;
    case XFocus::elsewhere:
      // Maybe the window that went, maybe another program the user chose:
      // the desktop has not decided yet, or decided for another program.
      return true;
    case XFocus::unknown:
      break;
  }
  if (QGuiApplication::focusWindow() != nullptr && QGuiApplication::focusWindow() == opener.windowHandle())
    QApplication::setActiveWindow(&opener);
  else
    opener.activateWindow();
  return false;
}

}  // namespace

void toOpener(QWidget& opener) {
  if (!look(opener)) return;
  // The desktop's answer, and the widgets' late handling of the focus the
  // window that went gave up, may come late on a busy machine: the widgets
  // can drop the activation after they took it. A second is long enough for
  // both, and too short for the user to have gone elsewhere.
  auto* looking = new QTimer(&opener);
  looking->setInterval(100);
  auto looks = std::make_shared<int>(0);
  QObject::connect(looking, &QTimer::timeout, &opener, [looking, looks, &opener] {
    if (!look(opener) || ++*looks >= 10) looking->deleteLater();
  });
  looking->start();
}

}  // namespace KeyboardReturn
