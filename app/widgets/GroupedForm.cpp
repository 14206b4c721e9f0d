#include "widgets/GroupedForm.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

#include "platform/Palette.h"
#include "platform/TextStyles.h"
#include "widgets/CheckBoxStyle.h"

namespace GroupedForm {

QFrame* section(QWidget* rows, QWidget* parent) {
  auto* box = new QFrame(parent);
  box->setObjectName(QStringLiteral("groupedSection"));
  box->setStyleSheet(
      QStringLiteral("#groupedSection { background: %1; border: 1px solid %2; border-radius: 8px; }")
          .arg(Palette::secondaryBackground().name(QColor::HexArgb), Palette::quaternaryFill().name(QColor::HexArgb)));
  // The style's own box can all but vanish on the card's colour.
  for (QCheckBox* toggle : rows->findChildren<QCheckBox*>()) toggle->setStyle(&CheckBoxStyle::shared());
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(14, 12, 14, 12);
  layout->addWidget(rows);
  return box;
}

QLabel* header(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  label->setFont(TextStyles::font(TextStyle::body, label->font(), QFont::DemiBold));
  label->setContentsMargins(4, 0, 4, 0);
  return label;
}

QLabel* note(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setFont(TextStyles::font(TextStyle::callout, label->font()));
  Palette::setTextColor(*label, Palette::secondaryText());
  label->setContentsMargins(4, 0, 4, 0);
  return label;
}

}  // namespace GroupedForm
