// The results of a large scan in the real main window at its smallest size,
// where the summary and the banners above the table have the least room.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QFontMetricsF>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocumentFragment>

#include "app_test_support.hpp"
#include "folders/FolderStore.h"
#include "inspector/InspectorView.h"
#include "interface/CoreTrashPlanner.h"
#include "results/MovedBanner.h"
#include "results/ResultsView.h"
#include "results/SummaryBar.h"
#include "results/TotalsLabel.h"
#include "scan/NotReadButton.h"
#include "scan/ScanStore.h"
#include "scripted_main_window.hpp"
#include "shell/MainWindow.h"
#include "shell/ScanOptionsBinding.h"
#include "temp_tree.hpp"
#include "trash/TrashConfirmationSheet.h"
#include "trash/TrashService.h"
#include "widget_test_support.hpp"
#include "widgets/ElidingButton.h"

namespace {

using quelmaris::testing::TempTree;

constexpr int setCount = 2'345;
constexpr int copiesPerSet = 3;
constexpr std::uint64_t freedPerCopy = 1'500'000;

// Thousands of sets of three real copies, each freeing far more than its
// few bytes (as large files would); one copy's freed size is not known.
QList<ScanEvent> largeResults(const TempTree& tree) {
  QList<ScanEvent> events;
  for (int id = 1; id <= setCount; ++id) {
    QList<FileEntry> files;
    for (int copy = 0; copy < copiesPerSet; ++copy) {
      FileEntry file = apptest::entryFor(tree.write("s" + std::to_string(id) + "/" + std::to_string(copy), "x"));
      if (id > 1 || copy < 2) file.freedBytes = freedPerCopy;
      files.append(file);
    }
    events.append({ScanEvent::setReady{DuplicateSet{
        std::uint64_t(id), "x", 1, files, 0, {}, true, std::nullopt, freedPerCopy * (copiesPerSet - 1), id == 1}}});
  }
  events.append({ScanEvent::skipped{{SkippedItem{"/locked", SkipReason{SkipReason::permission{}}}}}});
  events.append({ScanEvent::finished{ScanSummary{false, 7, 6, 1, 0, 1, 100, false, 0, 0, 5, 4}}});
  return events;
}

// Whether the label shows the whole of its sentence (its accessible name, what
// a screen reader reads): nothing cut short, every line of it within the
// label, and nothing of the label out of sight.
void expectShownWhole(const QLabel& label) {
  const QString sentence = label.accessibleName();
  SCOPED_TRACE(sentence.toStdString());
  const QString shown =
      label.textFormat() == Qt::PlainText ? label.text() : QTextDocumentFragment::fromHtml(label.text()).toPlainText();
  EXPECT_EQ(shown.toStdString(), sentence.toStdString());
  const QRectF room = label.contentsRect();
  const QRectF needed = QFontMetricsF(label.font()).boundingRect(room, Qt::TextWordWrap, sentence);
  EXPECT_LE(needed.width(), room.width());
  EXPECT_LE(needed.height(), room.height()) << "every line within the label";
  EXPECT_EQ(label.visibleRegion(), QRegion(label.rect())) << "nothing of it out of sight";
}

class SmallestWindowTest : public ::testing::Test, protected apptest::ScriptedMainWindow<apptest::TakingEveryFile> {
 protected:
  void SetUp() override {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));  // counts in groups of three digits
    QSettings().setValue("showsInspector", true);
    window.show();
    scan.start({apptest::urlOf(tree.root())}, ScanOptions{});
    ASSERT_TRUE(QTest::qWaitFor([this] { return !scanner->scripts.empty(); }));
    for (const ScanEvent& event : largeResults(tree)) feed(event);
    ASSERT_TRUE(QTest::qWaitFor([this] { return scan.state().is<ScanStore::State::finished>(); }));
    view = window.findChild<ResultsView*>();
    ASSERT_NE(view, nullptr);
  }

  // Moves the third copy of the first sets to the Trash and waits for the banner.
  MovedBanner* moveCopies(int sets) {
    scan.changeSelection([&](SelectionModel& selection) {
      for (int index = 0; index < sets; ++index) selection.setMarked(true, 2, scan.sets().at(index));
    });
    widgettest::trigger(window, "moveToTrashAction");
    auto* sheet = window.findChild<TrashConfirmationSheet*>();
    if (sheet == nullptr) return nullptr;
    sheet->findChild<QPushButton*>("confirmMoveButton")->click();
    const auto banner = [this] { return view->bannerSlot()->findChild<MovedBanner*>(); };
    return QTest::qWaitFor([&] { return banner() != nullptr; }) ? banner() : nullptr;
  }

  void settle() {
    for (int round = 0; round < 5; ++round) QCoreApplication::processEvents();
  }

  ResultsView* view = nullptr;
};

