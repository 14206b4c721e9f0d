#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QButtonGroup>
#include <QLayout>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QUndoStack>
#include <cmath>
#include <filesystem>
#include <set>

#include "app_test_support.hpp"
#include "interface/CoreTrashPlanner.h"
#include "interface/FormattedByteCount.h"
#include "results/BannerSlot.h"
#include "results/MovedBanner.h"
#include "results/ResultsMove.h"
#include "results/StaleBanner.h"
#include "results/SummaryBar.h"
#include "results/TotalsLabel.h"
#include "scan/NotReadButton.h"
#include "scan_store_driver.hpp"
#include "temp_tree.hpp"
#include "widget_test_support.hpp"
#include "widgets/ElidingButton.h"

namespace {

using namespace widgettest;

class SummaryBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.resize(700, 60);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  QApplication& app = application();  // before any widget
  ScanStoreDriver driver;
  QWidget window;
  SummaryBar* bar = new SummaryBar(driver.store, &window);
};

TEST_F(SummaryBarTest,
       totals_agree_show_from_the_finish_read_whole_on_a_row_that_wraps_when_narrow_and_the_picker_binds_both_ways) {
  const auto recoverable = [](std::uint64_t bytes) { return formattedByteCount(bytes) + " recoverable"; };
  const std::pair<QList<DuplicateSet>, QString> cases[] = {
      {{}, "0 groups · 0 extra copies · " + recoverable(0)},
      {{duplicateSet(1, 2, 100)}, "1 group · 1 extra copy · 100 bytes recoverable"},
      {{duplicateSet(1, 3, 2'000'000), duplicateSet(2, 2, 500'000)},
       "2 groups · 3 extra copies · " + recoverable(2'500'000)},
      {{duplicateSet(1, 2, 1000), duplicateSet(2, 2, 1000, true)},
       "2 groups · 2 extra copies · about " + recoverable(2000)},
      {{duplicateSet(1, 1'501, 100)}, "1 group · 1,500 extra copies · 100 bytes recoverable"},
  };
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));  // counts in groups of three digits
  for (const auto& [sets, text] : cases) EXPECT_EQ(SummaryBar::totalsText(sets), text);

  EXPECT_FALSE(bar->isVisible());
  driver.start();
  EXPECT_FALSE(bar->isVisible());
  driver.feed({skippedEvent("/x"),
               {ScanEvent::setReady{duplicateSet(1, 2, 100)}},
               {ScanEvent::setReady{duplicateSet(2, 3, 100)}},
               finishedEvent()});
  EXPECT_TRUE(bar->isVisible());
  EXPECT_TRUE(bar->totalsLabel()->sentence().contains("2 groups · 3 extra copies"));

  // The picker offers both filters in order; the totals still count every set.
  QList<QString> labels;
  for (QAbstractButton* button : bar->picker()->buttons()) labels.append(button->text());
  EXPECT_EQ(labels, (QList<QString>{"Duplicates", "Same Name, Different Content"}));
  EXPECT_EQ(bar->filter(), ResultsFilter::duplicates);
  QSignalSpy chosen(bar, &SummaryBar::filterChanged);
  bar->setFilter(ResultsFilter::lookalikes);
  EXPECT_TRUE(bar->totalsLabel()->sentence().contains("2 groups · 3 extra copies"));
  EXPECT_TRUE(bar->picker()->button(static_cast<int>(ResultsFilter::lookalikes))->isChecked());
  EXPECT_EQ(chosen.count(), 0) << "a value set from outside is not echoed back";

  // To assistive technology: one named group of exclusive choices.
  QAccessibleInterface* picker = QAccessible::queryAccessibleInterface(bar->findChild<QWidget*>("showPicker"));
  EXPECT_EQ(picker->role(), QAccessible::Grouping);
  EXPECT_EQ(picker->text(QAccessible::Name), "Show");
  ASSERT_EQ(picker->childCount(), 2);
  for (int index = 0; index < 2; ++index) {
    EXPECT_EQ(picker->child(index)->role(), QAccessible::RadioButton);
    EXPECT_EQ(picker->child(index)->state().checked, index == 1) << index;
  }

  bar->picker()->button(static_cast<int>(ResultsFilter::duplicates))->click();
  ASSERT_EQ(chosen.count(), 1);
  EXPECT_EQ(chosen.first().first().value<ResultsFilter>(), ResultsFilter::duplicates);
  EXPECT_EQ(bar->filter(), ResultsFilter::duplicates);

  driver.start();
  EXPECT_FALSE(bar->isVisible());
  driver.feed({{ScanEvent::failed{"no folder could be scanned"}}});
  EXPECT_FALSE(bar->isVisible());

  // Where the bar is too narrow for one row, what does not fit beside the
  // totals goes below them, the picker still at the trailing edge: the totals
  // read whole.
  driver.start();
  driver.feed({skippedEvent("/x"), {ScanEvent::setReady{duplicateSet(1, 12, 987'654'321, true)}}, finishedEvent()});
  EXPECT_EQ(bar->notReadButton()->text(), "1 not read");
  const QString sentence = SummaryBar::totalsText(driver.store.sets());
  const TotalsLabel& totals = *bar->totalsLabel();
  const QWidget& notRead = *bar->notReadButton();
  const QWidget& showPicker = *bar->findChild<QWidget*>("showPicker");
  const auto below = [](const QWidget& lower, const QWidget& upper) {
    return lower.geometry().top() > upper.geometry().bottom();
  };
  struct Row {
    int width;
    bool notReadBelow;
    bool pickerBelow;
  };
  for (const Row row :
       {Row{1400, false, false}, Row{560, false, true}, Row{bar->minimumSizeHint().width(), true, true}}) {
    SCOPED_TRACE(row.width);
    bar->resize(row.width, bar->heightForWidth(row.width));
    EXPECT_EQ(QTextDocumentFragment::fromHtml(totals.text()).toPlainText(), sentence);
    EXPECT_EQ(totals.height(), totals.heightForWidth(totals.sizeHint().width())) << "on one line";
    EXPECT_EQ(totals.toolTip(), QString());
    EXPECT_EQ(totals.accessibleName(), sentence);
    EXPECT_EQ(below(notRead, totals), row.notReadBelow);
    EXPECT_EQ(below(showPicker, notRead), row.pickerBelow);
    EXPECT_EQ(showPicker.geometry().right(), bar->layout()->contentsRect().right()) << "at the trailing edge";
    const QList<const QWidget*> parts{&totals, &notRead, &showPicker};
    for (const QWidget* part : parts) {
      EXPECT_TRUE(bar->rect().contains(part->geometry())) << part->metaObject()->className();
      for (const QWidget* other : parts)
        EXPECT_TRUE(part == other || !part->geometry().intersects(other->geometry())) << "nothing overlaps";
    }
  }

  // Keyboard focus rings the not-read link and each segment, a click does not.
  QList<QWidget*> controls{bar->notReadButton()};
  for (QAbstractButton* segment : bar->picker()->buttons()) controls.append(segment);
  for (QWidget* control : controls) {
    SCOPED_TRACE(control->metaObject()->className());
    control->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(showsFocusRing(*control));
    bar->setFocus(Qt::OtherFocusReason);
    EXPECT_FALSE(showsFocusRing(*control));
    control->setFocus(Qt::MouseFocusReason);
    EXPECT_FALSE(showsFocusRing(*control));
  }
}

TEST_F(SummaryBarTest, totals_show_whole_wherever_they_fit_whichever_way_their_width_rounds) {
  driver.finishWith({});
  bar->resize(1400, bar->sizeHint().height());
  TotalsLabel& totals = *bar->totalsLabel();
  std::set<bool> roundedUp;
  for (std::uint64_t groups = 1; groups <= 40; ++groups) {
    totals.setParts(QStringLiteral("%1 groups · %2 extra copies · ").arg(groups).arg(groups * 7),
                    formattedByteCount(groups * groups * 4321, groups % 2 == 0), " recoverable");
    bar->layout()->activate();
    SCOPED_TRACE(totals.sentence().toStdString());
    const qreal width = QFontMetricsF(totals.font()).horizontalAdvance(totals.sentence());
    roundedUp.insert(width - std::floor(width) >= 0.5);
    EXPECT_EQ(QTextDocumentFragment::fromHtml(totals.text()).toPlainText().toStdString(),
              totals.sentence().toStdString());
    QTextDocument drawn;
    drawn.setDefaultFont(totals.font());
    drawn.setDocumentMargin(0);
    drawn.setHtml(totals.text());
    EXPECT_LE(drawn.idealWidth(), totals.contentsRect().width()) << "nothing is clipped";
  }
  EXPECT_EQ(roundedUp.size(), 2u) << "widths that round down and widths that round up";
}

TEST_F(SummaryBarTest, banners_take_more_lines_when_narrow_and_carry_their_sentence_whole) {
  TrashService::Outcome moved;
  moved.moved.resize(2);
  for (QWidget* banner : std::initializer_list<QWidget*>{new StaleBanner(&window), new MovedBanner(moved, &window)}) {
    SCOPED_TRACE(banner->objectName().toStdString());
    banner->show();
    QLabel* sentence = nullptr;
    for (QLabel* label : banner->findChildren<QLabel*>()) sentence = label->pixmap().isNull() ? label : sentence;
    const QString whole = sentence->accessibleName();
    EXPECT_TRUE(whole.endsWith(u'.')) << whole.toStdString();
    const int lineHeight = sentence->heightForWidth(sentence->sizeHint().width());
    for (const int width : {banner->sizeHint().width(), banner->minimumSizeHint().width()}) {
      banner->resize(width, banner->heightForWidth(width));
      const bool narrow = width < banner->sizeHint().width();
      EXPECT_EQ(sentence->text(), whole);
      const int linesHeight = sentence->heightForWidth(sentence->width());
      EXPECT_EQ(linesHeight > lineHeight, narrow) << "more lines only when narrow";
      EXPECT_GE(sentence->height(), linesHeight) << "every line shows";
      EXPECT_TRUE(banner->rect().contains(sentence->geometry()));
      EXPECT_EQ(sentence->toolTip(), QString());
    }
  }
}

// The banner slot over the results of one set of three real copies, whose
// marked copies move to the Trash of this program's own data folder.
class BannerSlotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.show();
    const std::string content(2048, 'x');
    for (const char* path : {"a/x.bin", "b/x.bin", "c/x.bin"}) copies.push_back(tree.write(path, content));
    QList<FileEntry> files;
    for (const std::string& copy : copies) files.append(apptest::entryFor(copy));
    driver.finishWith({DuplicateSet{1, "x.bin", 2048, files, 0, {}, true, QString(64, u'0'), 4096, true}});
  }

  // Marks the set's copy at this index, moves it and waits for the report.
  void moveCopy(ResultsMove& move, qsizetype index) {
    driver.store.changeSelection(
        [&](SelectionModel& selection) { selection.setMarked(true, index, driver.store.sets().first()); });
    move.confirmMove();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !move.isMoving(); }));
    ASSERT_TRUE(move.lastMove().has_value()) << "a clean move";
  }
  static void press(const BannerSlot& slot, const char* button) {
    slot.banner()->findChild<QAbstractButton*>(QString::fromLatin1(button))->click();
  }
  static bool inPlace(const std::string& path) { return std::filesystem::exists(path); }

  QApplication& app = (userFolders(), application());  // before any widget, the data folder first
  quelmaris::testing::TempTree tree;
  std::vector<std::string> copies;
  ScanStoreDriver driver;
  TrashService trash{std::make_unique<CoreTrashPlanner>(), std::make_shared<SystemFileTrashing>()};
  QWidget window;
};

