#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <array>

#include "app_test_support.hpp"
#include "platform/BundleInfo.h"
#include "shell/AboutView.h"
#include "shell/FeedUpdater.h"
#include "shell/MainWindow.h"
#include "shell/QuelmarisApp.h"
#include "shell/SettingsView.h"
#include "shell/UpdateResultDialog.h"
#include "shell/UpdateService.h"
#include "widget_test_support.hpp"
#include "widgets/FocusRing.h"

namespace {

using BundleInfo::shortVersionKey;
using BundleInfo::versionKey;
using Outcome = UpdateCheckResult::Outcome;

TEST(AboutViewTest, the_version_line_takes_the_build_keys_as_text_and_the_links_open_the_websites_pages) {
  widgettest::application();
  const std::pair<QVariantMap, const char*> cases[] = {
      {{{shortVersionKey, QStringLiteral("1.2")}, {versionKey, QStringLiteral("45")}}, "Version 1.2 (45)"},
      {{}, "Version  ()"},
      {{{shortVersionKey, 12}, {versionKey, QStringLiteral("45")}}, "Version  (45)"},
      {{{shortVersionKey, QStringLiteral("%2")}, {versionKey, QStringLiteral("%1")}}, "Version %2 (%1)"},
  };
  for (const auto& [info, line] : cases) EXPECT_EQ(AboutView::versionText(info), QLatin1String(line));
  declareApplicationIdentity();
  QList<QUrl> opened;
  AboutView view([&](const QUrl& url) { opened << url; });
  EXPECT_EQ(view.findChild<QLabel*>(QStringLiteral("versionLine"))->text(),
            QStringLiteral("Version %1 (%2)")
                .arg(QCoreApplication::applicationVersion(), BundleInfo::infoString(versionKey)));
  for (const char* name : {"websiteLink", "privacyLink", "termsLink"})
    view.findChild<QPushButton*>(QLatin1String(name))->click();
  const QString site = BundleInfo::websiteUrl().toString();
  EXPECT_EQ(opened, (QList<QUrl>{QUrl(site), QUrl(site + "privacy.html"), QUrl(site + "terms.html")}));

  // A dialog named by its title, the credit titles as headings, no nameless picture.
  QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&view);
  EXPECT_EQ((std::pair{window->role(), window->text(QAccessible::Name)}),
            (std::pair{QAccessible::Dialog, QString("About Quelmaris")}));
  QStringList headings;
  const std::function<void(QAccessibleInterface*)> read = [&](QAccessibleInterface* element) {
    for (int index = 0; index < element->childCount(); ++index) {
      QAccessibleInterface* child = element->child(index);
      if (child->role() == QAccessible::Heading) headings << child->text(QAccessible::Name);
      EXPECT_TRUE(child->role() == QAccessible::Client || !child->text(QAccessible::Name).isEmpty());
      read(child);
    }
  };
  read(window);
  EXPECT_EQ(headings, (QStringList{"Everything Stays on This Computer", "The Name"}));
}

// The links were read as push buttons: they are links, named by their text,
// that a screen reader follows with their press action.
TEST(AboutViewTest, the_links_read_as_links_that_a_screen_reader_follows) {
  widgettest::application();
  declareApplicationIdentity();
  QList<QUrl> opened;
  AboutView view([&](const QUrl& url) { opened << url; });
  QStringList links;
  for (const char* name : {"websiteLink", "privacyLink", "termsLink"}) {
    SCOPED_TRACE(name);
    QAccessibleInterface* link =
        QAccessible::queryAccessibleInterface(view.findChild<QPushButton*>(QLatin1String(name)));
    EXPECT_EQ(link->role(), QAccessible::Link);
    EXPECT_TRUE(link->state().linked);
    links << link->text(QAccessible::Name);
    ASSERT_NE(link->actionInterface(), nullptr);
    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  }
  EXPECT_EQ(links, (QStringList{"Website", "Privacy Policy", "Terms of Use"}));
  EXPECT_EQ(opened.size(), 3) << "each followed once";
}

