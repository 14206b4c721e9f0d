#include "inspector/InspectorSection.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "platform/Palette.h"
#include "platform/TextStyles.h"
#include "widgets/GroupedForm.h"

InspectorSection::InspectorSection(const QString& title, QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(4);
  if (!title.isEmpty()) {
    auto* heading = new QLabel(title);
    heading->setTextFormat(Qt::PlainText);
    heading->setFont(TextStyles::font(TextStyle::callout, font(), QFont::DemiBold));
    Palette::setTextColor(*heading, Palette::secondaryText());
    heading->setContentsMargins(4, 0, 0, 0);
    layout->addWidget(heading);
  }
  auto* rows = new QWidget;
  rows_ = new QVBoxLayout(rows);
  rows_->setContentsMargins(0, 0, 0, 0);
  rows_->setSpacing(6);
  layout->addWidget(GroupedForm::section(rows));
}

QLabel* InspectorSection::addRow(const QString& label, const QString& valueName) {
  auto* value = dataLabel();
  value->setObjectName(valueName);
  addRow(label, value);
  return value;
}

void InspectorSection::addRow(const QString& label, QLabel* value) {
  auto* title = new QLabel(label);
  title->setTextFormat(Qt::PlainText);
  value->setAlignment(Qt::AlignRight | Qt::AlignTop);
  // Assistive technology reads the label as the value's label.
  title->setBuddy(value);
  auto* row = new QHBoxLayout;
  row->setSpacing(12);
  row->addWidget(title, 0, Qt::AlignTop);
  row->addWidget(value, 1);
  rows_->addLayout(row);
}

void InspectorSection::addWidget(QWidget* widget, Qt::Alignment alignment) { rows_->addWidget(widget, 0, alignment); }

void setValueText(QLabel& label, const std::optional<QString>& value, const std::optional<QString>& fallback) {
  const std::optional<QString> shown = value ? value : fallback;
  label.setText(shown.value_or(QStringLiteral("\u2014")));
  Palette::setTextColor(label, shown ? Palette::primaryText() : Palette::tertiaryText());
}

QLabel* dataLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label->setWordWrap(true);
  label->setMinimumWidth(1);
  return label;
}