TEST_F(BannerSlotTest, the_moved_banners_undo_undoes_the_move_through_the_stack_and_the_stale_banner_wins) {
  QUndoStack undoStack;
  ResultsMove move(driver.store, trash, &undoStack);
  BannerSlot slot(driver.store, move, window, &window);
  EXPECT_EQ(slot.banner(), nullptr);

  ASSERT_NO_FATAL_FAILURE(moveCopy(move, 1));
  ASSERT_NE(qobject_cast<MovedBanner*>(slot.banner()), nullptr);
  EXPECT_EQ(unnamedPictures(*slot.banner()), 0) << "the banner's symbol only adorns its text";
  EXPECT_FALSE(inPlace(copies[1]));
  press(slot, "undoMoveButton");
  ASSERT_TRUE(QTest::qWaitFor([&] { return qobject_cast<MovedBanner*>(slot.banner()) == nullptr; }));
  EXPECT_FALSE(move.lastMove().has_value());
  ASSERT_TRUE(QTest::qWaitFor([&] { return qobject_cast<StaleBanner*>(slot.banner()) != nullptr; }));
  EXPECT_TRUE(inPlace(copies[1])) << "put back from the Trash";
  EXPECT_FALSE(undoStack.canUndo());

  // Another clean move from the stale results is reported under the stale banner.
  ASSERT_NO_FATAL_FAILURE(moveCopy(move, 1));
  EXPECT_FALSE(inPlace(copies[2]));
  EXPECT_NE(qobject_cast<StaleBanner*>(slot.banner()), nullptr);
  EXPECT_TRUE(undoStack.canUndo());
}

