#include "widgets/SheetWindow.h"

#include <QDialog>

void makeSheetWindow(QDialog& dialog, const QString& title) {
  dialog.setWindowTitle(title);
  dialog.setWindowModality(Qt::WindowModal);
  dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
}
