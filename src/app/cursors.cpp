// The cursor table, drawn in code: white figures with a black outline, so
// that each shows on light and dark pictures.
#include "cursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "cursorIds.h"

namespace orx::app {

const std::array<int32_t, kCursorCount - 1> kCursorResources = {
    kCursorRun,     kCursorZoomIn,   kCursorZoomOut,   kCursorZoom,     kCursorPan,       kCursorMove,
    kCursorMoving,  kCursorNode,     kCursorNodeHeld,  kCursorNodeRow,  kCursorScale,     kCursorScaling,
    kCursorRotate,  kCursorRotating, kCursorBucket,    kCursorMaterial, kCursorReplace,   kCursorDropperHeld,
    kCursorDropper, kCursorPen,      kCursorLine,      kCursorCurve,    kCursorSpray,     kCursorRings,
    kCursorCross,   kCursorCrossFine, kCursorMaskPen,
};

namespace {

enum class Figure {
    Run, ZoomIn, ZoomOut, Zoom, Pan, Move, Moving, Node, NodeHeld, NodeRow, Scale, Scaling, Rotate, Rotating,
    Bucket, Material, Replace, Dropper, DropperHeld, Pen, Line, Curve, Spray, Rings, Cross, CrossFine, MaskPen
};

struct CursorDrawing {
    int32_t resource;
    Figure figure;
    int hotX, hotY;
};

const CursorDrawing kDrawings[] = {
    {kCursorRun, Figure::Run, 16, 16},
    {kCursorZoomIn, Figure::ZoomIn, 12, 12},
    {kCursorZoomOut, Figure::ZoomOut, 12, 12},
    {kCursorZoom, Figure::Zoom, 12, 12},
    {kCursorPan, Figure::Pan, 16, 16},
    {kCursorMove, Figure::Move, 16, 16},
    {kCursorMoving, Figure::Moving, 16, 16},
    {kCursorNode, Figure::Node, 16, 16},
    {kCursorNodeHeld, Figure::NodeHeld, 16, 16},
    {kCursorNodeRow, Figure::NodeRow, 16, 16},
    {kCursorScale, Figure::Scale, 16, 16},
    {kCursorScaling, Figure::Scaling, 16, 16},
    {kCursorRotate, Figure::Rotate, 16, 16},
    {kCursorRotating, Figure::Rotating, 16, 16},
    {kCursorBucket, Figure::Bucket, 4, 28},
    {kCursorMaterial, Figure::Material, 4, 28},
    {kCursorReplace, Figure::Replace, 4, 28},
    {kCursorDropperHeld, Figure::DropperHeld, 2, 29},
    {kCursorDropper, Figure::Dropper, 2, 29},
    {kCursorPen, Figure::Pen, 2, 29},
    {kCursorLine, Figure::Line, 16, 16},
    {kCursorCurve, Figure::Curve, 2, 29},
    {kCursorSpray, Figure::Spray, 16, 16},
    {kCursorRings, Figure::Rings, 16, 16},
    {kCursorCross, Figure::Cross, 16, 16},
    {kCursorCrossFine, Figure::CrossFine, 16, 16},
    {kCursorMaskPen, Figure::MaskPen, 2, 29},
};

// Strokes a path twice: a wide black outline, then the white figure.
void outline(QPainter& p, const QPainterPath& path, qreal width = 1.5)
{
    p.strokePath(path, QPen(Qt::black, width + 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.strokePath(path, QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

QPainterPath crossPath(qreal gap)
{
    QPainterPath path;
    path.moveTo(16, 2);
    path.lineTo(16, 16 - gap);
    path.moveTo(16, 16 + gap);
    path.lineTo(16, 30);
    path.moveTo(2, 16);
    path.lineTo(16 - gap, 16);
    path.moveTo(16 + gap, 16);
    path.lineTo(30, 16);
    return path;
}

QPainterPath arrowsPath(bool diagonal)
{
    QPainterPath path;
    if (diagonal) {
        path.moveTo(5, 5);
        path.lineTo(27, 27);
        for (QPointF tip : {QPointF(5, 5), QPointF(27, 27)}) {
            const qreal s = tip.x() < 16 ? 1 : -1;
            path.moveTo(tip + QPointF(0, 8 * s));
            path.lineTo(tip);
            path.lineTo(tip + QPointF(8 * s, 0));
        }
        return path;
    }
    path.addPath(crossPath(0));
    for (QPointF tip : {QPointF(16, 2), QPointF(16, 30), QPointF(2, 16), QPointF(30, 16)}) {
        const QPointF d = (QPointF(16, 16) - tip) / 14.0;
        const QPointF side(d.y(), -d.x());
        path.moveTo(tip + 5 * d + 4 * side);
        path.lineTo(tip);
        path.lineTo(tip + 5 * d - 4 * side);
    }
    return path;
}

QPainterPath circularArrow()
{
    QPainterPath path;
    path.arcMoveTo(QRectF(6, 6, 20, 20), 120);
    path.arcTo(QRectF(6, 6, 20, 20), 120, 280);
    const QPointF end = path.currentPosition();
    path.moveTo(end + QPointF(-6, -2));
    path.lineTo(end);
    path.lineTo(end + QPointF(1, -6));
    return path;
}

QPainterPath magnifier(int sign)
{
    QPainterPath path;
    path.addEllipse(QRectF(3, 3, 18, 18));
    path.moveTo(18, 18);
    path.lineTo(29, 29);
    if (sign != 0) {
        path.moveTo(7, 12);
        path.lineTo(17, 12);
    }
    if (sign > 0) {
        path.moveTo(12, 7);
        path.lineTo(12, 17);
    }
    return path;
}

QPainterPath pencil()
{
    QPainterPath path;
    path.moveTo(2, 29);
    path.lineTo(6, 20);
    path.lineTo(22, 4);
    path.lineTo(27, 9);
    path.lineTo(11, 25);
    path.closeSubpath();
    path.moveTo(6, 20);
    path.lineTo(11, 25);
    return path;
}

QPainterPath dropper()
{
    QPainterPath path;
    path.moveTo(2, 29);
    path.lineTo(16, 15);
    path.moveTo(13, 12);
    path.lineTo(19, 18);
    path.addEllipse(QRectF(18, 4, 10, 10));
    return path;
}

QPainterPath bucket()
{
    QPainterPath path;
    path.moveTo(10, 8);
    path.lineTo(24, 16);
    path.lineTo(18, 27);
    path.lineTo(4, 19);
    path.closeSubpath();
    path.moveTo(4, 19);
    path.quadTo(2, 25, 4, 28);
    return path;
}

void drawFigure(QPainter& p, Figure f)
{
    switch (f) {
    case Figure::Run: {
        QPainterPath path;
        path.addRect(QRectF(5, 5, 22, 22));
        path.moveTo(12, 10);
        path.lineTo(22, 16);
        path.lineTo(12, 22);
        path.closeSubpath();
        outline(p, path);
        break;
    }
    case Figure::ZoomIn: outline(p, magnifier(1)); break;
    case Figure::ZoomOut: outline(p, magnifier(-1)); break;
    case Figure::Zoom: outline(p, magnifier(0)); break;
    case Figure::Pan: {
        QPainterPath path = arrowsPath(false);
        path.addEllipse(QRectF(12, 12, 8, 8));
        outline(p, path);
        break;
    }
    case Figure::Move: outline(p, arrowsPath(false)); break;
    case Figure::Moving: outline(p, arrowsPath(false), 2.5); break;
    case Figure::Node:
    case Figure::NodeHeld:
    case Figure::NodeRow: {
        QPainterPath path = crossPath(4);
        path.addRect(QRectF(13, 13, 6, 6));
        if (f == Figure::NodeRow) {
            path.moveTo(4, 6);
            path.lineTo(28, 6);
        }
        outline(p, path, f == Figure::NodeHeld ? 2.5 : 1.5);
        break;
    }
    case Figure::Scale: outline(p, arrowsPath(true)); break;
    case Figure::Scaling: outline(p, arrowsPath(true), 2.5); break;
    case Figure::Rotate: outline(p, circularArrow()); break;
    case Figure::Rotating: outline(p, circularArrow(), 2.5); break;
    case Figure::Bucket: outline(p, bucket()); break;
    case Figure::Material: {
        QPainterPath path = bucket();
        for (int i = 0; i < 3; ++i) {
            path.moveTo(9 + 4 * i, 13 + 2 * i);
            path.lineTo(6 + 4 * i, 19 + 2 * i);
        }
        outline(p, path);
        break;
    }
    case Figure::Replace: {
        QPainterPath path = bucket();
        path.moveTo(22, 2);
        path.lineTo(30, 10);
        path.moveTo(30, 2);
        path.lineTo(22, 10);
        outline(p, path);
        break;
    }
    case Figure::Dropper: outline(p, dropper()); break;
    case Figure::DropperHeld: outline(p, dropper(), 2.5); break;
    case Figure::Pen: outline(p, pencil()); break;
    case Figure::MaskPen: {
        QPainterPath path = pencil();
        path.addRect(QRectF(20, 20, 9, 9));
        outline(p, path);
        break;
    }
    case Figure::Line: {
        QPainterPath path = crossPath(3);
        path.moveTo(20, 28);
        path.lineTo(30, 18);
        outline(p, path);
        break;
    }
    case Figure::Curve: {
        QPainterPath path = pencil();
        path.moveTo(14, 30);
        path.cubicTo(18, 22, 24, 32, 30, 24);
        outline(p, path);
        break;
    }
    case Figure::Spray: {
        QPainterPath path;
        path.addEllipse(QRectF(4, 4, 24, 24));
        path.moveTo(16, 14);
        path.lineTo(16, 18);
        outline(p, path);
        break;
    }
    case Figure::Rings: {
        QPainterPath path;
        path.addEllipse(QRectF(3, 3, 26, 26));
        path.addEllipse(QRectF(10, 10, 12, 12));
        outline(p, path);
        break;
    }
    case Figure::Cross: outline(p, crossPath(3)); break;
    case Figure::CrossFine: outline(p, crossPath(0), 1.0); break;
    }
}

QCursor drawCursor(const CursorDrawing& d)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    drawFigure(p, d.figure);
    p.end();
    return QCursor(pixmap, d.hotX, d.hotY);
}

}  // namespace

CursorTable::CursorTable()
{
    cursors_[0] = QCursor(Qt::ArrowCursor);
    for (size_t i = 0; i < kCursorResources.size(); ++i)
        for (const CursorDrawing& d : kDrawings)
            if (d.resource == kCursorResources[i]) cursors_[i + 1] = drawCursor(d);
}

const QCursor& CursorTable::cursor(int32_t resource) const
{
    for (size_t i = 0; i < kCursorResources.size(); ++i)
        if (kCursorResources[i] == resource) return cursors_[i + 1];
    return cursors_[0];
}

}  // namespace orx::app
