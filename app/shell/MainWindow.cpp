#include "shell/MainWindow.h"

#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QUndoStack>
#include <QUuid>
#include <utility>

#include "folders/FolderSidebar.h"
#include "folders/FolderStore.h"
#include "platform/AccessKeys.h"
#include "platform/LastPathComponent.h"
#include "platform/MainThread.h"
#include "platform/Palette.h"
#include "results/ResultsCommands.h"
#include "results/ResultsView.h"
#include "scan/ScanProgressView.h"
#include "scan/ScanStore.h"
#include "shell/EditMenu.h"
#include "shell/EmptyStateView.h"
#include "shell/FileMenu.h"
#include "shell/HelpMenu.h"
#include "shell/MainToolBar.h"
#include "shell/ScanMenu.h"
#include "shell/ScanOptionsBinding.h"
#include "shell/TrashReports.h"
#include "shell/ViewMenu.h"
#include "shell/WindowPlacement.h"
#include "widgets/ContentUnavailableView.h"

namespace {

constexpr QSize minimumWindowSize{900, 520};
constexpr QSize initialWindowSize{1280, 760};
constexpr int sidebarMinimumWidth = 240;
constexpr int sidebarIdealWidth = 280;
const QString geometryKey = QStringLiteral("mainWindowGeometry");

}  // namespace

MainWindow::MainWindow(FolderStore& folders, ScanStore& scan, TrashService& trash, ScanOptionsBinding& options,
                       const ApplicationCommands& commands, QWidget* parent)
    : QMainWindow(parent),
      folders_(folders),
      scan_(scan),
      trash_(trash),
      options_(options),
      undoStack_(new QUndoStack(this)),
      commands_(new ResultsCommands(this)),
      trashReports_(new TrashReports(trash, *this)),
      split_(new QSplitter(this)) {
  requireMainThread();
  setObjectName(QStringLiteral("mainWindow"));
  setMinimumSize(minimumWindowSize);
  resize(initialWindowSize);
  placeOnShow_ = restoreGeometry(QSettings().value(geometryKey).toByteArray());
  if (placeOnShow_) WindowPlacement::fitOnScreen(*this);
  setUnifiedTitleAndToolBarOnMac(true);

  auto* sidebar = new FolderSidebar(folders_, options_.get().keep, split_);
  sidebar->setMinimumWidth(sidebarMinimumWidth);
  QPalette sidebarPalette = sidebar->palette();
  sidebarPalette.setColor(QPalette::Window, Palette::sidebarBackground());
  sidebar->setPalette(sidebarPalette);
  sidebar->setAutoFillBackground(true);
  connect(&options_, &ScanOptionsBinding::changed, sidebar, [this, sidebar] { sidebar->setKeep(options_.get().keep); });
  split_->addWidget(sidebar);
  commands_->setSidebar(sidebar);
  split_->setChildrenCollapsible(false);
  split_->setHandleWidth(1);
  split_->setObjectName(QStringLiteral("mainSplit"));
  setCentralWidget(split_);
  toolBar_ = new MainToolBar(folders_, scan_, trash_, options_, this);
  addToolBar(Qt::TopToolBarArea, toolBar_);
  showDetail();
  // The hairline between the columns is the handle's own ground: a style
  // sheet would give it too, but would cut the columns off the palette their
  // parents pass on, and the sidebar's rows would frame their focus for a
  // ground that is not theirs.
  QSplitterHandle* hairline = split_->handle(1);
  QPalette hairlinePalette = hairline->palette();
  hairlinePalette.setColor(QPalette::Window, Palette::separator());
  hairline->setPalette(hairlinePalette);
  hairline->setAutoFillBackground(true);
  split_->setStretchFactor(0, 0);
  split_->setStretchFactor(1, 1);
  split_->setSizes({sidebarIdealWidth, initialWindowSize.width() - sidebarIdealWidth});

  buildFileMenu(
      *menuBar(), [this] { chooseFolders(); }, *commands_);
  buildEditMenu(*menuBar(), *commands_, *undoStack_, commands.showSettings);
  buildViewMenu(*menuBar(), *commands_, *sidebar);
  buildScanMenu(*menuBar(), folders_, scan_, trash_, options_);
  if (commands.updates != nullptr) buildHelpMenu(*menuBar(), *commands.updates, commands.showAbout);
  AccessKeys::give(*menuBar());

  signature_ = folderSignature();
  setWindowTitle(windowTitleText());
  connect(&folders_, &FolderStore::foldersChanged, this, &MainWindow::foldersChanged);
  connect(&scan_, &ScanStore::stateChanged, this, &MainWindow::showDetail);
}

