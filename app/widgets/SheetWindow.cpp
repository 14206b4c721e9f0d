#include "widgets/SheetWindow.h"

#include <QDialog>

#include "widgets/KeyboardReturn.h"

void makeSheetWindow(QDialog& dialog, const QString& title) {
  dialog.setWindowTitle(title);
  dialog.setWindowModality(Qt::WindowModal);
  dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  // Once the sheet is hidden, which follows its end.
  QObject::connect(&dialog, &QDialog::finished, &dialog, [&dialog] {
    if (QWidget* owner = dialog.parentWidget(); owner != nullptr)
      QMetaObject::invokeMethod(
          owner, [owner] { KeyboardReturn::toOpener(*owner->window()); }, Qt::QueuedConnection);
  });
}
