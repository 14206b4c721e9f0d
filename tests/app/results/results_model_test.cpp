// The results model over a scan store fed by hand: its structure under the
// model tester through every kind of change, the cells of each row kind, and
// marks that signal rows instead of resetting.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include "platform/Palette.h"
#include "platform/PlainToolTip.h"
#include "results/ResultsModel.h"
#include "scan_store_driver.hpp"
#include "widget_test_support.hpp"

namespace {

using widgettest::duplicateSet;
using widgettest::fileEntry;

class ResultsModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    widgettest::application();
    DuplicateSet first = duplicateSet(1, 3, 200);
    first.files[1].nlink = 2;
    first.files[2].mayShareBlocks = true;
    first.files[2].freedBytes.reset();
    first.lookalikes = {fileEntry("/other/n")};
    DuplicateSet unverified = duplicateSet(2, 2, 100);
    unverified.verified = false;
    unverified.displayName = "<b>x</b>";
    driver.finishWith({first, unverified}, {LookalikeGroup{9, "g", 5, {fileEntry("/g/1"), fileEntry("/g/2")}}});
  }
  QModelIndex child(int top, int row, int column = 0) const { return model.index(row, column, model.index(top, 0)); }
  QString text(const QModelIndex& index, int role = Qt::DisplayRole) const { return index.data(role).toString(); }
  QStringList badges(const QModelIndex& index) const {
    QStringList titles;
    for (const Badge& badge : index.data(ResultsModel::BadgesRole).value<QList<Badge>>()) titles << badge.title;
    return titles;
  }

  widgettest::ScanStoreDriver driver;
  ResultRows rows{driver.store};
  ResultsModel model{driver.store, rows};
  QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(ResultsModelTest,
       cells_follow_row_kind_and_badges_marks_signal_rows_and_the_structure_holds_through_sort_query_filter_move) {
  const QModelIndex set = model.index(0, 0);
  EXPECT_EQ(badges(set), QStringList{"Different Content"});
  EXPECT_EQ(badges(model.index(1, 0)), (QStringList{"Not Verified"}));
  EXPECT_EQ(text(model.index(0, ResultsModel::copiesColumn)), "3");
  EXPECT_EQ(badges(child(0, 0)), QStringList{"Keep"});
  EXPECT_EQ(badges(child(0, 1)), QStringList{"Hard Link · 0 B"});
  EXPECT_EQ(badges(child(0, 2)), QStringList{"Clone · Zero KB"}) << "this desktop's word";
  EXPECT_EQ(badges(child(0, 3)), QStringList{"Different Content"});
  EXPECT_EQ(text(child(0, 0), Qt::AccessibleTextRole), "0") << "a copy reads as its file name";
  const std::pair<QModelIndex, QString> silent[] = {{child(0, 0, ResultsModel::copiesColumn), "Not applicable"},
                                                    {child(0, 0, ResultsModel::recoverableColumn), "Kept"},
                                                    {child(0, 2, ResultsModel::recoverableColumn), "Kept"},
                                                    {child(0, 3, ResultsModel::recoverableColumn), "Not applicable"}};
  for (const auto& [cell, label] : silent) {
    SCOPED_TRACE(label.toStdString());
    EXPECT_EQ(text(cell), QString());
    EXPECT_EQ(text(cell, Qt::AccessibleTextRole), label);
  }
  EXPECT_FALSE(text(child(0, 1, ResultsModel::recoverableColumn)).isEmpty()) << "a copy that frees bytes";
  EXPECT_FALSE(child(1, 1).data(ResultsModel::CanMarkRole).toBool()) << "unverified sets are not allowed here";
  EXPECT_EQ(text(child(0, 0), Qt::ToolTipRole), plainToolTip("/s1/0"));
  EXPECT_FALSE(model.flags(child(0, 1)).testFlag(Qt::ItemIsUserCheckable)) << "the table decides what marks";

  // A mark or a keep signals its set's rows and never resets.
  QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
  QSignalSpy layouts(&model, &QAbstractItemModel::layoutChanged);
  QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
  const DuplicateSet& first = driver.store.sets().first();
  driver.store.changeSelection([&](SelectionModel& s) { s.setMarked(true, 1, first); });
  ASSERT_EQ(changes.size(), 1);
  EXPECT_EQ(changes[0][0].toModelIndex(), child(0, 0));
  EXPECT_EQ(child(0, 1).data(Qt::CheckStateRole).toInt(), Qt::Checked);
  EXPECT_EQ(child(0, 1).data(ResultsModel::TintRole).value<QColor>(), Palette::stateMarkedRow());

  driver.store.changeSelection([&](SelectionModel& s) { s.keep(2, first); });
  EXPECT_EQ(changes.size(), 2);
  EXPECT_EQ(badges(child(0, 2)), QStringList{"Keep"});
  EXPECT_EQ(child(0, 2).data(ResultsModel::TintRole).value<QColor>(), Palette::stateKeepRow());
  EXPECT_EQ(text(child(0, 0, ResultsModel::recoverableColumn)), QString()) << "the suggested keeper still reads Kept";
  EXPECT_TRUE(resets.isEmpty());
  EXPECT_TRUE(layouts.isEmpty());

  // The structure holds through sort, query, filter and a move.
  ASSERT_EQ(model.rowCount(), 2);
  EXPECT_EQ(model.rowCount(model.index(0, 0)), 4) << "three copies, then the lookalike";
  model.sort(ResultsModel::nameColumn, Qt::AscendingOrder);
  EXPECT_EQ(text(model.index(0, 0)), "<b>x</b>");
  model.setQuery(" S1 ");
  EXPECT_EQ(model.rowCount(), 1);
  model.setFilter(ResultsFilter::lookalikes);
  EXPECT_EQ(model.rowCount(), 0) << "no group's path holds s1";
  model.setQuery({});
  ASSERT_EQ(model.rowCount(), 1);
  EXPECT_EQ(model.rowCount(model.index(0, 0)), 2);
  model.setFilter(ResultsFilter::duplicates);
  driver.store.removeTrashed({"/s1/1"});
  EXPECT_EQ(model.indexOf("f1//s1/2"), child(1, 1)) << "the pruned set at its new place";
  EXPECT_FALSE(model.indexOf("f1//s1/1").isValid());
}

}  // namespace
