// The three tabs of the settings window. General and Advanced edit six of the
// stored scan settings, each stored the moment the user changes it; filling
// the controls stores nothing, and a stored value that no choice offers stays
// as it is until the user picks another. Updates shows the update service's
// options and refreshes "Last checked" each time the tab is shown. Main
// thread only.
#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class UpdateService;
class ValuePicker;

class GeneralSettings final : public QWidget {
  Q_OBJECT

 public:
  explicit GeneralSettings(QWidget* parent = nullptr);

 private:
  ValuePicker* minSize_;
  QCheckBox* includeHidden_;
  QCheckBox* ignoreCase_;
};

class AdvancedSettings final : public QWidget {
  Q_OBJECT

 public:
  explicit AdvancedSettings(QWidget* parent = nullptr);

 private:
  // Shows the stored values without storing them again.
  void refresh();

  QPlainTextEdit* excludedNames_;
  QPlainTextEdit* packageExtensions_;
  ValuePicker* ioParallelism_;
};

class UpdateSettings final : public QWidget {
  Q_OBJECT

 public:
  explicit UpdateSettings(UpdateService& updates, QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  UpdateService& updates_;
  QLabel* lastCheck_;
};
