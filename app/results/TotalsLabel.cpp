#include "results/TotalsLabel.h"

#include <algorithm>

#include "platform/Palette.h"

TotalsLabel::TotalsLabel(QWidget* parent) : ElidedLabel(Qt::ElideRight, parent) {
  setObjectName(QStringLiteral("totals"));
  setTextFormat(Qt::RichText);
}

void TotalsLabel::setParts(const QString& counts, const QString& amount, const QString& tail) {
  counts_ = counts;
  amount_ = amount;
  setWholeText(counts + amount + tail);
}

// The shown part is the whole sentence or a start of it and an ellipsis; the
// amount within it is coloured.
void TotalsLabel::present(const QString& shown) {
  const QString whole = sentence();
  const bool cut = shown != whole;
  const qsizetype kept = cut ? std::max<qsizetype>(0, shown.size() - 1) : whole.size();
  const auto part = [&](qsizetype from, qsizetype to) {
    return whole.mid(from, std::max<qsizetype>(0, std::min(to, kept) - from)).toHtmlEscaped();
  };
  const qsizetype amountStart = counts_.size();
  const qsizetype amountEnd = amountStart + amount_.size();
  QString html =
      part(0, amountStart) +
      QStringLiteral("<span style=\"color:%1\">%2</span>").arg(Palette::brand().name(), part(amountStart, amountEnd)) +
      part(amountEnd, whole.size());
  if (cut && !shown.isEmpty()) html += QChar(0x2026);
  setText(html);
}
