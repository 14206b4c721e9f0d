// A small indeterminate spinner: an arc that turns while the widget is shown.
#pragma once

#include <QTimer>
#include <QWidget>

class ActivitySpinner final : public QWidget {
  Q_OBJECT

 public:
  explicit ActivitySpinner(QWidget* parent = nullptr);

  QSize sizeHint() const override { return {14, 14}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  QTimer timer_;
  int angle_ = 0;
};
