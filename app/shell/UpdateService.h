// The application's only link to software updates: makes the updater once,
// started unless the environment switches updates off, and mirrors its two
// states for the "Check for Updates…" command and the settings window:
// whether a check can start now (followed as the updater changes it) and
// whether checks run automatically (every write passed on to the updater).
// Both notify only on a real change. Main thread only.
#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "shell/Updater.h"

class UpdateService final : public QObject {
  Q_OBJECT

 public:
  // Makes the updater; the argument says whether it starts now.
  using UpdaterFactory = std::function<std::unique_ptr<Updater>(bool starting)>;

  explicit UpdateService(const UpdaterFactory& makeUpdater, QObject* parent = nullptr);
  ~UpdateService() override;

  // True when "XCTestConfigurationFilePath", "QUELMARIS_SELFTEST_FILES" or
  // "QUELMARIS_NO_UPDATES" is present, whatever its value (empty included).
  static bool updatesDisabledByEnvironment();

  Updater& updater() const { return *updater_; }

  bool canCheckForUpdates() const { return canCheckForUpdates_; }
  bool automaticallyChecks() const { return automaticallyChecks_; }
  // Stores the choice and always passes it on to the updater.
  void setAutomaticallyChecks(bool automatically);

 signals:
  void canCheckForUpdatesChanged(bool canCheck);
  void automaticallyChecksChanged(bool automatically);

 private:
  void setCanCheckForUpdates(bool canCheck);

  std::unique_ptr<Updater> updater_;
  QMetaObject::Connection observation_;
  bool canCheckForUpdates_ = false;
  bool automaticallyChecks_ = false;
};
