// The keyboard focus frame of item views whose style fills the current row
// like a selection (the folder sidebar's rows): an outline in the highlight
// colour, never a fill. Shown, as the style shows its own, only once the
// keyboard has moved the focus in the window.
#pragma once

class QPainter;
class QRect;
class QStyleOption;

bool showsFocusFrame(const QStyleOption& option);
void paintFocusFrame(QPainter& painter, const QRect& rect, const QStyleOption& option);
