// The results over a scan store fed by hand: rows, actions, model and view.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QButtonGroup>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>

#include "inspector/InspectorView.h"
#include "interface/CoreTrashPlanner.h"
#include "platform/Palette.h"
#include "platform/PlainToolTip.h"
#include "results/ResultRows.h"
#include "results/ResultsActions.h"
#include "results/ResultsModel.h"
#include "results/ResultsRowDelegate.h"
#include "results/ResultsTable.h"
#include "results/ResultsView.h"
#include "results/SummaryBar.h"
#include "scan_store_driver.hpp"
#include "trash/TrashService.h"
#include "widget_test_support.hpp"

namespace {

using widgettest::duplicateSet;
using widgettest::fileEntry;

class ResultsTest : public ::testing::Test {
 protected:
  QApplication& app = widgettest::application();  // before any widget
  widgettest::ScanStoreDriver driver;
  ResultRows rows{driver.store};
};

FileEntry file(const QString& path, std::int64_t modifiedNs = 0, std::optional<std::int64_t> createdNs = {}) {
  FileEntry entry = fileEntry(path);
  entry.modifiedNs = modifiedNs;
  entry.createdNs = createdNs;
  return entry;
}

DuplicateSet set(std::uint64_t id, const QString& name, std::uint64_t reclaimable, QList<FileEntry> files,
                 QList<FileEntry> lookalikes = {}) {
  return {id, name, 100, std::move(files), 0, std::move(lookalikes), true, QString(64, u'0'), reclaimable, false};
}

class ResultRowsTest : public ResultsTest {
 protected:
  // The display names of the top-level sets, in order.
  QStringList names(const QString& query, const QList<SortComparator>& order = {recoverableFirst}) const {
    QStringList shown;
    for (const qsizetype position : rows.topLevel(ResultsFilter::duplicates, query, order))
      shown << driver.store.sets()[position].displayName;
    return shown;
  }

