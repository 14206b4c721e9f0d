// The update result dialog with what a feed may hold.
#include <gtest/gtest.h>

#include <QLabel>

#include "platform/BundleInfo.h"
#include "shell/UpdateResultDialog.h"
#include "widget_test_support.hpp"

namespace {

QString parts(int count) {
  QStringList numbers;
  for (int part = 0; part < count; ++part) numbers.append(QString::number(part % 10));
  return numbers.join(u'.');
}

QString message(const UpdateFeed& feed) {
  UpdateCheckResult result;
  result.outcome = UpdateCheckResult::Outcome::available;
  result.feed = feed;
  const UpdateResultDialog dialog(result);
  for (const QLabel* label : dialog.findChildren<QLabel*>())
    if (label->text().startsWith(QLatin1String("Quelmaris "))) return label->text();
  return {};
}

TEST(UpdateResultDialogTest, a_long_version_or_build_is_shown_whole_up_to_forty_characters_and_elided_past_them) {
  widgettest::application();
  const QString running = BundleInfo::infoString(BundleInfo::shortVersionKey);
  const QString build = BundleInfo::infoString(BundleInfo::versionKey);
  const QString forty = parts(20) + u'1';  // 40 characters
  const std::tuple<const char*, QString, QString, QString> cases[] = {
      {"short version", QStringLiteral("99.1"), {}, QStringLiteral("99.1")},
      {"forty characters", forty, {}, forty},
      {"a 10,000-part version", parts(10'000), {}, parts(20).left(39) + u'…'},
      {"a 10,000-part build", running, parts(10'000), QStringLiteral("%1 (%2…)").arg(running, parts(20).left(39))},
  };
  for (const auto& [name, version, offeredBuild, shown] : cases) {
    SCOPED_TRACE(name);
    UpdateFeed feed;
    feed.version = strictVersion(version);
    feed.build = offeredBuild;
    const QString have = offeredBuild.isEmpty() ? running : QStringLiteral("%1 (%2)").arg(running, build);
    EXPECT_EQ(message(feed).toStdString(),
              QStringLiteral("Quelmaris %1 is available. You have version %2.").arg(shown, have).toStdString());
  }
}

}  // namespace
