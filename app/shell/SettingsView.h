// The settings window: the tabs "General", "Advanced" and "Updates", 540
// pixels wide and as tall as the tab shown, titled after it and tinted with
// the brand colour. Ctrl+Tab and Ctrl+Page Down show the next tab, with Shift
// or Page Up the previous one; Escape and Ctrl+W close the window. Opening it
// stores nothing. Main thread only.
#pragma once

#include <QList>
#include <QWidget>

class QTabBar;
class UpdateService;

class SettingsView final : public QWidget {
  Q_OBJECT

 public:
  explicit SettingsView(UpdateService& updates, QWidget* parent = nullptr);

  QTabBar& tabBar() const { return *tabBar_; }

 private:
  void addTab(QWidget* page, const char* symbol, const QString& title);
  void showTab(int index);

  QTabBar* tabBar_;
  QList<QWidget*> pages_;
};
