// A symbol beside a line of text, both in one colour: the inspector's status
// lines ("This copy is kept", "Not verified: …"). Main thread only.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

class QLabel;

class SymbolLabel final : public QWidget {
  Q_OBJECT

 public:
  SymbolLabel(const QString& symbol, const QColor& color, QWidget* parent = nullptr);

  void setText(const QString& text);
  QString text() const;
  QColor color() const { return color_; }

 private:
  QLabel* text_;
  QColor color_;
};
