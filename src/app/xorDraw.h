// Temporary figures on the view (rubber bands, guide lines, outlines) are
// drawn by inverting the pixels under them: drawing the same figure a second
// time puts the picture back, so nothing needs saving underneath.
//
// The painter must paint on a raster device (the view's backing store or a
// QImage); its state is left as it was.
#pragma once

#include <QPainter>
#include <QPoint>
#include <QRect>

namespace orx {

// The outline of the rectangle spanned by two corners, in either order.
void xorRect(QPainter& painter, QPoint a, QPoint b);
void xorRect(QPainter& painter, const QRect& rect);
void xorLine(QPainter& painter, QPoint a, QPoint b);

}  // namespace orx
