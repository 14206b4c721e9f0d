// The sheets around a move to the Trash: every line and count, the warnings
// only when they apply, Return that never moves anything, lists that open at
// once and show data as it stands.
#include <gtest/gtest.h>

#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "interface/FormattedByteCount.h"
#include "trash/CheckItem.h"
#include "trash/TrashConfirmationSheet.h"
#include "trash/TrashOutcomeSheet.h"
#include "scan_store_driver.hpp"
#include "widget_test_support.hpp"

namespace {

using namespace widgettest;
using Outcome = TrashService::Outcome;

QString labelText(const QWidget& sheet, const char* name) {
  const auto* label = sheet.findChild<QLabel*>(QString::fromLatin1(name));
  return label ? label->text() : QStringLiteral("<none>");
}

QStringList checkLines(const QWidget& sheet) {
  QStringList lines;
  for (const CheckItem* item : sheet.findChildren<CheckItem*>())
    lines.append((item->ok() ? QStringLiteral("ok: ") : QStringLiteral("warning: ")) + item->text());
  return lines;
}

QStringList rows(const QWidget& sheet, const char* list) {
  QStringList texts;
  const QAbstractItemModel* model = sheet.findChild<QListView*>(QString::fromLatin1(list))->model();
  for (int row = 0; row < model->rowCount(); ++row) texts.append(model->index(row, 0).data().toString());
  return texts;
}

QList<FileEntry> files(int count) {
  QList<FileEntry> entries;
  for (int i = 0; i < count; ++i) entries.append(fileEntry(QStringLiteral("/d/copy %1").arg(i)));
  return entries;
}

Outcome mixedOutcome() {
  Outcome outcome;
  outcome.moved = {{QUrl::fromLocalFile(QStringLiteral("/d/a")), QUrl::fromLocalFile(QStringLiteral("/t/a"))}};
  outcome.freedBytes = 2000;
  outcome.skipped = {{1, QStringLiteral("/d/<b>changed</b>.txt"), PlanSkipReason::changed},
                     {2, QStringLiteral("/d/keeper gone"), PlanSkipReason::keeperMissing}};
  outcome.failed = {{QStringLiteral("/d/locked"), QStringLiteral("Permission denied")}};
  return outcome;
}

class TrashSheetsTest : public ::testing::Test {
 protected:
  QApplication& app = application();
  QWidget window;
};

TEST_F(TrashSheetsTest, the_confirmation_tells_count_space_and_only_the_warnings_that_apply) {
  const QString ok1 = QStringLiteral("ok: Every group keeps at least one copy.");
  const QString ok2 = QStringLiteral("ok: Files are checked again before moving.");
  const struct {
    const char* name;
    SelectionModel::Totals totals;
    QString title, space;
    QStringList checks;
  } cases[] = {
      {"one exact file", {1, 1500, false, 0, 0}, "Move 1 file to the Trash?", "Frees " + formattedByteCount(1500) + ".",
       {ok1, ok2}},
      {"an estimate with hard links",
       {5, 3000, true, 2, 0},
       "Move 5 files to the Trash?",
       "Frees about " + formattedByteCount(3000) + ".",
       {ok1, ok2, "warning: Clones or hard links that free 0 B: 2"}},
      {"unverified groups",
       {4, 0, false, 1, 3},
       "Move 4 files to the Trash?",
       "Frees " + formattedByteCount(0) + ".",
       {ok1, ok2, "warning: Clones or hard links that free 0 B: 1", "warning: Groups not verified by content: 3"}},
  };
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.name);
    TrashConfirmationSheet sheet(entry.totals, files(static_cast<int>(entry.totals.files)));
    EXPECT_EQ(labelText(sheet, "title"), entry.title);
    EXPECT_EQ(labelText(sheet, "spaceLine"), entry.space);
    EXPECT_EQ(checkLines(sheet), entry.checks);
  }
}

TEST_F(TrashSheetsTest, return_moves_nothing_escape_cancels_and_the_move_button_closes_before_confirming) {
  for (const int key : {int(Qt::Key_Return), int(Qt::Key_Enter), int(Qt::Key_Escape)}) {
    SCOPED_TRACE(key);
    TrashConfirmationSheet sheet({1, 10, false, 0, 0}, files(1), &window);
    QSignalSpy confirmed(&sheet, &TrashConfirmationSheet::confirmed);
    window.show();
    sheet.open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
    EXPECT_EQ(sheet.focusWidget(), sheet.findChild<QPushButton*>(QStringLiteral("cancelButton")));
    for (const QPushButton* button : sheet.findChildren<QPushButton*>()) EXPECT_FALSE(button->isDefault());
    QTest::keyClick(sheet.focusWidget(), Qt::Key(key));
    EXPECT_EQ(sheet.isVisible(), key != Qt::Key_Escape);
    EXPECT_EQ(confirmed.count(), 0);
  }
  TrashConfirmationSheet sheet({1, 10, false, 0, 0}, files(1), &window);
  bool hiddenWhenConfirmed = false;
  QObject::connect(&sheet, &TrashConfirmationSheet::confirmed, [&] { hiddenWhenConfirmed = !sheet.isVisible(); });
  sheet.open();
  sheet.findChild<QPushButton*>(QStringLiteral("confirmMoveButton"))->click();
  EXPECT_TRUE(hiddenWhenConfirmed);
}

