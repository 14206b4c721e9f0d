// The summary bar's totals on one line: the counts, the recoverable amount in
// the brand colour, then " recoverable". Given less room than the sentence
// needs, it shows the start of it ending in an ellipsis, with the whole
// sentence as its tool tip; its accessible name is always the whole sentence.
// Main thread only.
#pragma once

#include "widgets/ElidedLabel.h"

class TotalsLabel final : public ElidedLabel {
  Q_OBJECT

 public:
  explicit TotalsLabel(QWidget* parent = nullptr);

  void setParts(const QString& counts, const QString& amount, const QString& tail);
  QString sentence() const { return wholeText(); }

 protected:
  void present(const QString& shown) override;

 private:
  QString counts_;
  QString amount_;
};
