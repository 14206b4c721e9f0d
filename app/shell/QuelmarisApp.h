// The application object: owns the long-lived stores of the run and the
// single main window, and is where the user's scan options live. Each store
// is made on the main thread the first time something reads it, once per
// run, and never replaced. The options are the stored settings, read on
// every access; writing them stores only the three scan choices (match,
// verification, keep), since the six other settings belong to the settings
// window. Main thread only.
#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

#include "scan/ScanOptions.h"

class AboutView;
class FolderStore;
class MainWindow;
class SettingsView;
class UpdateService;
class ScanOptionsBinding;
class ScanStore;
class TrashService;

// Names the application for the settings, the data folders and the desktop:
// organisation and application "Quelmaris", the project's version, and the
// desktop entry's id; and keeps the settings in their own file
// (SettingsFile). Called before anything reads a setting.
void declareApplicationIdentity();

class QuelmarisApp final : public QObject {
  Q_OBJECT

 public:
  // Computes the defaults of the stored settings, which is the program's
  // first call into the core and runs its one-time agreement check.
  explicit QuelmarisApp(QObject* parent = nullptr);
  ~QuelmarisApp() override;

  FolderStore& folders();
  ScanStore& scan();
  TrashService& trash();
  // Starts the updater unless the environment switches updates off.
  UpdateService& updates();

  // The nine stored settings as the options of a scan.
  ScanOptions options() const;
  // Stores the criterion, the verification choice and the keep choice.
  void setOptions(const ScanOptions& options);
  // The two-way binding of the options that the window and the menus share.
  ScanOptionsBinding& optionsBinding();

  // Makes the main window on the first call and brings it forward on every call.
  MainWindow& showMainWindow();
  // Each makes its single window on the first call, or after it was closed,
  // and brings it forward, minimised or not, on every call. Neither keeps the
  // application running: closing the main window ends it.
  SettingsView& showSettingsWindow();
  AboutView& showAboutWindow();

 private:
  std::unique_ptr<FolderStore> folders_;
  std::unique_ptr<ScanStore> scan_;
  std::unique_ptr<TrashService> trash_;
  std::unique_ptr<UpdateService> updates_;
  ScanOptionsBinding* binding_ = nullptr;
  QPointer<MainWindow> mainWindow_;
  QPointer<SettingsView> settingsWindow_;
  QPointer<AboutView> aboutWindow_;
};
