#include <gtest/gtest.h>

#include <optional>

#include "scan/SelectionModel.h"

namespace {

using Marks = SelectionModel::Marks;
using Marking = SelectionModel::Marking;
using Totals = SelectionModel::Totals;

struct Copy {
  QString path;
  std::uint32_t rootIndex = 0;
  std::optional<std::uint64_t> freedBytes = 100;
  bool mayShareBlocks = false;
  std::optional<std::uint64_t> cloneId = std::nullopt;
};

DuplicateSet duplicateSet(std::uint64_t id, const QList<Copy>& copies, std::uint32_t suggestedKeep = 0,
                          bool verified = true) {
  QList<FileEntry> files;
  for (const Copy& c : copies)
    files.append(FileEntry{c.path, c.path.section(QLatin1Char('/'), -1), c.rootIndex, 100, std::nullopt, 0, 1,
                           static_cast<std::uint64_t>(qHash(c.path)), 1, c.cloneId, c.mayShareBlocks, c.freedBytes});
  return DuplicateSet{id, QStringLiteral("name"), 100, files, suggestedKeep, {}, verified, std::nullopt, 0, false};
}

// A set of `count` copies /s<id>/0, /s<id>/1, … in the given roots (root 0 when none given).
DuplicateSet numbered(std::uint64_t id, int count, std::uint32_t suggestedKeep = 0, bool verified = true,
                      const QList<std::uint32_t>& roots = {}) {
  QList<Copy> copies;
  for (int i = 0; i < count; ++i)
    copies.append(Copy{QStringLiteral("/s%1/%2").arg(id).arg(i), roots.isEmpty() ? 0 : roots[i]});
  return duplicateSet(id, copies, suggestedKeep, verified);
}

Marks marksOf(const SelectionModel& selection, const DuplicateSet& set) { return selection.marked().value(set.id); }

TEST(SelectionModel, fresh_selection_keeps_suggested_copies_and_marks_nothing_and_a_last_mark_removed_leaves_no_trace) {
  const QList<DuplicateSet> sets{numbered(1, 3, 2), numbered(2, 2, 1, false)};
  const SelectionModel selection(sets, true);
  EXPECT_EQ(selection.keeper(sets[0]), 2);
  EXPECT_EQ(selection.keeper(sets[1]), 1);
  EXPECT_TRUE(marksOf(selection, sets[0]).isEmpty());
  EXPECT_FALSE(selection.allowsUnverified());
  EXPECT_EQ(selection.totals(sets), Totals{});
  EXPECT_TRUE(selection.planSets(sets).isEmpty());
  EXPECT_TRUE(SelectionModel(sets, false).allowsUnverified());
  SelectionModel unmarked = selection;
  unmarked.setMarked(true, 1, sets[0]);
  unmarked.setMarked(false, 1, sets[0]);
  EXPECT_EQ(unmarked, selection) << "no empty entry is left behind to count it as marked";
}

TEST(SelectionModel, bulk_commands_never_mark_the_keeper_and_leave_unlisted_sets_alone) {
  const DuplicateSet set = numbered(7, 3, 0, true, {0, 0, 2});
  const DuplicateSet other = numbered(2, 3);
  const std::pair<Marking, Marks> cases[] = {
      {Marking::selectAllCopies, {0, 2}}, {Marking::selectOutsideFirstFolder, {2}}, {Marking::deselectAll, {}}};
  for (const auto& [marking, expected] : cases) {
    SCOPED_TRACE(static_cast<int>(marking));
    SelectionModel selection({set, other}, true);
    selection.setMarked(true, 1, other);
    selection.keep(1, set);
    selection.applyMarking(Marking::selectAllCopies, {set});
    selection.applyMarking(marking, {set});
    EXPECT_EQ(marksOf(selection, set), expected);
    EXPECT_EQ(marksOf(selection, other), Marks{1});
  }
}

TEST(SelectionModel, unverified_sets_are_markable_only_after_a_scan_that_did_not_verify) {
  const QList<DuplicateSet> sets{numbered(1, 3, 0, false), numbered(2, 2, 0, false)};
  SelectionModel unverifiedScan(sets, false);
  unverifiedScan.applyMarking(Marking::selectAllCopies, sets);
  EXPECT_EQ(marksOf(unverifiedScan, sets[0]), (Marks{1, 2}));
  EXPECT_TRUE(unverifiedScan.canMark(1, sets[1]));
  EXPECT_EQ(unverifiedScan.totals(sets).unverifiedSets, 2);
  EXPECT_EQ(unverifiedScan.planSets(sets).size(), 2);

  const DuplicateSet verified = numbered(3, 2);
  const QList<DuplicateSet> mixed{sets[0], verified};
  SelectionModel verifyingScan(mixed, true);
  EXPECT_FALSE(verifyingScan.canMark(1, sets[0]));
  verifyingScan.setMarked(true, 1, sets[0]);
  for (const Marking marking : {Marking::selectAllCopies, Marking::selectOutsideFirstFolder}) {
    verifyingScan.applyMarking(marking, mixed);
    EXPECT_TRUE(marksOf(verifyingScan, sets[0]).isEmpty()) << static_cast<int>(marking);
  }
  verifyingScan.applyMarking(Marking::selectAllCopies, mixed);
  EXPECT_EQ(verifyingScan.totals(mixed), (Totals{1, 100, false, 0, 0}));
  verifyingScan.keep(1, sets[0]);
  EXPECT_EQ(verifyingScan.keeper(sets[0]), 1) << "the keeper may change where marking is not allowed";
}

TEST(SelectionModel, refused_requests_change_nothing_and_keeping_a_marked_copy_unmarks_it_and_frees_the_old_keeper) {
  const DuplicateSet set = numbered(6, 3, 1);
  SelectionModel selection({set}, true);
  selection.setMarked(true, 2, set);
  const SelectionModel before = selection;
  const std::tuple<const char*, bool, std::int64_t> marks[] = {
      {"keeper", true, 1}, {"negative", true, -1}, {"past the end", true, 3}, {"unmarked", false, 0}};
  for (const auto& [what, on, at] : marks) {
    SCOPED_TRACE(what);
    selection.setMarked(on, at, set);
    EXPECT_EQ(selection, before);
    EXPECT_TRUE(!on || !selection.canMark(at, set));
  }
  for (const std::int64_t index : {std::int64_t{-1}, std::int64_t{3}}) {
    selection.keep(index, set);
    EXPECT_EQ(selection, before) << index;
  }
  selection.keep(2, set);
  EXPECT_EQ(selection.keeper(set), 2);
  EXPECT_TRUE(marksOf(selection, set).isEmpty());
  EXPECT_TRUE(selection.canMark(1, set));
  EXPECT_FALSE(selection.canMark(2, set));
  selection.setMarked(true, 1, set);
  EXPECT_EQ(marksOf(selection, set), Marks{1});
}

// Several copies sharing blocks beyond the keeper make an estimate.
TEST(SelectionTotals, totals_count_only_what_marked_copies_free_over_sets_and_estimate_where_copies_share_blocks) {
  const QList<DuplicateSet> sets{duplicateSet(1, {{"/a"}, {"/b", 0, 10}, {"/c", 0, 20}}),
                                 duplicateSet(2, {{"/d"}, {"/e", 0, 0}}, 0, false),
                                 duplicateSet(3, {{"/f"}, {"/g", 0, std::nullopt}}, 0, false)};
  SelectionModel selection(sets, false);
  selection.applyMarking(Marking::selectAllCopies, {sets[0], sets[1]});
  EXPECT_EQ(selection.totals(sets), (Totals{3, 30, false, 1, 1})) << "a hard link frees nothing";
  selection.setMarked(true, 1, sets[2]);
  EXPECT_EQ(selection.totals(sets), (Totals{4, 30, true, 1, 2})) << "an unknown amount adds nothing and estimates";
  const std::optional<std::uint64_t> none;
  const std::tuple<const char*, std::optional<std::uint64_t>, std::optional<std::uint64_t>,
                   std::optional<std::uint64_t>, bool, bool>
      cases[] = {
          {"clone ids absent", none, none, none, true, true},
          {"clone ids differ from the keeper's", 5, 6, 7, true, true},
          {"one copy a clone of the keeper", 5, 5, 7, true, false},
          {"both clones of the keeper", 5, 5, 5, true, false},
          {"only one copy may share", 5, 6, 7, false, false},
          {"keeper's clone id absent", none, 5, 5, true, true},
      };
  for (const auto& [what, keeperClone, first, second, secondShares, estimated] : cases) {
    SCOPED_TRACE(what);
    const DuplicateSet set = duplicateSet(
        1, {{"/k", 0, 100, true, keeperClone}, {"/a", 0, 100, true, first}, {"/b", 0, 100, secondShares, second}});
    SelectionModel sharing({set}, true);
    sharing.applyMarking(Marking::selectAllCopies, {set});
    EXPECT_EQ(sharing.totals({set}), (Totals{2, 200, estimated, 0, 0}));
  }
}

TEST(SelectionPlan, plan_sets_carry_the_chosen_keeper_and_ascending_marks) {
  const QList<DuplicateSet> sets{numbered(1, 2), numbered(2, 6, 0, false), numbered(3, 2), numbered(4, 3)};
  SelectionModel selection(sets, false);
  selection.keep(4, sets[1]);
  for (const std::int64_t index : {5, 1, 3}) selection.setMarked(true, index, sets[1]);
  selection.setMarked(true, 1, sets[3]);
  const QList<PlanSet> expected{{2, sets[1].files, 4, {1, 3, 5}, false}, {4, sets[3].files, 0, {1}, true}};
  EXPECT_EQ(selection.planSets(sets), expected);
}

// Each case drops the file at `removed` from a set of five copies, keeper 2 and
// copies 0 to 3 marked where the keeper allows; the old set is listed twice,
// and its repeat's paths must not be read.
TEST(SelectionRemap, marks_and_keeper_follow_their_files_by_path_new_sets_start_fresh_and_dropped_sets_disappear) {
  const std::tuple<const char*, int, std::uint32_t, std::int64_t, Marks> cases[] = {
      {"indices shift down", 0, 0, 1, {0, 2}},
      {"a moved keeper falls back to the suggested copy, unmarked", 2, 1, 1, {0, 2}},
  };
  for (const auto& [what, removed, suggestedKeep, keeper, marks] : cases) {
    SCOPED_TRACE(what);
    const DuplicateSet before = numbered(1, 5);
    const DuplicateSet repeat = duplicateSet(1, {{"/other/0"}, {"/other/1"}, {"/other/2"}});
    SelectionModel selection({before}, true);
    selection.keep(2, before);
    for (const std::int64_t index : {0, 1, 3}) selection.setMarked(true, index, before);
    DuplicateSet after = before;
    after.files.removeAt(removed);
    after.suggestedKeep = suggestedKeep;
    selection.remap({before, repeat}, {after});
    EXPECT_EQ(selection.keeper(after), keeper);
    EXPECT_EQ(marksOf(selection, after), marks);
  }
  const DuplicateSet kept = numbered(1, 3), dropped = numbered(2, 3), fresh = numbered(3, 3, 2);
  SelectionModel selection({kept, dropped}, false);
  selection.applyMarking(Marking::selectAllCopies, {kept, dropped});
  selection.keep(1, dropped);
  selection.remap({kept, dropped}, {kept, fresh});
  EXPECT_EQ(selection.keeper(fresh), 2);
  EXPECT_EQ(selection.marked(), (SelectionModel::MarkedCopies{{kept.id, {1, 2}}}));
  EXPECT_FALSE(selection.keepers().contains(dropped.id));
  EXPECT_TRUE(selection.allowsUnverified());
}

}  // namespace
