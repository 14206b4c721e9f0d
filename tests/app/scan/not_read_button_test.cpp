// The not-read count: which skips it counts, when it shows, and the sheet it opens.
#include <gtest/gtest.h>

#include <QListView>

#include "scan/NotReadButton.h"
#include "scan_store_driver.hpp"
#include "widget_test_support.hpp"

namespace {

using namespace widgettest;

TEST(NotReadButtonTest, counts_skipped_items_and_dropped_folders_but_not_those_scanned_through_another) {
  const SkippedItem item{"/a", {SkipReason::changed{}}};
  const RootSkip missing{"/m", {RootSkipReason::missing{}}};
  const RootSkip notFolder{"/f", {RootSkipReason::notADirectory{}}};
  const RootSkip unreadable{"/u", {RootSkipReason::unreadable{EACCES}}};
  const RootSkip nested{"/p/n", {RootSkipReason::nestedIn{"/p"}}};
  const RootSkip duplicate{"/d", {RootSkipReason::duplicate{"/d2"}}};
  const std::tuple<const char*, QList<SkippedItem>, QList<RootSkip>, std::int64_t> cases[] = {
      {"nothing", {}, {}, 0},
      {"nested and duplicate only", {}, {nested, duplicate}, 0},
      {"one item and one missing folder", {item}, {missing}, 2},
      {"every dropped-folder reason", {}, {missing, notFolder, unreadable, nested, duplicate}, 3},
      {"items alone", {item, item, item}, {}, 3},
  };
  for (const auto& [name, skipped, rootSkips, count] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(NotReadButton::count(skipped, rootSkips), count);
  }
}

TEST(NotReadButtonTest, is_hidden_at_zero_follows_the_store_and_opens_the_sheet_with_the_lists_as_they_stand) {
  application();
  ScanStoreDriver driver;
  QWidget window;
  auto* button = new NotReadButton(driver.store, &window);
  window.show();
  driver.start();
  EXPECT_FALSE(button->isVisible());

  driver.feed({rootSkippedEvent("/p/n", {RootSkipReason::nestedIn{"/p"}})});
  EXPECT_FALSE(button->isVisible()) << "a nested folder was scanned through its parent";

  driver.feed({skippedEvent("/a"), rootSkippedEvent("/gone", {RootSkipReason::missing{}})});
  EXPECT_TRUE(button->isVisible());
  EXPECT_EQ(button->text(), "2 not read");
  EXPECT_EQ(button->toolTip(), "Show what wasn't read, and why");
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

}  // namespace
