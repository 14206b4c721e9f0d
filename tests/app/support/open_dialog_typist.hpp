// A user at the keyboard answering the next open dialog.
#pragma once

#include <QApplication>
#include <QGuiApplication>
#include <QString>
#include <QTest>
#include <QTimer>
#include <memory>

#include "folders/FolderChooser.h"

namespace apptest {

// Answers the next open dialog: the path typed into its "Folder:" field,
// where the completion list opens, then Return. Gives whether the list was
// open when Return was pressed, once the dialog went. The timer that waits
// for the dialog belongs to the owner.
inline std::shared_ptr<bool> typeIntoNextOpenDialog(QObject& owner, const QString& path) {
  auto completing = std::make_shared<bool>(false);
  auto* poll = new QTimer(&owner);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, completing, path] {
    auto* dialog = qobject_cast<FolderChooser*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    poll->deleteLater();
    poll->stop();
    // The offscreen platform activates no window a dialog opens, as a desktop would.
    dialog->activateWindow();
    if (!QTest::qWaitFor([dialog] { return QGuiApplication::focusWindow() == dialog->windowHandle(); }, 120'000))
      return;
    for (const QChar typed : path) QTest::keyClick(dialog->windowHandle(), typed.toLatin1());
    *completing = QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 120'000);
    QTest::keyClick(dialog->windowHandle(), Qt::Key_Return);
  });
  poll->start(10);
  return completing;
}

}  // namespace apptest
