// A push button whose title may be longer than the room it is given (a
// segment of a picker in a narrow window): it asks for the whole title and,
// given less, paints the title cut at the end with an ellipsis instead of
// letting the edges cut it. Its text and accessible name stay the whole
// title, which is also its tool tip while it is cut. Main thread only.
#pragma once

#include <QPushButton>

class ElidingButton final : public QPushButton {
  Q_OBJECT

 public:
  explicit ElidingButton(const QString& text, QWidget* parent = nullptr);

  // The title as painted: whole, or its start and an ellipsis.
  QString shownText() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void refreshToolTip();
};
