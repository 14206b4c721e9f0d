// The drawings behind Icons: each symbol painted with vector strokes into a
// square, in one colour, so that it stays sharp at every size.
#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace Icons::detail {

// Whether a drawing exists for the symbol.
bool hasDrawing(const QString& name);

// Paints the symbol centred in the largest square inside bounds.
void drawSymbol(QPainter& painter, const QString& name, const QRectF& bounds, const QColor& tint);

}  // namespace Icons::detail
