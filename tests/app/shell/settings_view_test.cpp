// The settings window over temporary settings and a fake updater.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTest>
#include <functional>

#include "app_test_support.hpp"
#include "fake_updater.hpp"
#include "platform/FocusFrame.h"
#include "shell/HelpMenu.h"
#include "shell/ScanOptionsBinding.h"
#include "shell/ScanOptionsPopover.h"
#include "shell/SettingsView.h"
#include "shell/StoredSettings.h"
#include "shell/UpdateService.h"
#include "widget_test_support.hpp"
#include "widgets/ValuePicker.h"

namespace {

// How far an unticked check box stands out from the card it sits on: the
// contrast with the card's fill of the pixel least like it where the box
// begins, half-way down its left edge (its outline, as the style paints it).
double outlineOnCard(QCheckBox& box) {
  box.setChecked(false);
  QWidget* card = box.parentWidget();
  while (card->objectName() != QLatin1String("groupedSection")) card = card->parentWidget();
  QImage painted(card->size(), QImage::Format_RGB32);
  card->render(&painted);
  QStyleOptionButton option;
  option.initFrom(&box);
  option.text = box.text();
  const QRect indicator = box.style()
                              ->subElementRect(QStyle::SE_CheckBoxIndicator, &option, &box)
                              .translated(box.mapTo(card, QPoint(0, 0)));
  const int y = indicator.center().y();
  const QColor fill = painted.pixelColor(indicator.left() - 3, y);
  EXPECT_EQ(fill.name(), Palette::secondaryBackground().name()) << "the card's fill lies beside the box";
  double most = 1;
  for (int x = indicator.left(); x < indicator.left() + 3; ++x)
    most = std::max(most, Palette::contrastRatio(painted.pixelColor(x, y), fill));
  return most;
}

class SettingsViewTest : public ::testing::Test {
 protected:
  void SetUp() override { apptest::useTemporarySettings(); }

  template <class Widget = ValuePicker>
  Widget& child(const char* name) {
    if (!view) view = std::make_unique<SettingsView>(updates), view->show();
    return *view->findChild<Widget*>(QLatin1String(name));
  }
  void pick(const char* picker, qlonglong value) {
    const int index = child(picker).findData(value);
    child(picker).setCurrentIndex(index);
    emit child(picker).activated(index);
  }
  static QVariant stored(const QString& key) { return QSettings().value(key); }
  // Each check box of the settings' cards, ticked and unticked, and the options popover's, in the
  // light and the dark palette, with a control beside it that can take the focus and its window.
  void forEachCardCheckBox(const std::function<void(QCheckBox& box, QWidget& elsewhere, QWidget& window)>& check) {
    widgettest::forEachPalette([&] {
      view = std::make_unique<SettingsView>(updates);
      view->show();
      for (const auto& [tab, name] : {std::pair{0, "includeHiddenToggle"}, std::pair{0, "ignoreCaseToggle"},
                                      std::pair{2, "automaticChecksToggle"}}) {
        view->tabBar().setCurrentIndex(tab);
        check(*view->findChild<QCheckBox*>(QLatin1String(name)), view->tabBar(), *view);
      }
      ScanOptions stored;
      stored.verifyContent = false;
      ScanOptionsBinding options([&] { return stored; }, [&](const ScanOptions& chosen) { stored = chosen; });
      ScanOptionsPopover popover(options);
      popover.show();
      check(*popover.findChild<QCheckBox*>(QStringLiteral("verifyContentBox")), *popover.findChild<QComboBox*>(),
            popover);
    });
    view.reset();
  }

