// The results of a real scan in the real window, driven through its menus, keys and toolbar.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAccessible>
#include <QBuffer>
#include <QHeaderView>
#include <QImage>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <functional>
#include <set>

#include "folders/FolderListModel.h"
#include "folders/FolderListView.h"
#include "folders/FolderSidebar.h"
#include "inspector/InspectorView.h"
#include "inspector/Thumbnail.h"
#include "results/QuickLookPreview.h"
#include "results/ResultsModel.h"
#include "results/ResultsTable.h"
#include "results/ResultsView.h"
#include "results/SummaryBar.h"
#include "scan/ScanStore.h"
#include "shell/MainWindow.h"
#include "shell/QuelmarisApp.h"
#include "shell/QuelmarisMark.h"
#include "temp_tree.hpp"
#include "widget_test_support.hpp"
#include "widgets/FocusRing.h"

namespace {

using quelmaris::testing::TempTree;

// The objects below an interface, depth first.
QObjectList reachable(QAccessibleInterface& node) {
  QObjectList found;
  for (int index = 0; index < node.childCount(); ++index) {
    QAccessibleInterface* child = node.child(index);
    found.append(child->object());
    found.append(reachable(*child));
  }
  return found;
}

class ResultsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    widgettest::userFolders();
    widgettest::application();
    declareApplicationIdentity();
    QSettings().clear();
    QImage picture(128, 96, QImage::Format_RGB32);  // noisy enough to pass the 1 KB minimum as a PNG
    for (int y = 0; y < 96; ++y)
      for (int x = 0; x < 128; ++x) picture.setPixel(x, y, (x * 7919u + y * 104729u) * 2654435761u);
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(picture.save(&buffer, "PNG"));
    const std::string photo = png.toStdString(), note(2048, 'n');
    tree.write({{"a/photo.png", photo}, {"b/photo.png", photo}, {"b/sub/photo.png", photo}});
    tree.write({{"a/note.txt", note + "first"}, {"b/note.txt", note + "other"}});
    openResults();
  }

  // A new application scanning the two folders, its window painted in the palette of the moment.
  void openResults() {
    app.reset();
    QSettings().clear();
    app = std::make_unique<QuelmarisApp>();
    window = &app->showMainWindow();
    app->folders().add({QUrl::fromLocalFile(QString::fromStdString(tree.path("a"))),
                        QUrl::fromLocalFile(QString::fromStdString(tree.path("b")))});
    trigger("scanAction");
    ASSERT_TRUE(QTest::qWaitFor([this] { return app->scan().state().is<ScanStore::State::finished>(); }, 120'000));
    view = window->findChild<ResultsView*>();
    ASSERT_NE(view, nullptr);
  }

  QAction& action(const char* name) const { return widgettest::action(*window, name); }
  void trigger(const char* name) const { widgettest::trigger(*window, name); }
  // Selects the copies of the one set at these indices.
  void selectCopies(std::initializer_list<int> rows) const {
    QItemSelection selection;
    const QModelIndex set = view->model()->index(0, 0);
    for (const int row : rows) selection.select(view->model()->index(row, 0, set), view->model()->index(row, 5, set));
    view->table()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  }
  QString totals() const {
    auto* label = window->findChild<QLabel*>("markTotals");
    return label->isVisible() ? label->text() : QString();
  }
  std::int64_t marks() const { return app->scan().selection().totals(app->scan().sets()).files; }
  // What the preview shows once it has read its file, off the main thread.
  QString previewed() const {
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->preview()->shownKind() != "loading"; }, 120'000));
    return view->preview()->shownKind();
  }

  TempTree tree;
  std::unique_ptr<QuelmarisApp> app;
  MainWindow* window = nullptr;
  ResultsView* view = nullptr;
};

