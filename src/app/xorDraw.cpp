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

QRect XorFigure::bounds() const
{
    // Whichever way it was dragged: QRect(a, b) with b above or left of a,
    // normalised, would lose a pixel on each side.
    const QRect box(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                    QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
    // The painter may put an ellipse's outline a pixel past its box.
    if (kind == Ellipse) return box.adjusted(-1, -1, 1, 1);
    if (kind != Segments && kind != Marks) return box;
    QRect r;
    for (const QPoint& p : points) r |= QRect(p, p);
    // Marks reach a pixel round their points.
    return kind == Marks ? r.adjusted(-1, -1, 1, 1) : r;
}

namespace {

void xorEllipse(QPainter& painter, QPoint a, QPoint b)
{
    InvertingPen pen(painter);
    painter.drawEllipse(QRect(a, b).normalized());
}

// Runs of pieces that meet end to end go out as one polyline.
void xorSegments(QPainter& painter, const std::vector<QPoint>& points)
{
    InvertingPen pen(painter);
    std::vector<QPoint> run;
    for (size_t i = 0; i + 1 < points.size(); i += 2) {
        if (!run.empty() && run.back() != points[i]) {
            painter.drawPolyline(run.data(), int(run.size()));
            run.clear();
        }
        if (run.empty()) run.push_back(points[i]);
        run.push_back(points[i + 1]);
    }
    if (!run.empty()) painter.drawPolyline(run.data(), int(run.size()));
}

void xorMarks(QPainter& painter, const std::vector<QPoint>& points)
{
    InvertingPen pen(painter);
    for (const QPoint& p : points)
        for (QPoint d : {QPoint(-1, -1), QPoint(1, -1), QPoint(-1, 1), QPoint(1, 1)}) painter.drawPoint(p + d);
}

}  // namespace

void xorFigure(QPainter& painter, const XorFigure& figure)
{
    switch (figure.kind) {
    case XorFigure::Line: xorLine(painter, figure.a, figure.b); break;
    case XorFigure::Rectangle: xorRect(painter, figure.a, figure.b); break;
    case XorFigure::Ellipse: xorEllipse(painter, figure.a, figure.b); break;
    case XorFigure::Segments: xorSegments(painter, figure.points); break;
    case XorFigure::Marks: xorMarks(painter, figure.points); break;
    }
}

}  // namespace orx
