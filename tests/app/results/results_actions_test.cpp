// The results actions record without a display: which actions are present
// for a selection, the toggle's title and effect, and actions performed
// after the sets changed.
#include <gtest/gtest.h>

#include "app_test_support.hpp"
#include "results/ResultsActions.h"
#include "scan_store_driver.hpp"

namespace {

using widgettest::duplicateSet;

class ResultsActionsTest : public ::testing::Test {
 protected:
  ResultsActions actions(const QStringList& ids, bool isMoving = false) {
    return buildResultsActions(driver.store, rows, QSet<QString>(ids.cbegin(), ids.cend()), isMoving, hooks);
  }
  bool marked(std::uint64_t set, std::int64_t index) const {
    return driver.store.selection().marked().value(set).contains(index);
  }

  QCoreApplication& app = apptest::application();
  widgettest::ScanStoreDriver driver;
  ResultRows rows{driver.store};
  const LookalikeGroup group{9, "g", 1, {widgettest::fileEntry("/g/1")}};
  QStringList revealed;
  ResultsViewHooks hooks{[] {},
                         [this](const QString& path) { revealed << path; },
                         [](const QString&) {},
                         [] {},
                         {[] { return ResultsFilter::duplicates; }, [](ResultsFilter) {}},
                         {[] { return SortComparator{}; }, [](SortComparator) {}}};
};

TEST_F(ResultsActionsTest,
       presence_follows_the_selection_the_toggle_marks_all_or_none_and_a_stale_action_acts_on_its_own_copy) {
  DuplicateSet unverified = duplicateSet(2, 2, 50);
  unverified.verified = false;
  driver.finishWith({duplicateSet(1, 3, 100), unverified}, {group});
  const QString keeper = "f1//s1/0", copy1 = "f1//s1/1", copy2 = "f1//s1/2";
  const std::tuple<const char*, QStringList, std::optional<QString>, bool, bool> cases[] = {
      {"nothing", {}, std::nullopt, false, false},
      {"the keeper alone", {keeper}, std::nullopt, false, true},
      {"one copy", {copy1}, "Select Copy", true, true},
      {"two copies", {copy1, copy2}, "Select Copies", false, false},
      {"a set row with a copy", {"s1", copy1}, "Select Copy", false, false},
      {"an unverified set's copy", {"f2//s2/1"}, std::nullopt, true, true},
      {"a lookalike", {"l9//g/1"}, std::nullopt, false, true},
  };
  for (const auto& [trace, ids, title, keep, file] : cases) {
    SCOPED_TRACE(trace);
    const ResultsActions record = actions(ids);
    EXPECT_EQ(record.toggleMarkTitle, title);
    EXPECT_EQ(record.toggleMark.has_value(), title.has_value());
    EXPECT_EQ(record.keepThisCopy.has_value(), keep);
    EXPECT_EQ(record.showInFinder.has_value(), file);
    EXPECT_EQ(record.quickLook.has_value(), file);
    EXPECT_FALSE(record.moveToTrash) << "nothing is marked";
    EXPECT_TRUE(record.expandAll && record.collapseAll && record.focusFilter && record.filter);
  }

  driver.store.changeSelection([&](SelectionModel& s) { s.setMarked(true, 1, driver.store.sets().first()); });
  ResultsActions record = actions({copy1, copy2});
  EXPECT_EQ(record.toggleMarkTitle, "Select Copies") << "a mixed selection is marked";
  record.toggleMark->perform();
  EXPECT_TRUE(marked(1, 1) && marked(1, 2));
  record = actions({copy1, copy2});
  EXPECT_EQ(record.toggleMarkTitle, "Deselect Copies");
  EXPECT_TRUE(record.moveToTrash.has_value());
  EXPECT_FALSE(actions({}, true).moveToTrash) << "not while a move runs";
  record.toggleMark->perform();
  EXPECT_FALSE(marked(1, 1) || marked(1, 2));

  actions({"l9//g/1"}).showInFinder->perform();
  EXPECT_EQ(revealed, QStringList{"/g/1"});

  // Without sets the marking commands are absent and expansion still acts on groups.
  driver.finishWith({}, {group});
  const ResultsActions groupsOnly = actions({});
  EXPECT_FALSE(groupsOnly.selectAllCopies || groupsOnly.selectOutsideFirstFolder || groupsOnly.deselectAll);
  groupsOnly.expandAll->perform();
  EXPECT_EQ(driver.store.expandedRows(), QSet<std::uint64_t>{9});
  groupsOnly.collapseAll->perform();
  EXPECT_TRUE(driver.store.expandedRows().isEmpty());

  // An action built before a move acts on its own copy or does nothing.
  driver.finishWith({duplicateSet(1, 4, 100)});
  const ResultsActions keepThird = actions({"f1//s1/2"});
  const ResultsActions markThird = actions({"f1//s1/2"});
  const ResultsActions markSecond = actions({"f1//s1/1"});
  driver.store.removeTrashed({"/s1/1"});

  markThird.toggleMark->perform();
  EXPECT_TRUE(marked(1, 1)) << "the third copy moved up to index 1";
  EXPECT_FALSE(marked(1, 2));
  markSecond.toggleMark->perform();
  keepThird.keepThisCopy->perform();
  EXPECT_EQ(driver.store.selection().keeper(driver.store.sets().first()), 1);
  EXPECT_TRUE(driver.store.selection().marked().value(1).isEmpty()) << "kept, so unmarked; the gone copy marks nothing";
}

}  // namespace
