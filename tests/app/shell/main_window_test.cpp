// The main window driven through its own actions, over temporary settings and folder list.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QUndoStack>
#include <QWindow>
#include <array>
#include <atomic>
#include <filesystem>
#include <functional>
#include <string>

#include "app_test_support.hpp"
#include "folders/FolderListView.h"
#include "folders/FolderSidebar.h"
#include "folders/FolderStore.h"
#include "open_dialog_typist.hpp"
#include "results/MovedBanner.h"
#include "results/ResultsTable.h"
#include "results/ResultsView.h"
#include "results/StaleBanner.h"
#include "results/SummaryBar.h"
#include "scan/ScanProgressView.h"
#include "scan/ScanStore.h"
#include "scripted_main_window.hpp"
#include "shell/EmptyStateView.h"
#include "shell/MainWindow.h"
#include "shell/OptionsButton.h"
#include "shell/QuelmarisApp.h"
#include "shell/ScanOptionsBinding.h"
#include "temp_tree.hpp"
#include "trash/TrashConfirmationSheet.h"
#include "trash/TrashOutcomeSheet.h"
#include "trash/TrashService.h"
#include "widget_test_support.hpp"
#include "widgets/ContentUnavailableView.h"

namespace {

using quelmaris::testing::TempTree;
using widgettest::action;
using widgettest::trigger;
using widgettest::userFolders;

// The view of the given type in the detail area, if that is what it shows.
template <class View>
View* detailOf(QWidget& window) {
  auto* split = window.findChild<QSplitter*>("mainSplit");
  QWidget* detail = split != nullptr && split->count() > 1 ? split->widget(1) : nullptr;
  if (auto* view = qobject_cast<View*>(detail); view != nullptr || detail == nullptr) return view;
  return detail->findChild<View*>();
}

// The deadline is long enough for any machine; a test that reaches it has failed.
bool waitFor(const std::function<bool()>& done) { return QTest::qWaitFor(done, 120'000); }

QList<QUrl> urlsOf(std::initializer_list<std::string> paths) {
  QList<QUrl> urls;
  for (const auto& path : paths) urls << QUrl::fromLocalFile(QString::fromStdString(path));
  return urls;
}

// The whole application, as main builds it.
class ApplicationWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    userFolders();
    widgettest::application();
    declareApplicationIdentity();
    QSettings().clear();
    QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Quelmaris").removeRecursively();
  }
};

// The real Trash, holding each move while the test holds it.
struct HeldTrash final : FileTrashing {
  quelmaris::Result<TrashedItem, FileOperationError> trashItem(const QUrl& url) const override {
    ++entered;
    while (held) QThread::msleep(1);
    return system.trashItem(url);
  }
  quelmaris::Result<bool, FileOperationError> itemExists(const QUrl& url) const override {
    return system.itemExists(url);
  }
  std::optional<FileOperationError> moveItem(const QUrl& source, const QUrl& destination,
                                             const ItemIdentity& identity) const override {
    return system.moveItem(source, destination, identity);
  }
  std::atomic<bool> held = false;
  mutable std::atomic<int> entered = 0;
  SystemFileTrashing system;
};

// The window over a scan store whose scans the test plays by hand.
class ScriptedWindowTest : public ::testing::Test, protected apptest::ScriptedMainWindow<HeldTrash> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(storage.isValid());
    window.show();
  }
  void TearDown() override { files->held = false; }

  QList<FileEntry> pair;

  int cancels() const { return *scanner->scripts.back().cancels; }
  QPushButton* emptyStateButton() const { return window.findChild<QPushButton*>("emptyStateAddFolder"); }

  // The keys as the desktop delivers them: shortcuts first, then whatever holds the focus.
  void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(window.windowHandle(), key, modifiers);
  }
  void scanFromKeyboard() {
    const std::size_t scans = scanner->scripts.size();
    press(Qt::Key_R, Qt::ControlModifier);
    ASSERT_TRUE(waitFor([&] { return scanner->scripts.size() == scans + 1; }));
  }
  // Folders a and b, holding one pair of copies, listed and the window active.
  void listFoldersWithCopies() {
    pair = {apptest::entryFor(tree.write("a/x.txt", "same"), 0), apptest::entryFor(tree.write("b/x.txt", "same"), 1)};
    folders.add(urlsOf({tree.path("a"), tree.path("b")}));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  // Ends the running scan with the pair as its one set.
  void finishScan() {
    feed({ScanEvent::setReady{DuplicateSet{1, "x.txt", 4, pair, 0, {}, true, std::nullopt, 4, false}}});
    feed({ScanEvent::finished{ScanSummary{false, 2, 2, 1, 0, 1, 4, false, 0, 0, 1, 1}}});
    ASSERT_TRUE(waitFor([this] { return detailOf<ResultsView>(window) != nullptr; }));
  }
  // The accessible name of what holds the keyboard.
  static std::string keyboard() {
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? QAccessible::queryAccessibleInterface(focus)->text(QAccessible::Name).toStdString()
                            : "nothing";
  }
};

