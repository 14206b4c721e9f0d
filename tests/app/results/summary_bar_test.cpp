// The summary bar: shown only for a finished scan, its totals over every set
// with agreeing nouns and "about " for estimates, and the "Show" picker.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QSignalSpy>

#include "interface/FormattedByteCount.h"
#include "scan/NotReadButton.h"
#include "results/SummaryBar.h"
#include "scan_store_driver.hpp"
#include "widget_test_support.hpp"

namespace {

using namespace widgettest;

class SummaryBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.resize(700, 60);
    window.show();
  }

  QApplication& app = application();  // before any widget
  ScanStoreDriver driver;
  QWidget window;
  SummaryBar* bar = new SummaryBar(driver.store, &window);
};

TEST_F(SummaryBarTest, totals_agree_with_their_numbers_and_estimates_read_about) {
  const QString dot = QString::fromUtf8(" \u00B7 ");
  const struct {
    const char* name;
    QList<DuplicateSet> sets;
    QString text;
  } cases[] = {
      {"no sets", {}, "0 groups" + dot + "0 extra copies" + dot + formattedByteCount(0) + " recoverable"},
      {"one pair", {duplicateSet(1, 2, 100)}, "1 group" + dot + "1 extra copy" + dot + "100 bytes recoverable"},
      {"two sets",
       {duplicateSet(1, 3, 2'000'000), duplicateSet(2, 2, 500'000)},
       "2 groups" + dot + "3 extra copies" + dot + formattedByteCount(2'500'000) + " recoverable"},
      {"one estimate among them",
       {duplicateSet(1, 2, 1000), duplicateSet(2, 2, 1000, true)},
       "2 groups" + dot + "2 extra copies" + dot + "about " + formattedByteCount(2000) + " recoverable"},
  };
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.name);
    EXPECT_EQ(SummaryBar::totalsText(entry.sets), entry.text);
  }
}

TEST_F(SummaryBarTest, shows_only_from_the_finish_on_with_every_set_counted) {
  EXPECT_FALSE(bar->isVisible());
  driver.start();
  EXPECT_FALSE(bar->isVisible());
  driver.feed({skippedEvent("/x"),
               {ScanEvent::setReady{duplicateSet(1, 2, 100)}},
               {ScanEvent::setReady{duplicateSet(2, 3, 100)}},
               finishedEvent()});
  EXPECT_TRUE(bar->isVisible());
  EXPECT_TRUE(bar->notReadButton()->isVisible()) << "the not-read count stands beside the totals";
  EXPECT_EQ(bar->notReadButton()->text(), "1 not read");
  EXPECT_TRUE(bar->totalsLabel()->text().contains(QString::fromUtf8("2 groups \u00B7 3 extra copies")));

  bar->setFilter(ResultsFilter::lookalikes);
  EXPECT_TRUE(bar->totalsLabel()->text().contains(QString::fromUtf8("2 groups \u00B7 3 extra copies")));

  driver.start();
  EXPECT_FALSE(bar->isVisible());
  driver.feed({{ScanEvent::failed{"no folder could be scanned"}}});
  EXPECT_FALSE(bar->isVisible());
}

TEST_F(SummaryBarTest, the_picker_offers_both_filters_in_order_and_binds_both_ways) {
  QList<QString> labels;
  for (QAbstractButton* button : bar->picker()->buttons()) labels.append(button->text());
  EXPECT_EQ(labels, (QList<QString>{"Duplicates", "Same Name, Different Content"}));
  EXPECT_EQ(bar->filter(), ResultsFilter::duplicates);

  QSignalSpy chosen(bar, &SummaryBar::filterChanged);
  bar->setFilter(ResultsFilter::lookalikes);
  EXPECT_TRUE(bar->picker()->button(static_cast<int>(ResultsFilter::lookalikes))->isChecked());
  EXPECT_EQ(chosen.count(), 0) << "a value set from outside is not echoed back";

  bar->picker()->button(static_cast<int>(ResultsFilter::duplicates))->click();
  ASSERT_EQ(chosen.count(), 1);
  EXPECT_EQ(chosen.first().first().value<ResultsFilter>(), ResultsFilter::duplicates);
  EXPECT_EQ(bar->filter(), ResultsFilter::duplicates);
}

}  // namespace