TEST_F(BannerSlotTest, once_the_reported_move_is_being_undone_from_the_edit_menu_its_banner_offers_no_undo) {
  QUndoStack undoStack;
  ResultsMove move(driver.store, trash, &undoStack);
  BannerSlot slot(driver.store, move, window, &window);
  ASSERT_NO_FATAL_FAILURE(moveCopy(move, 1));
  ASSERT_NO_FATAL_FAILURE(moveCopy(move, 1));
  undoStack.undo();  // Edit › Undo: the banner stays until the files are back
  ASSERT_NE(qobject_cast<MovedBanner*>(slot.banner()), nullptr);
  auto* undo = slot.banner()->findChild<QAbstractButton*>(QStringLiteral("undoMoveButton"));
  EXPECT_FALSE(undo->isEnabled());
  undo->click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !trash.isMoving() && driver.store.isStale(); }));
  EXPECT_TRUE(inPlace(copies[2]));
  EXPECT_FALSE(inPlace(copies[1])) << "the earlier move was undone too";
}

TEST_F(BannerSlotTest, without_an_undo_stack_the_moved_banners_undo_only_closes_it_as_its_close_button_does) {
  ResultsMove move(driver.store, trash, nullptr);
  BannerSlot slot(driver.store, move, window, &window);
  // Each move takes the set's second copy: b/x.bin, then c/x.bin.
  const char* const buttons[] = {"undoMoveButton", "closeBannerButton"};
  for (std::size_t round = 0; round < std::size(buttons); ++round) {
    SCOPED_TRACE(buttons[round]);
    ASSERT_NO_FATAL_FAILURE(moveCopy(move, 1));
    ASSERT_NE(qobject_cast<MovedBanner*>(slot.banner()), nullptr);
    press(slot, buttons[round]);
    EXPECT_TRUE(QTest::qWaitFor([&] { return slot.banner() == nullptr; }));
    EXPECT_FALSE(move.lastMove().has_value());
    EXPECT_FALSE(driver.store.isStale());
    EXPECT_FALSE(inPlace(copies[round + 1])) << "the file stays in the Trash";
  }
}

