// The feed updater against a loopback HTTP server and a file:// feed: what a
// check reports for each feed and each failure, that only a check that read
// the feed moves "Last checked", that no second check starts while one runs,
// and when an automatic check is due.
#include <gtest/gtest.h>

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app_test_support.hpp"
#include "loopback_http_server.hpp"
#include "shell/FeedUpdater.h"

namespace {

using apptest::LoopbackHttpServer;
using Outcome = UpdateCheckResult::Outcome;

const QDateTime now = QDateTime::fromString(QStringLiteral("2026-03-01T12:00:00Z"), Qt::ISODate);
const QDateTime earlier = QDateTime::fromString(QStringLiteral("2020-01-01T00:00:00Z"), Qt::ISODate);

class FeedUpdaterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    apptest::application();
    static QTemporaryDir config;
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    QCoreApplication::setOrganizationName(QStringLiteral("Quelmaris"));
    QCoreApplication::setApplicationName(QStringLiteral("Quelmaris"));
    QSettings().clear();
    QSettings().setValue(QStringLiteral("lastUpdateCheckDate"), earlier.toString(Qt::ISODateWithMs));
  }

  static FeedUpdater::Settings settingsFor(const QUrl& feed) {
    FeedUpdater::Settings settings;
    settings.feed = feed;
    settings.starting = true;
    settings.runningVersion = QVersionNumber(1, 9, 0);
    settings.runningBuild = QStringLiteral("5");
    settings.transferTimeout = std::chrono::milliseconds(500);
    settings.firstAutomaticCheck = std::chrono::hours(1);
    settings.now = [] { return now; };
    return settings;
  }

  static UpdateCheckResult checkOnce(FeedUpdater& updater) {
    QSignalSpy results(&updater, &FeedUpdater::resultToShow);
    updater.checkForUpdates();
    EXPECT_TRUE(results.wait(30'000));
    EXPECT_TRUE(updater.canCheckForUpdates()) << "a finished check lets the next one start";
    return results.isEmpty() ? UpdateCheckResult{} : results.first().first().value<UpdateCheckResult>();
  }
};

QByteArray feed(const char* version, const char* url = "https://quelmaris.org/download/") {
  return QStringLiteral(R"({"version": "%1", "build": "5", "url": "%2", "notes": "<b>Faster</b>"})")
      .arg(QLatin1String(version), QLatin1String(url))
      .toUtf8();
}

LoopbackHttpServer::Reply reply(const char* status, const QByteArray& body, const char* location = "",
                                bool held = false) {
  return {status, body, location, held};
}

TEST_F(FeedUpdaterTest, each_feed_and_each_failure_gives_its_result_and_only_a_read_feed_moves_last_checked) {
  struct Case {
    const char* name;
    LoopbackHttpServer::Reply reply;
    Outcome outcome;
  };
  const Case cases[] = {
      {"newer", reply("200 OK", feed("2.0.0")), Outcome::available},
      {"ten after nine", reply("200 OK", feed("1.10.0")), Outcome::available},
      {"same", reply("200 OK", feed("1.9.0")), Outcome::upToDate},
      {"same with a trailing zero", reply("200 OK", feed("1.9")), Outcome::upToDate},
      {"older", reply("200 OK", feed("1.8.12")), Outcome::upToDate},
      {"not found", reply("404 Not Found", feed("2.0.0")), Outcome::failed},
      {"malformed", reply("200 OK", "{\"version\": \"2.0"), Outcome::failed},
      {"version not dotted numbers", reply("200 OK", feed("2.0.0-beta")), Outcome::failed},
      {"version not text", reply("200 OK", R"({"version": 2, "url": "https://q.org/"})"), Outcome::failed},
      {"insecure download", reply("200 OK", feed("2.0.0", "http://quelmaris.org/")), Outcome::failed},
      {"script download", reply("200 OK", feed("2.0.0", "javascript:alert(1)")), Outcome::failed},
      {"oversized", reply("200 OK", feed("2.0.0") + QByteArray(UpdateFeed::maximumSize, ' ')), Outcome::failed},
      {"redirect to a file", reply("302 Found", "", "file:///etc/hostname"), Outcome::failed},
      {"never answers", reply("200 OK", feed("2.0.0"), "", true), Outcome::failed},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.name);
    SetUp();
    LoopbackHttpServer server;
    server.reply = row.reply;
    FeedUpdater updater(settingsFor(server.url()));
    const UpdateCheckResult result = checkOnce(updater);
    EXPECT_EQ(result.outcome, row.outcome) << result.error.toStdString();
    EXPECT_EQ(server.requests, 1);
    EXPECT_EQ(updater.lastUpdateCheckDate(), row.outcome == Outcome::failed ? earlier : now);
    EXPECT_EQ(result.error.isEmpty(), row.outcome != Outcome::failed);
  }
}

TEST_F(FeedUpdaterTest, a_refused_connection_fails_and_a_file_feed_is_read) {
  QTcpServer closed;
  ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
  const QUrl refused(QStringLiteral("http://127.0.0.1:%1/updates.json").arg(closed.serverPort()));
  closed.close();
  FeedUpdater unreachable(settingsFor(refused));
  EXPECT_EQ(checkOnce(unreachable).outcome, Outcome::failed);
  EXPECT_EQ(unreachable.lastUpdateCheckDate(), earlier);

  QTemporaryDir folder;
  QFile file(folder.filePath(QStringLiteral("updates.json")));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(feed("2.1"));
  file.close();
  FeedUpdater local(settingsFor(QUrl::fromLocalFile(file.fileName())));
  const UpdateCheckResult result = checkOnce(local);
  EXPECT_EQ(result.outcome, Outcome::available);
  EXPECT_EQ(result.feed.notes, QStringLiteral("<b>Faster</b>"));
}

TEST_F(FeedUpdaterTest, no_check_starts_while_one_is_held_open_or_when_not_started) {
  LoopbackHttpServer server;
  server.reply = reply("200 OK", feed("1.9.0"), "", true);
  FeedUpdater updater(settingsFor(server.url()));
  QSignalSpy results(&updater, &FeedUpdater::resultToShow);
  updater.checkForUpdates();
  ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests == 1; }, 30'000));
  EXPECT_FALSE(updater.canCheckForUpdates());
  updater.checkForUpdates();
  server.release();
  ASSERT_TRUE(results.wait(30'000));
  EXPECT_TRUE(updater.canCheckForUpdates());
  EXPECT_EQ(server.requests, 1);

  // Switched off by the environment, or built without a feed.
  for (const auto& [feedUrl, starting] : {std::pair{server.url(), false}, std::pair{QUrl(), true}}) {
    FeedUpdater::Settings settings = settingsFor(feedUrl);
    settings.starting = starting;
    FeedUpdater idle(settings);
    EXPECT_FALSE(idle.canCheckForUpdates());
    idle.checkForUpdates();
  }
  EXPECT_EQ(server.requests, 1);
}

TEST_F(FeedUpdaterTest, an_automatic_check_is_due_once_a_day_when_turned_on_and_shows_only_an_update) {
  struct Case {
    const char* name;
    bool automatic;
    std::optional<QDateTime> last;
    bool due;
  };
  const Case cases[] = {
      {"off", false, std::nullopt, false},
      {"never checked", true, std::nullopt, true},
      {"a day and an hour ago", true, now.addSecs(-25 * 3600), true},
      {"an hour ago", true, now.addSecs(-3600), false},
      {"in the future", true, now.addSecs(3600), true},
  };
  LoopbackHttpServer server;
  for (const Case& row : cases) {
    SCOPED_TRACE(row.name);
    QSettings().clear();
    if (row.last) QSettings().setValue(QStringLiteral("lastUpdateCheckDate"), row.last->toString(Qt::ISODateWithMs));
    FeedUpdater updater(settingsFor(server.url()));
    updater.setAutomaticallyChecksForUpdates(row.automatic);
    EXPECT_EQ(updater.automaticCheckDue(), row.due);
  }

  QSettings().clear();
  FeedUpdater::Settings settings = settingsFor(server.url());
  settings.firstAutomaticCheck = std::chrono::milliseconds(0);
  server.reply = reply("200 OK", feed("1.9.0"));
  FeedUpdater updater(settings);
  EXPECT_FALSE(updater.automaticallyChecksForUpdates()) << "off until the user turns it on";
  QSignalSpy shown(&updater, &FeedUpdater::resultToShow);
  updater.setAutomaticallyChecksForUpdates(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return updater.lastUpdateCheckDate().has_value(); }, 30'000));
  EXPECT_EQ(server.requests, 1);
  EXPECT_EQ(shown.count(), 0) << "an automatic check shows only an available update";
}

}  // namespace
