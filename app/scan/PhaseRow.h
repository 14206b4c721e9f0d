// One phase of a running scan on the progress card: a state icon (waiting
// circle, spinner, green check), the phase's title and, at the row's end, a
// short figure in digits of one width. Read by assistive technology as one
// element without children, named by the title, the state text and the figure.
#pragma once

#include <QString>
#include <QWidget>

#include "interface/QuelmarisCore.h"

class QLabel;
class QStackedWidget;

class PhaseRow final : public QWidget {
  Q_OBJECT

 public:
  enum class State { pending, running, done };

  explicit PhaseRow(const QString& title, QWidget* parent = nullptr);

  // The state of the row of phase `row` while the scan is in phase `current`.
  static State stateFor(Phase row, Phase current);
  // "Waiting", "In progress" or "Done".
  static QString stateText(State state);

  void setState(State state);
  // An empty text shows no figure.
  void setDetail(const QString& detail);

  QString title() const;
  State state() const { return state_; }
  QString detail() const;
  // The state text, then ", " and the figure when there is one; the row's
  // accessible name is the title, ", " and this.
  QString accessibleValue() const;

 private:
  void updateAccessibility();

  QLabel* title_;
  QLabel* detail_;
  QStackedWidget* icon_;
  State state_ = State::pending;
};
