#include "shell/QuelmarisApp.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QScreen>
#include <QGuiApplication>
#include <QSettings>

#include "interface/CoreScanner.h"
#include "interface/CoreTrashPlanner.h"
#include "trash/FileTrashing.h"
#include "folders/FolderStore.h"
#include "shell/AboutView.h"
#include "shell/FeedUpdater.h"
#include "shell/SettingsFile.h"
#include "shell/SettingsView.h"
#include "shell/UpdateResultDialog.h"
#include "shell/UpdateService.h"
#include "shell/MainWindow.h"
#include "shell/ScanOptionsBinding.h"
#include "scan/ScanStore.h"
#include "shell/StoredSettings.h"
#include "trash/TrashService.h"
#include "platform/BundleInfo.h"
#include "platform/MainThread.h"

namespace {

// A minimised window comes back as it was before, maximised or not.
template <class Window>
Window& bringForward(Window& window) {
  window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
  window.show();
  window.raise();
  window.activateWindow();
  return window;
}

}  // namespace

void declareApplicationIdentity() {
  QCoreApplication::setOrganizationName(QStringLiteral("Quelmaris"));
  QCoreApplication::setApplicationName(QStringLiteral("Quelmaris"));
  QCoreApplication::setApplicationVersion(BundleInfo::infoString(BundleInfo::shortVersionKey));
  QGuiApplication::setDesktopFileName(QStringLiteral(QUELMARIS_APPLICATION_ID));
  SettingsFile::use();
}

QuelmarisApp::QuelmarisApp(QObject* parent) : QObject(parent) {
  requireMainThread();
  ScanSettings::defaultSettings();
  binding_ = new ScanOptionsBinding([this] { return options(); },
                                    [this](const ScanOptions& options) { setOptions(options); }, this);
}

QuelmarisApp::~QuelmarisApp() {
  delete aboutWindow_;
  delete settingsWindow_;
  delete mainWindow_;
}

FolderStore& QuelmarisApp::folders() {
  requireMainThread();
  if (!folders_) folders_ = std::make_unique<FolderStore>();
  return *folders_;
}

ScanStore& QuelmarisApp::scan() {
  requireMainThread();
  if (!scan_) scan_ = std::make_unique<ScanStore>(std::make_shared<CoreScanner>());
  return *scan_;
}

TrashService& QuelmarisApp::trash() {
  requireMainThread();
  if (!trash_)
    trash_ = std::make_unique<TrashService>(std::make_unique<CoreTrashPlanner>(),
                                            std::make_shared<SystemFileTrashing>());
  return *trash_;
}

UpdateService& QuelmarisApp::updates() {
  requireMainThread();
  if (!updates_)
    updates_ = std::make_unique<UpdateService>([this](bool starting) {
      auto updater = std::make_unique<FeedUpdater>(FeedUpdater::productionSettings(starting));
      QObject::connect(updater.get(), &FeedUpdater::resultToShow, this,
                       [this](const UpdateCheckResult& result) { UpdateResultDialog::present(result, mainWindow_); });
      return updater;
    });
  return *updates_;
}

ScanOptions QuelmarisApp::options() const {
  QSettings settings;
  return StoredSettings(settings).options();
}

void QuelmarisApp::setOptions(const ScanOptions& options) {
  QSettings settings;
  StoredSettings(settings).writeChoices(options);
}

ScanOptionsBinding& QuelmarisApp::optionsBinding() { return *binding_; }

MainWindow& QuelmarisApp::showMainWindow() {
  requireMainThread();
  if (mainWindow_.isNull()) {
    // The window's content reads the stores in this order.
    FolderStore& folderStore = folders();
    ScanStore& scanStore = scan();
    TrashService& trashService = trash();
    // The menu bar reads the update service.
    const ApplicationCommands commands{&updates(), [this] { showSettingsWindow(); }, [this] { showAboutWindow(); }};
    mainWindow_ = new MainWindow(folderStore, scanStore, trashService, *binding_, commands);
    mainWindow_->setAttribute(Qt::WA_DeleteOnClose, false);
  }
  return bringForward(*mainWindow_);
}

SettingsView& QuelmarisApp::showSettingsWindow() {
  requireMainThread();
  if (settingsWindow_.isNull()) {
    settingsWindow_ = new SettingsView(updates());
    settingsWindow_->setAttribute(Qt::WA_DeleteOnClose);
    settingsWindow_->setAttribute(Qt::WA_QuitOnClose, false);
  }
  return bringForward(*settingsWindow_);
}

AboutView& QuelmarisApp::showAboutWindow() {
  requireMainThread();
  if (aboutWindow_.isNull()) {
    aboutWindow_ = new AboutView([](const QUrl& url) { QDesktopServices::openUrl(url); });
    aboutWindow_->setAttribute(Qt::WA_DeleteOnClose);
    aboutWindow_->setAttribute(Qt::WA_QuitOnClose, false);
    aboutWindow_->move(aboutWindow_->screen()->availableGeometry().center() - aboutWindow_->rect().center());
  }
  return bringForward(*aboutWindow_);
}
