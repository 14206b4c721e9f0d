#include "shell/UpdateService.h"

#include "platform/MainThread.h"

UpdateService::UpdateService(const UpdaterFactory& makeUpdater, QObject* parent) : QObject(parent) {
  requireMainThread();
  const bool disabled = updatesDisabledByEnvironment();
  updater_ = makeUpdater(!disabled);
  automaticallyChecks_ = updater_->automaticallyChecksForUpdates();
  setCanCheckForUpdates(updater_->canCheckForUpdates());
  observation_ = connect(updater_.get(), &Updater::canCheckForUpdatesChanged, this, [this] {
    requireMainThread();
    setCanCheckForUpdates(updater_->canCheckForUpdates());
  });
}

// The updater may still report while it is torn down (a check it aborts):
// the observation ends first, so nothing reaches a service being destroyed.
UpdateService::~UpdateService() {
  disconnect(observation_);
  updater_.reset();
}

bool UpdateService::updatesDisabledByEnvironment() {
  for (const char* name : {"XCTestConfigurationFilePath", "QUELMARIS_SELFTEST_FILES", "QUELMARIS_NO_UPDATES"})
    if (qEnvironmentVariableIsSet(name)) return true;
  return false;
}

void UpdateService::setAutomaticallyChecks(bool automatically) {
  requireMainThread();
  const bool changed = automatically != automaticallyChecks_;
  automaticallyChecks_ = automatically;
  if (changed) emit automaticallyChecksChanged(automatically);
  updater_->setAutomaticallyChecksForUpdates(automaticallyChecks_);
}

void UpdateService::setCanCheckForUpdates(bool canCheck) {
  if (canCheck == canCheckForUpdates_) return;
  canCheckForUpdates_ = canCheck;
  emit canCheckForUpdatesChanged(canCheck);
}
