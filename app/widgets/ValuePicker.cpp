#include "widgets/ValuePicker.h"

#include <QSignalBlocker>

#include "widgets/DropDownEscape.h"

ValuePicker::ValuePicker(QWidget* parent) : QComboBox(parent) {
  DropDownEscape::closeDropDownAlone(*this);
  connect(this, &QComboBox::activated, this, [this](int index) { emit valueChosen(itemData(index).toLongLong()); });
}

void ValuePicker::addChoice(const QString& label, qlonglong value) { addItem(label, value); }

void ValuePicker::showValue(qlonglong value) {
  const QSignalBlocker blocker(this);
  setCurrentIndex(findData(value));
}

std::optional<qlonglong> ValuePicker::value() const {
  if (currentIndex() < 0) return std::nullopt;
  return currentData().toLongLong();
}