TEST_F(ApplicationWindowTest,
       a_scan_runs_to_the_summary_then_marked_copies_move_to_the_trash_and_edit_undo_puts_them_back) {
  TempTree tree;
  const std::string photo(4096, 'x'), copy = tree.write("b/photo.jpg", photo);
  const std::string keeper = tree.write("a/photo.jpg", photo), taken = tree.write("b/taken/photo.jpg", photo);
  tree.write("b/other.jpg", std::string(4096, 'y'));
  const QString trash = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Trash";
  QuelmarisApp app;
  MainWindow& window = app.showMainWindow();
  EXPECT_FALSE(action(window, "scanAction").isEnabled()) << "no folder yet";
  app.folders().add(urlsOf({tree.path("a"), tree.path("b")}));

  trigger(window, "scanAction");
  ASSERT_TRUE(waitFor([&] { return app.scan().state().is<ScanStore::State::finished>(); }));
  ASSERT_EQ(app.scan().sets().size(), 1);
  EXPECT_EQ(app.scan().sets().first().files.size(), 3);
  EXPECT_NE(detailOf<SummaryBar>(window), nullptr);
  EXPECT_TRUE(action(window, "scanAction").isEnabled()) << "a finished scan can be run again";
  EXPECT_FALSE(action(window, "stopAction").isEnabled());
  widgettest::saveScreenshot(window, "finished-summary");

  trigger(window, "selectAllCopiesAction");
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  auto* moveButton = window.findChild<QPushButton*>("moveToTrashButton");
  moveButton->setFocus();
  moveButton->click();
  auto* sheet = window.findChild<TrashConfirmationSheet*>();
  ASSERT_NE(sheet, nullptr);
  sheet->findChild<QPushButton*>("confirmMoveButton")->click();
  EXPECT_FALSE(action(window, "moveToTrashAction").isEnabled()) << "no second move while one runs";
  ASSERT_TRUE(waitFor([&] { return detailOf<MovedBanner>(window) != nullptr; }));
  // The banner is announced as a notification; the focus the disabled button held is the table's.
  const auto accessible = [](QWidget* widget) {
    QAccessibleInterface* read = QAccessible::queryAccessibleInterface(widget);
    return std::pair(read->role(), read->text(QAccessible::Name));
  };
  const auto [movedRole, moved] = accessible(detailOf<MovedBanner>(window));
  EXPECT_EQ(movedRole, QAccessible::Notification);
  EXPECT_TRUE(moved.startsWith("Moved 2 files to the Trash, freeing ")) << moved.toStdString();
  EXPECT_EQ(accessible(window.focusWidget()), std::pair(QAccessible::Tree, QString("Results")));
  auto* closeBanner = detailOf<MovedBanner>(window)->findChild<QWidget*>("closeBannerButton");
  closeBanner->setFocus();
  QTest::mouseClick(closeBanner, Qt::LeftButton);
  ASSERT_TRUE(waitFor([&] { return detailOf<MovedBanner>(window) == nullptr; }));
  EXPECT_EQ(accessible(window.focusWidget()).second, "Results") << "and the banner's once it goes away";
  EXPECT_TRUE(QFile::exists(trash + "/files/photo.jpg"));
  EXPECT_TRUE(QFile::exists(trash + "/info/photo.jpg.trashinfo"));
  EXPECT_EQ(quelmaris::testing::read_file(keeper), photo);
  EXPECT_TRUE(app.scan().sets().isEmpty());

  // Undo puts back what it can and lists what stays in the Trash, and why.
  tree.write("b/taken/photo.jpg", "newcomer");
  trigger(window, "undoAction");
  ASSERT_TRUE(waitFor([&] { return detailOf<StaleBanner>(window) != nullptr; }));
  EXPECT_EQ(accessible(detailOf<StaleBanner>(window)),
            std::pair(QAccessible::Notification,
                      QString("Files were put back from the Trash: these results may be out of date.")));
  EXPECT_EQ(quelmaris::testing::read_file(copy), photo);
  EXPECT_FALSE(QFile::exists(trash + "/info/photo.jpg.trashinfo"));
  auto* stayed = window.findChild<TrashOutcomeSheet*>();
  ASSERT_NE(stayed, nullptr);
  const QAbstractItemModel* list = stayed->findChild<QListView*>("failedList")->model();
  ASSERT_EQ(list->rowCount(), 1);
  EXPECT_EQ(list->index(0, 0).data().toString(), QString::fromStdString(taken) + ": Another item is in its place.");
}