TEST_F(ResultsWindowTest, marking_keeping_filtering_and_previewing_through_menus_and_keys_all_with_own_access_keys) {
  ASSERT_EQ(app->scan().sets().size(), 1);
  ASSERT_EQ(app->scan().lookalikes().size(), 1);
  for (const char* name :
       {"showInFinderAction", "quickLookAction", "keepThisCopyAction", "toggleMarkAction", "moveToTrashAction"})
    EXPECT_FALSE(action(name).isEnabled()) << name;
  EXPECT_EQ(action("toggleMarkAction").text(), "Select Copy");
  EXPECT_EQ(action("quickLookAction").text(), "Preview") << "this desktop's word for it";
  EXPECT_TRUE(action("showDuplicatesAction").isVisible() && action("showDuplicatesAction").isChecked());

  auto* filter = window->findChild<QLineEdit*>("resultsFilterField");
  ASSERT_NE(filter, nullptr);
  QCoreApplication::processEvents();
  EXPECT_TRUE(filter->isVisible()) << "the filter field is in the toolbar while results show";
  trigger("selectOutsideFirstFolderAction");
  EXPECT_EQ(marks(), 2);
  EXPECT_TRUE(totals().startsWith("2 selected · ")) << totals().toStdString();
  EXPECT_TRUE(action("moveToTrashAction").isEnabled());

  selectCopies({1, 2});
  EXPECT_EQ(action("toggleMarkAction").text(), "Deselect Copies");
  view->table()->setFocus();
  QTest::keyClick(view->table(), Qt::Key_Space);
  EXPECT_EQ(marks(), 2) << "Space with two rows selected marks nothing";
  EXPECT_FALSE(view->previewPath()) << "and opens no preview";
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  QTest::keyClick(view->table(), Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(marks(), 0) << "Ctrl+Return unmarks both";
  QSignalSpy moveRequests(view, &ResultsView::moveToTrashRequested);
  QTest::keyClick(view->table(), Qt::Key_Backspace, Qt::ControlModifier);
  QTest::keyClick(view->table(), Qt::Key_Delete);
  EXPECT_EQ(moveRequests.size(), 0) << "nothing marked: Ctrl+Backspace and Delete do nothing";
  EXPECT_EQ(totals(), QString());
  EXPECT_FALSE(action("moveToTrashAction").isEnabled());
  // The inspector follows the selection: a copy with its thumbnail and "Keep This Copy", then its set.
  const auto shown = [this](const char* name) { return view->inspector()->findChild<QLabel*>(name)->text(); };
  selectCopies({2});
  EXPECT_TRUE(QTest::qWaitFor([&] { return view->inspector()->findChild<Thumbnail*>()->hasImage(); }, 10'000));
  EXPECT_EQ(shown("kindValue"), "PNG image");
  EXPECT_EQ(shown("folderLabel"), app->scan().displayFolder(*inspectedFile(view->inspector()->item())));
  QTest::mouseClick(view->inspector()->findChild<QPushButton*>("keepThisCopyButton"), Qt::LeftButton);
  const DuplicateSet& set = app->scan().sets().first();
  EXPECT_EQ(app->scan().selection().keeper(set), 2);
  view->table()->setCurrentIndex(view->model()->index(0, 0));
  EXPECT_EQ(shown("countLabel"), "3 copies of the same file");
  EXPECT_EQ(shown("identicalValue").left(7), "BLAKE3 ");
  selectCopies({2});
  EXPECT_FALSE(action("keepThisCopyAction").isEnabled()) << "it is the kept copy now";
  EXPECT_FALSE(action("toggleMarkAction").isEnabled());
  trigger("selectAllCopiesAction");
  EXPECT_EQ(marks(), 2);
  // The filter field keeps its editing keys: Ctrl+Backspace deletes a word, Escape empties it.
  filter->setFocus();
  QTest::keyClicks(filter, "no match");
  QTest::keyClick(filter, Qt::Key_Backspace, Qt::ControlModifier);
  EXPECT_EQ(filter->text(), "no ");
  QTest::keyClick(filter, Qt::Key_Escape);
  EXPECT_EQ(filter->text(), QString());
  EXPECT_EQ(view->model()->rowCount(), 1);
  EXPECT_EQ(moveRequests.size(), 0);
  view->table()->setFocus();
  QTest::keyClick(view->table(), Qt::Key_Backspace, Qt::ControlModifier);
  EXPECT_EQ(moveRequests.size(), 1) << "with marks it asks for the move";
  QTest::keyClick(view->table(), Qt::Key_Delete);
  EXPECT_EQ(moveRequests.size(), 2) << "Delete in the table too";
  EXPECT_FALSE(app->scan().selection().marked().value(set.id).contains(2));

  trigger("showLookalikesAction");
  EXPECT_EQ(view->filter(), ResultsFilter::lookalikes);
  EXPECT_TRUE(action("showLookalikesAction").isChecked());
  EXPECT_EQ(view->summaryBar()->filter(), ResultsFilter::lookalikes) << "the summary bar's picker follows";
  EXPECT_EQ(view->model()->rowCount(), 1);
  EXPECT_EQ(marks(), 2) << "the marks stay while lookalikes show";
  trigger("showDuplicatesAction");
  EXPECT_EQ(view->model()->rowCount(), 1);
  EXPECT_TRUE(view->table()->isExpanded(view->model()->index(0, 0))) << "expansion survives the filter";
  // "Sort By" and the header keep each other in step.
  QHeaderView* header = view->table()->header();
  trigger("sortByNameAction");
  EXPECT_EQ(view->model()->sortOrder().first(), (SortComparator{SortKey::name, Qt::DescendingOrder}));
  trigger("sortAscendingAction");
  EXPECT_EQ(std::pair(header->sortIndicatorSection(), header->sortIndicatorOrder()),
            std::pair(int(ResultsModel::nameColumn), Qt::AscendingOrder));
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(ResultsModel::sizeColumn) + 5, header->height() / 2));
  EXPECT_EQ(view->model()->sortOrder().first(), (SortComparator{SortKey::size, Qt::AscendingOrder}));
  EXPECT_TRUE(action("sortBySizeAction").isChecked() && action("sortAscendingAction").isChecked());

  auto* sidebar = window->findChild<FolderSidebar*>();
  EXPECT_FALSE(action("removeFromListAction").isEnabled());
  sidebar->list()->selectionModel()->select(sidebar->model()->index(1), QItemSelectionModel::Select);
  EXPECT_TRUE(action("removeFromListAction").isEnabled()) << "it follows the sidebar, results or not";
  // Shift+F10 opens the menu of the current row.
  selectCopies({1});
  view->table()->selectionModel()->setCurrentIndex(view->model()->index(1, 0, view->model()->index(0, 0)),
                                                   QItemSelectionModel::NoUpdate);
  QTest::keyClick(view->table(), Qt::Key_F10, Qt::ShiftModifier);
  auto* rowMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(rowMenu, nullptr);
  EXPECT_EQ(rowMenu->actions().first()->text(), "&Keep This Copy") << "with its access key";
  rowMenu->close();
  // Space opens and closes the preview of the one selected file under scoped access.
  selectCopies({0});
  view->table()->setFocus();
  QTest::keyClick(view->table(), Qt::Key_Space);
  EXPECT_TRUE(view->previewPath().value_or("").endsWith("/photo.png"));
  EXPECT_EQ(view->previewAccess().size(), 2);
  EXPECT_EQ(previewed(), "image");
  QTest::keyClick(view->table(), Qt::Key_Space);
  EXPECT_FALSE(view->previewPath());
  EXPECT_TRUE(view->previewAccess().isEmpty());

  const QString text = QString::fromStdString(tree.write("c/readme.txt", "hello"));
  view->setPreviewPath(text);
  EXPECT_EQ(previewed(), "text");
  QAccessibleInterface* preview = QAccessible::queryAccessibleInterface(view->preview());
  EXPECT_EQ((std::pair{preview->role(), preview->text(QAccessible::Name)}),
            (std::pair{QAccessible::Window, QString("readme.txt")}));
  const QString fifo = QString::fromStdString(tree.path("c/pipe.txt"));
  ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
  view->setPreviewPath(fifo);
  EXPECT_EQ(previewed(), "file") << "a FIFO is never read";
  view->preview()->close();
  EXPECT_FALSE(view->previewPath()) << "closing the window clears the preview";
  // The inspector toggle is remembered.
  auto* toggle = window->findChild<QWidget*>("inspectorToggle");
  ASSERT_NE(toggle, nullptr);
  EXPECT_TRUE(view->showsInspector());
  QTest::mouseClick(toggle, Qt::LeftButton);
  EXPECT_FALSE(view->showsInspector());
  EXPECT_FALSE(QSettings().value("showsInspector").toBool());
  EXPECT_EQ(toggle->toolTip(), "Show Inspector");
  trigger("toggleInspectorAction");
  EXPECT_TRUE(view->showsInspector()) << "the View menu's item shows it again";
  // Each menu has a mnemonic of its own and every item in it an access key of its own.
  QList<QKeySequence> mnemonics;
  for (QAction* menu : window->menuBar()->actions()) {
    SCOPED_TRACE(menu->text().toStdString());
    EXPECT_EQ(widgettest::itemsWithoutOwnAccessKey(*menu->menu()), QStringList());
    const QKeySequence mnemonic = QKeySequence::mnemonic(menu->text());
    EXPECT_FALSE(mnemonic.isEmpty() || mnemonics.contains(mnemonic));
    mnemonics.append(mnemonic);
  }

  app->scan().reset();
  EXPECT_FALSE(action("selectAllCopiesAction").isEnabled());
  EXPECT_EQ(action("toggleMarkAction").text(), "Select Copy");
  EXPECT_FALSE(action("showDuplicatesAction").isVisible());
  EXPECT_FALSE(action("sortBySizeAction").isEnabled());
}

TEST_F(ResultsWindowTest, screenshot_of_the_smallest_window_and_the_menus) {
  QUELMARIS_SCREENSHOTS_ONLY();
  selectCopies({1});
  window->resize(window->minimumSize());
  app->scan().setIsStale(true);
  QTest::qWait(50);
  widgettest::saveScreenshot(*window, "results-smallest");
  for (const char* name : {"fileMenu", "editMenu", "viewMenu"}) {
    auto* menu = window->findChild<QMenu*>(QLatin1String(name));
    menu->popup(window->mapToGlobal(QPoint(20, 20)));
    QTest::qWait(50);
    widgettest::saveScreenshot(*menu, name);
    menu->hide();
  }
}

TEST_F(ResultsWindowTest,
       either_accessible_action_opens_the_options_inside_the_window_and_keyboard_focus_alone_rings_the_scan_button) {
  app->scan().reset();
  window->resize(window->minimumSize());
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  auto& optionsButton = *window->findChild<QToolButton*>("optionsButton");
  QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(window->findChild<QToolBar*>("mainToolBar"));
  EXPECT_FALSE(bar->text(QAccessible::Name).isEmpty()) << "the toolbar has a name";
  QAccessibleInterface* button = QAccessible::queryAccessibleInterface(&optionsButton);
  QWidget* popover = window->findChild<QWidget*>("optionsPopover");
  for (const QString& action :
       {QAccessibleActionInterface::showMenuAction(), QAccessibleActionInterface::pressAction()}) {
    SCOPED_TRACE(action.toStdString());
    ASSERT_TRUE(button->actionInterface()->actionNames().contains(action));
    button->actionInterface()->doAction(action);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(popover));
    EXPECT_TRUE(button->state().expanded);
    EXPECT_TRUE(window->geometry().contains(popover->geometry()));
    EXPECT_EQ(popover->geometry().right(), optionsButton.mapToGlobal(optionsButton.rect().bottomRight()).x())
        << "at the smallest window the popover ends at the button";
    EXPECT_TRUE(popover->isAncestorOf(QApplication::focusWidget())) << "the keyboard lands in the popover";

    QList<std::pair<QAccessible::Role, QString>> found;
    widgettest::collect(*bar, found);
    EXPECT_TRUE(found.contains(std::pair{QAccessible::CheckBox, QStringLiteral("Verify Content")}));
    EXPECT_EQ(
        std::count_if(found.begin(), found.end(), [](const auto& node) { return node.first == QAccessible::ComboBox; }),
        2);
    widgettest::saveScreenshot(*popover, QStringLiteral("options-popover-open"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(popover->isVisible());
  }
  // Keyboard focus rings the Scan button, a click does not.
  auto& scanButton = *window->findChild<QPushButton*>("scanButton");
  scanButton.setFocus(Qt::TabFocusReason);
  EXPECT_TRUE(widgettest::showsFocusRing(scanButton));
  widgettest::saveScreenshot(*window, QStringLiteral("scan-button-focus"));
  optionsButton.setFocus(Qt::TabFocusReason);
  EXPECT_FALSE(widgettest::showsFocusRing(scanButton));
  scanButton.setFocus(Qt::MouseFocusReason);
  EXPECT_FALSE(widgettest::showsFocusRing(scanButton));
}

TEST_F(ResultsWindowTest, each_control_of_the_window_shows_its_keyboard_focus_at_three_to_one_light_and_dark) {
  const auto ringed = [](const QWidget& control) {
    return widgettest::inWindow(control).adjusted(-FocusRing::margin, -FocusRing::margin, FocusRing::margin,
                                                  FocusRing::margin);
  };
  widgettest::forEachPalette([&] {
    openResults();
    trigger("selectAllCopiesAction");
    selectCopies({1});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QCoreApplication::processEvents();  // the toolbar lays out the items the results gave it
    QWidget& table = *view->table();
    const auto control = [this](const char* name) -> QWidget& { return *window->findChild<QWidget*>(name); };
    for (const auto& [name, area] : std::initializer_list<std::pair<const char*, QRect>>{
             {"optionsButton", ringed(control("optionsButton"))},
             {"inspectorToggle", widgettest::inWindow(control("inspectorToggle"))},
             {"resultsFilterField", widgettest::inWindow(control("resultsFilterField"))},
             {"selectMenuButton", widgettest::inWindow(control("selectMenuButton"))},
             {"moveToTrashButton", ringed(control("moveToTrashButton"))}}) {
      EXPECT_GE(widgettest::focusIndicatorContrast(control(name), table, area), Palette::outlineContrast) << name;
    }
    // The scrolling pane, a Tab stop of its own for the keys that scroll it.
    const QList<QScrollArea*> panes = view->inspector()->findChildren<QScrollArea*>(Qt::FindDirectChildrenOnly);
    const auto filePane = std::find_if(
        panes.begin(), panes.end(), [](const QScrollArea* pane) { return pane->accessibleName() == "File Details"; });
    ASSERT_NE(filePane, panes.end());
    EXPECT_GE(widgettest::focusIndicatorContrast(**filePane, table, widgettest::inWindow(**filePane)),
              Palette::outlineContrast);
    widgettest::saveScreenshot(*window, Palette::isDark() ? "file-details-focus-dark" : "file-details-focus");
    // Alt walks the menu bar from its first title.
    widgettest::focusByKeyboard(table);
    QMenuBar& bar = *window->menuBar();
    const QRect titles = widgettest::inWindow(bar);
    const QImage before = window->grab(titles).toImage();
    QTest::keyClick(&table, Qt::Key_Alt, Qt::AltModifier);
    ASSERT_TRUE(bar.activeAction() != nullptr && bar.hasFocus());
    EXPECT_GE(widgettest::indicatorContrast(widgettest::changedPixels(before, window->grab(titles).toImage(), titles)),
              Palette::outlineContrast);
    widgettest::saveScreenshot(bar, Palette::isDark() ? "menu-bar-alt-dark" : "menu-bar-alt");
    QTest::keyClick(&bar, Qt::Key_Escape);
  });
}

TEST_F(ResultsWindowTest, keeping_another_copy_repaints_the_row_kept_before_across_its_whole_width) {
  view->table()->expandAll();
  selectCopies({2});
  auto* keep = view->inspector()->findChild<QPushButton*>("keepThisCopyButton");
  const DuplicateSet& set = app->scan().sets().first();
  const QModelIndex keptBefore =
      view->model()->index(int(app->scan().selection().keeper(set)), 0, view->model()->index(0, 0));
  ASSERT_NE(keptBefore.row(), 2);
  QWidget& viewport = *view->table()->viewport();
  // From what the window shows, not a fresh painting of it.
  const auto shown = [&] {
    QCoreApplication::processEvents();
    return window->screen()->grabWindow(window->winId()).toImage();
  };
  const QPoint indent = viewport.mapTo(
      window, QPoint(view->table()->indentation() - 4, view->table()->visualRect(keptBefore).center().y()));
  const QColor tinted = shown().pixelColor(indent);
  const QColor base = view->table()->palette().color(QPalette::Base);
  ASSERT_NE(tinted, base) << "the kept copy's row is tinted to its left end";

  widgettest::focusByKeyboard(*keep);
  QTest::keyClick(keep, Qt::Key_Space);
  ASSERT_EQ(app->scan().selection().keeper(set), 2);
  EXPECT_EQ(shown().pixelColor(indent), base) << "no stub of the tint is left at the row's left end";
}

TEST_F(ResultsWindowTest,
       decorative_pictures_are_left_out_of_what_a_screen_reader_finds_and_every_control_keeps_a_name) {
  QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window);
  const auto check = [root](const char* state, const QStringList& names) {
    SCOPED_TRACE(state);
    QList<std::pair<QAccessible::Role, QString>> found;
    widgettest::collect(*root, found);
    // Pictures and controls without a name would be read as bare roles.
    const std::set<QAccessible::Role> controls{QAccessible::Graphic,  QAccessible::PushButton,
                                               QAccessible::CheckBox, QAccessible::RadioButton,
                                               QAccessible::ComboBox, QAccessible::EditableText};
    for (const auto& [role, name] : found) EXPECT_FALSE(controls.contains(role) && name.isEmpty()) << role;
    for (QObject* object : reachable(*root))
      EXPECT_TRUE(qobject_cast<QuelmarisMark*>(object) == nullptr && qobject_cast<Thumbnail*>(object) == nullptr)
          << object->metaObject()->className();
    for (const QString& name : names)
      EXPECT_TRUE(std::any_of(found.begin(), found.end(), [&](const auto& node) { return node.second == name; }))
          << name.toStdString();
  };
  selectCopies({1});
  check("a copy", {"photo.png", "Keep This Copy", "Not verified: same name and size only"});
  view->table()->selectionModel()->select(view->model()->index(0, 0),
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  check("a set", {"3 copies of the same file", "Size"});
  view->table()->selectionModel()->clear();
  check("nothing selected", {"No Selection", "Select a file or a group to see its details."});
  app->scan().reset();
  check("no scan", {"Ready to Scan", "Add Folder…"});
}

// A control of the inspector that goes away or disables itself under the
// keyboard ("Keep This Copy" pressed with Space, the column hidden with
// Ctrl+Alt+I) leaves the keyboard with the results, in the inspector or the
// table, so that the keys pressed next never remove a folder.
TEST_F(ResultsWindowTest, the_inspector_letting_go_of_the_keyboard_leaves_it_with_the_results) {
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  const auto press = [this](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(window->windowHandle(), key, modifiers);
  };
  const struct {
    const char* control;
    std::function<void()> letGo;
  } cases[] = {
      {"keepThisCopyButton", [&] { press(Qt::Key_Space); }},
      {"quickLookButton", [&] { press(Qt::Key_I, Qt::ControlModifier | Qt::AltModifier); }},
  };
  for (const auto& letting : cases) {
    SCOPED_TRACE(letting.control);
    selectCopies({2});
    auto* control = view->inspector()->findChild<QPushButton*>(letting.control);
    control->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), control);
    const auto listed = app->folders().folders().size();
    letting.letGo();
    ASSERT_FALSE(control->isEnabled() && control->isVisible()) << "it let go";
    QWidget* focus = QApplication::focusWidget();
    EXPECT_TRUE(focus == view->table() || (focus != control && view->inspector()->isAncestorOf(focus)))
        << (focus != nullptr ? focus->metaObject()->className() : "nothing");
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Delete}) press(key);
    EXPECT_EQ(app->folders().folders().size(), listed);
    ASSERT_TRUE(app->scan().state().is<ScanStore::State::finished>()) << "the results stay";
  }
  EXPECT_EQ(app->scan().selection().keeper(app->scan().sets().first()), 2);
}

