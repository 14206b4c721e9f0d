// The banners above the results: the moved banner's count, noun and "about ",
// the stale banner over the moved one, and Undo and Close that end the report.
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

TrashService::Outcome moved(int files, std::uint64_t freed, bool estimated) {
  return {QList<TrashService::Move>(files), freed, estimated, {}, {}, std::nullopt};
}

// Plans nothing, so that every move is clean at once and no file is touched.
class EmptyPlanner final : public TrashPlanning {
 public:
  TrashPlan plan(const QList<PlanSet>&, bool) const override { return {}; }
};

TEST(Banners, the_moved_count_agrees_with_its_noun_and_an_estimate_reads_about) {
  application();
  EXPECT_EQ(MovedBanner::text(moved(1, 1500, false)), "Moved 1 file to the Trash, freeing " + formattedByteCount(1500) + ".");
  EXPECT_EQ(MovedBanner::text(moved(3, 2'000'000, true)),
            "Moved 3 files to the Trash, freeing about " + formattedByteCount(2'000'000) + ".");
}

TEST(Banners, the_stale_banner_wins_and_undo_without_a_stack_or_close_only_end_the_report) {
  application();
  ScanStoreDriver driver;
  driver.start();
  driver.feed({{ScanEvent::setReady{duplicateSet(1, 2, 100)}}, finishedEvent()});
  TrashService trash{std::make_unique<EmptyPlanner>(), std::make_shared<SystemFileTrashing>()};
  ResultsMove move{driver.store, trash, nullptr};
  BannerSlot slot(driver.store, move);
  EXPECT_EQ(slot.banner(), nullptr);
  for (const char* button : {"undoMoveButton", "closeBannerButton"}) {
    SCOPED_TRACE(button);
    move.confirmMove();
    ASSERT_TRUE(QTest::qWaitFor([&] { return qobject_cast<MovedBanner*>(slot.banner()) != nullptr; }));
    slot.banner()->findChild<QAbstractButton*>(QString::fromLatin1(button))->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return slot.banner() == nullptr; }));
    EXPECT_FALSE(driver.store.isStale());
  }
  move.confirmMove();
  ASSERT_TRUE(QTest::qWaitFor([&] { return move.lastMove().has_value(); }));
  driver.store.setIsStale(true);
  EXPECT_TRUE(qobject_cast<StaleBanner*>(slot.banner()));
}

TEST(Banners, screenshots_of_both_banners) {
  QUELMARIS_SCREENSHOTS_ONLY();
  application();
  MovedBanner movedBanner(moved(3, 2'400'000, true));
  StaleBanner stale;
  for (auto [banner, name] : {std::pair<QWidget*, const char*>{&movedBanner, "moved-banner"}, {&stale, "stale-banner"}}) {
    banner->resize(640, banner->sizeHint().height());
    saveScreenshot(*banner, QString::fromLatin1(name));
  }
}

}  // namespace
