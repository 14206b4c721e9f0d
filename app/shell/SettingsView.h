// The settings window: the tabs "General", "Advanced" and "Updates", 540
// pixels wide and as tall as the tab shown, titled after it and tinted with
// the brand colour. Opening it stores nothing. Main thread only.
#pragma once

#include <QWidget>

class QTabWidget;
class UpdateService;

class SettingsView final : public QWidget {
  Q_OBJECT

 public:
  explicit SettingsView(UpdateService& updates, QWidget* parent = nullptr);

 private:
  void fitToTab(int index);

  QTabWidget* tabs_;
};
