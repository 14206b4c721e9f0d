#include "trash/TrashConfirmationSheet.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "interface/FormattedByteCount.h"
#include "platform/ButtonStyles.h"
#include "platform/CountArgument.h"
#include "platform/Palette.h"
#include "platform/TextStyles.h"
#include "trash/CheckItem.h"
#include "trash/SheetList.h"
#include "trash/SheetText.h"
#include "widgets/FocusRing.h"
#include "widgets/SheetWindow.h"

TrashConfirmationSheet::TrashConfirmationSheet(const SelectionModel::Totals& totals, const QList<FileEntry>& files,
                                               QWidget* parent)
    : QDialog(parent) {
  makeSheetWindow(*this, tr("Move to Trash"));
  setFixedWidth(460);

  const QString amount = formattedByteCount(totals.freedBytes, totals.estimated);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 20, 20, 20);
  layout->setSpacing(14);
  layout->addWidget(SheetText::title(tr("Move %Ln file(s) to the Trash?", nullptr, countArgument(totals.files))));
  layout->addWidget(SheetText::line(tr("Frees ") + amount + QStringLiteral("."), Palette::secondaryText(),
                                    QStringLiteral("spaceLine")));
  layout->addWidget(makeChecks(totals));
  layout->addLayout(makeFiles(files));
  layout->addLayout(makeButtons());
}

QWidget* TrashConfirmationSheet::makeChecks(const SelectionModel::Totals& totals) {
  auto* checks = new QWidget;
  auto* layout = new QVBoxLayout(checks);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(6);
  layout->addWidget(new CheckItem(tr("Every group keeps at least one copy."), true));
  layout->addWidget(new CheckItem(tr("Files are checked again before moving."), true));
  if (totals.freeingNothing >= 1)
    layout->addWidget(
        new CheckItem(tr("APFS clones or hard links that free 0 B: %1").arg(countText(totals.freeingNothing)), false));
  if (totals.unverifiedSets >= 1)
    layout->addWidget(
        new CheckItem(tr("Groups not verified by content: %1").arg(countText(totals.unverifiedSets)), false));
  return checks;
}

// The disclosure "Files", collapsed, over the list of the marked paths. A
// layout of the sheet's own, so that the toggle's focus ring lies in the
// sheet's margin instead of being cut at the edges of a box around it.
QLayout* TrashConfirmationSheet::makeFiles(const QList<FileEntry>& files) {
  auto* toggle = new QToolButton(this);
  toggle->setObjectName(QStringLiteral("filesDisclosure"));
  toggle->setText(tr("Files"));
  toggle->setAccessibleName(tr("Files"));
  toggle->setCheckable(true);
  toggle->setAutoRaise(true);
  toggle->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  toggle->setArrowType(Qt::RightArrow);
  auto* list = new SheetList(
      files.size(), [files](qsizetype row) { return files[row].path; }, SheetList::Rows::oneLineCutInTheMiddle, 160,
      this);
  list->setObjectName(QStringLiteral("fileList"));
  list->setAccessibleName(tr("Files"));
  list->hide();
  FocusRing::attach(*toggle, 4);
  connect(toggle, &QToolButton::toggled, this, [this, toggle, list](bool open) {
    toggle->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
    list->setVisible(open);
    adjustSize();
  });

  auto* layout = new QVBoxLayout;
  layout->setSpacing(6);
  layout->addWidget(toggle, 0, Qt::AlignLeft);
  layout->addWidget(list);
  return layout;
}

// A button that is not a default one leaves Return and Enter to the sheet.
void TrashConfirmationSheet::keyPressEvent(QKeyEvent* event) {
  const bool returnKey = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (returnKey && focusWidget() == cancel_) {
    cancel_->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

QLayout* TrashConfirmationSheet::makeButtons() {
  // Parented at once, so that the focus and its ring can be set here.
  cancel_ = new QPushButton(tr("Cancel"), this);
  cancel_->setObjectName(QStringLiteral("cancelButton"));
  auto* move = new QPushButton(tr("Move to Trash"), this);
  move->setObjectName(QStringLiteral("confirmMoveButton"));
  ButtonStyles::makeProminent(*move, Palette::systemRed(), QStringLiteral("trash"));
  // Return must not move anything: no button becomes the default, and the
  // first focus is on Cancel.
  for (QPushButton* button : {cancel_, move}) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }
  cancel_->setFocus();
  FocusRing::attach(*move, 6);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(move, &QPushButton::clicked, this, [this] {
    accept();
    emit confirmed();
  });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cancel_);
  buttons->addWidget(move);
  return buttons;
}