// The restored place is fitted again with the decoration the window now has.
void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!std::exchange(placeOnShow_, false)) return;
  WindowPlacement::fitOnScreen(*this);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  QSettings().setValue(geometryKey, saveGeometry());
  QMainWindow::closeEvent(event);
}

QString MainWindow::windowTitleText() const {
  const auto& folders = folders_.folders();
  if (folders.isEmpty()) return tr("Duplicates");
  if (folders.size() == 1) return lastPathComponent(folders.first().path);
  return tr("%n folders", nullptr, static_cast<int>(folders.size()));
}

QStringList MainWindow::folderSignature() const {
  QStringList signature;
  for (const WatchedFolder& folder : folders_.folders())
    signature << folder.id.toString(QUuid::WithoutBraces).toUpper() + u'|' + folder.path + u'|' +
                     (folder.isAvailable() ? QStringLiteral("true") : QStringLiteral("false"));
  return signature;
}

void MainWindow::chooseFolders() {
  requireMainThread();
  FolderSidebar::chooseFolders(folders_, this);
}

// A different list of folders makes a running scan or its results
// meaningless: stop the scan and return to the empty state.
void MainWindow::foldersChanged() {
  requireMainThread();
  setWindowTitle(windowTitleText());
  QStringList signature = folderSignature();
  if (signature == signature_) return;
  signature_ = std::move(signature);
  if (scan_.state().is<ScanStore::State::idle>()) return;
  scan_.cancel();
  scan_.reset();
}

void MainWindow::showDetail() {
  requireMainThread();
  const std::size_t stateCase = scan_.state().value.index();
  if (detail_ != nullptr && stateCase == detailCase_) return;
  // The keyboard the old detail held goes to the next one, never on to the
  // control after it (the folder list, where Delete removes folders): let go
  // of it before the old detail is hidden, take it once the next is shown.
  const bool handsOnKeyboard = detail_ != nullptr && (detailHoldsKeyboard() || resultsTakeKeyboard());
  if (handsOnKeyboard && focusWidget() != nullptr) focusWidget()->clearFocus();
  QWidget* next = makeDetail();
  // The old detail's commands and toolbar items go now, not at its deletion.
  auto* results = qobject_cast<ResultsView*>(next);
  commands_->setResultsView(results);
  trashReports_->setResultsMove(results != nullptr ? results->move() : nullptr);
  toolBar_->setDetailItems(results != nullptr ? results->takeToolbarItems() : nullptr);
  if (detail_ == nullptr) {
    split_->addWidget(next);
  } else {
    split_->replaceWidget(1, next);
    detail_->deleteLater();
  }
  detail_ = next;
  detailCase_ = stateCase;
  if (handsOnKeyboard) next->setFocus(Qt::OtherFocusReason);
  keyboardAtScanStart_ = scan_.state().is<ScanStore::State::scanning>() ? focusWidget() : nullptr;
}

// The window's focus, even while another window is active. Nothing holding
// it counts as the detail's: the user left it in no other place.
bool MainWindow::detailHoldsKeyboard() const {
  QWidget* focus = focusWidget();
  return focus == nullptr || detail_->isAncestorOf(focus) || toolBar_->detailItemsContain(focus);
}

// Results take the keyboard from wherever the scan started, the folder list
// included, while the user has left it there: the keys pressed next act on
// them, not on the folders, and a screen reader says they came. The Scan
// button keeps it, for the next scan.
bool MainWindow::resultsTakeKeyboard() const {
  QWidget* focus = focusWidget();
  return scan_.state().is<ScanStore::State::finished>() && focus != nullptr && focus == keyboardAtScanStart_ &&
         focus != toolBar_->scanButton();
}

QWidget* MainWindow::makeDetail() {
  const ScanStore::State& state = scan_.state();
  if (state.is<ScanStore::State::scanning>()) return new ScanProgressView(scan_);
  if (state.is<ScanStore::State::finished>()) return new ResultsView(scan_, trash_, undoStack_);
  if (const auto* failed = std::get_if<ScanStore::State::failed>(&state.value))
    return makeFailedDetail(failed->message);
  return new EmptyStateView(folders_, [this] { chooseFolders(); });
}

QWidget* MainWindow::makeFailedDetail(const QString& message) {
  auto* failed =
      new ContentUnavailableView(ContentUnavailableView::symbolPicture(QStringLiteral("exclamationmark.triangle")),
                                 tr("The Scan Could Not Run"), message);
  failed->setObjectName(QStringLiteral("failedDetail"));
  // It holds the keyboard a scan's progress held, and says why.
  failed->setAccessibleName(failed->title());
  failed->setAccessibleDescription(message);
  return failed;
}