  static constexpr SortComparator recoverableFirst{SortKey::recoverable, Qt::DescendingOrder};
};

TEST_F(ResultRowsTest, the_query_is_trimmed_of_blanks_only_ignoring_case_and_diacritics_and_sorting_is_stable) {
  driver.finishWith({set(1, "ABC.txt", 5, {file("/x/1"), file("/y/1")}), set(2, "n", 4, {file("/x/2"), file("/Abc/2")}),
                     set(3, "Café.txt", 3, {file("/x/3"), file("/y/3")}),
                     set(4, "m", 2, {file("/x/4"), file("/y/4")}, {file("/abc/4")})});
  const QStringList all{"ABC.txt", "n", "Café.txt", "m"}, abc{"ABC.txt", "n"};
  const std::pair<const char*, QStringList> cases[] = {
      {"", all}, {" \t ", all}, {"abc", abc}, {"\tabc ", abc}, {"\nabc", {}}, {"CAFE", {"Café.txt"}},
  };
  for (const auto& [query, expected] : cases) EXPECT_EQ(names(QString::fromUtf8(query)), expected) << query;
  // Sorting is stable from the store order and breaks ties with the next comparator.
  driver.finishWith({set(1, "b", 10, {file("/1", 50), file("/2", 10)}),
                     set(2, "a", 10, {file("/3", 20, 5), file("/4", 30)}), set(3, "file10", 20, {file("/5", 40)}),
                     set(4, "file9", 5, {}), set(5, "a", 1, {file("/6", 1), file("/7", 2), file("/8", 3)})});
  const auto ascending = [](SortKey key) { return SortComparator{key, Qt::AscendingOrder}; };
  const std::tuple<const char*, QList<SortComparator>, QStringList> orders[] = {
      {"recoverable, ties in store order", {recoverableFirst}, {"file10", "b", "a", "file9", "a"}},
      {"name, numbers by value", {ascending(SortKey::name), recoverableFirst}, {"a", "a", "b", "file9", "file10"}},
      {"created, else modified; none is oldest", {ascending(SortKey::created)}, {"file9", "a", "a", "b", "file10"}},
      {"copies descending", {{SortKey::copies, Qt::DescendingOrder}}, {"a", "b", "a", "file10", "file9"}},
  };
  for (const auto& [trace, order, expected] : orders) EXPECT_EQ(names({}, order), expected) << trace;
  EXPECT_EQ(rows.topLevel(ResultsFilter::duplicates, {}, {recoverableFirst}), (QList<qsizetype>{0, 1, 2, 3, 4}))
      << "after other sorts the default order starts again from the store's";
}

TEST_F(ResultRowsTest, ids_name_kind_id_and_path_and_selected_ids_resolve_to_copies_and_files_or_to_nothing) {
  DuplicateSet unverified = set(13, "u", 1, {file("/u/1"), file("/u/2")});
  unverified.verified = false;
  driver.finishWith({set(12, "x", 9, {file("/34/x"), file("/35/x")}, {file("/L/x")}), unverified},
                    {LookalikeGroup{7, "x", 1, {file("/L/x"), file("/G/x")}}});
  using Member = ResultRows::Member;
  const auto one = [](const char* id) { return QSet<QString>{QString::fromUtf8(id)}; };

  EXPECT_EQ(rows.selectedMember(one("f12//35/x")), (Member{0, 1}));
  EXPECT_FALSE(rows.selectedMember(one("f012//35/x"))) << "not an id the table builds";
  EXPECT_EQ(rows.selectedFile(one("l7//G/x"))->path, "/G/x");
  EXPECT_EQ(rows.selectedFile(one("l99//L/x"))->path, "/L/x") << "the group id is not used";
  for (const QSet<QString>& none :
       {QSet<QString>{}, one("s12"), one("g7"), one("f12//gone"), QSet<QString>{"f12//34/x", "f12//35/x"}}) {
    EXPECT_FALSE(rows.selectedMember(none));
    EXPECT_FALSE(rows.selectedFile(none));
  }

  const QSet<QString> mixed{"s12", "f12//34/x", "f12//35/x", "f13//u/2"};
  EXPECT_EQ(rows.selectedCopies(mixed), (QList<Member>{{0, 1}})) << "the keeper and the unverified copy are left out";

  EXPECT_TRUE(std::holds_alternative<InspectedSet>(*rows.inspectedItem(one("s12"))));
  EXPECT_TRUE(std::holds_alternative<InspectedMember>(*rows.inspectedItem(one("f12//35/x"))));
  EXPECT_TRUE(std::holds_alternative<InspectedLookalike>(*rows.inspectedItem(one("l7//G/x"))));
  EXPECT_FALSE(rows.inspectedItem(one("g7")));
  EXPECT_FALSE(rows.inspectedItem(mixed));
  // Ids are the kind's letter, the decimal id and the absolute path.
  const DuplicateSet s = set(42, "x.jpg", 1, {file("/Volumes/A/x.jpg"), file("/B/x.jpg")}, {file("/C/x.jpg")});
  const LookalikeGroup g{7, "x.jpg", 1, {file("/Volumes/A/x.jpg")}};
  EXPECT_EQ(ResultRow::ofSet(s).id(), "s42");
  EXPECT_EQ(ResultRow::ofFile(s, 0).id(), "f42//Volumes/A/x.jpg");
  EXPECT_EQ(ResultRows::setChild(s, 2).id(), "l42//C/x.jpg") << "lookalikes follow the copies";
  EXPECT_EQ(ResultRow::ofLookalike(g, 0).id(), "l7//Volumes/A/x.jpg");
  EXPECT_EQ(ResultRow::ofGroup(g).id(), "g7");
  EXPECT_EQ(ResultRow::ofFile(s, 1).copies(), 0);
  EXPECT_EQ(ResultRow::ofFile(s, 1).size(), s.size) << "a copy sorts by its set's size";
}

class ResultsActionsTest : public ResultsTest {
 protected:
  ResultsActions actions(const QStringList& ids, bool isMoving = false) {
    return buildResultsActions(driver.store, rows, QSet<QString>(ids.cbegin(), ids.cend()), isMoving, hooks);
  }
  bool marked(std::uint64_t set, std::int64_t index) const {
    return driver.store.selection().marked().value(set).contains(index);
  }

