// The scan options and their nine stored settings, and how they reach the core's configuration.
#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>
#include <QUrl>

#include "app_test_support.hpp"
#include "scan/ScanOptions.h"
#include "shell/StoredSettings.h"

namespace {

QString operator""_q(const char* text, std::size_t size) {
  return QString::fromUtf8(text, static_cast<qsizetype>(size));
}

ScanConfig applied(const ScanSettings& settings) {
  ScanConfig config = defaultScanConfig();
  settings.apply(config);
  return config;
}

TEST(ScanSettings, numbers_out_of_the_cores_range_are_brought_into_it) {
  const std::tuple<std::int64_t, std::uint64_t, std::uint32_t> cases[] = {
      {-5, 1, 0},   {-1, 1, 0},   {0, 1, 0},        {1, 1, 1},
      {16, 16, 16}, {17, 17, 16}, {1024, 1024, 16}, {std::int64_t{1} << 40, std::uint64_t{1} << 40, 16}};
  for (const auto& [given, minSize, ioParallelism] : cases) {
    SCOPED_TRACE(given);
    ScanSettings settings;
    settings.minSize = given;
    settings.ioParallelism = given;
    EXPECT_EQ(std::pair(applied(settings).minSize, applied(settings).ioParallelism), std::pair(minSize, ioParallelism));
  }
}

TEST(ScanSettings, entries_drop_blank_lines_and_trim_spaces_and_tabs_only_and_defaults_give_back_the_cores_lists) {
  const std::pair<QString, QList<QString>> cases[] = {
      {"  .DS_Store\t\n\n   \n.fseventsd"_q, {".DS_Store"_q, ".fseventsd"_q}},
      {QString(), {}},
      {"single entry"_q, {"single entry"_q}},
      // A carriage return is no space: it may end a real name.
      {"\u00a0a\u3000\nIcon\r\n"_q, {"a"_q, "Icon\r"_q}},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(ScanSettings::entries(text), expected) << text.toStdString();
  // The defaults write a return inside a name out as backslash and "r".
  const ScanSettings& defaults = ScanSettings::defaultSettings();
  EXPECT_FALSE(defaults.excludedNames.contains(QLatin1Char('\r')));
  EXPECT_TRUE(defaults.excludedNames.split(QLatin1Char('\n')).contains("Icon\\r"_q));
  EXPECT_FALSE(defaults.excludedNames.endsWith(QLatin1Char('\n')));
  EXPECT_EQ(applied(defaults), defaultScanConfig());
}

// A backslash-r becomes a return in excluded names only.
TEST(ScanOptions, config_sets_every_field_from_options_and_roots) {
  const ScanOptions options{MatchCriterion::contentOnly, false, KeepChoice::newest,
                            ScanSettings{5, false, true, "a\\rb\nIcon\\r\nplain\\n"_q, "x\\ry"_q, 3}};
  const QList<QString> roots{"/tmp/with space/é"_q, "/tmp/100%"_q, "/a"_q};
  const ScanConfig config =
      options.config({QUrl::fromLocalFile(roots[0]), QUrl::fromLocalFile(roots[1]), QUrl::fromLocalFile(roots[2])});
  const ScanConfig expected{
      roots, MatchMode::contentOnly, true, false, 5, false, {"a\rb"_q, "Icon\r"_q, "plain\\n"_q}, {"x\\ry"_q},
      3,     KeepRule::newest};
  EXPECT_EQ(config, expected);
  // Compared code unit by code unit: canonical equivalence would hide a
  // decomposed accent.
  EXPECT_EQ(config.roots, expected.roots);
}

// Each choice in picker order: its stored raw value, its title key and where
// it lands in the core's configuration.
TEST(ScanOptionChoices, each_choice_round_trips_its_raw_value_and_reaches_the_core_in_its_position) {
  const std::tuple<MatchCriterion, QString, QString, MatchMode> criteria[] = {
      {MatchCriterion::nameAndSize, "nameAndSize"_q, "Name and Size"_q, MatchMode::nameAndSize},
      {MatchCriterion::contentOnly, "contentOnly"_q, "Content Only"_q, MatchMode::contentOnly}};
  static_assert(std::size(criteria) == allMatchCriteria.size());
  for (std::size_t i = 0; i < allMatchCriteria.size(); ++i) {
    const auto& [criterion, raw, shown, mode] = criteria[i];
    SCOPED_TRACE(raw.toStdString());
    EXPECT_EQ(allMatchCriteria[i], criterion);
    EXPECT_EQ(rawValue(criterion), raw);
    EXPECT_EQ(matchCriterionFromRawValue(raw), criterion);
    EXPECT_EQ(title(criterion), shown);
    for (const bool verify : {true, false}) {
      const ScanConfig config = ScanOptions{criterion, verify}.config({});
      EXPECT_EQ(std::pair(config.mode, config.verifyContent), std::pair(mode, verify));
    }
  }
  const std::tuple<KeepChoice, QString, QString, KeepRule> keeps[] = {
      {KeepChoice::folderPriority, "folderPriority"_q, "First Folder in the List"_q, KeepRule::folderPriority},
      {KeepChoice::oldest, "oldest"_q, "Oldest"_q, KeepRule::oldest},
      {KeepChoice::newest, "newest"_q, "Newest"_q, KeepRule::newest},
      {KeepChoice::shortestPath, "shortestPath"_q, "Shortest Path"_q, KeepRule::shortestPath}};
  static_assert(std::size(keeps) == allKeepChoices.size());
  for (std::size_t i = 0; i < allKeepChoices.size(); ++i) {
    const auto& [choice, raw, shown, rule] = keeps[i];
    SCOPED_TRACE(raw.toStdString());
    EXPECT_EQ(allKeepChoices[i], choice);
    EXPECT_EQ(rawValue(choice), raw);
    EXPECT_EQ(keepChoiceFromRawValue(raw), choice);
    EXPECT_EQ(title(choice), shown);
    EXPECT_EQ(ScanOptions{.keep = choice}.config({}).keepRule, rule);
  }
  for (const QString& unknown : {QString(), "NameAndSize"_q, "oldest "_q})
    EXPECT_FALSE(matchCriterionFromRawValue(unknown) || keepChoiceFromRawValue(unknown)) << unknown.toStdString();
}

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
      {SettingsKey::keepRule, QStringLiteral("largest")},
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
    const std::pair<QString, QVariant> stored[] = {{SettingsKey::matchCriterion, "contentOnly"},
                                                   {SettingsKey::verifyContent, false},
                                                   {SettingsKey::keepRule, "shortestPath"},
                                                   {SettingsKey::minSize, 1},
                                                   {SettingsKey::includeHidden, false},
                                                   {SettingsKey::ignoreCase, true},
                                                   {SettingsKey::excludedNames, "a, b\nIcon\\r"},
                                                   {SettingsKey::packageExtensions, QString()},
                                                   {SettingsKey::ioParallelism, 8}};
    for (const auto& [key, value] : stored) settings.setValue(key, value);
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
