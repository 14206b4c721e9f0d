#include "scan/PhaseRow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStackedWidget>

#include "platform/AccessibleRole.h"
#include "platform/Icons.h"
#include "platform/Palette.h"
#include "platform/TextStyles.h"
#include "widgets/ActivitySpinner.h"

namespace {

constexpr int iconFrameWidth = 18;
constexpr int iconSide = 16;

QLabel* symbolLabel(const QString& name, const QColor& tint) {
  auto* label = new QLabel;
  label->setPixmap(Icons::symbol(name, tint).pixmap(iconSide, iconSide));
  label->setAlignment(Qt::AlignCenter);
  return label;
}

QWidget* centred(QWidget* content) {
  auto* frame = new QWidget;
  auto* layout = new QHBoxLayout(frame);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(content, 0, Qt::AlignCenter);
  return frame;
}

}  // namespace

PhaseRow::PhaseRow(const QString& title, QWidget* parent)
    : QWidget(parent), title_(new QLabel(title)), detail_(new QLabel), icon_(new QStackedWidget) {
  // In the order of State.
  icon_->addWidget(symbolLabel(QStringLiteral("circle"), Palette::tertiaryText()));
  icon_->addWidget(centred(new ActivitySpinner));
  icon_->addWidget(symbolLabel(QStringLiteral("checkmark.circle.fill"), Palette::systemGreen()));
  icon_->setFixedWidth(iconFrameWidth);

  Palette::setTextColor(*detail_, Palette::secondaryText());
  detail_->setFont(TextStyles::monospaced(font()));
  detail_->hide();

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(10);
  layout->addWidget(icon_);
  layout->addWidget(title_);
  layout->addStretch();
  layout->addWidget(detail_);

  // The name tells all the row shows: its parts would only repeat it.
  setAccessibleRole(*this, QAccessible::StaticText);
  for (QWidget* part : std::initializer_list<QWidget*>{icon_, title_, detail_}) hideFromAccessibility(*part);
  updateAccessibility();
}

PhaseRow::State PhaseRow::stateFor(Phase row, Phase current) {
  if (row < current) return State::done;
  return row == current ? State::running : State::pending;
}

QString PhaseRow::stateText(State state) {
  switch (state) {
    case State::pending:
      return tr("Waiting");
    case State::running:
      return tr("In progress");
    case State::done:
      return tr("Done");
  }
  return {};
}

void PhaseRow::setState(State state) {
  state_ = state;
  icon_->setCurrentIndex(static_cast<int>(state));
  updateAccessibility();
}

void PhaseRow::setDetail(const QString& detail) {
  detail_->setText(detail);
  detail_->setVisible(!detail.isEmpty());
  updateAccessibility();
}

QString PhaseRow::title() const { return title_->text(); }

QString PhaseRow::detail() const { return detail_->text(); }

QString PhaseRow::accessibleValue() const {
  const QString state = stateText(state_);
  return detail().isEmpty() ? state : state + QStringLiteral(", ") + detail();
}

void PhaseRow::updateAccessibility() { setAccessibleName(title() + QStringLiteral(", ") + accessibleValue()); }
