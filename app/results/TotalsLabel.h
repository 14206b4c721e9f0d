// The summary bar's totals: the counts, the recoverable amount in the brand
// colour, then " recoverable". They ask for their whole line even at their
// smallest, so that the inspector column beside the results gives way
// before they do; only where that room cannot be had do they take more
// lines. Their accessible name is always the whole sentence. Main thread
// only.
#pragma once

#include "widgets/SentenceLabel.h"

class TotalsLabel final : public SentenceLabel {
  Q_OBJECT

 public:
  explicit TotalsLabel(QWidget* parent = nullptr);

  void setParts(const QString& counts, const QString& amount, const QString& tail);

  QSize minimumSizeHint() const override { return sizeHint(); }
};
