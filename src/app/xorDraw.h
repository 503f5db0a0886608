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
#include <vector>

namespace orx {

// The outline of the rectangle spanned by two corners, in either order.
void xorRect(QPainter& painter, QPoint a, QPoint b);
void xorRect(QPainter& painter, const QRect& rect);
void xorLine(QPainter& painter, QPoint a, QPoint b);

// A figure kept on screen by inversion: the outline of the rectangle spanned
// by two corners, the line between two points, the ellipse in the box of two
// corners, straight pieces (pairs of points; pieces that meet end to end are
// drawn as one line, so their joints are inverted once), or marks (four
// pixels diagonally around each point).
struct XorFigure {
    enum Kind : uint8_t { Rectangle, Line, Ellipse, Segments, Marks };
    Kind kind = Rectangle;
    QPoint a, b;
    std::vector<QPoint> points = {};  // Segments and Marks
    bool operator==(const XorFigure&) const = default;
    // The pixels it covers.
    QRect bounds() const;
};

void xorFigure(QPainter& painter, const XorFigure& figure);

}  // namespace orx
