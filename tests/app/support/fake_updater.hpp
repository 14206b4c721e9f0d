// An updater the test drives by hand: it records what the service writes
// and how often a check is asked for, and reports a change of whether a check
// can start when the test flips it — also while it is being destroyed.
#pragma once

#include <optional>

#include "shell/Updater.h"

namespace apptest {

class FakeUpdater final : public Updater {
 public:
  explicit FakeUpdater(bool started = true) : starting(started), canCheck(started) {}
  ~FakeUpdater() override { emit canCheckForUpdatesChanged(); }

  bool canCheckForUpdates() const override { return canCheck; }
  bool automaticallyChecksForUpdates() const override { return automatic; }
  void setAutomaticallyChecksForUpdates(bool on) override { written.push_back(on); }
  std::optional<QDateTime> lastUpdateCheckDate() const override { return lastCheck; }
  void checkForUpdates() override { ++checks; }

  void setCanCheck(bool can) {
    canCheck = can;
    emit canCheckForUpdatesChanged();
  }

  bool starting;
  bool canCheck;
  bool automatic = false;
  std::optional<QDateTime> lastCheck;
  std::vector<bool> written;
  int checks = 0;
};

}  // namespace apptest
