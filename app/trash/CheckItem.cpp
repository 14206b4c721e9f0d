#include "trash/CheckItem.h"

#include <QHBoxLayout>
#include <QLabel>

#include "platform/AccessibleRole.h"
#include "platform/Icons.h"
#include "platform/Palette.h"
#include "widgets/DecorativePicture.h"

CheckItem::CheckItem(const QString& text, bool ok, QWidget* parent) : QWidget(parent), text_(text), ok_(ok) {
  auto* icon = new DecorativePicture(
      Icons::symbol(ok ? QStringLiteral("checkmark.circle.fill") : QStringLiteral("exclamationmark.triangle.fill"),
                    ok ? Palette::stateKeep() : Palette::stateClone()),
      fontMetrics().height());
  auto* label = new QLabel(text);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(6);
  layout->addWidget(icon, 0, Qt::AlignTop);
  layout->addWidget(label, 1);
  // Read as the one line of text it is, not as a group holding a label
  // that says the same again.
  setAccessibleName(text);
  setAccessibleRole(*this, QAccessible::StaticText);
  hideFromAccessibility(*label);
}
