// The settings window over temporary settings and a fake updater: what it
// shows with nothing stored, that opening it stores nothing and leaves an
// off-list value alone, what its controls store, "Restore Defaults", and
// "Check Now" and "Last checked" following the updater.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include "fake_updater.hpp"
#include "shell/FeedUpdater.h"
#include "shell/SettingsView.h"
#include "shell/StoredSettings.h"
#include "shell/UpdateResultDialog.h"
#include "shell/UpdateService.h"
#include "widget_test_support.hpp"
#include "widgets/ValuePicker.h"

namespace {

class SettingsViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static QTemporaryDir config;
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    QCoreApplication::setOrganizationName(QStringLiteral("Quelmaris"));
    QCoreApplication::setApplicationName(QStringLiteral("Quelmaris"));
    QSettings().clear();
  }

  template <class Widget>
  static Widget& child(SettingsView& view, const char* name) {
    auto* found = view.findChild<Widget*>(QLatin1String(name));
    if (found == nullptr) throw std::runtime_error(name);
    return *found;
  }

  static void pick(ValuePicker& picker, qlonglong value) {
    const int index = picker.findData(value);
    picker.setCurrentIndex(index);
    emit picker.activated(index);
  }

  static QVariant stored(const QString& key) { return QSettings().value(key); }

  QApplication& application = widgettest::application();
  apptest::FakeUpdater* updater = nullptr;
  UpdateService updates{[this](bool) {
    auto made = std::make_unique<apptest::FakeUpdater>(false);
    updater = made.get();
    return made;
  }};
};

TEST_F(SettingsViewTest, with_nothing_stored_it_shows_the_defaults_and_opening_it_stores_nothing) {
  {
    SettingsView view(updates);
    view.show();
    QTabBar& tabs = view.tabBar();
    for (int tab = 0; tab < 3; ++tab) tabs.setCurrentIndex(tab);
    const ScanSettings& defaults = ScanSettings::defaultSettings();
    EXPECT_EQ(child<ValuePicker>(view, "minSizePicker").value(), 1024);
    EXPECT_TRUE(child<QCheckBox>(view, "includeHiddenToggle").isChecked());
    EXPECT_FALSE(child<QCheckBox>(view, "ignoreCaseToggle").isChecked());
    const QString names = child<QPlainTextEdit>(view, "excludedNamesEditor").toPlainText();
    EXPECT_EQ(names, defaults.excludedNames);
    EXPECT_EQ(names.split(u'\n').size(), 9);
    EXPECT_TRUE(names.contains(QStringLiteral("Icon\\r")));
    EXPECT_EQ(child<QPlainTextEdit>(view, "packageExtensionsEditor").toPlainText().split(u'\n').size(), 24);
    EXPECT_EQ(child<ValuePicker>(view, "ioParallelismPicker").value(), 0);
    EXPECT_EQ(child<QLabel>(view, "lastCheckedValue").text(), QStringLiteral("Never"));
    EXPECT_FALSE(child<QPushButton>(view, "checkNowButton").isEnabled()) << "the updater was not started";
  }
  EXPECT_TRUE(QSettings().allKeys().isEmpty());
}

TEST_F(SettingsViewTest, a_stored_value_no_choice_offers_survives_opening_and_shows_no_choice) {
  QSettings().setValue(SettingsKey::minSize, 5000);
  QSettings().setValue(SettingsKey::ioParallelism, 3);
  {
    SettingsView view(updates);
    view.show();
    EXPECT_EQ(child<ValuePicker>(view, "minSizePicker").value(), std::nullopt);
    EXPECT_EQ(child<ValuePicker>(view, "ioParallelismPicker").value(), std::nullopt);
  }
  EXPECT_EQ(stored(SettingsKey::minSize).toLongLong(), 5000);
  EXPECT_EQ(stored(SettingsKey::ioParallelism).toLongLong(), 3);
  EXPECT_EQ(QSettings().allKeys().size(), 2);
}