TEST_F(SmallestWindowTest, the_summary_and_the_banners_read_whole_in_the_smallest_window_as_in_the_default_one) {
  ASSERT_NE(moveCopies(1'234), nullptr);
  const TotalsLabel& totals = *view->summaryBar()->totalsLabel();
  ASSERT_TRUE(totals.sentence().startsWith("2,345 groups · 3,456 extra copies · about "));
  ASSERT_TRUE(totals.sentence().endsWith(" GB recoverable")) << totals.sentence().toStdString();
  ASSERT_TRUE(view->summaryBar()->notReadButton()->isVisible());
  const QList<QAbstractButton*> segments = view->summaryBar()->picker()->buttons();

  for (const bool stale : {false, true}) {
    scan.setIsStale(stale);
    QWidget& banner = *view->bannerSlot()->findChild<QWidget*>(stale ? "staleBanner" : "movedBanner");
    const QString message = banner.accessibleName();
    ASSERT_TRUE(message.startsWith(stale ? "Files were put back" : "Moved 1,234 files to the Trash, freeing about "));
    for (const QSize size : {window.minimumSize(), QSize(1280, 760)}) {
      SCOPED_TRACE(testing::Message() << banner.objectName().toStdString() << " " << size.width());
      window.resize(size);
      settle();
      ASSERT_EQ(window.size(), size);
      EXPECT_TRUE(view->inspector()->isVisible()) << "beside the inspector column";
      EXPECT_GE(view->inspector()->width(), 260) << "as narrow as the inspector column may be, no narrower";
      expectShownWhole(totals);
      EXPECT_EQ(totals.accessibleName(), totals.sentence());
      expectShownWhole(*banner.findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly));
      EXPECT_EQ(banner.findChild<QLabel*>()->accessibleName(), message);
      for (QAbstractButton* segment : segments)
        EXPECT_EQ(qobject_cast<ElidingButton*>(segment)->shownText(), segment->text()) << "the picker reads whole";
      widgettest::saveScreenshot(window, QStringLiteral("results-%1-%2").arg(banner.objectName()).arg(size.width()));
    }
  }
}

TEST_F(SmallestWindowTest, the_marked_totals_and_the_move_button_read_whole_in_the_smallest_window_light_and_dark) {
  constexpr int marked = 21;
  const auto& totals = *view->findChild<QLabel*>("markTotals");
  const auto& move = *view->findChild<QPushButton*>("moveToTrashButton");
  // The first set holds the copy whose freed size is not known.
  for (const auto& [first, text] : {std::pair(1, "21 selected · 31.5 MB"), std::pair(0, "21 selected · about 30 MB")}) {
    scan.changeSelection([&](SelectionModel& selection) {
      selection.applyMarking(SelectionModel::Marking::deselectAll, scan.sets());
      for (int index = first; index < first + marked; ++index) selection.setMarked(true, 2, scan.sets().at(index));
    });
    ASSERT_EQ(totals.text(), text);
    widgettest::forEachPalette([&] {
      window.resize(window.minimumSize());
      settle();
      ASSERT_EQ(window.size(), QSize(900, 520));
      EXPECT_TRUE(view->inspector()->isVisible());
      EXPECT_GE(view->inspector()->width(), 260) << "as narrow as the inspector column may be, no narrower";
      const QRect room = totals.contentsRect();
      const QRect needed = totals.fontMetrics().boundingRect(room, Qt::TextWordWrap, totals.text());
      EXPECT_LE(needed.width(), room.width()) << text;
      EXPECT_LE(needed.height(), room.height()) << text << ": every line within the label";
      EXPECT_LE(move.sizeHint().width(), move.width()) << "its title and symbol whole";
      for (const QWidget* part : std::initializer_list<const QWidget*>{&totals, &move})
        EXPECT_EQ(part->visibleRegion(), QRegion(part->rect())) << part->objectName().toStdString();
      widgettest::saveScreenshot(window, Palette::isDark() ? "bottom-bar-smallest-dark" : "bottom-bar-smallest");
    });
  }
}

}  // namespace
