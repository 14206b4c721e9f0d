#include "inspector/SymbolLabel.h"

#include <QHBoxLayout>
#include <QLabel>

#include "platform/Icons.h"
#include "platform/Palette.h"
#include "widgets/DecorativePicture.h"

SymbolLabel::SymbolLabel(const QString& symbol, const QColor& color, QWidget* parent)
    : QWidget(parent), text_(new QLabel), color_(color) {
  // The text says it all: the symbol only adorns it.
  auto* icon = new DecorativePicture(Icons::symbol(symbol, color), fontMetrics().height());
  text_->setTextFormat(Qt::PlainText);
  text_->setWordWrap(true);
  Palette::setTextColor(*text_, color);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(6);
  layout->addWidget(icon, 0, Qt::AlignTop);
  layout->addWidget(text_, 1);
}

void SymbolLabel::setText(const QString& text) {
  text_->setText(text);
  setAccessibleName(text);
}

QString SymbolLabel::text() const { return text_->text(); }
