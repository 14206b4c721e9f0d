// A choice box whose choices stand for integer values. It shows the value it
// is given without reporting it back, shows no choice for a value it does not
// offer, and reports a value only when the user picks one; separators between
// choices do not disturb the mapping. Escape in its open drop-down closes the
// drop-down alone. Main thread only.
#pragma once

#include <QComboBox>
#include <optional>

class ValuePicker final : public QComboBox {
  Q_OBJECT

 public:
  explicit ValuePicker(QWidget* parent = nullptr);

  void addChoice(const QString& label, qlonglong value);
  // Shows the choice of the value, or none when no choice has it.
  void showValue(qlonglong value);
  // The value of the shown choice; none when no choice is shown.
  std::optional<qlonglong> value() const;

 signals:
  void valueChosen(qlonglong value);
};
