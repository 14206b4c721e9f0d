// The progress card over a scripted scan.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>

#include "interface/FormattedByteCount.h"
#include "scan/NotReadButton.h"
#include "scan/PhaseRow.h"
#include "scan/ScanProgressView.h"
#include "scan_store_driver.hpp"
#include "widget_test_support.hpp"

namespace {

using namespace widgettest;

// "state title (detail)" for each row, top to bottom.
QStringList rows(const ScanProgressView& view) {
  static const char* names[] = {"pending", "running", "done"};
  QStringList texts;
  for (const PhaseRow* row : view.phaseRows()) {
    QString text = QString::fromLatin1(names[static_cast<int>(row->state())]) + u' ' + row->title();
    if (!row->detail().isEmpty()) text += QStringLiteral(" (") + row->detail() + u')';
    texts.append(text);
  }
  return texts;
}

// The names assistive technology reads in the widget's tree, depth first.
QStringList accessibleNames(QAccessibleInterface* node) {
  QStringList names{node->text(QAccessible::Name)};
  for (int i = 0; i < node->childCount(); ++i) names += accessibleNames(node->child(i));
  return names;
}

class ScanProgressViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view.resize(700, 500);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  }

  QApplication& app = application();  // before any widget
  ScanStoreDriver driver;
  ScanProgressView view{driver.store};
};

