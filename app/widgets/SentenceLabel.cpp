#include "widgets/SentenceLabel.h"

#include <QFontMetricsF>
#include <cmath>

SentenceLabel::SentenceLabel(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setWordWrap(true);
}

void SentenceLabel::setSentence(const QString& sentence) { present(sentence, sentence); }

void SentenceLabel::present(const QString& sentence, const QString& shown) {
  sentence_ = sentence;
  setAccessibleName(sentence);
  setText(shown);
  updateGeometry();
}

// A wrapping label would ask for a width of its own choosing; this one asks
// for the sentence on one line. Text is laid out at fractional widths: a
// width rounded down would wrap its last word.
QSize SentenceLabel::sizeHint() const {
  const QMargins margins = contentsMargins();
  const int width = static_cast<int>(std::ceil(QFontMetricsF(font()).horizontalAdvance(sentence_))) + margins.left() +
                    margins.right() + 2 * margin();
  return {width, heightForWidth(width)};
}
