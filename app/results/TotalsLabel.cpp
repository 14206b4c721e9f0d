#include "results/TotalsLabel.h"

#include "platform/Palette.h"

TotalsLabel::TotalsLabel(QWidget* parent) : SentenceLabel(parent) {
  setObjectName(QStringLiteral("totals"));
  setTextFormat(Qt::RichText);
}

void TotalsLabel::setParts(const QString& counts, const QString& amount, const QString& tail) {
  present(
      counts + amount + tail,
      counts.toHtmlEscaped() +
          QStringLiteral("<span style=\"color:%1\">%2</span>").arg(Palette::brand().name(), amount.toHtmlEscaped()) +
          tail.toHtmlEscaped());
}
