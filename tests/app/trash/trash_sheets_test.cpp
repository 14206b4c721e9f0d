#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <algorithm>

#include "interface/FormattedByteCount.h"
#include "results/MovedBanner.h"
#include "results/StaleBanner.h"
#include "scan_store_driver.hpp"
#include "trash/CheckItem.h"
#include "trash/TrashConfirmationSheet.h"
#include "trash/TrashOutcomeSheet.h"
#include "widget_test_support.hpp"
#include "widgets/FocusRing.h"

namespace {

using namespace widgettest;
using Outcome = TrashService::Outcome;
constexpr auto bytes = static_cast<QString (*)(std::uint64_t)>(formattedByteCount);

QString text(const QWidget& sheet, const char* name) {
  const auto* label = sheet.findChild<QLabel*>(QString::fromLatin1(name));
  return label ? label->text() : QStringLiteral("-");
}

QStringList checks(const QWidget& sheet) {
  QStringList lines;
  for (const CheckItem* item : sheet.findChildren<CheckItem*>())
    lines.append((item->ok() ? "ok " : "! ") + item->text());
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

Outcome outcome(int moved, std::uint64_t freed, bool estimated, int skipped, int failed) {
  Outcome result{{}, freed, estimated, {}, {}, std::nullopt};
  for (int i = 0; i < moved; ++i) result.moved.append({QUrl(), QUrl()});
  for (int i = 0; i < skipped; ++i)
    result.skipped.append({1, QStringLiteral("/d/<b>%1</b>").arg(i), PlanSkipReason::changed});
  for (int i = 0; i < failed; ++i)
    result.failed.append({QStringLiteral("/d/f%1").arg(i), QStringLiteral("Permission denied")});
  return result;
}

// What a screen reader meets walking the widget's tree, the widget first.
QList<std::pair<QAccessible::Role, QString>> readOut(QWidget& widget) {
  QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&widget);
  QList<std::pair<QAccessible::Role, QString>> found{{root->role(), root->text(QAccessible::Name)}};
  collect(*root, found);
  return found;
}

qsizetype timesRead(QWidget& widget, const QString& text) {
  const auto found = readOut(widget);
  return std::count_if(found.begin(), found.end(), [&](const auto& node) { return node.second == text; });
}

TEST(TrashSheets, the_confirmation_and_the_outcome_tell_their_counts_in_plain_text_and_return_never_moves) {
  application();
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));  // counts in groups of three digits
  const QString ok = "ok Every group keeps at least one copy.|ok Files are checked again before moving.",
                clones = "|! Clones or hard links that free 0 B: ";
  const std::tuple<SelectionModel::Totals, QString, QString, QString> cases[] = {
      {{1, 1500, false, 0, 0}, "Move 1 file to the Trash?", "Frees " + bytes(1500) + ".", ok},
      {{5, 3000, true, 2, 0}, "Move 5 files to the Trash?", "Frees about " + bytes(3000) + ".", ok + clones + "2"},
      {{200'000, 0, false, 1, 3'000},
       "Move 200,000 files to the Trash?",
       "Frees " + bytes(0) + ".",
       ok + clones + "1|! Groups not verified by content: 3,000"},
  };
  for (const auto& [totals, title, space, warnings] : cases) {
    TrashConfirmationSheet sheet(totals, files(2));
    EXPECT_EQ((QStringList{text(sheet, "title"), text(sheet, "spaceLine"), checks(sheet).join(u'|')}),
              (QStringList{title, space, warnings}));
    EXPECT_EQ(unnamedPictures(sheet), 0) << "each check's mark is read with its text, not as a picture";
  }

  // The file list opens collapsed, at once for many files, and shows paths literally.
  QList<FileEntry> many = files(100'000);
  many[1].path = QStringLiteral("/d/<b>bold</b> &amp; <img src=x>.txt");
  TrashConfirmationSheet sheet({100'000, 123'456'789, true, 2, 1}, many);
  auto* list = sheet.findChild<QListView*>(QStringLiteral("fileList"));
  EXPECT_FALSE(list->isVisibleTo(&sheet));
  sheet.findChild<QToolButton*>(QStringLiteral("filesDisclosure"))->click();
  EXPECT_TRUE(list->isVisibleTo(&sheet));
  EXPECT_EQ(list->model()->rowCount(), 100'000);
  EXPECT_EQ(list->model()->index(1, 0).data().toString(), many[1].path);
  EXPECT_EQ(std::pair(list->textElideMode(), list->wordWrap()), std::pair(Qt::ElideMiddle, false));
  saveScreenshot(sheet, "confirm-sheet");

  // Return never moves; Escape, and Return or Enter on the focused Cancel,
  // cancel; the move closes the sheet before confirming.
  QWidget window;
  window.show();
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
    for (const bool onCancel : {true, false}) {
      TrashConfirmationSheet keyed({1, 10, false, 0, 0}, files(1), &window);
      int confirmed = 0;
      QObject::connect(&keyed, &TrashConfirmationSheet::confirmed, [&] { ++confirmed; });
      keyed.open();
      ASSERT_TRUE(QTest::qWaitForWindowExposed(&keyed));
      EXPECT_EQ(keyed.focusWidget(), keyed.findChild<QPushButton*>("cancelButton"));
      if (!onCancel) keyed.findChild<QPushButton*>("confirmMoveButton")->setFocus();
      QTest::keyClick(keyed.focusWidget(), key);
      EXPECT_EQ(keyed.isVisible(), !onCancel && key != Qt::Key_Escape) << key << onCancel;
      EXPECT_EQ(confirmed, 0) << key;
    }
  TrashConfirmationSheet confirming({1, 10, false, 0, 0}, files(1), &window);
  bool hiddenFirst = false;
  QObject::connect(&confirming, &TrashConfirmationSheet::confirmed, [&] { hiddenFirst = !confirming.isVisible(); });
  confirming.open();
  confirming.findChild<QPushButton*>("confirmMoveButton")->click();
  EXPECT_TRUE(hiddenFirst);

  // The outcome tells what moved, what was skipped and what failed.
  Outcome refused;
  refused.invariantViolation = "KeeperMarked(setId: 12)";
  const QString undo = ". Edit › Undo puts them back.";
  const std::tuple<Outcome, QString, QString, QString, QString> outcomes[] = {
      {refused, "Nothing was moved",
       "The selection could have removed the last copy of a file (KeeperMarked(setId: 12)).", "-", "-"},
      {outcome(1, 2000, false, 2, 1), "Moved 1 file to the Trash", "Freed " + bytes(2000) + undo,
       "Not moved, changed since the scan: 2", "Failed: 1"},
      {outcome(0, 0, false, 0, 1), "Moved 0 files to the Trash", "Freed " + bytes(0) + ".", "-", "Failed: 1"},
      {outcome(3, 2000, true, 0, 0), "Moved 3 files to the Trash", "Freed about " + bytes(2000) + undo, "-", "-"},
      {outcome(1'234, 0, false, 0, 1'001), "Moved 1,234 files to the Trash", "Freed " + bytes(0) + undo, "-",
       "Failed: 1,001"},
  };
  for (const auto& [shown, title, explanation, skipped, failed] : outcomes) {
    TrashOutcomeSheet told(shown);
    EXPECT_EQ((QStringList{text(told, "title"), text(told, "explanation"), text(told, "skippedHeading"),
                           text(told, "failedHeading")}),
              (QStringList{title, explanation, skipped, failed}));
    for (const QLabel* label : told.findChildren<QLabel*>()) EXPECT_EQ(label->textFormat(), Qt::PlainText);
  }
  EXPECT_EQ(MovedBanner::text(outcome(1'234, 2000, true, 0, 0)),
            "Moved 1,234 files to the Trash, freeing about " + bytes(2000) + ".");
  TrashOutcomeSheet mixed(outcome(1, 2000, false, 2, 1), &window);
  EXPECT_EQ(rows(mixed, "skippedList"), (QStringList{"/d/<b>0</b>", "/d/<b>1</b>"}));
  EXPECT_EQ(rows(mixed, "failedList"), QStringList{"/d/f0: Permission denied"});
  mixed.open();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&mixed));
  QTest::keyClick(mixed.focusWidget(), Qt::Key_Return);
  EXPECT_FALSE(mixed.isVisible()) << "Return closes the outcome";
}

TEST(TrashSheets, each_check_line_and_each_banner_message_is_read_once) {
  application();
  TrashConfirmationSheet sheet({5, 3000, true, 2, 1}, files(2));
  const QList<CheckItem*> items = sheet.findChildren<CheckItem*>();
  ASSERT_EQ(items.size(), 4);
  for (const CheckItem* item : items) EXPECT_EQ(timesRead(sheet, item->text()), 1) << item->text().toStdString();

  MovedBanner moved(outcome(2, 2000, false, 0, 0));
  StaleBanner stale;
  for (QWidget* banner : std::initializer_list<QWidget*>{&moved, &stale}) {
    const auto [role, message] = readOut(*banner).first();
    SCOPED_TRACE(message.toStdString());
    EXPECT_EQ(role, QAccessible::Notification) << "spoken when it appears";
    EXPECT_EQ(timesRead(*banner, message), 1);
  }
  QStringList buttons;
  for (const auto& [role, name] : readOut(moved))
    if (role == QAccessible::Button) buttons << name;
  EXPECT_EQ(buttons, (QStringList{"Undo", "Close"}));
}

TEST(TrashSheets, the_files_toggle_shows_its_focus_ring_whole_on_every_side) {
  application();
  TrashConfirmationSheet sheet({2, 100, false, 0, 0}, files(2));
  sheet.show();
  auto& toggle = *sheet.findChild<QToolButton*>(QStringLiteral("filesDisclosure"));
  const QRect inside = inWindow(toggle);
  const int margin = FocusRing::margin;
  const std::vector<FocusPixel> ring = focusIndicator(toggle, *sheet.findChild<QPushButton*>("cancelButton"),
                                                      inside.adjusted(-margin, -margin, margin, margin));
  const auto shows = [&](auto beyond) { return std::any_of(ring.begin(), ring.end(), beyond); };
  EXPECT_TRUE(shows([&](const FocusPixel& pixel) { return pixel.at.x() < inside.left(); })) << "left";
  EXPECT_TRUE(shows([&](const FocusPixel& pixel) { return pixel.at.y() < inside.top(); })) << "above";
  EXPECT_TRUE(shows([&](const FocusPixel& pixel) { return pixel.at.x() > inside.right(); })) << "right";
  EXPECT_TRUE(shows([&](const FocusPixel& pixel) { return pixel.at.y() > inside.bottom(); })) << "below";
  saveScreenshot(sheet, "confirm-sheet-files-focus");
}

// The collapsed "Files" list is hidden, yet its rows said they showed, with
// extents over the sheet's title, and a screen reader's review read the
// paths: while the list is collapsed no row shows nor takes room on screen.
TEST(TrashSheets, the_rows_of_the_collapsed_files_list_are_hidden_from_a_screen_reader) {
  application();
  TrashConfirmationSheet sheet({3, 300, false, 0, 0}, files(3));
  sheet.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
  auto* list = sheet.findChild<QListView*>(QStringLiteral("fileList"));
  QAccessibleInterface* rows = QAccessible::queryAccessibleInterface(list);
  for (const bool open : {false, true}) {
    SCOPED_TRACE(open ? "open" : "collapsed");
    if (open) sheet.findChild<QToolButton*>(QStringLiteral("filesDisclosure"))->click();
    ASSERT_EQ(rows->childCount(), 3);
    for (int index = 0; index < rows->childCount(); ++index) {
      QAccessibleInterface* row = rows->child(index);
      EXPECT_EQ(bool(row->state().invisible), !open) << index;
      EXPECT_EQ(row->rect().isEmpty(), !open) << index;
      if (open) {
        EXPECT_TRUE(QRect(list->mapToGlobal(QPoint(0, 0)), list->size()).contains(row->rect())) << index;
      }
    }
  }
}

}  // namespace