  QApplication& application = widgettest::application();
  apptest::FakeUpdater* updater = nullptr;
  UpdateService updates{
      [this](bool) { return std::unique_ptr<Updater>(updater = new apptest::FakeUpdater(false, false)); }};
  std::unique_ptr<SettingsView> view;
};

TEST_F(SettingsViewTest, opening_stores_nothing_and_shows_the_defaults_or_no_choice_for_an_off_list_value) {
  const ScanSettings& defaults = ScanSettings::defaultSettings();
  EXPECT_EQ(child("minSizePicker").currentText(), QStringLiteral("1 KB"));
  EXPECT_TRUE(child<QCheckBox>("includeHiddenToggle").isChecked());
  EXPECT_FALSE(child<QCheckBox>("ignoreCaseToggle").isChecked());
  EXPECT_EQ(child<QPlainTextEdit>("excludedNamesEditor").toPlainText(), defaults.excludedNames);
  EXPECT_EQ(child("ioParallelismPicker").currentText(), QStringLiteral("Automatic"));
  for (int tab : {0, 1, 2}) {
    view->tabBar().setCurrentIndex(tab);
    widgettest::saveScreenshot(*view, "settings-" + view->tabBar().tabText(tab).toLower());
  }
  EXPECT_EQ(child<QLabel>("lastCheckedValue").text(), QStringLiteral("Never"));
  EXPECT_FALSE(child<QPushButton>("checkNowButton").isEnabled()) << "the updater was not started";
  view.reset();
  EXPECT_TRUE(QSettings().allKeys().isEmpty());

  QSettings().setValue(SettingsKey::minSize, 5000);
  QSettings().setValue(SettingsKey::ioParallelism, 3);
  EXPECT_EQ(std::tuple(child("minSizePicker").value(), child("ioParallelismPicker").value()),
            std::tuple(std::nullopt, std::nullopt));
  view.reset();
  EXPECT_EQ(std::tuple(stored(SettingsKey::minSize).toLongLong(), stored(SettingsKey::ioParallelism).toLongLong()),
            std::tuple(5000, 3));
}

TEST_F(SettingsViewTest, restore_defaults_restores_only_the_advanced_three_and_the_next_keystroke_keeps_them) {
  pick("minSizePicker", 1);
  child<QCheckBox>("includeHiddenToggle").click();
  child<QCheckBox>("ignoreCaseToggle").click();
  auto& names = child<QPlainTextEdit>("excludedNamesEditor");
  names.setPlainText(QStringLiteral("edited"));
  child<QPlainTextEdit>("packageExtensionsEditor").setPlainText(QStringLiteral("edited"));
  pick("ioParallelismPicker", 8);
  EXPECT_EQ(stored(SettingsKey::ioParallelism).toLongLong(), 8);

  child<QPushButton>("restoreDefaultsButton").click();
  QSettings settings;
  const ScanSettings& defaults = ScanSettings::defaultSettings();
  const ScanSettings expected{
      1, !defaults.includeHidden, !defaults.ignoreCase, defaults.excludedNames, defaults.packageExtensions,
      0};  // "No Limit" stores 1
  EXPECT_EQ(StoredSettings(settings).options().settings, expected);
  EXPECT_EQ(child("ioParallelismPicker").value(), 0);
  names.moveCursor(QTextCursor::End);
  QTest::keyClicks(&names, QStringLiteral("x"));
  EXPECT_EQ(stored(SettingsKey::excludedNames).toString(), defaults.excludedNames + u'x');
}

// Both list fields are stops like any other field: Tab leaves them for the
// controls below, Shift+Tab comes back, and no tab is typed or pasted in.
TEST_F(SettingsViewTest, tab_moves_on_from_the_list_fields_and_back_and_no_tab_is_ever_stored) {
  auto& names = child<QPlainTextEdit>("excludedNamesEditor");
  view->tabBar().setCurrentIndex(1);
  view->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
  names.setFocus(Qt::TabFocusReason);
  const auto walk = [this](Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QStringList stops{QApplication::focusWidget()->objectName()};
    for (int step = 0; step < 3; ++step) {
      QTest::keyClick(view->windowHandle(), key, modifiers);
      stops << QApplication::focusWidget()->objectName();
    }
    return stops.join(" → ").toStdString();
  };
  EXPECT_EQ(walk(Qt::Key_Tab, {}),
            "excludedNamesEditor → packageExtensionsEditor → ioParallelismPicker → restoreDefaultsButton");
  EXPECT_EQ(walk(Qt::Key_Backtab, Qt::ShiftModifier),
            "restoreDefaultsButton → ioParallelismPicker → packageExtensionsEditor → excludedNamesEditor");
  QTest::keyClick(view->windowHandle(), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(view->tabBar().currentIndex(), 2) << "Ctrl+Tab in a list field switches tabs";
  EXPECT_FALSE(stored(SettingsKey::excludedNames).isValid()) << "the keys typed nothing";

  view->tabBar().setCurrentIndex(1);
  names.setFocus(Qt::TabFocusReason);
  names.moveCursor(QTextCursor::End);
  QApplication::clipboard()->setText(QStringLiteral("\tcopied\tfrom a table"));
  QTest::keyClick(view->windowHandle(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(stored(SettingsKey::excludedNames).toString().toStdString(),
            (ScanSettings::defaultSettings().excludedNames + "\ncopied\nfrom a table").toStdString());
}

TEST_F(SettingsViewTest, check_now_check_for_updates_and_last_checked_follow_the_updater) {
  auto& checkNow = child<QPushButton>("checkNowButton");
  QMenuBar bar;
  buildHelpMenu(bar, updates, [] {});
  auto& command = *bar.findChild<QAction*>(QStringLiteral("checkForUpdatesAction"));
  updater->setCanCheck(true);
  checkNow.click();
  command.trigger();
  EXPECT_EQ(updater->checks, 2);
  updater->setCanCheck(false);
  EXPECT_EQ(std::pair(checkNow.isEnabled(), command.isEnabled()), std::pair(false, false));

  view->tabBar().setCurrentIndex(2);
  updater->lastCheck = QDateTime::currentDateTime();
  EXPECT_EQ(child<QLabel>("lastCheckedValue").text(), QStringLiteral("Never")) << "not until shown again";
  view->tabBar().setCurrentIndex(0);
  view->tabBar().setCurrentIndex(2);
  EXPECT_NE(child<QLabel>("lastCheckedValue").text(), QStringLiteral("Never"));
}

TEST_F(SettingsViewTest, assistive_technology_toggles_store_last_checked_reads_its_value_and_keys_act_as_expected) {
  for (const char* name : {"includeHiddenToggle", "ignoreCaseToggle", "automaticChecksToggle"}) {
    QAccessibleInterface* toggle = QAccessible::queryAccessibleInterface(&child<QCheckBox>(name));
    toggle->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  }
  QSettings settings;
  EXPECT_EQ((std::pair{StoredSettings(settings).includeHidden(), StoredSettings(settings).ignoreCase()}),
            (std::pair{false, true}));
  EXPECT_EQ(updater->written, std::vector<bool>{true});

  view->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
  const std::tuple<Qt::Key, Qt::KeyboardModifiers, int> switches[] = {
      {Qt::Key_Tab, Qt::ControlModifier, 1},
      {Qt::Key_PageDown, Qt::ControlModifier, 2},
      {Qt::Key_Tab, Qt::ControlModifier, 0},
      {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, 2},
  };
  for (const auto& [key, modifiers, tab] : switches) {
    QTest::keyClick(view.get(), key, modifiers);
    EXPECT_EQ(view->tabBar().currentIndex(), tab) << key;
  }
  view->tabBar().setFocus(Qt::TabFocusReason);
  EXPECT_TRUE(widgettest::showsFocusRing(view->tabBar()));

  QAccessibleInterface* window = QAccessible::queryAccessibleInterface(view.get());
  EXPECT_EQ((std::pair{window->role(), window->text(QAccessible::Name)}),
            (std::pair{QAccessible::Window, QString("Updates")}));
  QAccessibleInterface* lastChecked = QAccessible::queryAccessibleInterface(&child<QLabel>("lastCheckedValue"));
  EXPECT_EQ(lastChecked->text(QAccessible::Name), "Never");
  const auto labels = lastChecked->relations(QAccessible::Label);
  ASSERT_EQ(labels.size(), 1);
  EXPECT_EQ(labels.first().first->text(QAccessible::Name), "Last checked");

  view->tabBar().setCurrentIndex(0);
  child("minSizePicker").showPopup();
  QTest::keyClick(QApplication::activePopupWidget()->windowHandle(), Qt::Key_Escape);
  EXPECT_TRUE(view->isVisible()) << "Escape in an open drop-down closes the drop-down alone";
}

TEST_F(SettingsViewTest, unticked_check_boxes_on_the_settings_and_options_cards_show_their_outline_light_and_dark) {
  forEachCardCheckBox([](QCheckBox& box, QWidget&, QWidget& window) {
    EXPECT_GE(outlineOnCard(box), Palette::outlineContrast) << box.objectName().toStdString();
    if (qobject_cast<ScanOptionsPopover*>(&window))
      widgettest::saveScreenshot(window, Palette::isDark() ? "options-popover-dark-palette" : "options-popover");
  });
}

TEST_F(SettingsViewTest, the_keyboard_focus_on_a_check_box_of_the_settings_and_options_cards_reads_light_and_dark) {
  forEachCardCheckBox([](QCheckBox& box, QWidget& elsewhere, QWidget& window) {
    EXPECT_GE(widgettest::focusIndicatorContrast(box, elsewhere, widgettest::inWindow(box)), Palette::outlineContrast)
        << box.objectName().toStdString();
    if (qobject_cast<ScanOptionsPopover*>(&window))
      widgettest::saveScreenshot(window, Palette::isDark() ? "verify-content-focus-on-dark" : "verify-content-focus");
  });
}

TEST_F(SettingsViewTest, the_keyboard_focus_on_the_drop_downs_and_buttons_of_the_settings_reads_light_and_dark) {
  widgettest::forEachPalette([this] {
    view = std::make_unique<SettingsView>(updates);
    view->show();
    for (const auto& [tab, name] :
         {std::pair{0, "minSizePicker"}, std::pair{1, "ioParallelismPicker"}, std::pair{1, "restoreDefaultsButton"}}) {
      view->tabBar().setCurrentIndex(tab);
      auto& control = *view->findChild<QWidget*>(QLatin1String(name));
      EXPECT_GE(widgettest::focusIndicatorContrast(control, view->tabBar(), widgettest::inWindow(control)),
                Palette::outlineContrast)
          << name;
    }
    widgettest::saveScreenshot(*view, Palette::isDark() ? "restore-defaults-focus-dark" : "restore-defaults-focus");
  });
  view.reset();
}

// The list fields showed only their caret when they held the keyboard; like
// the one-line fields, they show the frame along the inside of their outline.
TEST_F(SettingsViewTest, the_list_fields_show_the_text_fields_focus_frame_light_and_dark) {
  widgettest::forEachPalette([this] {
    view = std::make_unique<SettingsView>(updates);
    view->show();
    view->tabBar().setCurrentIndex(1);
    QLineEdit line(view.get());
    line.setGeometry(0, 0, 120, 30);
    line.show();
    for (QWidget* field : {static_cast<QWidget*>(&line), view->findChild<QWidget*>("excludedNamesEditor"),
                           view->findChild<QWidget*>("packageExtensionsEditor")}) {
      SCOPED_TRACE(field->objectName().toStdString());
      const QRect area = widgettest::inWindow(*field);
      const auto frame = widgettest::focusIndicator(*field, view->tabBar(), area);
      EXPECT_GE(widgettest::indicatorContrast(frame), Palette::outlineContrast);
      EXPECT_TRUE(widgettest::linesEverySide(frame, area, focusFrameRoom));
    }
    widgettest::saveScreenshot(*view, Palette::isDark() ? "list-field-focus-dark" : "list-field-focus");
  });
  view.reset();
}

}  // namespace
