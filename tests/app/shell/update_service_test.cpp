// The update service against a fake updater: the environment switch, the
// write-through of the automatic-check choice, and the enabled state of
// "Check for Updates…" following the updater.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenuBar>
#include <QSignalSpy>

#include "fake_updater.hpp"
#include "shell/HelpMenu.h"
#include "shell/UpdateService.h"
#include "widget_test_support.hpp"

namespace {

using apptest::FakeUpdater;

const char* const switches[] = {"XCTestConfigurationFilePath", "QUELMARIS_SELFTEST_FILES", "QUELMARIS_NO_UPDATES"};

struct Made {
  std::unique_ptr<UpdateService> service;
  FakeUpdater* updater = nullptr;
};

Made makeService(bool automatic = false, bool canCheck = true) {
  Made made;
  made.service = std::make_unique<UpdateService>([&](bool starting) {
    auto updater = std::make_unique<FakeUpdater>(starting);
    updater->automatic = automatic;
    updater->canCheck = starting && canCheck;
    made.updater = updater.get();
    return updater;
  });
  return made;
}

TEST(UpdateServiceTest, the_updater_starts_only_when_no_switch_is_present_whatever_its_value) {
  widgettest::application();
  struct Case {
    std::vector<std::pair<const char*, const char*>> environment;
    bool starts;
  };
  const Case cases[] = {
      {{}, true},
      {{{"QUELMARIS_NO_UPDATES", ""}}, false},
      {{{"QUELMARIS_SELFTEST_FILES", "0"}}, false},
      {{{"XCTestConfigurationFilePath", ""}, {"QUELMARIS_NO_UPDATES", "false"}}, false},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.environment.empty() ? "none" : row.environment.front().first);
    for (const char* name : switches) qunsetenv(name);
    for (const auto& [name, value] : row.environment) qputenv(name, value);
    EXPECT_EQ(makeService().updater->starting, row.starts);
  }
  for (const char* name : switches) qunsetenv(name);
  qputenv("QUELMARIS_NO_UPDATES", "1");
}

TEST(UpdateServiceTest, creation_mirrors_the_updater_without_writing_back) {
  widgettest::application();
  for (const bool automatic : {false, true}) {
    for (const bool canCheck : {false, true}) {
      SCOPED_TRACE(testing::Message() << automatic << canCheck);
      qunsetenv("QUELMARIS_NO_UPDATES");
      Made made = makeService(automatic, canCheck);
      qputenv("QUELMARIS_NO_UPDATES", "1");
      EXPECT_EQ(made.service->automaticallyChecks(), automatic);
      EXPECT_EQ(made.service->canCheckForUpdates(), canCheck);
      EXPECT_TRUE(made.updater->written.empty());
    }
  }
}

TEST(UpdateServiceTest, every_write_of_the_automatic_choice_reaches_the_updater_but_only_a_change_notifies) {
  widgettest::application();
  Made made = makeService(/*automatic=*/true);
  QSignalSpy changes(made.service.get(), &UpdateService::automaticallyChecksChanged);
  made.service->setAutomaticallyChecks(true);
  EXPECT_EQ(changes.count(), 0);
  made.service->setAutomaticallyChecks(false);
  EXPECT_EQ(changes.count(), 1);
  EXPECT_EQ(made.updater->written, (std::vector<bool>{true, false}));
}

TEST(UpdateServiceTest, check_for_updates_follows_the_updater_and_a_report_after_the_end_changes_nothing) {
  widgettest::application();
  qunsetenv("QUELMARIS_NO_UPDATES");
  Made made = makeService();
  qputenv("QUELMARIS_NO_UPDATES", "1");
  QMenuBar bar;
  buildHelpMenu(bar, *made.service, [] {});
  auto* check = bar.findChild<QAction*>(QStringLiteral("checkForUpdatesAction"));
  ASSERT_NE(check, nullptr);
  EXPECT_TRUE(check->isEnabled());
  made.updater->setCanCheck(false);
  EXPECT_FALSE(made.service->canCheckForUpdates());
  EXPECT_FALSE(check->isEnabled());
  made.updater->setCanCheck(true);
  EXPECT_TRUE(check->isEnabled());
  check->trigger();
  EXPECT_EQ(made.updater->checks, 1);

  QSignalSpy changes(made.service.get(), &UpdateService::canCheckForUpdatesChanged);
  made.updater->canCheck = false;
  made.service.reset();  // the fake reports while it is destroyed
  EXPECT_EQ(changes.count(), 0);
}

}  // namespace
