// The update service against a fake updater.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "fake_updater.hpp"
#include "shell/UpdateService.h"
#include "widget_test_support.hpp"

namespace {

using Environment = std::vector<std::pair<const char*, const char*>>;

// The service made under exactly the given switches; afterwards updates are off again.
std::unique_ptr<UpdateService> makeService(apptest::FakeUpdater*& updater, const Environment& environment = {}) {
  widgettest::application();
  for (const char* name : {"XCTestConfigurationFilePath", "QUELMARIS_SELFTEST_FILES", "QUELMARIS_NO_UPDATES"})
    qunsetenv(name);
  for (const auto& [name, value] : environment) qputenv(name, value);
  auto service = std::make_unique<UpdateService>(
      [&](bool starting) { return std::unique_ptr<Updater>(updater = new apptest::FakeUpdater(starting, true)); });
  qputenv("QUELMARIS_NO_UPDATES", "1");
  return service;
}

TEST(UpdateServiceTest, the_updater_starts_only_when_no_switch_is_present_whatever_its_value) {
  const std::pair<Environment, bool> cases[] = {
      {{}, true},
      {{{"QUELMARIS_NO_UPDATES", ""}}, false},
      {{{"QUELMARIS_SELFTEST_FILES", "0"}}, false},
      {{{"XCTestConfigurationFilePath", ""}, {"QUELMARIS_NO_UPDATES", "false"}}, false},
  };
  for (const auto& [environment, starts] : cases) {
    SCOPED_TRACE(environment.empty() ? "none" : environment.front().first);
    apptest::FakeUpdater* updater = nullptr;
    const auto service = makeService(updater, environment);
    EXPECT_EQ(updater->starting, starts);
    EXPECT_EQ(service->canCheckForUpdates(), starts);
    EXPECT_TRUE(service->automaticallyChecks());
    EXPECT_TRUE(updater->written.empty()) << "creation writes nothing back";
  }
}

TEST(UpdateServiceTest, every_automatic_choice_reaches_the_updater_but_only_a_change_or_a_live_updater_notifies) {
  apptest::FakeUpdater* updater = nullptr;
  auto service = makeService(updater);
  QSignalSpy changes(service.get(), &UpdateService::automaticallyChecksChanged);
  service->setAutomaticallyChecks(true);
  EXPECT_EQ(changes.count(), 0);
  service->setAutomaticallyChecks(false);
  EXPECT_EQ(changes.count(), 1);
  EXPECT_EQ(updater->written, (std::vector<bool>{true, false}));
  QSignalSpy canCheck(service.get(), &UpdateService::canCheckForUpdatesChanged);
  updater->setCanCheck(false);
  EXPECT_EQ(canCheck.count(), 1);
  updater->canCheck = true;
  service.reset();  // the fake reports while it is destroyed
  EXPECT_EQ(canCheck.count(), 1);
}

}  // namespace
