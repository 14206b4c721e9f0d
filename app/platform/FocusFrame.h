// The keyboard focus frame of the rows of item views whose style fills the
// current row like a selection (the folder sidebar's, the results table's),
// of the check boxes on the grouped form's cards, whose style fills their
// label faintly, and of every control the application's style (FocusStyle)
// draws: an outline in the highlight colour, never a fill, moved
// toward black or white where it would not read at 3:1 on what lies behind
// it. Shown, as the style shows its own, only once the keyboard has moved the
// focus in the window.
#pragma once

#include <QColor>
#include <QList>

class QPainter;
class QRect;
class QStyleOption;

// How far in from the rectangle's edges the frame reaches.
constexpr int focusFrameRoom = 3;

bool showsFocusFrame(const QStyleOption& option);
// Inside the rectangle; on a selected row (the option's state) over the
// highlight, otherwise over every one of the grounds.
void paintFocusFrame(QPainter& painter, const QRect& rect, const QStyleOption& option, const QList<QColor>& grounds);