TEST_F(ScanProgressViewTest, the_listing_runs_from_zero_and_a_not_read_count_above_zero_shows_and_opens_its_sheet) {
  EXPECT_FALSE(view.timerLabel()->isVisible()) << "no timer without a start time";
  driver.start();
  EXPECT_TRUE(
      std::ranges::any_of(view.findChildren<QLabel*>(), [](QLabel* label) { return label->text() == "Scanning…"; }));
  EXPECT_EQ(rows(view), (QStringList{"running Listing files (0 files)", "pending Grouping by name and size",
                                     "pending Verifying content"}));
  EXPECT_FALSE(view.progressBar()->isVisible());
  EXPECT_TRUE(view.timerLabel()->isVisible());
  EXPECT_EQ(view.timerLabel()->text(), "0:00");
  EXPECT_FALSE(view.notReadButton()->isVisible());

  // The file count agrees with its noun; the not-read count shows in the
  // footer, leaving out a nested folder scanned through its parent.
  driver.feed({progressEvent(1), rootSkippedEvent("/p/n", {RootSkipReason::nestedIn{"/p"}})});
  EXPECT_EQ(view.phaseRows()[0]->detail(), "1 file");
  EXPECT_FALSE(view.notReadButton()->isVisible());
  driver.feed({skippedEvent("/a"), rootSkippedEvent("/gone", {RootSkipReason::missing{}}), progressEvent(2)});
  EXPECT_EQ(view.phaseRows()[0]->detail(), "2 files");
  NotReadButton* button = view.notReadButton();
  EXPECT_TRUE(button->isVisible());
  EXPECT_EQ(button->text(), "2 not read");
  EXPECT_EQ(button->toolTip(), "Show what wasn't read, and why");
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  driver.feed({progressEvent(300'000)});
  EXPECT_EQ(view.phaseRows()[0]->detail(), "300,000 files") << "in the locale's number format";

  // The sheet shows the lists as they stand, and goes when closed.
  EXPECT_EQ(button->presentedList(), nullptr);
  button->click();
  SkippedListView* sheet = button->presentedList();
  ASSERT_NE(sheet, nullptr);
  EXPECT_TRUE(sheet->isVisible());
  EXPECT_EQ(sheet->list()->model()->rowCount(), 5) << "two headings, both folders and the item";
  sheet->accept();
  ScanStoreDriver::drain();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(button->presentedList(), nullptr);
  driver.start();
  EXPECT_FALSE(button->isVisible()) << "a new scan empties the lists";
}

TEST(NotReadButtonTest, counts_skipped_items_and_dropped_folders_but_not_those_scanned_through_another) {
  const SkippedItem item{"/a", {SkipReason::changed{}}};
  const RootSkip missing{"/m", {RootSkipReason::missing{}}};
  const RootSkip notFolder{"/f", {RootSkipReason::notADirectory{}}};
  const RootSkip unreadable{"/u", {RootSkipReason::unreadable{EACCES}}};
  const RootSkip nested{"/p/n", {RootSkipReason::nestedIn{"/p"}}};
  const RootSkip duplicate{"/d", {RootSkipReason::duplicate{"/d2"}}};
  const std::tuple<const char*, QList<SkippedItem>, QList<RootSkip>, std::int64_t> cases[] = {
      {"one item and one missing folder", {item}, {missing}, 2},
      {"every dropped-folder reason", {}, {missing, notFolder, unreadable, nested, duplicate}, 3},
      {"items alone", {item, item, item}, {}, 3},
  };
  for (const auto& [name, skipped, rootSkips, count] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(NotReadButton::count(skipped, rootSkips), count);
  }
}

TEST_F(ScanProgressViewTest, bytes_and_bar_show_only_while_verifying_with_bytes_to_hash_and_a_scan_without_waits) {
  driver.start();
  driver.feed({phaseEvent(Phase::grouping), phaseEvent(Phase::verifying), progressEvent(9)});
  EXPECT_EQ(rows(view), (QStringList{"done Listing files (9 files)", "done Grouping by name and size",
                                     "running Verifying content"}));
  EXPECT_FALSE(view.progressBar()->isVisible());

  driver.feed({progressEvent(9, 1000, 4000)});
  const QString bytes = formattedByteCount(1000) + " / " + formattedByteCount(4000);
  EXPECT_EQ(view.phaseRows()[2]->detail(), bytes);
  EXPECT_TRUE(view.progressBar()->isVisible());
  EXPECT_EQ(view.progressBar()->value(), view.progressBar()->maximum() / 4);
  EXPECT_EQ(view.progressBar()->accessibleName(), "Verifying content");
  EXPECT_EQ(view.phaseRows()[2]->accessibleValue(), "In progress, " + bytes);
  EXPECT_EQ(view.phaseRows()[0]->accessibleValue(), "Done, 9 files");
  EXPECT_EQ(view.phaseRows()[1]->accessibleValue(), "Done");

  driver.feed({phaseEvent(Phase::done)});
  EXPECT_FALSE(view.progressBar()->isVisible());
  EXPECT_EQ(view.phaseRows()[2]->state(), PhaseRow::State::done);

  // The next scan, without verification, leaves the third row waiting until done.
  driver.start(false);
  driver.feed({phaseEvent(Phase::grouping), progressEvent(3)});
  EXPECT_EQ(rows(view), (QStringList{"done Listing files (3 files)", "running Grouping by name and size",
                                     "pending Verifying content"}));
  EXPECT_EQ(view.phaseRows()[2]->accessibleValue(), "Waiting");
  driver.feed({phaseEvent(Phase::done)});
  EXPECT_EQ(rows(view),
            (QStringList{"done Listing files (3 files)", "done Grouping by name and size", "done Verifying content"}));
  EXPECT_FALSE(view.progressBar()->isVisible());
}

TEST_F(ScanProgressViewTest, each_phase_row_is_read_once_with_its_state_and_counting_figures_keep_their_width) {
  driver.start();
  driver.feed({phaseEvent(Phase::grouping), phaseEvent(Phase::verifying), progressEvent(9, 1000, 4000)});
  const QString bytes = formattedByteCount(1000) + " / " + formattedByteCount(4000);
  const QStringList names{"Listing files, Done, 9 files", "Grouping by name and size, Done",
                          "Verifying content, In progress, " + bytes};
  for (std::size_t i = 0; i < view.phaseRows().size(); ++i) {
    QAccessibleInterface* row = QAccessible::queryAccessibleInterface(view.phaseRows()[i]);
    EXPECT_EQ(row->text(QAccessible::Name).toStdString(), names[static_cast<qsizetype>(i)].toStdString());
    EXPECT_EQ(row->childCount(), 0) << "icon, title and figure are not read again";
  }
  const QStringList read = accessibleNames(QAccessible::queryAccessibleInterface(&view));
  for (const QString& name : names) EXPECT_EQ(read.count(name), 1) << name.toStdString();
  for (const char* part : {"Listing files", "9 files", "Grouping by name and size"})
    EXPECT_FALSE(read.contains(QString::fromUtf8(part))) << part;

  // Digits of one width: a count that grows does not shift its neighbours.
  QList<QLabel*> figures{view.timerLabel()};
  for (const PhaseRow* row : view.phaseRows())
    for (QLabel* label : row->findChildren<QLabel*>())
      if (!label->text().isEmpty() && label->text() == row->detail()) figures.append(label);
  ASSERT_EQ(figures.size(), 3) << "the timer and the two figures";
  const QString fixedFamily = QFontInfo(QFontDatabase::systemFont(QFontDatabase::FixedFont)).family();
  for (const QLabel* figure : figures) {
    EXPECT_EQ(QFontInfo(figure->font()).family(), fixedFamily) << figure->text().toStdString();
    const QFontMetrics metrics(figure->font());
    for (const QChar digit : QStringLiteral("123456789"))
      EXPECT_EQ(metrics.horizontalAdvance(digit), metrics.horizontalAdvance(u'0')) << figure->text().toStdString();
    EXPECT_EQ(figure->font().pointSizeF(), view.font().pointSizeF()) << "the size of the text beside it";
  }
}

TEST_F(ScanProgressViewTest, stop_and_its_shortcut_ask_the_session_to_cancel_unless_the_windows_menu_holds_the_key) {
  driver.start();
  view.stopButton()->click();
  EXPECT_EQ(driver.cancels(), 1);
  EXPECT_EQ(view.stopButton()->text(), "Stop");
  EXPECT_EQ(view.stopButton()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Period));
  QApplication::setActiveWindow(&view);
  QTest::keyClick(&view, Qt::Key_Period, Qt::ControlModifier);
  // A shortcut clicks the button with its pressed look first.
  EXPECT_TRUE(QTest::qWaitFor([this] { return driver.cancels() == 2; }));
  EXPECT_TRUE(driver.store.state().is<ScanStore::State::scanning>()) << "only the core's answer ends the scan";

  // Two holders of the key would leave it ambiguous: the menu's keeps it.
  QWidget window;
  auto* menuStop = new QAction(&window);
  menuStop->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Period));
  window.addAction(menuStop);
  QSignalSpy triggered(menuStop, &QAction::triggered);
  auto* inWindow = new ScanProgressView(driver.store, &window);
  window.resize(700, 500);
  inWindow->resize(700, 500);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QTest::keyClick(&window, Qt::Key_Period, Qt::ControlModifier);
  EXPECT_EQ(triggered.count(), 1);
  EXPECT_TRUE(inWindow->stopButton()->shortcut().isEmpty());
}

TEST(ScanProgressViewText, elapsed_time_reads_as_a_timer) {
  const std::pair<qint64, const char*> cases[] = {{0, "0:00"},       {9, "0:09"},       {65, "1:05"}, {3599, "59:59"},
                                                  {3600, "1:00:00"}, {3723, "1:02:03"}, {-4, "0:00"}};
  for (const auto& [seconds, text] : cases) {
    SCOPED_TRACE(seconds);
    EXPECT_EQ(ScanProgressView::elapsedText(seconds), text);
  }
}

}  // namespace