TEST_F(ApplicationWindowTest,
       a_scan_of_only_a_missing_folder_fails_options_write_back_only_the_three_choices_and_the_window_reopens_as_left) {
  TempTree tree;
  const std::string gone = tree.mkdir("gone");
  QuelmarisApp app;
  MainWindow& window = app.showMainWindow();
  EXPECT_EQ(window.size(), QSize(1280, 760)) << "the first launch";
  app.folders().add(urlsOf({gone}));
  std::filesystem::remove(gone);

  trigger(window, "scanAction");
  ASSERT_TRUE(waitFor([&] { return app.scan().state().is<ScanStore::State::failed>(); }));

  const auto& message = std::get<ScanStore::State::failed>(app.scan().state().value).message;
  auto* failed = window.findChild<ContentUnavailableView*>("failedDetail");
  ASSERT_NE(failed, nullptr);
  EXPECT_EQ(std::pair(failed->title(), failed->description()), std::pair(QString("The Scan Could Not Run"), message));
  EXPECT_FALSE(message.isEmpty());
  EXPECT_TRUE(action(window, "scanAction").isEnabled()) << "Scan is offered again after a failure";

  // Options read the stored settings and write back only the three choices.
  QSettings().setValue("minSize", 102400);
  ScanOptions options = app.options();
  EXPECT_EQ(options.settings.minSize, 102400) << "a setting changed elsewhere shows in the next read";
  options.keep = KeepChoice::newest;
  options.settings.minSize = 1;
  app.setOptions(options);
  QSettings settings;
  EXPECT_EQ(settings.value("keepRule").toString(), "newest");
  EXPECT_EQ(settings.value("minSize").toLongLong(), 102400);
  EXPECT_TRUE(settings.fileName().startsWith(userFolders().path())) << settings.fileName().toStdString();

  // The next launch opens the main window where and as large as it was when the application quit, a
  // place on the screen: at its left edge, since the test screen is narrower than the smallest window.
  const QRect screen = window.screen()->availableGeometry();
  window.setGeometry(screen.left() + window.windowHandle()->frameMargins().left(), screen.top() + 50, 900, 600);
  trigger(window, "quitAction");
  ASSERT_TRUE(waitFor([&] { return !window.isVisible(); }));
  EXPECT_EQ(QuelmarisApp().showMainWindow().geometry(), window.geometry());
}

