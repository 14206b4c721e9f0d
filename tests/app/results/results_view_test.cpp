// The results view over a scan store fed by hand: names for assistive
// technology, the inspected item, and the table's look with every kind of row.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>

#include "inspector/InspectorView.h"
#include "interface/CoreTrashPlanner.h"
#include "results/ResultsModel.h"
#include "results/ResultsRowDelegate.h"
#include "results/ResultsTable.h"
#include "results/ResultsView.h"
#include "scan_store_driver.hpp"
#include "trash/TrashService.h"
#include "widget_test_support.hpp"

namespace {

using widgettest::duplicateSet;

class ResultsViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    widgettest::application();
    DuplicateSet kept = duplicateSet(1, 4, 300);
    kept.displayName = "<b>holiday</b>.jpg";
    kept.files[1].nlink = 2;
    kept.files[2].mayShareBlocks = true;
    kept.lookalikes = {widgettest::fileEntry("/other/holiday.jpg")};
    DuplicateSet unverified = duplicateSet(2, 2, 100);
    unverified.displayName = "notes.txt";
    unverified.verified = false;
    driver.finishWith({kept, unverified});
    driver.store.changeSelection([&](SelectionModel& s) { s.setMarked(true, 3, driver.store.sets().first()); });
    view = std::make_unique<ResultsView>(driver.store, trash, &undo);
    view->resize(1100, 420);
    view->show();
  }
  void select(const QModelIndex& index) const {
    view->table()->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }

  widgettest::ScanStoreDriver driver;
  TrashService trash{std::make_unique<CoreTrashPlanner>(), std::make_shared<SystemFileTrashing>()};
  QUndoStack undo;
  std::unique_ptr<ResultsView> view;
};

TEST_F(ResultsViewTest,
       controls_are_named_a_checkbox_click_marks_leaving_the_selection_and_the_inspector_gets_the_one_row) {
  std::unique_ptr<QWidget> toolbarItems(view->takeToolbarItems());
  const std::pair<QWidget*, QString> controls[] = {
      {view->table(), "Results"},
      {view->findChild<QToolButton*>(QStringLiteral("selectMenuButton")), "Select"},
      {view->findChild<QWidget*>(QStringLiteral("moveToTrashButton")), "Move to Trash…"},
      {toolbarItems->findChild<QLineEdit*>(), "Filter by name or path"},
      {toolbarItems->findChild<QToolButton*>(QStringLiteral("inspectorToggle")), "Inspector"}};
  for (const auto& [widget, name] : controls) {
    SCOPED_TRACE(name.toStdString());
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name), name);
  }
  EXPECT_EQ(view->model()->index(0, 0).data(Qt::AccessibleTextRole).toString(), "<b>holiday</b>.jpg")
      << "a name is data, never markup";
  // A copy's mark reads as a check box whose toggle marks that copy alone;
  // the kept copy's box is disabled. Shown rows: the set, its four copies.
  view->table()->expandAll();
  const QModelIndex set = view->model()->index(0, 0);
  select(set);
  QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(view->table());
  const auto mark = [&](int shownRow) { return tree->tableInterface()->cellAt(shownRow, ResultsModel::nameColumn); };
  const auto marks = [&] { return driver.store.selection().marked().value(1); };
  for (int row = 1; row <= 4; ++row) {
    SCOPED_TRACE(row);
    QAccessibleInterface* box = mark(row);
    EXPECT_EQ(box->role(), QAccessible::CheckBox);
    EXPECT_EQ(box->text(QAccessible::Name), QString("Select %1 in /s1/").arg(row - 1));
    EXPECT_TRUE(box->state().checkable);
    EXPECT_EQ(box->state().checked, row == 4);
    EXPECT_EQ(box->state().disabled, row == 1);
    EXPECT_EQ(tree->indexOfChild(box), (row + 1) * ResultsModel::columns);
    ASSERT_NE(box->actionInterface(), nullptr);
    EXPECT_EQ(box->actionInterface()->actionNames(), QStringList{QAccessibleActionInterface::toggleAction()});
  }
  EXPECT_EQ(mark(1)->text(QAccessible::Description), "Keep") << "badges reach the reader";
  EXPECT_EQ(mark(0)->role(), QAccessible::TreeItem) << "a set has no mark";
  const auto toggle = [&](int shownRow) {
    mark(shownRow)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    return marks();
  };
  EXPECT_EQ(toggle(3), (IndexSet{2, 3}));
  EXPECT_TRUE(mark(3)->state().checked);
  EXPECT_EQ(toggle(1), (IndexSet{2, 3})) << "the kept copy cannot be marked";
  EXPECT_EQ(toggle(3), IndexSet{3}) << "a second toggle unmarks";
  EXPECT_EQ(view->tableSelection(), QSet<QString>{"s1"}) << "marking selects nothing";
  const auto click = [&](int row) {
    const QModelIndex copy = view->model()->index(row, 0, set);
    const QRect box = ResultsRowDelegate::checkboxRect(view->table()->visualRect(copy));
    QTest::mouseClick(view->table()->viewport(), Qt::LeftButton, Qt::NoModifier, box.center());
    return copy.data(Qt::CheckStateRole).toInt() == Qt::Checked;
  };
  EXPECT_TRUE(click(2));
  EXPECT_FALSE(click(3)) << "a second click unmarks";
  EXPECT_FALSE(click(0)) << "the kept copy cannot be marked";
  EXPECT_EQ(view->tableSelection(), QSet<QString>{"s1"});
  // The inspector is handed the one selected row.
  select(view->model()->index(2, 0, set));
  ASSERT_TRUE(view->inspector()->item());
  EXPECT_TRUE(std::holds_alternative<InspectedMember>(*view->inspector()->item()));
  select(set);
  EXPECT_TRUE(std::holds_alternative<InspectedSet>(*view->inspector()->item()));
  view->table()->selectionModel()->select(view->model()->index(1, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
  EXPECT_FALSE(view->inspector()->item()) << "two rows: the empty state";
  view->model()->sort(ResultsModel::nameColumn, Qt::AscendingOrder);
  EXPECT_EQ(view->tableSelection().size(), 2) << "a sort keeps the selection";
  EXPECT_EQ(view->table()->selectionModel()->selectedRows().size(), 2);
}

TEST_F(ResultsViewTest, screenshot_of_every_kind_of_row) {
  QUELMARIS_SCREENSHOTS_ONLY();
  view->table()->expandAll();
  select(view->model()->index(1, 0, view->model()->index(1, 0)));
  widgettest::saveScreenshot(*view, "results-table");
}

}  // namespace
