#include "results/TotalsLabel.h"

#include <QResizeEvent>
#include <algorithm>

#include "platform/Palette.h"

namespace {

const QChar ellipsis(0x2026);

// The first `kept` characters of a text that starts at `start` in the sentence.
QString keptPart(const QString& text, qsizetype start, qsizetype kept) {
  return text.left(std::clamp<qsizetype>(kept - start, 0, text.size())).toHtmlEscaped();
}

}  // namespace

TotalsLabel::TotalsLabel(QWidget* parent) : QLabel(parent) {
  setObjectName(QStringLiteral("totals"));
  setTextFormat(Qt::RichText);
}

void TotalsLabel::setParts(const QString& counts, const QString& amount, const QString& tail) {
  counts_ = counts;
  amount_ = amount;
  tail_ = tail;
  setAccessibleName(sentence());
  render();
  updateGeometry();
}

int TotalsLabel::horizontalMargins() const {
  const QMargins margins = contentsMargins();
  return margins.left() + margins.right() + 2 * margin();
}

// The whole sentence, with a pixel to spare for the rich text's rounding.
QSize TotalsLabel::sizeHint() const {
  return {fontMetrics().horizontalAdvance(sentence()) + horizontalMargins() + 1, QLabel::sizeHint().height()};
}

QSize TotalsLabel::minimumSizeHint() const {
  return {fontMetrics().horizontalAdvance(ellipsis) + horizontalMargins() + 1, QLabel::minimumSizeHint().height()};
}

void TotalsLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  render();
}

void TotalsLabel::render() {
  const QString whole = sentence();
  const QString shown = fontMetrics().elidedText(whole, Qt::ElideRight, contentsRect().width() - 1);
  const bool cut = shown != whole;
  // Eliding at the end keeps a start of the sentence and adds the ellipsis.
  const qsizetype kept = cut ? std::max<qsizetype>(0, shown.size() - 1) : whole.size();
  const qsizetype amountStart = counts_.size();
  QString html = keptPart(counts_, 0, kept) +
                 QStringLiteral("<span style=\"color:%1\">%2</span>")
                     .arg(Palette::brand().name(), keptPart(amount_, amountStart, kept)) +
                 keptPart(tail_, amountStart + amount_.size(), kept);
  if (cut && !shown.isEmpty()) html += ellipsis;
  setText(html);
  setToolTip(cut ? whole : QString());
}