TEST_F(ScriptedWindowTest,
       a_drop_adds_folders_the_title_names_them_stop_waits_for_the_core_and_a_list_change_cancels_or_discards) {
  EXPECT_EQ(window.windowTitle(), "Duplicates");
  // The empty state invites a drop until a folder is available and takes dropped folders.
  auto* empty = detailOf<EmptyStateView>(window);
  ASSERT_NE(empty, nullptr);
  auto* view = empty->findChild<ContentUnavailableView*>();
  EXPECT_EQ(view->title(), "Drop Folders Here");
  EXPECT_TRUE(view->description().endsWith("leaves this computer.")) << "the English catalogue speaks of this desktop";

  QMimeData dropped;
  dropped.setUrls(urlsOf({tree.write("file.txt", "x"), tree.mkdir("dropped")}));
  // Shift proposes a move, never the answer: the source would delete its files.
  const std::pair<Qt::DropActions, Qt::DropAction> drops[] = {{Qt::MoveAction, Qt::IgnoreAction},
                                                              {Qt::CopyAction | Qt::MoveAction, Qt::CopyAction},
                                                              {Qt::MoveAction | Qt::LinkAction, Qt::LinkAction}};
  for (const auto& [offered, answer] : drops) {
    SCOPED_TRACE(offered.toInt());
    QDragEnterEvent enter(QPoint(10, 10), offered, &dropped, Qt::LeftButton, Qt::ShiftModifier);
    QCoreApplication::sendEvent(empty, &enter);
    QDropEvent drop(QPointF(10, 10), offered, &dropped, Qt::LeftButton, Qt::ShiftModifier);
    QCoreApplication::sendEvent(empty, &drop);
    EXPECT_EQ(enter.isAccepted() && drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction, answer);
    EXPECT_EQ(folders.folders().size(), answer == Qt::IgnoreAction ? 0 : 1);
  }
  ASSERT_EQ(folders.folders().size(), 1);
  EXPECT_TRUE(folders.folders().first().path.endsWith("/dropped"));
  EXPECT_EQ(view->title(), "Ready to Scan");
  EXPECT_EQ(window.windowTitle(), "dropped");
  folders.add(urlsOf({tree.mkdir("Music")}));
  EXPECT_EQ(window.windowTitle(), "2 folders");
  folders.move({1}, 0);
  EXPECT_TRUE(scanner->scripts.empty()) << "an idle change starts nothing";
  EXPECT_TRUE(scan.state().is<ScanStore::State::idle>());

  trigger(window, "scanAction");
  ASSERT_TRUE(waitFor([this] { return scanner->scripts.size() == 1; }));
  feed({ScanEvent::progress{1834, 412'000'000, 1'250'000'000}});
  ASSERT_TRUE(waitFor([this] { return scan.filesSeen() == 1834; }));
  EXPECT_NE(detailOf<ScanProgressView>(window), nullptr);
  EXPECT_FALSE(action(window, "scanAction").isEnabled());
  EXPECT_EQ(window.findChild<QPushButton*>("scanButton")->text(), "Stop");
  trigger(window, "stopAction");
  EXPECT_EQ(cancels(), 1);
  EXPECT_TRUE(scan.state().is<ScanStore::State::scanning>()) << "the store waits for the core's answer";
  folders.add(urlsOf({tree.mkdir("c")}));
  EXPECT_GE(cancels(), 2);
  EXPECT_TRUE(scan.state().is<ScanStore::State::idle>());
  EXPECT_NE(detailOf<EmptyStateView>(window), nullptr);
  EXPECT_TRUE(action(window, "scanAction").isEnabled());
  EXPECT_FALSE(action(window, "stopAction").isEnabled());

  trigger(window, "scanAction");
  ASSERT_TRUE(waitFor([this] { return scanner->scripts.size() == 2; }));
  feed({ScanEvent::finished{ScanSummary{false, 2, 0, 0, 0, 0, 0, false, 0, 0, 1, 1}}});
  ASSERT_TRUE(waitFor([this] { return scan.state().is<ScanStore::State::finished>(); }));

  folders.move({1}, 0);
  EXPECT_TRUE(scan.state().is<ScanStore::State::idle>());
  EXPECT_NE(detailOf<EmptyStateView>(window), nullptr);
  QSet<QUuid> all;
  for (const auto& folder : folders.folders()) all << folder.id;
  folders.remove(all);
  EXPECT_EQ(window.windowTitle(), "Duplicates");
}

TEST_F(ScriptedWindowTest, scan_waits_while_files_move_and_their_outcome_shows_though_the_results_went) {
  const std::string keeper = tree.write("a/x.txt", "same"), copy = tree.write("b/x.txt", "same");
  folders.add(urlsOf({tree.path("a"), tree.path("b")}));
  trigger(window, "scanAction");
  ASSERT_TRUE(waitFor([this] { return scanner->scripts.size() == 1; }));
  const QList<FileEntry> copies{apptest::entryFor(keeper, 0), apptest::entryFor(copy, 1)};
  feed({ScanEvent::setReady{DuplicateSet{1, "x.txt", 4, copies, 0, {}, true, std::nullopt, 4, false}}});
  feed({ScanEvent::finished{ScanSummary{false, 2, 2, 1, 0, 1, 4, false, 0, 0, 1, 1}}});
  ASSERT_TRUE(waitFor([this] { return scan.state().is<ScanStore::State::finished>(); }));
  trigger(window, "selectAllCopiesAction");
  trigger(window, "moveToTrashAction");
  files->held = true;
  window.findChild<TrashConfirmationSheet*>()->findChild<QPushButton*>("confirmMoveButton")->click();
  ASSERT_TRUE(waitFor([this] { return files->entered == 1; }));

  auto* button = window.findChild<QPushButton*>("scanButton");
  EXPECT_FALSE(action(window, "scanAction").isEnabled()) << "no scan while files move";
  EXPECT_FALSE(button->isEnabled());
  folders.add(urlsOf({tree.mkdir("c")}));
  ASSERT_TRUE(scan.state().is<ScanStore::State::idle>()) << "the results are gone";
  EXPECT_FALSE(action(window, "scanAction").isEnabled());
  files->held = false;
  ASSERT_TRUE(waitFor([this] { return window.undoStack().count() == 1; }));
  auto* outcome = window.findChild<TrashOutcomeSheet*>();
  ASSERT_NE(outcome, nullptr) << "the outcome shows without its results";
  EXPECT_EQ(outcome->findChild<QLabel*>("title")->text(), "Moved 1 file to the Trash");
  EXPECT_TRUE(action(window, "scanAction").isEnabled());
  EXPECT_TRUE(button->isEnabled());
}

TEST_F(ScriptedWindowTest, f9_and_the_view_menu_hide_and_show_the_folder_column_and_the_item_says_what_it_will_do) {
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  auto* sidebar = window.findChild<FolderSidebar*>();
  QAction& toggle = action(window, "toggleSidebarAction");
  EXPECT_EQ(toggle.shortcut(), QKeySequence(Qt::Key_F9));
  ASSERT_TRUE(sidebar->isVisible());
  EXPECT_EQ(toggle.text(), "Hide Sidebar");
  const int width = sidebar->width();
  folders.add(urlsOf({tree.mkdir("a")}));
  auto* list = sidebar->findChild<QListView*>();
  list->selectionModel()->select(list->model()->index(0, 0), QItemSelectionModel::Select);
  ASSERT_TRUE(action(window, "removeFromListAction").isEnabled());

  trigger(window, "toggleSidebarAction");
  EXPECT_FALSE(sidebar->isVisible());
  EXPECT_EQ(toggle.text(), "Show Sidebar");
  EXPECT_FALSE(action(window, "removeFromListAction").isEnabled()) << "no removal of folders out of sight";
  auto* split = window.findChild<QSplitter*>("mainSplit");
  EXPECT_TRUE(waitFor([split] { return split->widget(1)->width() == split->width(); })) << "the detail takes it all";
  QTest::keyClick(&window, Qt::Key_F9);
  EXPECT_TRUE(sidebar->isVisible());
  EXPECT_EQ(toggle.text(), "Hide Sidebar");
  EXPECT_TRUE(waitFor([&] { return sidebar->width() == width; })) << "the column comes back as wide as it was";
  EXPECT_TRUE(action(window, "removeFromListAction").isEnabled()) << "its selection with it";
}

TEST_F(ScriptedWindowTest,
       menu_and_popover_show_one_choice_verification_waits_on_content_only_and_escape_closes_a_drop_down_alone) {
  trigger(window, "keep_oldest");
  EXPECT_EQ(stored.keep, KeepChoice::oldest);
  EXPECT_EQ(window.findChild<QComboBox*>("keepBox")->currentText(), "Oldest");

  trigger(window, "match_contentOnly");
  auto* verifyBox = window.findChild<QCheckBox*>("verifyContentBox");
  const QAction& verify = action(window, "verifyContentAction");
  EXPECT_EQ((std::array{verify.isEnabled(), verify.isChecked(), verifyBox->isEnabled(), verifyBox->isChecked()}),
            (std::array{false, true, false, true}))
      << "disabled, the stored value still shows";

  auto* matchBox = window.findChild<QComboBox*>("matchBox");
  matchBox->setCurrentIndex(0);
  emit matchBox->activated(0);
  EXPECT_EQ(stored.criterion, MatchCriterion::nameAndSize);
  EXPECT_TRUE(action(window, "verifyContentAction").isEnabled());
  EXPECT_TRUE(action(window, "match_nameAndSize").isChecked());

  // The key as the desktop delivers it, to the window of the open drop-down.
  auto* button = window.findChild<OptionsButton*>("optionsButton");
  button->showPopover();
  matchBox->showPopup();
  QTest::keyClick(QApplication::activePopupWidget()->windowHandle(), Qt::Key_Escape);
  ASSERT_EQ((std::pair{matchBox->view()->isVisible(), button->popover()->isVisible()}), (std::pair{false, true}));
  QTest::keyClick(QApplication::activePopupWidget()->windowHandle(), Qt::Key_Escape);
  EXPECT_FALSE(button->popover()->isVisible());
}

// Where the keyboard is once the results of a scan started with Ctrl+R
// appear: the results take it from wherever the scan started, the folder list
// included, unless the user moved it while the scan ran or left it on the
// Scan button, so that the keys a user goes on pressing never remove a folder
// by accident.
TEST_F(ScriptedWindowTest, results_take_the_keyboard_the_scan_started_with_unless_the_user_moved_it_meanwhile) {
  ASSERT_NO_FATAL_FAILURE(listFoldersWithCopies());
  const auto openSheet = [this] {
    auto* sheet = window.findChild<TrashConfirmationSheet*>();
    return sheet != nullptr && sheet->isVisible() ? sheet : nullptr;
  };

  // The first scan, from the empty state's button: the progress card holds
  // the keyboard while it is up, the keys do nothing there.
  emptyStateButton()->setFocus(Qt::TabFocusReason);
  ASSERT_NO_FATAL_FAILURE(scanFromKeyboard());
  EXPECT_EQ(keyboard(), "Scanning…");
  for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Delete}) press(key);
  ASSERT_EQ(folders.folders().size(), 2) << "a folder went, and the scan with it";
  ASSERT_NO_FATAL_FAILURE(finishScan());
  EXPECT_EQ(keyboard(), "Results");
  // Delete in the table asks for the move only when something is marked.
  press(Qt::Key_Delete);
  EXPECT_EQ(openSheet(), nullptr) << "nothing marked";
  trigger(window, "selectAllCopiesAction");
  press(Qt::Key_Delete);
  ASSERT_NE(openSheet(), nullptr);
  openSheet()->reject();
  // The offscreen platform activates no window when a sheet closes, as a desktop would.
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

  // Where the user leaves the keyboard before the next Ctrl+R.
  const auto clickRow = [](QAbstractItemView& view, const QModelIndex& index) {
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(index).center());
  };
  auto* list = window.findChild<FolderSidebar*>()->list();
  auto* sidebar = window.findChild<FolderSidebar*>();
  auto* scanButton = window.findChild<QPushButton*>("scanButton");
  const std::function<void()> stay = [] {};
  const struct {
    const char* start;
    std::function<void()> put;
    std::string whileScanning;
    std::function<void()> meanwhile;
    std::string afterwards;
  } cases[] = {
      {"a row of the results",
       [&] { clickRow(*detailOf<ResultsTable>(window), detailOf<ResultsTable>(window)->model()->index(0, 1)); },
       "Scanning…", stay, "Results"},
      {"the filter field",
       [&] { window.findChild<QLineEdit*>("resultsFilterField")->setFocus(Qt::ShortcutFocusReason); }, "Scanning…",
       stay, "Results"},
      {"nowhere",
       [] {
         if (QWidget* focus = QApplication::focusWidget()) focus->clearFocus();
       },
       "Scanning…", stay, "Results"},
      {"a folder", [&] { clickRow(*list, list->model()->index(0, 0)); }, "Folders", stay, "Results"},
      {"the sidebar's Add Folder… button", [&] { sidebar->addButton()->setFocus(Qt::TabFocusReason); }, "Add Folder…",
       stay, "Results"},
      {"the Scan button", [&] { scanButton->setFocus(Qt::TabFocusReason); }, "Stop", stay, "Scan"},
      {"a row of the results, then a folder while scanning",
       [&] { clickRow(*detailOf<ResultsTable>(window), detailOf<ResultsTable>(window)->model()->index(0, 1)); },
       "Scanning…", [&] { clickRow(*list, list->model()->index(0, 0)); }, "Folders"},
  };
  for (const auto& keyboardIn : cases) {
    SCOPED_TRACE(keyboardIn.start);
    keyboardIn.put();
    ASSERT_NO_FATAL_FAILURE(scanFromKeyboard());
    EXPECT_EQ(keyboard(), keyboardIn.whileScanning);
    keyboardIn.meanwhile();
    ASSERT_NO_FATAL_FAILURE(finishScan());
    EXPECT_EQ(keyboard(), keyboardIn.afterwards) << "once the results show";
  }
  // Delete in the folder list, where the user went, is the user's own choice.
  press(Qt::Key_Delete);
  EXPECT_EQ(folders.folders().size(), 1);
}

