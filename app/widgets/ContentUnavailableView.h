// A view for a detail area that has nothing to show yet: a centred picture,
// a title, a description and a row of action buttons, in the middle of the
// space it is given. Main thread only.
#pragma once

#include <QString>
#include <QWidget>

class QHBoxLayout;
class QLabel;
class QPushButton;

class ContentUnavailableView final : public QWidget {
  Q_OBJECT

 public:
  ContentUnavailableView(QWidget* picture, const QString& title, const QString& description,
                         QWidget* parent = nullptr);

  // A decorative picture made of a symbol of the icon source, in the secondary style.
  static QWidget* symbolPicture(const QString& symbolName, QWidget* parent = nullptr);

  void setTitle(const QString& title);
  void setDescription(const QString& description);
  // A button in the row under the description.
  QPushButton* addButton(const QString& text);

  QString title() const;
  QString description() const;

 private:
  QLabel* title_;
  QLabel* description_;
  QHBoxLayout* actions_;
};