  const LookalikeGroup group{9, "g", 1, {fileEntry("/g/1")}};
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

class ResultsModelTest : public ResultsTest {
 protected:
  void SetUp() override {
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

TEST_F(ResultsModelTest, a_name_with_a_right_to_left_override_shows_in_the_order_of_its_characters) {
  DuplicateSet set = duplicateSet(3, 2, 100);
  set.displayName = QStringLiteral("invoice\u202Etxt.exe");
  driver.finishWith({set}, {});
  const QModelIndex header = model.index(0, 0);
  EXPECT_EQ(text(header), QStringLiteral("invoice<U+202E>txt.exe"));
  EXPECT_EQ(text(header, Qt::AccessibleTextRole), set.displayName) << "read aloud in the order of its characters";
}

class ResultsViewTest : public ResultsTest {
 protected:
  void SetUp() override {
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

  TrashService trash{std::make_unique<CoreTrashPlanner>(), std::make_shared<SystemFileTrashing>()};
  QUndoStack undo;
  std::unique_ptr<ResultsView> view;
};

TEST_F(ResultsViewTest,
       controls_are_named_a_checkbox_click_marks_leaving_the_selection_and_the_inspector_gets_the_one_row) {
  std::unique_ptr<QWidget> toolbarItems(view->takeToolbarItems());
  const std::pair<QWidget*, QString> controls[] = {
      {view->table(), "Results"},
      {view->findChild<QAbstractButton*>(QStringLiteral("selectMenuButton")), "Select"},
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

// The middle of the badge that ends a row's name: found from the right, where
// the first pixel unlike the row's ground is the badge's end.
QRect badgeMiddle(const QImage& painted, const QRect& cell, const QModelIndex& row, const QFont& font) {
  const int y = cell.center().y() * 3;
  int end = cell.right() * 3;
  while (end > cell.left() * 3 && painted.pixel(end, y) == painted.pixel(cell.right() * 3, y)) --end;
  const int width = Badges::width(row.data(ResultsModel::BadgesRole).value<QList<Badge>>().value(0), font);
  return {end / 3 - width + 6, cell.center().y() - 2, width - 12, 5};
}

TEST_F(ResultsViewTest, marks_badges_filled_buttons_and_text_read_on_a_light_and_a_dark_palette) {
  const QPalette before = QApplication::palette();
  for (const QPalette& palette : {QApplication::style()->standardPalette(), widgettest::darkPalette()}) {
    QApplication::setPalette(palette);
    SCOPED_TRACE(Palette::isDark() ? "dark" : "light");
    const QColor window = palette.color(QPalette::Window), base = palette.color(QPalette::Base);
    for (const QColor& text : {Palette::secondaryText(), Palette::tertiaryText(), Palette::brand(),
                               Palette::stateKeep(), Palette::stateClone(), Palette::stateDiffers()})
      for (const QColor& ground : {window, base, Palette::secondaryBackground(), Palette::sidebarBackground()})
        EXPECT_GE(Palette::contrastRatio(Palette::over(text, ground), ground), 4.5) << text.name().toStdString();

    ResultsView shown(driver.store, trash, &undo);
    shown.resize(1100, 420);
    shown.show();
    ResultsTable& table = *shown.table();
    table.expandAll();
    const QModelIndex holiday = shown.model()->index(0, 0), notes = shown.model()->index(1, 0);
    table.selectionModel()->select(shown.model()->index(0, 0, holiday),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const QImage painted = widgettest::paintedLarge(shown);
    widgettest::saveScreenshot(shown, Palette::isDark() ? "results-table-on-dark" : "results-table");
    const auto inView = [&](const QRect& rect) { return rect.translated(table.viewport()->mapTo(&shown, QPoint())); };
    const QModelIndex unmarked = shown.model()->index(1, 0, holiday);
    EXPECT_GE(widgettest::inkContrast(painted, inView(ResultsRowDelegate::checkboxRect(table.visualRect(unmarked)))),
              3.0)
        << "an unticked mark's outline";
    // "Keep" selected and on its tint, "Hard Link" and "Different Content" plain.
    for (const QModelIndex& row :
         {shown.model()->index(0, 0, holiday), shown.model()->index(0, 0, notes), unmarked, holiday}) {
      const QRect cell = inView(table.visualRect(row));
      EXPECT_GE(widgettest::inkContrast(painted, badgeMiddle(painted, cell, row, table.font())), 4.5)
          << row.data(ResultsModel::BadgesRole).value<QList<Badge>>().value(0).title.toStdString();
    }
    for (QWidget* button : {static_cast<QWidget*>(shown.findChild<QPushButton*>(QStringLiteral("moveToTrashButton"))),
                            static_cast<QWidget*>(shown.findChild<SummaryBar*>()->picker()->checkedButton())}) {
      const QRect inside(button->mapTo(&shown, QPoint(8, 4)), button->size() - QSize(16, 8));
      EXPECT_GE(widgettest::inkContrast(painted, inside), 4.5) << button->objectName().toStdString();
    }
  }
  QApplication::setPalette(before);
}

TEST_F(ResultsViewTest, the_keyboard_focus_on_a_copy_frames_its_mark_so_that_it_reads_on_a_light_and_a_dark_palette) {
  const QPalette before = QApplication::palette();
  for (const QPalette& palette : {QApplication::style()->standardPalette(), widgettest::darkPalette()}) {
    QApplication::setPalette(palette);
    SCOPED_TRACE(Palette::isDark() ? "dark" : "light");
    ResultsView shown(driver.store, trash, &undo);
    shown.resize(1100, 420);
    shown.show();
    ResultsTable& table = *shown.table();
    table.expandAll();
    const QModelIndex holiday = shown.model()->index(0, 0);
    auto& elsewhere = *shown.findChild<QAbstractButton*>(QStringLiteral("selectMenuButton"));
    // The kept copy and the marked one on their tints, a plain copy, a selected one.
    for (const auto& [row, selected] :
         {std::pair{0, false}, std::pair{3, false}, std::pair{1, false}, std::pair{2, true}}) {
      SCOPED_TRACE(row);
      const QModelIndex copy = shown.model()->index(row, 0, holiday);
      table.selectionModel()->setCurrentIndex(
          copy,
          selected ? QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows : QItemSelectionModel::Clear);
      const QRect cell = table.visualRect(copy), box = ResultsRowDelegate::checkboxRect(cell);
      const QRect aroundMark(box.left() - 6, cell.top(), box.width() + 12, cell.height());
      EXPECT_GE(widgettest::focusIndicatorContrast(table, elsewhere,
                                                   aroundMark.translated(table.viewport()->mapTo(&shown, QPoint()))),
                Palette::outlineContrast);
      if (selected) widgettest::saveScreenshot(shown, Palette::isDark() ? "focused-copy-on-dark" : "focused-copy");
    }
  }
  QApplication::setPalette(before);
}

TEST_F(ResultsViewTest, the_select_menu_s_arrow_stays_clear_of_its_title) {
  auto& select = *view->findChild<QAbstractButton*>(QStringLiteral("selectMenuButton"));
  select.setFixedSize(select.size());
  const QImage titled = select.grab().toImage();
  select.setText({});
  const QImage untitled = select.grab().toImage();
  // The title is what it adds; the arrow is what makes the untitled button
  // unlike its mirror image, on the side it lies.
  QRect title, arrow;
  for (int y = 0; y < titled.height(); ++y)
    for (int x = 0; x < titled.width(); ++x) {
      if (titled.pixel(x, y) != untitled.pixel(x, y)) title |= QRect(x, y, 1, 1);
      if (x > titled.width() / 2 && untitled.pixel(x, y) != untitled.pixel(titled.width() - 1 - x, y))
        arrow |= QRect(x, y, 1, 1);
    }
  ASSERT_FALSE(title.isEmpty());
  ASSERT_FALSE(arrow.isEmpty());
  EXPECT_GT(arrow.left(), title.right() + 2) << "arrow " << arrow.left() << ", title ends " << title.right();
}

}  // namespace
