// The peak memory of one update check against a loopback server whose answer
// never ends (a chunked body poured as fast as the check reads it, up to
// 256 MiB): an authentication challenge (401), a proxy challenge (407) and an
// ordinary answer (200). Prints one JSON line: per status, how far the
// process's resident memory rose at its peak during the check, and what was
// still held once the check had ended, in KiB, with the check's message. A
// check against an empty answer comes first, so that what a run loads once
// does not count.
#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

#include "loopback_http_server.hpp"
#include "peak_memory.hpp"
#include "shell/FeedUpdater.h"

namespace {

UpdateCheckResult check(const QUrl& feed) {
  FeedUpdater::Settings settings;
  settings.feed = feed;
  settings.starting = true;
  settings.runningVersion = QVersionNumber(1, 9, 0);
  settings.runningBuild = QStringLiteral("5");
  FeedUpdater updater(settings);
  QEventLoop loop;
  UpdateCheckResult result;
  QObject::connect(&updater, &FeedUpdater::resultToShow, &loop, [&](const UpdateCheckResult& shown) {
    result = shown;
    loop.quit();
  });
  updater.checkForUpdates();
  loop.exec();
  return result;
}

QString measure(const QByteArray& status) {
  apptest::LoopbackHttpServer server;
  // What the first check of a run loads once (libraries, their tables) is not the check's.
  server.response = apptest::LoopbackHttpServer::reply("404 Not Found", "");
  check(server.url());
  server.response = apptest::LoopbackHttpServer::chunkedHead(status);
  server.endless = true;
  const apptest::PeakMemoryGrowth peak;
  const UpdateCheckResult result = check(server.url());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return QStringLiteral(R"("%1": {"peak_growth_kib": %2, "held_after_kib": %3, "message": "%4"})")
      .arg(QString::fromLatin1(status.left(3)))
      .arg(peak.kib())
      .arg(peak.heldKib())
      .arg(result.error.left(80).replace(u'"', u'\''));
}

}  // namespace

// Each status is measured in a process of its own (this program, given the
// status), so that what one check left behind does not count for the next.
int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  const QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
  if (argc == 2) {
    std::printf("%s", qPrintable(measure(argv[1])));
    return 0;
  }
  QStringList lines;
  for (const char* status : {"401 Unauthorized", "407 Proxy Authentication Required", "200 OK"}) {
    QProcess one;
    one.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(status)});
    one.waitForFinished(-1);
    lines.append(QString::fromUtf8(one.readAllStandardOutput()));
  }
  std::printf("{\"bench\": \"update_check\", %s}\n", qPrintable(lines.join(QStringLiteral(", "))));
  return 0;
}
