// One line of a Trash sheet's safeguards: a check mark in the keep colour for
// a safeguard that holds, a warning triangle in the clone colour for
// something to look at before moving, then the text. Main thread only.
#pragma once

#include <QString>
#include <QWidget>

class CheckItem final : public QWidget {
  Q_OBJECT

 public:
  CheckItem(const QString& text, bool ok, QWidget* parent = nullptr);

  QString text() const { return text_; }
  bool ok() const { return ok_; }

 private:
  QString text_;
  bool ok_;
};
