// The settings file: where it is, its text read and written as Qt's own, a
// full volume that leaves it whole, and what stands in its place that is no
// settings file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRect>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "app_test_support.hpp"
#include "bounded_child.hpp"
#include "device_node.hpp"
#include "full_volume.hpp"
#include "mount_namespace.hpp"
#include "shell/QuelmarisApp.h"
#include "shell/SettingsText.h"
#include "temp_tree.hpp"

namespace {

using quelmaris::testing::read_file;
using quelmaris::testing::TempTree;

// This program's configuration folder, set before anything looks for settings.
const TempTree configHome;
const bool configHomeSet = ::setenv("XDG_CONFIG_HOME", configHome.root().c_str(), 1) == 0;

std::string settingsFile() { return configHome.path("Quelmaris/Quelmaris.conf"); }

// A step of a test run in a child process: 0 when it holds, else a status
// that names the step, with what was found on the standard error.
int failedUnless(bool holds, int step, const std::string& found = {}) {
  if (!holds) std::fprintf(stderr, "step %d failed: %s\n", step, found.c_str());
  return holds ? 0 : step;
}

QStringList keptBeside(const std::string& file) {
  return QDir(QFileInfo(QString::fromStdString(file)).path())
      .entryList({QStringLiteral("Quelmaris.damaged-*.conf")}, QDir::AllEntries | QDir::System, QDir::Name);
}

// First, before any settings are made in this program: the place of the
// settings file is found once per process.
TEST(SettingsFilePlace, a_relative_xdg_config_home_is_ignored) {
  ASSERT_TRUE(configHomeSet);
  const int status = quelmaris::testing::run_in_bounded_child(30, [] {
    apptest::application();
    ::setenv("XDG_CONFIG_HOME", "rel/config", 1);
    ::setenv("HOME", configHome.path("home").c_str(), 1);
    declareApplicationIdentity();
    const std::string file = QSettings().fileName().toStdString();
    return failedUnless(file == configHome.path("home/.config/Quelmaris/Quelmaris.conf"), 1, file);
  });
  EXPECT_EQ(status, 0);
}

// Values as Qt writes and reads them, the awkward ones included.
QSettings::SettingsMap awkwardValues() {
  QByteArray everyByte;
  for (int byte = 0; byte < 256; ++byte) everyByte.append(static_cast<char>(byte));
  return {
      {"matchCriterion", QStringLiteral("contentOnly")},
      {"excludedNames", QStringLiteral(".DS_Store\n._*\nIcon\\r\n a name , with; = signs ")},
      {"quotes", QStringLiteral("say \"hi\" \\ back")},
      {"at", QStringLiteral("@ByteArray(not bytes)")},
      {"text", QString::fromUtf8("caf\xc3\xa9 \xf0\x9f\x93\xb7 \x01"
                                 "1f\t")},
      {"mainWindowGeometry", everyByte},
      {"verifyContent", false},
      {"minSize", qlonglong{10485760}},
      {"ioParallelism", -4},
      {"list", QStringList{QStringLiteral("a"), QStringLiteral(" b "), QStringLiteral("@c")}},
      {"empty", QString()},
      {"when", QDateTime(QDate(2026, 12, 7), QTime(16, 0), Qt::UTC)},
      {"rect", QRect(1, 2, 3, 4)},
      {"group/key with space", QStringLiteral("grouped")},
  };
}

QSettings::SettingsMap readByQt(const QString& file) {
  QSettings settings(file, QSettings::IniFormat);
  QSettings::SettingsMap values;
  for (const QString& key : settings.allKeys()) values.insert(key, settings.value(key));
  return values;
}

TEST(SettingsText, reads_what_qt_writes_and_qt_reads_what_it_writes_alike) {
  QTemporaryDir folder;
  const QString byQt = folder.filePath("qt.conf"), byUs = folder.filePath("ours.conf");
  {
    QSettings settings(byQt, QSettings::IniFormat);
    const auto values = awkwardValues();
    for (auto value = values.cbegin(); value != values.cend(); ++value) settings.setValue(value.key(), value.value());
  }
  const QSettings::SettingsMap asQtReads = readByQt(byQt);
  ASSERT_EQ(asQtReads.size(), awkwardValues().size());
  const QSettings::SettingsMap asWeRead =
      SettingsText::decode(QByteArray::fromStdString(read_file(byQt.toStdString())));
  for (auto value = asQtReads.cbegin(); value != asQtReads.cend(); ++value) {
    SCOPED_TRACE(value.key().toStdString());
    EXPECT_EQ(asWeRead.value(value.key()), value.value());
  }
  QFile ours(byUs);
  ASSERT_TRUE(ours.open(QIODevice::WriteOnly));
  ours.write(SettingsText::encode(asWeRead));
  ours.close();
  EXPECT_EQ(readByQt(byUs), asQtReads);
  // Comments, blank lines, another section, a quoted list and a backslash
  // joining a line to the next across CR LF, as people write them.
  const auto handWritten = SettingsText::decode(
      "; mine\n\n[General]\nminSize = 1 ; a comment\nkeep=\"a, b\"\n"
      "excludedNames=.DS_Store\\\r\nThumbs.db\r\n[Other]\nx=\"1\", 2\n");
  EXPECT_EQ(handWritten.value("excludedNames").toString().toStdString(), ".DS_StoreThumbs.db");
  EXPECT_EQ(handWritten.value("minSize"), QVariant(QStringLiteral("1")));
  EXPECT_EQ(handWritten.value("keep"), QVariant(QStringLiteral("a, b")));
  EXPECT_EQ(handWritten.value("Other/x"), QVariant(QStringList{QStringLiteral("1"), QStringLiteral("2")}));
}

// Where the lock file still fits but the new file does not: Qt 6.4's own
// writer renames an empty file over the old one there.
TEST(SettingsFileSave, a_save_on_a_full_volume_keeps_the_settings_file_byte_for_byte) {
  const std::string volume = configHome.mkdir("Quelmaris");
  std::string before;
  const int status = quelmaris::testing::run_on_full_volume(
      volume,
      [&] {
        apptest::application();
        declareApplicationIdentity();
        QSettings settings;
        settings.setValue("minSize", 102400);
        settings.setValue("excludedNames", QString(3000, QLatin1Char('x')));
        settings.sync();
        before = read_file(settingsFile());
      },
      [&] {
        QSettings settings;
        settings.setValue("minSize", 1);
        settings.sync();
        const std::string after = read_file(settingsFile());
        const QStringList left = QDir(QString::fromStdString(volume)).entryList(QDir::Files | QDir::Hidden);
        return failedUnless(before.find("minSize=102400") != std::string::npos, 1, before) +
               failedUnless(after == before, 2, after) + failedUnless(settings.status() == QSettings::AccessError, 3) +
               failedUnless(left.size() == 2 && left.contains("Quelmaris.conf") && left.contains("filler"), 4,
                            left.join(u' ').toStdString());
      },
      1);
  if (status == quelmaris::testing::kNoMountNamespace) GTEST_SKIP() << "no mount namespace here";
  EXPECT_EQ(status, 0);
}

// A FIFO would block the reader and a link to a device feed it without end.
TEST(SettingsFileLoad, what_is_no_regular_file_of_settings_is_set_aside_unopened_and_the_settings_start_afresh) {
  const std::function<void()> cases[] = {
      [] { ASSERT_EQ(::mkfifo(settingsFile().c_str(), 0600), 0); },
      [] {
        quelmaris::testing::make_zero_device(configHome.path("Quelmaris/zero"));
        std::filesystem::create_symlink(configHome.path("Quelmaris/zero"), settingsFile());
      },
      [] { std::filesystem::resize_file(configHome.write("Quelmaris/Quelmaris.conf", "[General]\n"), 64 << 20); },
  };
  for (const auto& damage : cases) {
    SCOPED_TRACE(&damage - cases);
    std::filesystem::remove_all(configHome.path("Quelmaris"));
    configHome.mkdir("Quelmaris");
    damage();
    const int status = quelmaris::testing::run_in_bounded_child(30, [] {
      apptest::application();
      declareApplicationIdentity();
      QSettings settings;
      const int failed = failedUnless(!settings.contains("minSize") && keptBeside(settingsFile()).size() == 1, 1,
                                      keptBeside(settingsFile()).join(u' ').toStdString());
      settings.setValue("minSize", 1);
      settings.sync();
      struct stat st {};
      return failed + failedUnless(::lstat(settingsFile().c_str(), &st) == 0 && S_ISREG(st.st_mode), 2);
    });
    EXPECT_EQ(status, 0);
  }
  // A link to a settings file is read through.
  std::filesystem::remove_all(configHome.path("Quelmaris"));
  configHome.write("elsewhere.conf", "[General]\nminSize=5000\n");
  configHome.mkdir("Quelmaris");
  std::filesystem::create_symlink(configHome.path("elsewhere.conf"), settingsFile());
  const int status = quelmaris::testing::run_in_bounded_child(30, [] {
    apptest::application();
    declareApplicationIdentity();
    return failedUnless(QSettings().value("minSize").toInt() == 5000 && keptBeside(settingsFile()).isEmpty(), 1);
  });
  EXPECT_EQ(status, 0);
}

}  // namespace
