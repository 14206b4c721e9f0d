#include <gtest/gtest.h>

#include <QUrl>

#include "ScanOptions.h"

namespace {

QString operator""_q(const char* text, std::size_t size) {
  return QString::fromUtf8(text, static_cast<qsizetype>(size));
}

ScanConfig applied(const ScanSettings& settings) {
  ScanConfig config = defaultScanConfig();
  settings.apply(config);
  return config;
}

TEST(ScanSettings, min_size_below_one_never_reaches_the_core) {
  const struct {
    std::int64_t given;
    std::uint64_t expected;
  } cases[] = {{0, 1}, {-5, 1}, {1, 1}, {1024, 1024}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.given);
    ScanSettings settings;
    settings.minSize = c.given;
    EXPECT_EQ(applied(settings).minSize, c.expected);
  }
}

TEST(ScanSettings, io_parallelism_is_clamped_to_what_the_core_accepts) {
  const struct {
    std::int64_t given;
    std::uint32_t expected;
  } cases[] = {{-1, 0}, {0, 0}, {16, 16}, {64, 16}, {std::int64_t{1} << 40, 16}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.given);
    ScanSettings settings;
    settings.ioParallelism = c.given;
    EXPECT_EQ(applied(settings).ioParallelism, c.expected);
  }
}

