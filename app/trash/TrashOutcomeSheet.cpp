#include "trash/TrashOutcomeSheet.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "interface/FormattedByteCount.h"
#include "platform/CountArgument.h"
#include "platform/Palette.h"
#include "trash/SheetList.h"
#include "trash/SheetText.h"
#include "widgets/SheetWindow.h"

TrashOutcomeSheet::TrashOutcomeSheet(const TrashService::Outcome& outcome, QWidget* parent) : QDialog(parent) {
  makeSheetWindow(*this, tr("Move to Trash"));
  setFixedWidth(460);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 20, 20, 20);
  layout->setSpacing(12);
  addHeader(*layout, outcome);
  if (!outcome.skipped.isEmpty()) addSkipped(*layout, outcome.skipped);
  if (!outcome.failed.isEmpty()) addFailed(*layout, outcome.failed);

  auto* done = new QPushButton(tr("Done"));
  done->setObjectName(QStringLiteral("doneButton"));
  done->setDefault(true);
  connect(done, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(done);
  layout->addLayout(buttons);
  done->setFocus();
}

void TrashOutcomeSheet::addHeader(QVBoxLayout& layout, const TrashService::Outcome& outcome) {
  if (outcome.invariantViolation) {
    layout.addWidget(SheetText::title(tr("Nothing was moved")));
    layout.addWidget(SheetText::line(tr("The selection could have removed the last copy of a file (") +
                                         *outcome.invariantViolation + QStringLiteral(")."),
                                     Palette::primaryText(), QStringLiteral("explanation")));
    return;
  }
  layout.addWidget(
      SheetText::title(tr("Moved %Ln file(s) to the Trash", nullptr, countArgument(outcome.moved.size()))));
  // No undo was registered when nothing moved: promising one would mislead.
  const QString freed = tr("Freed ") + formattedByteCount(outcome.freedBytes, outcome.freedEstimated) +
                        (outcome.moved.isEmpty() ? QStringLiteral(".") : tr(". Edit \u203A Undo puts them back."));
  layout.addWidget(SheetText::line(freed, Palette::secondaryText(), QStringLiteral("explanation")));
}

void TrashOutcomeSheet::addSkipped(QVBoxLayout& layout, const QList<PlanSkip>& skipped) {
  const QString heading = tr("Not moved, changed since the scan: %1").arg(countText(skipped.size()));
  layout.addWidget(SheetText::line(heading, Palette::primaryText(), QStringLiteral("skippedHeading")));
  auto* list = new SheetList(
      skipped.size(), [skipped](qsizetype row) { return skipped[row].path; }, SheetList::Rows::oneLineCutInTheMiddle,
      100);
  list->setObjectName(QStringLiteral("skippedList"));
  list->setAccessibleName(heading);
  layout.addWidget(list);
}

void TrashOutcomeSheet::addFailed(QVBoxLayout& layout, const QList<TrashService::Failure>& failed) {
  const QString heading = tr("Failed: %1").arg(countText(failed.size()));
  layout.addWidget(SheetText::line(heading, Palette::primaryText(), QStringLiteral("failedHeading")));
  auto* list = new SheetList(
      failed.size(), [failed](qsizetype row) { return failed[row].path + QStringLiteral(": ") + failed[row].error; },
      SheetList::Rows::upToTwoLines, 100);
  list->setObjectName(QStringLiteral("failedList"));
  list->setAccessibleName(heading);
  layout.addWidget(list);
}
