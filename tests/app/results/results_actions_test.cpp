// The results actions record without a display: which actions are present
// for a selection, the toggle's title and effect, and actions performed
// after the sets changed.
#include <gtest/gtest.h>

#include "app_test_support.hpp"
#include "results/ResultsActions.h"
#include "scan_store_driver.hpp"

namespace {

using widgettest::duplicateSet;
using widgettest::fileEntry;

class ResultsActionsTest : public ::testing::Test {
 protected:
  void show(const QList<DuplicateSet>& sets, const QList<LookalikeGroup>& groups = {}, bool verified = true) {
    apptest::application();
    driver.start(verified);
    QList<ScanEvent> events;
    for (const DuplicateSet& s : sets) events.append({ScanEvent::setReady{s}});
    for (const LookalikeGroup& g : groups) events.append({ScanEvent::lookalikeReady{g}});
    events.append(widgettest::finishedEvent());
    driver.feed(events);
  }
  ResultsActions actions(const QStringList& ids, bool isMoving = false) {
    return buildResultsActions(driver.store, rows, QSet<QString>(ids.cbegin(), ids.cend()), isMoving, hooks);
  }
  bool marked(std::uint64_t set, std::int64_t index) const {
    return driver.store.selection().marked().value(set).contains(index);
  }

  widgettest::ScanStoreDriver driver;
  ResultRows rows{driver.store};
  QStringList revealed;
  ResultsViewHooks hooks{[] {},
                         [this](const QString& path) { revealed << path; },
                         [](const QString&) {},
                         [] {},
                         {[] { return ResultsFilter::duplicates; }, [](ResultsFilter) {}}};
};

TEST_F(ResultsActionsTest, presence_follows_the_selection_and_the_toggle_marks_all_or_unmarks_all) {
  DuplicateSet unverified = duplicateSet(2, 2, 50);
  unverified.verified = false;
  show({duplicateSet(1, 3, 100), unverified},
       {LookalikeGroup{9, QStringLiteral("g"), 1, {fileEntry(QStringLiteral("/g/1"))}}});
  const QString keeper = QStringLiteral("f1//s1/0"), copy1 = QStringLiteral("f1//s1/1"),
                copy2 = QStringLiteral("f1//s1/2");
  const struct {
    const char* trace;
    QStringList ids;
    std::optional<QString> title;
    bool keep, file;
  } cases[] = {
      {"nothing", {}, std::nullopt, false, false},
      {"the keeper alone", {keeper}, std::nullopt, false, true},
      {"one copy", {copy1}, QStringLiteral("Select Copy"), true, true},
      {"two copies", {copy1, copy2}, QStringLiteral("Select Copies"), false, false},
      {"a set row with a copy", {QStringLiteral("s1"), copy1}, QStringLiteral("Select Copy"), false, false},
      {"an unverified set's copy", {QStringLiteral("f2//s2/1")}, std::nullopt, true, true},
      {"a lookalike", {QStringLiteral("l9//g/1")}, std::nullopt, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.trace);
    const ResultsActions record = actions(c.ids);
    EXPECT_EQ(record.toggleMarkTitle, c.title);
    EXPECT_EQ(record.toggleMark.has_value(), c.title.has_value());
    EXPECT_EQ(record.keepThisCopy.has_value(), c.keep);
    EXPECT_EQ(record.showInFinder.has_value(), c.file);
    EXPECT_EQ(record.quickLook.has_value(), c.file);
    EXPECT_FALSE(record.moveToTrash) << "nothing is marked";
    EXPECT_TRUE(record.expandAll && record.collapseAll && record.focusFilter && record.filter);
  }

  driver.store.changeSelection([&](SelectionModel& s) { s.setMarked(true, 1, driver.store.sets().first()); });
  ResultsActions record = actions({copy1, copy2});
  EXPECT_EQ(record.toggleMarkTitle, QStringLiteral("Select Copies")) << "a mixed selection is marked";
  record.toggleMark->perform();
  EXPECT_TRUE(marked(1, 1) && marked(1, 2));
  record = actions({copy1, copy2});
  EXPECT_EQ(record.toggleMarkTitle, QStringLiteral("Deselect Copies"));
  EXPECT_TRUE(record.moveToTrash.has_value());
  EXPECT_FALSE(actions({}, true).moveToTrash) << "not while a move runs";
  record.toggleMark->perform();
  EXPECT_FALSE(marked(1, 1) || marked(1, 2));

  actions({QStringLiteral("l9//g/1")}).showInFinder->perform();
  EXPECT_EQ(revealed, QStringList{QStringLiteral("/g/1")});
}

TEST_F(ResultsActionsTest, without_sets_the_marking_commands_are_absent_and_expansion_still_acts_on_groups) {
  show({}, {LookalikeGroup{9, QStringLiteral("g"), 1, {fileEntry(QStringLiteral("/g/1"))}}});
  const ResultsActions record = actions({});
  EXPECT_FALSE(record.selectAllCopies || record.selectOutsideFirstFolder || record.deselectAll);
  record.expandAll->perform();
  EXPECT_EQ(driver.store.expandedRows(), QSet<std::uint64_t>{9});
  record.collapseAll->perform();
  EXPECT_TRUE(driver.store.expandedRows().isEmpty());
}

TEST_F(ResultsActionsTest, an_action_built_before_a_move_acts_on_its_own_copy_or_does_nothing) {
  show({duplicateSet(1, 4, 100)});
  const ResultsActions keepThird = actions({QStringLiteral("f1//s1/2")});
  const ResultsActions markThird = actions({QStringLiteral("f1//s1/2")});
  const ResultsActions markSecond = actions({QStringLiteral("f1//s1/1")});
  driver.store.removeTrashed({QStringLiteral("/s1/1")});

  markThird.toggleMark->perform();
  EXPECT_TRUE(marked(1, 1)) << "the third copy moved up to index 1";
  EXPECT_FALSE(marked(1, 2));
  markSecond.toggleMark->perform();
  keepThird.keepThisCopy->perform();
  EXPECT_EQ(driver.store.selection().keeper(driver.store.sets().first()), 1);
  EXPECT_TRUE(driver.store.selection().marked().value(1).isEmpty()) << "kept, so unmarked; the gone copy marks nothing";
}

}  // namespace
