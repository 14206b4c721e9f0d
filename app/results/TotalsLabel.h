// The summary bar's totals on one line: the counts, the recoverable amount in
// the brand colour, then " recoverable". Given less room than the sentence
// needs, it shows the start of it ending in an ellipsis, with the whole
// sentence as its tool tip; its accessible name is always the whole sentence.
// Main thread only.
#pragma once

#include <QLabel>

class TotalsLabel final : public QLabel {
  Q_OBJECT

 public:
  explicit TotalsLabel(QWidget* parent = nullptr);

  void setParts(const QString& counts, const QString& amount, const QString& tail);
  QString sentence() const { return counts_ + amount_ + tail_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void render();
  int horizontalMargins() const;

  QString counts_;
  QString amount_;
  QString tail_;
};
