// The banners above the results: the moved banner's count, noun and "about ",
// and the slot that shows the stale banner over the moved one and answers
// Undo and Close.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTest>

#include "interface/FormattedByteCount.h"
#include "results/BannerSlot.h"
#include "results/MovedBanner.h"
#include "results/ResultsMove.h"
#include "results/StaleBanner.h"
#include "scan_store_driver.hpp"
#include "widget_test_support.hpp"

namespace {

using namespace widgettest;
using Outcome = TrashService::Outcome;

Outcome movedOutcome(int files, std::uint64_t freed, bool estimated) {
  Outcome outcome;
  for (int i = 0; i < files; ++i) outcome.moved.append({QUrl(), QUrl()});
  outcome.freedBytes = freed;
  outcome.freedEstimated = estimated;
  return outcome;
}

// Plans nothing, so that every move is clean at once.
class EmptyPlanner final : public TrashPlanning {
 public:
  TrashPlan plan(const QList<PlanSet>&, bool) const override { return {}; }
};

TEST(MovedBannerText, the_count_agrees_with_its_noun_and_an_estimate_reads_about) {
  application();
  EXPECT_EQ(MovedBanner::text(movedOutcome(1, 1500, false)),
            "Moved 1 file to the Trash, freeing " + formattedByteCount(1500) + ".");
  EXPECT_EQ(MovedBanner::text(movedOutcome(3, 2'000'000, true)),
            "Moved 3 files to the Trash, freeing about " + formattedByteCount(2'000'000) + ".");
}

class BannerSlotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    driver.start();
    driver.feed({{ScanEvent::setReady{duplicateSet(1, 2, 100)}}, finishedEvent()});
    window.show();
  }

  void reportACleanMove() {
    move.confirmMove();
    ASSERT_TRUE(QTest::qWaitFor([&] { return move.lastMove().has_value(); }));
  }

  QApplication& app = application();
  ScanStoreDriver driver;
  TrashService trash{std::make_unique<EmptyPlanner>(), std::make_shared<SystemFileTrashing>()};
  ResultsMove move{driver.store, trash, nullptr};
  QWidget window;
  BannerSlot* slot = new BannerSlot(driver.store, move, &window);
};

TEST_F(BannerSlotTest, the_stale_banner_wins_over_a_reported_move) {
  EXPECT_EQ(slot->banner(), nullptr);
  reportACleanMove();
  EXPECT_TRUE(qobject_cast<MovedBanner*>(slot->banner()));
  driver.store.setIsStale(true);
  EXPECT_TRUE(qobject_cast<StaleBanner*>(slot->banner()));
  driver.start();
  EXPECT_FALSE(qobject_cast<StaleBanner*>(slot->banner())) << "a new scan clears the stale mark";
}

TEST_F(BannerSlotTest, undo_without_an_undo_stack_and_close_only_remove_the_banner) {
  for (const char* button : {"undoMoveButton", "closeBannerButton"}) {
    SCOPED_TRACE(button);
    reportACleanMove();
    slot->banner()->findChild<QAbstractButton*>(QString::fromLatin1(button))->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return slot->banner() == nullptr; }));
    EXPECT_FALSE(move.lastMove());
    EXPECT_FALSE(driver.store.isStale());
  }
}

TEST(BannerScreenshots, both_banners) {
  QUELMARIS_SCREENSHOTS_ONLY();
  application();
  MovedBanner moved(movedOutcome(3, 2'400'000, true));
  moved.resize(640, moved.sizeHint().height());
  saveScreenshot(moved, QStringLiteral("moved-banner"));
  StaleBanner stale;
  stale.resize(640, stale.sizeHint().height());
  saveScreenshot(stale, QStringLiteral("stale-banner"));
}

}  // namespace