TEST_F(TrashSheetsTest, the_file_list_opens_collapsed_at_once_for_many_files_and_shows_paths_literally) {
  QList<FileEntry> many = files(100'000);
  many[1].path = QStringLiteral("/d/<b>bold</b> &amp; <img src=x>.txt");
  TrashConfirmationSheet sheet({100'000, 10, false, 0, 0}, many, &window);
  auto* list = sheet.findChild<QListView*>(QStringLiteral("fileList"));
  EXPECT_FALSE(list->isVisibleTo(&sheet));
  sheet.findChild<QToolButton*>(QStringLiteral("filesDisclosure"))->click();
  EXPECT_TRUE(list->isVisibleTo(&sheet));
  EXPECT_EQ(list->model()->rowCount(), 100'000);
  EXPECT_EQ(list->model()->index(1, 0).data().toString(), many[1].path);
  EXPECT_EQ(list->textElideMode(), Qt::ElideMiddle);
  EXPECT_FALSE(list->wordWrap());
}

TEST_F(TrashSheetsTest, the_outcome_tells_what_moved_what_was_skipped_and_what_failed) {
  Outcome refused;
  refused.invariantViolation = QStringLiteral("KeeperMarked(setId: 12)");
  Outcome nothingMoved;
  nothingMoved.failed = {{QStringLiteral("/d/x"), QStringLiteral("No Trash here")}};
  Outcome estimated = mixedOutcome();
  estimated.freedEstimated = true;
  estimated.skipped.clear();
  const QString undo = QStringLiteral(". Edit \u203A Undo puts them back.");
  const struct {
    const char* name;
    Outcome outcome;
    QString title, explanation, skippedHeading, failedHeading;
  } cases[] = {
      {"refused", refused, "Nothing was moved",
       "The selection could have removed the last copy of a file (KeeperMarked(setId: 12)).", "<none>", "<none>"},
      {"mixed", mixedOutcome(), "Moved 1 file to the Trash", "Freed " + formattedByteCount(2000) + undo,
       "Not moved, changed since the scan: 2", "Failed: 1"},
      {"nothing moved promises no undo", nothingMoved, "Moved 0 files to the Trash",
       "Freed " + formattedByteCount(0) + ".", "<none>", "Failed: 1"},
      {"estimate", estimated, "Moved 1 file to the Trash", "Freed about " + formattedByteCount(2000) + undo, "<none>",
       "Failed: 1"},
  };
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.name);
    TrashOutcomeSheet sheet(entry.outcome);
    EXPECT_EQ(labelText(sheet, "title"), entry.title);
    EXPECT_EQ(labelText(sheet, "explanation"), entry.explanation);
    EXPECT_EQ(labelText(sheet, "skippedHeading"), entry.skippedHeading);
    EXPECT_EQ(labelText(sheet, "failedHeading"), entry.failedHeading);
    for (const QLabel* label : sheet.findChildren<QLabel*>()) EXPECT_EQ(label->textFormat(), Qt::PlainText);
  }
  TrashOutcomeSheet mixed(mixedOutcome());
  EXPECT_EQ(rows(mixed, "skippedList"), (QStringList{"/d/<b>changed</b>.txt", "/d/keeper gone"}));
  EXPECT_EQ(rows(mixed, "failedList"), QStringList{"/d/locked: Permission denied"});
}

TEST_F(TrashSheetsTest, return_closes_the_outcome_sheet) {
  TrashOutcomeSheet sheet(mixedOutcome(), &window);
  window.show();
  sheet.open();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
  QTest::keyClick(sheet.focusWidget(), Qt::Key_Return);
  EXPECT_FALSE(sheet.isVisible());
}

TEST_F(TrashSheetsTest, screenshots_of_both_sheets) {
  QUELMARIS_SCREENSHOTS_ONLY();
  QList<FileEntry> marked = files(40);
  marked[0].path = QStringLiteral("/home/someone/Pictures/Holidays/2019/a very long folder name that goes on and on/"
                                  "and deeper still/IMG_2041 copy.jpg");
  TrashConfirmationSheet confirm({40, 123'456'789, true, 2, 1}, marked);
  confirm.show();
  saveScreenshot(confirm, QStringLiteral("confirm-sheet"));
  confirm.findChild<QToolButton*>(QStringLiteral("filesDisclosure"))->click();
  saveScreenshot(confirm, QStringLiteral("confirm-sheet-files"));
  Outcome refused;
  refused.invariantViolation = QStringLiteral("KeeperMarked(setId: 12)");
  TrashOutcomeSheet refusedSheet(refused);
  refusedSheet.show();
  saveScreenshot(refusedSheet, QStringLiteral("outcome-refused"));
  Outcome mixed = mixedOutcome();
  mixed.failed.append({QStringLiteral("/media/usb/photos/a rather long name of a file that did not move.jpg"),
                       QStringLiteral("The Trash of this volume could not be made: Read-only file system")});
  TrashOutcomeSheet mixedSheet(mixed);
  mixedSheet.show();
  saveScreenshot(mixedSheet, QStringLiteral("outcome-mixed"));
}

}  // namespace
