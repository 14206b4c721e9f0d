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
  QVBoxLayout& layout = makeLayout(tr("Move to Trash"));
  addHeader(layout, outcome);
  if (!outcome.skipped.isEmpty()) addSkipped(layout, outcome.skipped);
  if (!outcome.failed.isEmpty())
    addFailures(layout, tr("Failed: %1").arg(countText(outcome.failed.size())), outcome.failed);
  addDone(layout);
}

TrashOutcomeSheet::TrashOutcomeSheet(const TrashService::RestoreOutcome& restore, QWidget* parent) : QDialog(parent) {
  QVBoxLayout& layout = makeLayout(tr("Undo Move to Trash"));
  layout.addWidget(SheetText::title(tr("Some files stay in the Trash")));
  addFailures(layout, tr("Not put back: %1").arg(countText(restore.notRestored.size())), restore.notRestored);
  addDone(layout);
}

QVBoxLayout& TrashOutcomeSheet::makeLayout(const QString& windowTitle) {
  makeSheetWindow(*this, windowTitle);
  setFixedWidth(460);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 20, 20, 20);
  layout->setSpacing(12);
  return *layout;
}

void TrashOutcomeSheet::addDone(QVBoxLayout& layout) {
  auto* done = new QPushButton(tr("Done"));
  done->setObjectName(QStringLiteral("doneButton"));
  done->setDefault(true);
  connect(done, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(done);
  layout.addLayout(buttons);
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

// Each file with what kept it: the Trash's error, or why an undo left it.
void TrashOutcomeSheet::addFailures(QVBoxLayout& layout, const QString& heading,
                                    const QList<TrashService::Failure>& failures) {
  layout.addWidget(SheetText::line(heading, Palette::primaryText(), QStringLiteral("failedHeading")));
  auto* list = new SheetList(
      failures.size(),
      [failures](qsizetype row) { return failures[row].path + QStringLiteral(": ") + failures[row].error; },
      SheetList::Rows::upToTwoLines, 100);
  list->setObjectName(QStringLiteral("failedList"));
  list->setAccessibleName(heading);
  layout.addWidget(list);
}