// The preview came up with nothing in it holding the keyboard, so a screen
// reader read its title alone, and its tree held the pages it did not show,
// at no size, named "Preview": the page shown holds the keyboard, and no
// element a reader would read is hidden.
TEST_F(ResultsWindowTest, the_preview_gives_the_keyboard_to_what_it_shows_and_lists_nothing_hidden) {
  const struct {
    const char* kind;
    std::string path;
    QString focused;
  } files[] = {
      {"image", tree.path("a/photo.png"), "Preview"},
      {"text", tree.write("c/readme.txt", "hello"), "Preview"},
      {"file", tree.write("c/data.bin", std::string(4, '\0')), "data.bin"},
  };
  for (const auto& file : files) {
    SCOPED_TRACE(file.kind);
    view->setPreviewPath(QString::fromStdString(file.path));
    QuickLookPreview& preview = *view->preview();
    ASSERT_EQ(previewed(), file.kind);
    preview.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == preview.windowHandle(); }));
    QWidget* focus = QApplication::focusWidget();
    const bool held = focus != nullptr && preview.isAncestorOf(focus);
    EXPECT_EQ(held ? QAccessible::queryAccessibleInterface(focus)->text(QAccessible::Name) : QString("nothing"),
              file.focused);
    QStringList hidden;
    const std::function<void(QAccessibleInterface&)> read = [&](QAccessibleInterface& node) {
      for (int index = 0; index < node.childCount(); ++index) {
        QAccessibleInterface& child = *node.child(index);
        const QString name = child.text(QAccessible::Name);
        if ((child.state().invisible || child.rect().isEmpty()) && !name.isEmpty())
          hidden << QString::number(child.role()) + " " + name;
        read(child);
      }
    };
    read(*QAccessible::queryAccessibleInterface(&preview));
    EXPECT_TRUE(hidden.isEmpty()) << hidden.join(", ").toStdString();
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Space}) {
      view->setPreviewPath(QString::fromStdString(file.path));
      ASSERT_EQ(previewed(), file.kind);
      preview.activateWindow();
      ASSERT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == preview.windowHandle(); }));
      QTest::keyClick(preview.windowHandle(), key);
      EXPECT_FALSE(preview.isVisible()) << "the key closes it from what holds the keyboard: " << key;
    }
  }
}

}  // namespace
