#include "widgets/ContentUnavailableView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/Icons.h"
#include "platform/MainThread.h"
#include "platform/Palette.h"
#include "widgets/DecorativePicture.h"

namespace {

constexpr int symbolSide = 48;
constexpr int textWidth = 440;

}  // namespace

ContentUnavailableView::ContentUnavailableView(QWidget* picture, const QString& title, const QString& description,
                                               QWidget* parent)
    : QWidget(parent), title_(new QLabel(title)), description_(new QLabel(description)), actions_(new QHBoxLayout) {
  requireMainThread();
  QFont titleFont = title_->font();
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.55);
  titleFont.setWeight(QFont::DemiBold);
  title_->setFont(titleFont);
  title_->setTextFormat(Qt::PlainText);
  description_->setTextFormat(Qt::PlainText);
  title_->setAlignment(Qt::AlignHCenter);
  title_->setWordWrap(true);

  description_->setAlignment(Qt::AlignHCenter);
  description_->setWordWrap(true);
  Palette::setTextColor(*description_, Palette::secondaryText());
  description_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  actions_->setSpacing(8);
  actions_->addStretch();
  actions_->addStretch();

  // The texts wrap inside a column of bounded width, centred in the view.
  auto* texts = new QWidget(this);
  texts->setMaximumWidth(textWidth);
  auto* column = new QVBoxLayout(texts);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(picture, 0, Qt::AlignHCenter);
  column->addSpacing(14);
  column->addWidget(title_);
  column->addSpacing(6);
  column->addWidget(description_);
  column->addSpacing(18);
  column->addLayout(actions_);

  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(texts, 4);
  row->addStretch(1);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(24, 24, 24, 24);
  outer->addStretch(1);
  outer->addLayout(row);
  outer->addStretch(1);
}

QWidget* ContentUnavailableView::symbolPicture(const QString& symbolName, QWidget* parent) {
  return new DecorativePicture(Icons::symbol(symbolName, Palette::secondaryText()), symbolSide, parent);
}

void ContentUnavailableView::setTitle(const QString& title) { title_->setText(title); }
void ContentUnavailableView::setDescription(const QString& description) { description_->setText(description); }

QPushButton* ContentUnavailableView::addButton(const QString& text) {
  auto* button = new QPushButton(text, this);
  actions_->insertWidget(actions_->count() - 1, button);
  return button;
}

QString ContentUnavailableView::title() const { return title_->text(); }
QString ContentUnavailableView::description() const { return description_->text(); }