TEST(ScanSettings, entries_drop_blank_lines_and_trim_spaces_and_tabs_only) {
  const struct {
    QString text;
    QList<QString> expected;
  } cases[] = {
      {"  .DS_Store\t\n\n   \n.fseventsd"_q, {".DS_Store"_q, ".fseventsd"_q}},
      {QString(), {}},
      {"\n\n"_q, {}},
      {"single entry"_q, {"single entry"_q}},
      // No-break and ideographic spaces are spaces too; a carriage return is
      // not, since it may end a real name.
      {"\u00a0a\u3000\nIcon\r\n"_q, {"a"_q, "Icon\r"_q}},
      {"b\na\nb"_q, {"b"_q, "a"_q, "b"_q}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    EXPECT_EQ(ScanSettings::entries(c.text), c.expected);
  }
}

TEST(ScanSettings, defaults_come_from_the_core_with_returns_written_out) {
  const ScanSettings& defaults = ScanSettings::defaultSettings();
  const ScanConfig core = defaultScanConfig();
  EXPECT_EQ(defaults.minSize, 1024);
  EXPECT_TRUE(defaults.includeHidden);
  EXPECT_FALSE(defaults.ignoreCase);
  EXPECT_EQ(defaults.ioParallelism, 0);
  EXPECT_FALSE(defaults.excludedNames.contains(QLatin1Char('\r')));
  EXPECT_TRUE(defaults.excludedNames.split(QLatin1Char('\n')).contains("Icon\\r"_q));
  EXPECT_FALSE(defaults.excludedNames.endsWith(QLatin1Char('\n')));
  EXPECT_EQ(defaults.packageExtensions.split(QLatin1Char('\n')), core.packageExtensions);
  EXPECT_EQ(&ScanSettings::defaultSettings(), &defaults);
}

TEST(ScanSettings, default_texts_give_back_exactly_the_core_lists) {
  const ScanConfig core = defaultScanConfig();
  const ScanConfig config = applied(ScanSettings::defaultSettings());
  EXPECT_EQ(config.excludedNames, core.excludedNames);
  EXPECT_TRUE(config.excludedNames.contains("Icon\r"_q));
  EXPECT_EQ(config.packageExtensions, core.packageExtensions);
  EXPECT_EQ(config, core);
}

TEST(ScanSettings, backslash_r_becomes_a_return_in_excluded_names_only) {
  ScanSettings settings;
  settings.excludedNames = "a\\rb\nIcon\\r\nplain\\n"_q;
  settings.packageExtensions = "x\\ry"_q;
  const ScanConfig config = applied(settings);
  EXPECT_EQ(config.excludedNames, (QList<QString>{"a\rb"_q, "Icon\r"_q, "plain\\n"_q}));
  EXPECT_EQ(config.packageExtensions, QList<QString>{"x\\ry"_q});
}

TEST(ScanOptions, defaults_are_name_and_size_verified_folder_priority) {
  const ScanOptions options;
  EXPECT_EQ(options.criterion, MatchCriterion::nameAndSize);
  EXPECT_TRUE(options.verifyContent);
  EXPECT_EQ(options.keep, KeepChoice::folderPriority);
  EXPECT_EQ(options.settings, ScanSettings::defaultSettings());
}

TEST(ScanOptions, config_sets_every_field_from_options_and_roots) {
  ScanOptions options;
  options.criterion = MatchCriterion::contentOnly;
  options.verifyContent = false;
  options.keep = KeepChoice::newest;
  options.settings = ScanSettings{5, false, true, "x\\r"_q, "pkg"_q, 3};
  const ScanConfig config = options.config(
      {QUrl::fromLocalFile("/tmp/with space/é"_q), QUrl::fromLocalFile("/tmp/100%"_q), QUrl::fromLocalFile("/a"_q)});
  const ScanConfig expected{{"/tmp/with space/é"_q, "/tmp/100%"_q, "/a"_q},
                            MatchMode::contentOnly,
                            true,
                            false,
                            5,
                            false,
                            {"x\r"_q},
                            {"pkg"_q},
                            3,
                            KeepRule::newest};
  EXPECT_EQ(config, expected);
  // Compared code unit by code unit: canonical equivalence would hide a
  // decomposed accent.
  EXPECT_EQ(config.roots, expected.roots);
}

TEST(ScanOptions, each_choice_reaches_the_core_in_its_position) {
  const std::pair<KeepChoice, KeepRule> keeps[] = {{KeepChoice::folderPriority, KeepRule::folderPriority},
                                                   {KeepChoice::oldest, KeepRule::oldest},
                                                   {KeepChoice::newest, KeepRule::newest},
                                                   {KeepChoice::shortestPath, KeepRule::shortestPath}};
  for (const auto& [choice, rule] : keeps) {
    SCOPED_TRACE(rawValue(choice).toStdString());
    ScanOptions options;
    options.keep = choice;
    EXPECT_EQ(options.config({}).keepRule, rule);
  }
  for (const bool verify : {true, false}) {
    SCOPED_TRACE(verify);
    ScanOptions options;
    options.verifyContent = verify;
    options.criterion = MatchCriterion::nameAndSize;
    EXPECT_EQ(options.config({}).mode, MatchMode::nameAndSize);
    EXPECT_EQ(options.config({}).verifyContent, verify);
    options.criterion = MatchCriterion::contentOnly;
    EXPECT_EQ(options.config({}).mode, MatchMode::contentOnly);
    EXPECT_EQ(options.config({}).verifyContent, verify);
  }
}

TEST(ScanOptions, differing_excluded_names_make_options_unequal) {
  ScanOptions a;
  ScanOptions b;
  EXPECT_EQ(a, b);
  b.settings.excludedNames += "\nmore"_q;
  EXPECT_NE(a, b);
}

TEST(ScanOptionChoices, raw_values_round_trip_and_unknown_texts_give_no_case) {
  const std::pair<MatchCriterion, QString> criteria[] = {{MatchCriterion::nameAndSize, "nameAndSize"_q},
                                                         {MatchCriterion::contentOnly, "contentOnly"_q}};
  for (const auto& [criterion, raw] : criteria) {
    SCOPED_TRACE(raw.toStdString());
    EXPECT_EQ(rawValue(criterion), raw);
    EXPECT_EQ(matchCriterionFromRawValue(raw), criterion);
  }
  const std::pair<KeepChoice, QString> choices[] = {{KeepChoice::folderPriority, "folderPriority"_q},
                                                    {KeepChoice::oldest, "oldest"_q},
                                                    {KeepChoice::newest, "newest"_q},
                                                    {KeepChoice::shortestPath, "shortestPath"_q}};
  for (const auto& [choice, raw] : choices) {
    SCOPED_TRACE(raw.toStdString());
    EXPECT_EQ(rawValue(choice), raw);
    EXPECT_EQ(keepChoiceFromRawValue(raw), choice);
  }
  for (const QString& unknown : {QString(), "NameAndSize"_q, "content"_q, "oldest "_q, "FolderPriority"_q}) {
    SCOPED_TRACE(unknown.toStdString());
    EXPECT_EQ(matchCriterionFromRawValue(unknown), std::nullopt);
    EXPECT_EQ(keepChoiceFromRawValue(unknown), std::nullopt);
  }
}

TEST(ScanOptionChoices, titles_are_the_english_keys_in_picker_order) {
  QList<QString> criteria;
  for (MatchCriterion criterion : allMatchCriteria) criteria.append(title(criterion));
  EXPECT_EQ(criteria, (QList<QString>{"Name and Size"_q, "Content Only"_q}));
  QList<QString> keeps;
  for (KeepChoice choice : allKeepChoices) keeps.append(title(choice));
  EXPECT_EQ(keeps, (QList<QString>{"First Folder in the List"_q, "Oldest"_q, "Newest"_q, "Shortest Path"_q}));
}

}  // namespace
