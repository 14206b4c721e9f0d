#include "ContentUnavailableView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/Icons.h"
#include "platform/MainThread.h"
#include "platform/Palette.h"

namespace {

constexpr int symbolSide = 48;
constexpr int descriptionWidth = 420;

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
  description_->setFixedWidth(descriptionWidth);
  QPalette descriptionPalette = description_->palette();
  descriptionPalette.setColor(QPalette::WindowText, Palette::secondaryText());
  description_->setPalette(descriptionPalette);
  description_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  actions_->setSpacing(8);
  actions_->addStretch();
  actions_->addStretch();

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(24, 24, 24, 24);
  column->setSpacing(0);
  column->addStretch(1);
  column->addWidget(picture, 0, Qt::AlignHCenter);
  column->addSpacing(14);
  column->addWidget(title_, 0, Qt::AlignHCenter);
  column->addSpacing(6);
  column->addWidget(description_, 0, Qt::AlignHCenter);
  column->addSpacing(16);
  column->addLayout(actions_);
  column->addStretch(1);
}

QWidget* ContentUnavailableView::symbolPicture(const QString& symbolName, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setPixmap(Icons::symbol(symbolName, Palette::secondaryText()).pixmap(symbolSide, symbolSide));
  label->setFixedSize(symbolSide, symbolSide);
  return label;
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