TEST(AboutViewTest, each_link_shows_its_keyboard_focus_at_three_to_one_light_and_dark) {
  widgettest::application();
  declareApplicationIdentity();
  widgettest::forEachPalette([] {
    AboutView view([](const QUrl&) {});
    view.show();
    const std::array<const char*, 3> names{"websiteLink", "privacyLink", "termsLink"};
    for (std::size_t index = 0; index < names.size(); ++index) {
      auto& link = *view.findChild<QPushButton*>(QLatin1String(names[index]));
      auto& elsewhere = *view.findChild<QPushButton*>(QLatin1String(names[(index + 1) % names.size()]));
      const QRect around = widgettest::inWindow(link).adjusted(-FocusRing::margin, -FocusRing::margin,
                                                               FocusRing::margin, FocusRing::margin);
      EXPECT_GE(widgettest::focusIndicatorContrast(link, elsewhere, around), Palette::outlineContrast) << names[index];
    }
    widgettest::saveScreenshot(view, Palette::isDark() ? "about-link-focus-dark" : "about-link-focus");
  });
}

TEST(AboutViewTest, about_settings_and_update_results_show_one_window_each_come_back_and_close_with_the_main_window) {
  widgettest::userFolders();
  widgettest::application();
  apptest::useTemporarySettings();
  QuelmarisApp app;
  MainWindow& window = app.showMainWindow();
  EXPECT_FALSE(widgettest::action(window, "checkForUpdatesAction").isEnabled()) << "switched off";
  for (const char* name : {"aboutAction", "settingsAction", "aboutAction", "settingsAction"})
    widgettest::trigger(window, name);
  const auto shown = [](const QMetaObject& type) {
    QWidgetList windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (widget->isVisible() && widget->metaObject() == &type) windows << widget;
    return windows;
  };
  EXPECT_EQ(shown(AboutView::staticMetaObject).size(), 1);
  EXPECT_EQ(shown(SettingsView::staticMetaObject).size(), 1);
  const AboutView& view = app.showAboutWindow();
  EXPECT_EQ(view.size(), view.maximumSize()) << "fixed size";
  EXPECT_EQ(view.width(), 460);
  EXPECT_FALSE(view.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));

  const std::function<QWidget&()> sideWindows[] = {[&]() -> QWidget& { return app.showAboutWindow(); },
                                                   [&]() -> QWidget& { return app.showSettingsWindow(); }};
  for (const QKeyCombination key : {QKeyCombination(Qt::Key_Escape), Qt::CTRL | Qt::Key_W}) {
    for (const auto& show : sideWindows) {
      const QPointer<QWidget> side = &show();
      side->activateWindow();
      ASSERT_TRUE(QTest::qWaitForWindowActive(side));
      QTest::keyClick(side, key.key(), key.keyboardModifiers());
      EXPECT_FALSE(side->isVisible()) << key.key();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
  }

  const std::array<QWidget*, 2> sides{&app.showAboutWindow(), &app.showSettingsWindow()};
  for (QWidget* side : sides) side->setWindowState(Qt::WindowMinimized);
  for (const char* name : {"aboutAction", "settingsAction"}) widgettest::trigger(window, name);
  for (QWidget* side : sides) EXPECT_FALSE(side->isMinimized()) << "brought back";

  // Three results: the last alone, over the main window; of the same version, the builds tell them apart.
  const QString running = BundleInfo::infoString(shortVersionKey), build = BundleInfo::infoString(versionKey);
  auto& updater = static_cast<FeedUpdater&>(app.updates().updater());
  UpdateCheckResult result;
  result.feed.version = strictVersion(running);
  result.feed.build = build + u'0';
  for (const auto outcome : {Outcome::upToDate, Outcome::failed, Outcome::available}) {
    result.outcome = outcome;
    emit updater.resultToShow(result);
  }
  const QWidgetList results = shown(UpdateResultDialog::staticMetaObject);
  ASSERT_EQ(results.size(), 1);
  EXPECT_EQ(results.first()->parentWidget(), &window);
  const QString message =
      QStringLiteral("Quelmaris %1 (%2) is available. You have version %1 (%3).").arg(running, build + u'0', build);
  EXPECT_TRUE(std::ranges::any_of(results.first()->findChildren<QLabel*>(), [&](const QLabel* label) {
    return label->text() == message;
  })) << message.toStdString();

  QTimer::singleShot(0, &window, &QWidget::close);
  QTimer::singleShot(10'000, &window, [] { QCoreApplication::exit(1); });
  EXPECT_EQ(QApplication::exec(), 0) << "closing the main window ends the application, side windows open or not";
}

}  // namespace
