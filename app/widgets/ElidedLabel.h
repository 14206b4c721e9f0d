// A one-line label for a text that can be longer than its place (a file
// name, a path). It asks for the whole text's width, rounded up, and given
// less it shows the text elided as its mode says (in the middle for names
// and paths). Its accessible name is always the whole text, and while the
// text is cut the whole text is also its tool tip, unless a standing tool tip
// was given. Plain text. Main thread only. (A sentence, which must read
// whole, wraps instead: SentenceLabel.)
#pragma once

#include <QLabel>

class ElidedLabel final : public QLabel {
  Q_OBJECT

 public:
  explicit ElidedLabel(Qt::TextElideMode mode, QWidget* parent = nullptr);

  void setWholeText(const QString& text);
  const QString& wholeText() const { return whole_; }
  bool isElided() const { return elided_; }
  // A tool tip shown whether the text is cut or not (a file's full path
  // under its folder, say), as plain text.
  void setStandingToolTip(const QString& tip);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void refit();
  QSize withMargins(qreal textWidth) const;

  Qt::TextElideMode mode_;
  QString whole_;
  QString standingToolTip_;
  bool elided_ = false;
};
