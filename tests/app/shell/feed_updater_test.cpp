// The feed updater against a loopback HTTP server and a file:// feed.
#include <gtest/gtest.h>

#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include "app_test_support.hpp"
#include "loopback_http_server.hpp"
#include "shell/FeedUpdater.h"
#include "temp_tree.hpp"

namespace {

using apptest::LoopbackHttpServer;
using Outcome = UpdateCheckResult::Outcome;

const QDateTime now = QDateTime::fromString(QStringLiteral("2026-03-01T12:00:00Z"), Qt::ISODate);
const QDateTime earlier = now.addYears(-6);

QByteArray feed(const char* version, const char* url = "https://quelmaris.org/download/") {
  return QStringLiteral(R"({"version": "%1", "build": "5", "url": "%2", "notes": "<b>Faster</b>"})")
      .arg(QLatin1String(version), QLatin1String(url))
      .toUtf8();
}

QByteArray ok(const QByteArray& body) { return LoopbackHttpServer::reply("200 OK", body); }

class FeedUpdaterTest : public ::testing::Test {
 protected:
  void SetUp() override { setLastCheck(earlier); }

  static void setLastCheck(const std::optional<QDateTime>& date) {
    apptest::application();
    apptest::useTemporarySettings();
    if (date) QSettings().setValue(QStringLiteral("lastUpdateCheckDate"), date->toString(Qt::ISODateWithMs));
  }

  static FeedUpdater::Settings settingsFor(const QUrl& feed) {
    return {.feed = feed,
            .starting = true,
            .runningVersion = QVersionNumber(1, 9, 0),
            .runningBuild = QStringLiteral("5"),
            .transferTimeout = std::chrono::milliseconds(500),
            .checkDeadline = std::chrono::seconds(2),
            .firstAutomaticCheck = std::chrono::milliseconds(0),
            .now = [] { return now; }};
  }
};

TEST_F(FeedUpdaterTest, each_feed_and_each_failure_gives_its_result_and_only_a_read_feed_moves_last_checked) {
  const quelmaris::testing::TempTree tree;
  const QUrl file = QUrl::fromLocalFile(QString::fromStdString(tree.write("updates.json", feed("2.1").toStdString())));

  const QByteArray toFile = LoopbackHttpServer::reply("302 Found", "", "Location: file:///etc/hostname\r\n");
  const std::tuple<const char*, QByteArray, Outcome, QUrl, bool> cases[] = {
      {"ten after nine", ok(feed("1.10.0")), Outcome::available, {}, false},
      {"same", ok(feed("1.9.0")), Outcome::upToDate, {}, false},
      {"older", ok(feed("1.8.12")), Outcome::upToDate, {}, false},
      {"file feed", {}, Outcome::available, file, false},
      {"not found", LoopbackHttpServer::reply("404 Not Found", feed("2.0.0")), Outcome::failed, {}, false},
      {"refused", {}, Outcome::failed, QUrl(QStringLiteral("http://127.0.0.1:1/updates.json")), false},
      {"malformed", ok("{\"version\": \"2.0"), Outcome::failed, {}, false},
      {"version not text", ok(R"({"version": 2, "url": "https://q.org/"})"), Outcome::failed, {}, false},
      {"insecure download", ok(feed("2.0.0", "http://quelmaris.org/")), Outcome::failed, {}, false},
      {"oversized", ok(feed("2.0.0") + QByteArray(UpdateFeed::maximumSize, ' ')), Outcome::failed, {}, false},
      {"redirect to a file", toFile, Outcome::failed, {}, false},
      {"never answers", {}, Outcome::failed, {}, false},
      {"trickles past the deadline", ok(feed("2.0.0") + QByteArray(1000, ' ')), Outcome::failed, {}, true},
  };
  for (const auto& [name, response, outcome, url, trickled] : cases) {
    SCOPED_TRACE(name);
    SetUp();
    LoopbackHttpServer server;
    server.response = response;
    if (trickled) server.trickle = std::chrono::milliseconds(100);
    FeedUpdater updater(settingsFor(url.isEmpty() ? server.url() : url));
    QSignalSpy results(&updater, &FeedUpdater::resultToShow);
    updater.checkForUpdates();
    EXPECT_FALSE(updater.canCheckForUpdates()) << "no second check while one runs";
    updater.checkForUpdates();
    ASSERT_TRUE(results.wait(30'000));
    EXPECT_EQ(server.requests, url.isEmpty() ? 1 : 0);
    const auto result = results.first().first().value<UpdateCheckResult>();
    EXPECT_EQ(result.outcome, outcome) << result.error.toStdString();
    EXPECT_EQ(updater.lastUpdateCheckDate(), outcome == Outcome::failed ? earlier : now);
    EXPECT_TRUE(updater.canCheckForUpdates()) << "a finished check lets the next one start";
  }
}

TEST_F(FeedUpdaterTest, an_automatic_check_is_due_once_a_day_when_turned_on_and_shows_only_an_update) {
  const std::tuple<const char*, bool, std::optional<QDateTime>, bool> cases[] = {
      {"off", false, std::nullopt, false},
      {"never checked", true, std::nullopt, true},
      {"a day and an hour ago", true, now.addSecs(-25 * 3600), true},
      {"an hour ago", true, now.addSecs(-3600), false},
      {"in the future", true, now.addSecs(3600), true},
  };
  LoopbackHttpServer server;
  for (const auto& [name, automatic, last, due] : cases) {
    SCOPED_TRACE(name);
    setLastCheck(last);
    FeedUpdater updater(settingsFor(server.url()));
    updater.setAutomaticallyChecksForUpdates(automatic);
    EXPECT_EQ(updater.automaticCheckDue(), due);
  }
  EXPECT_FALSE(FeedUpdater(settingsFor(QUrl())).canCheckForUpdates()) << "a build without a feed never checks";

  for (const QByteArray& response : {ok(feed("1.9.0")), LoopbackHttpServer::reply("404 Not Found", "")}) {
    setLastCheck(std::nullopt);
    server.response = response;
    server.requests = 0;
    FeedUpdater updater(settingsFor(server.url()));
    EXPECT_FALSE(updater.automaticallyChecksForUpdates()) << "off until the user turns it on";
    QSignalSpy shown(&updater, &FeedUpdater::resultToShow);
    updater.setAutomaticallyChecksForUpdates(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests == 1 && updater.canCheckForUpdates(); }, 30'000));
    EXPECT_EQ(updater.lastUpdateCheckDate().has_value(), response.startsWith("HTTP/1.1 200"));
    EXPECT_FALSE(updater.automaticCheckDue()) << "the next automatic check is a day away, even after a failure";
    EXPECT_EQ(shown.count(), 0) << "an automatic check shows only an available update";
  }
}

}  // namespace