TEST_F(ScriptedWindowTest, a_scan_that_fails_or_is_stopped_leaves_the_keyboard_in_the_detail) {
  folders.add(urlsOf({tree.mkdir("a")}));
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  window.findChild<QPushButton*>("emptyStateAddFolder")->setFocus(Qt::TabFocusReason);
  ASSERT_NO_FATAL_FAILURE(scanFromKeyboard());
  feed({ScanEvent::failed{"The folders could not be read."}});
  ASSERT_TRUE(waitFor([this] { return scan.state().is<ScanStore::State::failed>(); }));
  EXPECT_EQ(keyboard(), "The Scan Could Not Run") << "the failure, which says why";

  ASSERT_NO_FATAL_FAILURE(scanFromKeyboard());
  EXPECT_EQ(keyboard(), "Scanning…");
  press(Qt::Key_Period, Qt::ControlModifier);
  ASSERT_EQ(cancels(), 1);
  feed({ScanEvent::finished{ScanSummary{true, 0, 0, 0, 0, 0, 0, false, 0, 0, 0, 0}}});
  ASSERT_TRUE(waitFor([this] { return scan.state().is<ScanStore::State::idle>(); }));
  EXPECT_EQ(QApplication::focusWidget(), window.findChild<QPushButton*>("emptyStateAddFolder"))
      << "the empty state's button, not the sidebar's: " << keyboard();
}

