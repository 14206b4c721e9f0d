// The About window: the version line from the build's keys, the pages its
// links open, and the one window that "About Quelmaris" opens or brings
// forward; "Settings…" likewise opens one settings window.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include "platform/BundleInfo.h"
#include "shell/AboutView.h"
#include "shell/MainWindow.h"
#include "shell/QuelmarisApp.h"
#include "shell/QuelmarisMark.h"
#include "shell/SettingsView.h"
#include "widget_test_support.hpp"

namespace {

template <class Window>
int windowsOf() {
  int count = 0;
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (qobject_cast<Window*>(widget) != nullptr && widget->isVisible()) ++count;
  return count;
}

TEST(AboutViewTest, the_version_line_inserts_the_two_keys_as_text_and_a_missing_key_as_nothing) {
  widgettest::application();
  struct Case {
    QVariantMap info;
    const char* line;
  };
  const Case cases[] = {
      {{{BundleInfo::shortVersionKey, QStringLiteral("1.2")}, {BundleInfo::versionKey, QStringLiteral("45")}},
       "Version 1.2 (45)"},
      {{}, "Version  ()"},
      {{{BundleInfo::shortVersionKey, 12}, {BundleInfo::versionKey, QStringLiteral("45")}}, "Version  (45)"},
      {{{BundleInfo::shortVersionKey, QStringLiteral("%2")}, {BundleInfo::versionKey, QStringLiteral("%1")}},
       "Version %2 (%1)"},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.line);
    EXPECT_EQ(AboutView::versionText(row.info), QLatin1String(row.line));
  }
  declareApplicationIdentity();
  AboutView view([](const QUrl&) {});
  EXPECT_EQ(view.findChild<QLabel*>(QStringLiteral("versionLine"))->text(),
            QStringLiteral("Version %1 (%2)").arg(QCoreApplication::applicationVersion(),
                                                  BundleInfo::infoString(BundleInfo::versionKey)));
}

TEST(AboutViewTest, the_links_open_the_websites_home_privacy_and_terms_pages) {
  widgettest::application();
  QList<QUrl> opened;
  AboutView view([&](const QUrl& url) { opened << url; });
  for (const char* name : {"websiteLink", "privacyLink", "termsLink"})
    view.findChild<QPushButton*>(QLatin1String(name))->click();
  const QString site = BundleInfo::websiteUrl().toString();
  ASSERT_TRUE(site.startsWith(QLatin1String("https://")) && site.endsWith(u'/'));
  EXPECT_EQ(opened, (QList<QUrl>{QUrl(site), QUrl(site + QStringLiteral("privacy.html")),
                                 QUrl(site + QStringLiteral("terms.html"))}));
}

TEST(AboutViewTest, about_and_settings_each_open_one_window_and_bring_it_forward) {
  widgettest::application();
  QTemporaryDir folders;
  setenv("XDG_CONFIG_HOME", folders.filePath(QStringLiteral("config")).toLocal8Bit().constData(), 1);
  setenv("XDG_DATA_HOME", folders.filePath(QStringLiteral("data")).toLocal8Bit().constData(), 1);
  declareApplicationIdentity();
  QuelmarisApp app;
  MainWindow& window = app.showMainWindow();
  EXPECT_FALSE(window.findChild<QAction*>(QStringLiteral("checkForUpdatesAction"))->isEnabled())
      << "switched off by the environment";
  for (int time = 0; time < 2; ++time) {
    window.findChild<QAction*>(QStringLiteral("aboutAction"))->trigger();
    window.findChild<QAction*>(QStringLiteral("settingsAction"))->trigger();
  }
  EXPECT_EQ(windowsOf<AboutView>(), 1);
  EXPECT_EQ(windowsOf<SettingsView>(), 1);
  AboutView& about = app.showAboutWindow();
  EXPECT_EQ(about.width(), 460);
  EXPECT_EQ(about.minimumSize(), about.maximumSize());
  EXPECT_FALSE(about.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_TRUE(QSettings().allKeys().isEmpty());
}

TEST(AboutViewTest, screenshots_of_the_about_window_light_and_dark) {
  QUELMARIS_SCREENSHOTS_ONLY();
  QApplication& application = widgettest::application();
  QApplication::setWindowIcon(QuelmarisMark::icon());
  const QPalette light = QApplication::palette();
  QPalette dark = light;
  dark.setColor(QPalette::Window, QColor(0x1E, 0x1E, 0x1E));
  dark.setColor(QPalette::WindowText, QColor(0xEE, 0xEE, 0xEE));
  dark.setColor(QPalette::Button, QColor(0x33, 0x33, 0x33));
  dark.setColor(QPalette::ButtonText, QColor(0xEE, 0xEE, 0xEE));
  for (const auto& [palette, name] : {std::pair{light, "about-light"}, std::pair{dark, "about-dark"}}) {
    QApplication::setPalette(palette);
    AboutView view([](const QUrl&) {});
    view.show();
    widgettest::saveScreenshot(view, QLatin1String(name));
  }
  QApplication::setPalette(light);
  (void)application;
}

}  // namespace
