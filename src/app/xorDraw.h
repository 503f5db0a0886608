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
#include <algorithm>
#include <cstdint>

namespace orx {

// The outline of the rectangle spanned by two corners, in either order.
void xorRect(QPainter& painter, QPoint a, QPoint b);
void xorRect(QPainter& painter, const QRect& rect);
void xorLine(QPainter& painter, QPoint a, QPoint b);

// A figure kept on screen by inversion: the outline of the rectangle spanned
// by two corners, or the line between two points.
struct XorFigure {
    enum Kind : uint8_t { Rectangle, Line };
    Kind kind = Rectangle;
    QPoint a, b;
    bool operator==(const XorFigure&) const = default;
    // The pixels it covers, whichever way it was dragged. (QRect(a, b) with
    // b above or left of a, normalised, would lose a pixel on each side.)
    QRect bounds() const
    {
        return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                     QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
    }
};

void xorFigure(QPainter& painter, const XorFigure& figure);

}  // namespace orx
