#include "shell/QuelmarisApp.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSettings>

#include "interface/CoreScanner.h"
#include "interface/CoreTrashPlanner.h"
#include "trash/FileTrashing.h"
#include "folders/FolderStore.h"
#include "shell/MainWindow.h"
#include "shell/ScanOptionsBinding.h"
#include "scan/ScanStore.h"
#include "shell/StoredSettings.h"
#include "trash/TrashService.h"
#include "platform/MainThread.h"

void declareApplicationIdentity() {
  QCoreApplication::setOrganizationName(QStringLiteral("Quelmaris"));
  QCoreApplication::setApplicationName(QStringLiteral("Quelmaris"));
  QCoreApplication::setApplicationVersion(QStringLiteral(QUELMARIS_VERSION));
  QGuiApplication::setDesktopFileName(QStringLiteral(QUELMARIS_APPLICATION_ID));
}

QuelmarisApp::QuelmarisApp(QObject* parent) : QObject(parent) {
  requireMainThread();
  ScanSettings::defaultSettings();
  binding_ = new ScanOptionsBinding([this] { return options(); },
                                    [this](const ScanOptions& options) { setOptions(options); }, this);
}

QuelmarisApp::~QuelmarisApp() { delete mainWindow_; }

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
    mainWindow_ = new MainWindow(folderStore, scanStore, trashService, *binding_);
    mainWindow_->setAttribute(Qt::WA_DeleteOnClose, false);
  }
  mainWindow_->show();
  mainWindow_->raise();
  mainWindow_->activateWindow();
  return *mainWindow_;
}
