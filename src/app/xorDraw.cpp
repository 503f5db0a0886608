// Inverting figures: a white one-pixel pen combined with the destination by
// exclusive or.
#include "xorDraw.h"

#include <algorithm>

#include <QBrush>
#include <QPen>

namespace orx {

namespace {

class InvertingPen {
public:
    explicit InvertingPen(QPainter& painter) : painter_(painter)
    {
        painter_.save();
        painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter_.setRenderHint(QPainter::Antialiasing, false);
        // A cosmetic pen stays one pixel wide whatever the painter's transform.
        QPen pen(Qt::white, 0);
        // Square caps put both end points on the line.
        pen.setCapStyle(Qt::SquareCap);
        painter_.setPen(pen);
        painter_.setBrush(Qt::NoBrush);
    }
    ~InvertingPen() { painter_.restore(); }
    InvertingPen(const InvertingPen&) = delete;
    InvertingPen& operator=(const InvertingPen&) = delete;

private:
    QPainter& painter_;
};

}  // namespace

void xorRect(QPainter& painter, QPoint a, QPoint b)
{
    const int left = std::min(a.x(), b.x()), right = std::max(a.x(), b.x());
    const int top = std::min(a.y(), b.y()), bottom = std::max(a.y(), b.y());
    InvertingPen pen(painter);
    // Four bands that never overlap: a pixel inverted twice would vanish.
    const int w = right - left + 1, h = bottom - top + 1;
    const QBrush white(Qt::white);
    painter.fillRect(left, top, w, 1, white);
    if (h > 1) painter.fillRect(left, bottom, w, 1, white);
    if (h > 2) {
        painter.fillRect(left, top + 1, 1, h - 2, white);
        if (w > 1) painter.fillRect(right, top + 1, 1, h - 2, white);
    }
}

void xorRect(QPainter& painter, const QRect& rect)
{
    if (rect.isEmpty()) return;
    xorRect(painter, rect.topLeft(), rect.bottomRight());
}

void xorLine(QPainter& painter, QPoint a, QPoint b)
{
    InvertingPen pen(painter);
    painter.drawLine(a, b);
}

void xorFigure(QPainter& painter, const XorFigure& figure)
{
    if (figure.kind == XorFigure::Line)
        xorLine(painter, figure.a, figure.b);
    else
        xorRect(painter, figure.a, figure.b);
}

}  // namespace orx
