// What a screen reader hears. The application tells assistive technology
// anything only while a reader listens on the desktop's accessibility bus: a
// session of its own starts a private message bus, on which the desktop's
// accessibility bus starts when asked, and the application (on the desktop's
// own platform, xcb) joins it at start-up. FocusAnnouncements then takes the
// events in the reader's place.
#pragma once

#include <sys/stat.h>

#include <QAccessible>
#include <QCoreApplication>
#include <QFile>
#include <QList>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <utility>

#include "child_process.hpp"

namespace apptest {

class ScreenReaderSession {
 public:
  // Whether the message bus and the desktop's accessibility bus are installed.
  static bool available() {
    return !QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("dbus-send")).isEmpty() &&
           QFile::exists(QStringLiteral("/usr/share/dbus-1/services/org.a11y.Bus.service"));
  }

  // Before the application object: sets the variables it reads.
  ScreenReaderSession() {
    // The accessibility bus keeps its socket in the runtime folder: one of
    // its own, as tests run side by side.
    chmod(runtime_.path().toLocal8Bit().constData(), 0700);
    const std::string runtime = runtime_.path().toStdString();
    const std::string address = spawnReporting(bus_, {"dbus-daemon", "--session", "--nofork", "--print-address={fd}"},
                                               {{"XDG_RUNTIME_DIR", runtime}});
    if (address.empty()) throw std::runtime_error("the message bus gave no address");
    setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
    ChildProcess ask({"sh", "-c",
                      "dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus org.a11y.Bus.GetAddress "
                      ">/dev/null"});
    if (!ask.succeeded()) throw std::runtime_error("no accessibility bus");
    // As a reader switched on would.
    setenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1", 1);
  }

 private:
  QTemporaryDir runtime_;
  ChildProcess bus_;
};

// What assistive technology is told holds the keyboard, in order, while the
// recorder lives: the role and name of each focus event's element, read as
// the event is sent.
class FocusAnnouncements {
 public:
  FocusAnnouncements() {
    heard().clear();
    previous_ = QAccessible::installUpdateHandler(&record);
  }
  ~FocusAnnouncements() { QAccessible::installUpdateHandler(previous_); }
  FocusAnnouncements(const FocusAnnouncements&) = delete;
  FocusAnnouncements& operator=(const FocusAnnouncements&) = delete;

  // Whether the application tells assistive technology anything: it joins
  // the accessibility bus of a session shortly after it starts.
  static bool listened() {
    return QTest::qWaitFor([] { return QAccessible::isActive(); }, 120'000);
  }

  // The announcements since the last call, once the events waiting are handled.
  QList<std::pair<QAccessible::Role, QString>> take() {
    QCoreApplication::processEvents();
    return std::exchange(heard(), {});
  }

 private:
  static QList<std::pair<QAccessible::Role, QString>>& heard() {
    static QList<std::pair<QAccessible::Role, QString>> announced;
    return announced;
  }
  static void record(QAccessibleEvent* event) {
    if (event->type() != QAccessible::Focus) return;
    if (QAccessibleInterface* element = event->accessibleInterface())
      heard().append({element->role(), element->text(QAccessible::Name)});
  }

  QAccessible::UpdateHandler previous_ = nullptr;
};

}  // namespace apptest