// A folder added with the open dialog over the results discards them: the
// keyboard they held goes to the empty state in their place, in a window
// that is active again, so that Tab and Ctrl+R go on from there.
TEST_F(ScriptedWindowTest,
       a_folder_typed_into_the_open_dialog_over_the_results_leaves_the_keyboard_in_the_empty_state) {
  ASSERT_NO_FATAL_FAILURE(listFoldersWithCopies());
  ASSERT_NO_FATAL_FAILURE(scanFromKeyboard());
  ASSERT_NO_FATAL_FAILURE(finishScan());
  detailOf<ResultsTable>(window)->setFocus(Qt::TabFocusReason);
  ASSERT_EQ(keyboard(), "Results");

  const auto completing = apptest::typeIntoNextOpenDialog(window, QString::fromStdString(tree.mkdir("c/extra")));
  press(Qt::Key_O, Qt::ControlModifier);
  ASSERT_EQ(folders.folders().size(), 3);
  EXPECT_TRUE(*completing) << "Return was pressed with the completion list open";
  EXPECT_EQ(QApplication::activeWindow(), &window);
  EXPECT_EQ(QApplication::focusWidget(), emptyStateButton()) << keyboard();
  press(Qt::Key_Tab);
  EXPECT_NE(QApplication::focusWidget(), emptyStateButton()) << "Tab moves on";
  EXPECT_NE(QApplication::focusWidget(), nullptr);
  press(Qt::Key_Tab, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), emptyStateButton()) << "and Shift+Tab back: " << keyboard();
  ASSERT_NO_FATAL_FAILURE(scanFromKeyboard());
  EXPECT_EQ(keyboard(), "Scanning…");
}

// Launched with folders listed, the folder list holds the keyboard, which a
// screen reader says; its current row shows the focus frame at once, not
// only once a key has been pressed, and reads on the sidebar's own ground.
TEST_F(ScriptedWindowTest, the_folder_list_holding_the_keyboard_at_launch_shows_its_focus_light_and_dark) {
  window.hide();
  folders.add(urlsOf({tree.mkdir("a"), tree.mkdir("b")}));
  widgettest::forEachPalette([this] {
    MainWindow launched{folders, scan, trash, options};
    launched.show();
    launched.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&launched));
    FolderSidebar& sidebar = *launched.findChild<FolderSidebar*>();
    ASSERT_EQ(QApplication::focusWidget(), sidebar.list()) << keyboard();
    const QRect area = widgettest::inWindow(*sidebar.list());
    const QImage focused = launched.grab(area).toImage();
    sidebar.list()->clearFocus();
    const QImage unfocused = launched.grab(area).toImage();
    const auto frame = widgettest::changedPixels(unfocused, focused, area);
    EXPECT_GE(widgettest::indicatorContrast(frame), Palette::outlineContrast);
  });
}

}  // namespace
