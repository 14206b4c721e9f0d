#include "shell/ScanOptionsPopover.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

#include "shell/ScanOptionsMenu.h"
#include "platform/MainThread.h"
#include "platform/Palette.h"

namespace {

constexpr int popoverWidth = 340;

// The grouped form style: the rows on a slightly raised, rounded panel.
QFrame* groupBox(QWidget* rows, QWidget* parent) {
  auto* box = new QFrame(parent);
  box->setObjectName(QStringLiteral("optionsGroup"));
  box->setStyleSheet(QStringLiteral("#optionsGroup { background: %1; border: 1px solid %2; border-radius: 8px; }")
                         .arg(Palette::secondaryBackground().name(QColor::HexArgb),
                              Palette::quaternaryFill().name(QColor::HexArgb)));
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(14, 12, 14, 12);
  layout->addWidget(rows);
  return box;
}

QLabel* settingsNote(QWidget* parent) {
  auto* note = new QLabel(ScanOptionsPopover::tr("More options are in Settings."), parent);
  QFont callout = note->font();
  callout.setPointSizeF(callout.pointSizeF() * 0.92);
  note->setFont(callout);
  QPalette secondary = note->palette();
  secondary.setColor(QPalette::WindowText, Palette::secondaryText());
  note->setPalette(secondary);
  note->setContentsMargins(4, 0, 4, 0);
  return note;
}

}  // namespace

ScanOptionsPopover::ScanOptionsPopover(ScanOptionsBinding& options, QWidget* parent) : QWidget(parent) {
  requireMainThread();
  setObjectName(QStringLiteral("scanOptionsPopover"));
  setFixedWidth(popoverWidth);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(12, 12, 12, 12);
  column->setSpacing(8);
  column->addWidget(groupBox(ScanOptionsMenu::formRows(options), this));
  column->addWidget(settingsNote(this));
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}