TEST_F(SettingsViewTest, restore_defaults_restores_only_the_advanced_three_and_the_next_keystroke_keeps_them) {
  SettingsView view(updates);
  view.show();
  pick(child<ValuePicker>(view, "minSizePicker"), 1);
  child<QCheckBox>(view, "includeHiddenToggle").click();
  child<QCheckBox>(view, "ignoreCaseToggle").click();
  auto& names = child<QPlainTextEdit>(view, "excludedNamesEditor");
  auto& extensions = child<QPlainTextEdit>(view, "packageExtensionsEditor");
  names.setPlainText(QStringLiteral("edited"));
  extensions.setPlainText(QStringLiteral("edited"));
  pick(child<ValuePicker>(view, "ioParallelismPicker"), 8);
  EXPECT_EQ(stored(SettingsKey::minSize).toLongLong(), 1) << "No Limit stores 1";
  EXPECT_EQ(stored(SettingsKey::ioParallelism).toLongLong(), 8);
  EXPECT_EQ(stored(SettingsKey::excludedNames).toString(), QStringLiteral("edited"));

  child<QPushButton>(view, "restoreDefaultsButton").click();
  const ScanSettings& defaults = ScanSettings::defaultSettings();
  QSettings settings;
  const ScanSettings now = StoredSettings(settings).options().settings;
  EXPECT_EQ(now.excludedNames, defaults.excludedNames);
  EXPECT_EQ(now.packageExtensions, defaults.packageExtensions);
  EXPECT_EQ(now.ioParallelism, 0);
  EXPECT_EQ(now.minSize, 1);
  EXPECT_FALSE(now.includeHidden);
  EXPECT_TRUE(now.ignoreCase);
  EXPECT_EQ(child<ValuePicker>(view, "ioParallelismPicker").value(), 0);

  names.moveCursor(QTextCursor::End);
  QTest::keyClicks(&names, QStringLiteral("x"));
  EXPECT_EQ(stored(SettingsKey::excludedNames).toString(), defaults.excludedNames + u'x');
}

TEST_F(SettingsViewTest, check_now_and_last_checked_follow_the_updater) {
  SettingsView view(updates);
  view.show();
  auto& checkNow = child<QPushButton>(view, "checkNowButton");
  updater->setCanCheck(true);
  ASSERT_TRUE(checkNow.isEnabled());
  checkNow.click();
  EXPECT_EQ(updater->checks, 1);
  updater->setCanCheck(false);
  EXPECT_FALSE(checkNow.isEnabled());

  QTabBar& tabs = view.tabBar();
  tabs.setCurrentIndex(2);
  EXPECT_EQ(child<QLabel>(view, "lastCheckedValue").text(), QStringLiteral("Never"));
  updater->lastCheck = QDateTime::currentDateTime();
  EXPECT_EQ(child<QLabel>(view, "lastCheckedValue").text(), QStringLiteral("Never")) << "not until shown again";
  tabs.setCurrentIndex(0);
  tabs.setCurrentIndex(2);
  EXPECT_NE(child<QLabel>(view, "lastCheckedValue").text(), QStringLiteral("Never"));
}

TEST_F(SettingsViewTest, screenshots_of_the_tabs_and_the_update_results) {
  QUELMARIS_SCREENSHOTS_ONLY();
  SettingsView view(updates);
  view.show();
  QTabBar& tabs = view.tabBar();
  for (int tab = 0; tab < 3; ++tab) {
    tabs.setCurrentIndex(tab);
    view.adjustSize();
    widgettest::saveScreenshot(view, QStringLiteral("settings-%1").arg(tab));
  }
  UpdateCheckResult result;
  result.error = QStringLiteral("Connection refused");
  for (const auto outcome : {UpdateCheckResult::Outcome::available, UpdateCheckResult::Outcome::upToDate,
                             UpdateCheckResult::Outcome::failed}) {
    result.outcome = outcome;
    result.feed.version = QVersionNumber(1, 2);
    result.feed.notes = QStringLiteral("<b>Faster scans</b> of large folders.\nFewer surprises.");
    UpdateResultDialog dialog(result);
    dialog.show();
    widgettest::saveScreenshot(dialog, QStringLiteral("update-result-%1").arg(static_cast<int>(outcome)));
  }
}

}  // namespace