TEST_F(SummaryBarTest, a_segment_given_less_room_than_its_title_ends_it_in_an_ellipsis_and_carries_it_whole) {
  driver.finishWith({duplicateSet(1, 2, 100)});
  auto& lookalikes = *qobject_cast<ElidingButton*>(bar->picker()->button(static_cast<int>(ResultsFilter::lookalikes)));
  const QString whole = QStringLiteral("Same Name, Different Content");
  const int needed = bar->findChild<QWidget*>("showPicker")->sizeHint().width();
  for (const int width : {1400, needed - 80}) {
    SCOPED_TRACE(width);
    bar->resize(width, bar->sizeHint().height());
    const bool cut = width < needed;
    EXPECT_EQ(lookalikes.text(), whole);
    // What the segment paints.
    const QString shown = lookalikes.shownText();
    EXPECT_EQ(shown.endsWith(QChar(0x2026)), cut) << shown.toStdString();
    EXPECT_GT(shown.size(), 4) << "the start of the title shows";
    EXPECT_TRUE(whole.startsWith(shown.chopped(cut ? 1 : 0))) << shown.toStdString();
    EXPECT_EQ(lookalikes.toolTip(), cut ? whole : QString());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&lookalikes)->text(QAccessible::Name), whole);
  }
}

}  // namespace
