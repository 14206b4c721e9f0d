// The nine stored scan settings: what an absent, a foreign or a malformed
// stored value reads as, and which keys writing the options touches.
#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include "app_test_support.hpp"
#include "shell/StoredSettings.h"

namespace {

class StoredSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    apptest::application();
    ASSERT_TRUE(folder.isValid());
  }

  QSettings settingsFile() const {
    return QSettings(folder.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
  }

  QTemporaryDir folder;
};

TEST_F(StoredSettingsTest, first_launch_and_values_not_of_their_kind_read_the_fixed_defaults_and_the_cores_settings) {
  QSettings settings = settingsFile();
  EXPECT_EQ(StoredSettings(settings).options(), ScanOptions{});
  EXPECT_TRUE(settings.allKeys().isEmpty()) << "reading must not write the defaults";
  // A stored value that is not of its kind reads as the default.
  const std::pair<QString, QVariant> cases[] = {
      {SettingsKey::matchCriterion, QStringLiteral("byColour")},
      {SettingsKey::matchCriterion, QStringLiteral("NameAndSize")},
      {SettingsKey::matchCriterion, QString()},
      {SettingsKey::keepRule, QStringLiteral("largest")},
      {SettingsKey::keepRule, QStringLiteral("oldest ")},
      {SettingsKey::verifyContent, QStringLiteral("perhaps")},
      {SettingsKey::includeHidden, QStringLiteral("")},
      {SettingsKey::minSize, QStringLiteral("ten")},
      {SettingsKey::ioParallelism, QStringLiteral("4 threads")},
  };
  for (const auto& [key, value] : cases) {
    SCOPED_TRACE(key.toStdString() + " = " + value.toString().toStdString());
    settings.clear();
    settings.setValue(key, value);
    settings.sync();
    QSettings reread = settingsFile();
    EXPECT_EQ(StoredSettings(reread).options(), ScanOptions{});
  }
}

// Writing starts over a file holding all nine, each of them other than written.
TEST_F(StoredSettingsTest,
       stored_values_are_read_back_after_a_restart_and_writing_options_stores_only_the_three_choices) {
  {
    QSettings settings = settingsFile();
    settings.setValue(SettingsKey::matchCriterion, QStringLiteral("contentOnly"));
    settings.setValue(SettingsKey::verifyContent, false);
    settings.setValue(SettingsKey::keepRule, QStringLiteral("shortestPath"));
    settings.setValue(SettingsKey::minSize, 1);
    settings.setValue(SettingsKey::includeHidden, false);
    settings.setValue(SettingsKey::ignoreCase, true);
    settings.setValue(SettingsKey::excludedNames, QStringLiteral("a, b\nIcon\\r"));
    settings.setValue(SettingsKey::packageExtensions, QString());
    settings.setValue(SettingsKey::ioParallelism, 8);
  }
  QSettings settings = settingsFile();
  const ScanSettings advanced{1, false, true, QStringLiteral("a, b\nIcon\\r"), QString(), 8};
  EXPECT_EQ(StoredSettings(settings).options(),
            (ScanOptions{MatchCriterion::contentOnly, false, KeepChoice::shortestPath, advanced}));

  StoredSettings(settings).writeChoices(
      {MatchCriterion::nameAndSize, true, KeepChoice::oldest, ScanSettings{5, true, false, "elsewhere", "pkg", 3}});
  EXPECT_EQ(StoredSettings(settings).options(),
            (ScanOptions{MatchCriterion::nameAndSize, true, KeepChoice::oldest, advanced}));
  const QStringList written{settings.value(SettingsKey::matchCriterion).toString(),
                            settings.value(SettingsKey::verifyContent).toString(),
                            settings.value(SettingsKey::keepRule).toString()};
  EXPECT_EQ(written, (QStringList{"nameAndSize", "true", "oldest"}));
  EXPECT_EQ(settings.allKeys().size(), 9);
}

}  // namespace
