// An updater the test drives by hand, recording what it is asked.
#pragma once

#include <vector>

#include "shell/Updater.h"

namespace apptest {

class FakeUpdater final : public Updater {
 public:
  FakeUpdater(bool started, bool automatically) : starting(started), canCheck(started), automatic(automatically) {}
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

  bool starting, canCheck, automatic;
  std::optional<QDateTime> lastCheck;
  std::vector<bool> written;
  int checks = 0;
};

}  // namespace apptest
