// One section of the inspector's grouped form: an optional title over a
// rounded card whose rows show a label on the leading side and its value on
// the trailing side. Values are data and always plain text. Main thread only.
#pragma once

#include <QString>
#include <QWidget>
#include <optional>

class QLabel;
class QVBoxLayout;

class InspectorSection final : public QWidget {
  Q_OBJECT

 public:
  explicit InspectorSection(const QString& title = {}, QWidget* parent = nullptr);

  // A labelled row; returns its value label, named for the tests and tools that look for it.
  QLabel* addRow(const QString& label, const QString& valueName);
  // A labelled row around a value label of the caller's (one that elides, say).
  void addRow(const QString& label, QLabel* value);
  void addWidget(QWidget* widget, Qt::Alignment alignment = {});

 private:
  QVBoxLayout* rows_;
};

// A value label showing the value, else the fallback, both in the default
// style, else an em dash in the tertiary style.
void setValueText(QLabel& label, const std::optional<QString>& value, const std::optional<QString>& fallback = {});

// A label for text that comes from data: plain text, selectable, wrapping anywhere.
QLabel* dataLabel(QWidget* parent = nullptr);

