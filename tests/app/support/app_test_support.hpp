// Helpers for the application-side tests.
#pragma once

#include <sys/stat.h>

#include <QCoreApplication>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

#include "interface/QuelmarisCore.h"

namespace apptest {

// Tests never reach the internet: the update service stays switched off.
inline QCoreApplication& application() {
  static int argc = 1;
  static char name[] = "quelmaris_app_test";
  static char* argv[] = {name, nullptr};
  static auto* app = (setenv("QUELMARIS_NO_UPDATES", "1", 0), new QCoreApplication(argc, argv));
  return *app;
}

// Keeps this test program's settings in a temporary folder, under the names
// the application gives itself, with nothing stored. Call after making the
// application object.
inline void useTemporarySettings() {
  static QTemporaryDir folder;
  setenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit().constData(), 1);
  QCoreApplication::setOrganizationName(QStringLiteral("Quelmaris"));
  QCoreApplication::setApplicationName(QStringLiteral("Quelmaris"));
  QSettings().clear();
}

// Runs the main thread's event loop until done() holds or a deadline long
// enough for any machine passes.
inline bool runEventsUntil(const std::function<bool()>& done) {
  application();
  return QTest::qWaitFor(done, 120'000);
}

// The error of that type the body throws, if any.
template <class Error, class Body>
std::optional<Error> thrownBy(Body body) {
  try {
    body();
  } catch (const Error& error) {
    return error;
  }
  return std::nullopt;
}

inline bool scanThreadRunning() {
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    std::ifstream comm(task.path() / "comm");
    std::string name;
    if (std::getline(comm, name) && name == "Quelmaris scan") return true;
  }
  return false;
}

inline bool waitForScanThreadsToEnd() {
  return runEventsUntil([] { return !scanThreadRunning(); });
}

// The entry the scan would record for a real file.
inline FileEntry entryFor(const std::string& path, std::uint32_t rootIndex = 0) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) std::abort();
  const QString text = QString::fromStdString(path);
  const std::int64_t modifiedNs = std::int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec;
  const auto size = static_cast<std::uint64_t>(st.st_size);
  const auto nlink = static_cast<std::uint32_t>(st.st_nlink);
  const QString name = text.section(u'/', -1);
  return FileEntry{text, name, rootIndex, size, {}, modifiedNs, st.st_dev, st.st_ino, nlink, {}, false, {}};
}

inline QUrl urlOf(const std::string& path) { return QUrl::fromLocalFile(QString::fromStdString(path)); }

}  // namespace apptest
