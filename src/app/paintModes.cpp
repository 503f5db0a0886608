// The paint tools' mouse modes: pens, lines, shapes, curves, fills, the air
// brushes and the floating piece. The pixel work is the core's (src/tools,
// src/engine/piece.h); here are the gestures that collect the points, the
// figures that follow the pointer, the undo snapshot and backup of each
// edit, and the redraw of what changed.
#include "paintModes.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <vector>

#include "cursorIds.h"
#include "engine/piece.h"
#include "tools/airBrush.h"
#include "tools/curve.h"
#include "tools/fill.h"
#include "tools/paint.h"
#include "view.h"
#include "workspace/display.h"
#include "workspace/undoSnapshot.h"

namespace orx::app {

namespace {

bool onImage(const Workspace& ws, Point p) { return p.x >= 0 && p.y >= 0 && p.x < ws.imageWidth && p.y < ws.imageHeight; }

Rgb pixelAt(const Workspace& ws, Point p)
{
    const uint8_t* q = ws.image + (uint64_t(p.y) * uint64_t(ws.imageWidth) + uint64_t(p.x)) * 3;
    return Rgb{q[0], q[1], q[2]};
}

bool sameColour(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

// The window length of an image length at the current scale (brush radii,
// dash lengths), at least one pixel.
int windowLength(const Workspace& ws, int length) { return std::max(1, length * 16 / ws.displayScale16); }

// The box of two image points grown by a margin, as the redraw wants it.
Rect around(Point a, Point b, int margin)
{
    return Rect{std::min(a.x, b.x) - margin, std::min(a.y, b.y) - margin, std::max(a.x, b.x) + margin,
                std::max(a.y, b.y) + margin};
}

int planeOfMode(int32_t mode)
{
    switch (mode) {
    case ModeMaskPen:
    case ModeMaskLine:
    case ModeMaskCircle:
    case ModeMaskEllipse:
    case ModeMaskRectangle:
    case ModeMaskCurve:
    case ModeMaskFill:
    case ModeMaskFilledCircle:
    case ModeMaskFilledEllipse:
    case ModeMaskFilledRectangle: return SnapshotMask;
    default: return SnapshotImage;
    }
}

uint32_t backupOf(int plane) { return plane == SnapshotMask ? BackupMask : BackupImage; }

// ---- the eyedropper (right button up in 100 and 121)

void pickColour(ToolContext& ctx, QPoint at)
{
    Workspace& ws = ctx.ws;
    ctx.view.showCursor(toolCursor(ws.toolMode));
    const Point p = toImage(ws, at);
    if (!onImage(ws, p)) return;
    ws.penColour = pixelAt(ws, p);
    ctx.view.penPicked();
}

void showDropper(ToolContext& ctx, QPoint) { ctx.view.showCursor(kCursorDropper); }

// ---- pens (100, 500): a stroke while a button is held

void showStroke(Workspace& ws, Point from, Point to) { redrawImageRect(ws, around(from, to, 2)); }

void strokeFrom(ToolContext& ctx, QPoint at, uint8_t maskValue)
{
    Workspace& ws = ctx.ws;
    const Point p = toImage(ws, at);
    startPenStroke(ws, ctx.gesture.stroke, p, planeOfMode(ws.toolMode), maskValue);
    showStroke(ws, p, p);
}

void strokeTo(ToolContext& ctx, QPoint at)
{
    Stroke& s = ctx.gesture.stroke;
    if (s.kind == 0) return;
    const Point from = s.last, p = toImage(ctx.ws, at);
    continuePenStroke(ctx.ws, s, p);
    showStroke(ctx.ws, from, p);
}

void strokeEnd(ToolContext& ctx, QPoint at)
{
    strokeTo(ctx, at);
    Rect changed;
    endStroke(ctx.ws, ctx.gesture.stroke, changed);
}

void penDown(ToolContext& ctx, QPoint at) { strokeFrom(ctx, at, kMaskSet); }
void maskEraseDown(ToolContext& ctx, QPoint at) { strokeFrom(ctx, at, 0); }

void penMove(ToolContext& ctx, QPoint at)
{
    if (ctx.leftHeld || ctx.rightHeld) strokeTo(ctx, at);
}

// ---- lines (101, 501): each click ends a segment and starts the next

void lineMove(ToolContext& ctx, QPoint at)
{
    ToolGesture& g = ctx.gesture;
    if (g.anchorSet) showFollower(ctx, {XorFigure{XorFigure::Line, g.anchorPoint, at}});
}

void lineUp(ToolContext& ctx, QPoint at)
{
    ToolGesture& g = ctx.gesture;
    Workspace& ws = ctx.ws;
    if (!g.anchorSet) {
        g.anchorSet = true;
        g.anchorPoint = at;
        return;
    }
    hideFollower(ctx);
    const Point a = toImage(ws, g.anchorPoint), b = toImage(ws, at);
    const int plane = planeOfMode(ws.toolMode);
    takeSnapshot(ws, plane, a.x, a.y, b.x, b.y, ws.penWidth);
    if (plane == SnapshotMask)
        drawMaskLine(ws, a.x, a.y, b.x, b.y, kMaskSet, ws.penWidth);
    else
        drawLine(ws, a.x, a.y, b.x, b.y, ws.penColour, ws.penWidth, ws.penDensity);
    redrawImageRect(ws, around(a, b, ws.penWidth));
    g.anchorPoint = at;
}

// The polyline jumps to the right-clicked point without a segment.
void lineRightUp(ToolContext& ctx, QPoint at)
{
    hideFollower(ctx);
    ctx.gesture.anchorSet = true;
    ctx.gesture.anchorPoint = at;
}

// ---- shapes: a box dragged between two opposite corners

enum ShapeFigure : uint8_t { BoxShape, EllipseShape, CircleShape };

struct ShapeMode {
    int32_t mode;
    ShapeFigure figure;
    bool outline;  // drawn with the pen's width: the snapshot grows by it
    void (*draw)(Workspace&, Point, Point);
};

void penRectangle(Workspace& ws, Point a, Point b) { drawRectangle(ws, a.x, a.y, b.x, b.y, ws.penColour, ws.penWidth, ws.penDensity); }
void maskRectangle(Workspace& ws, Point a, Point b) { drawMaskRectangle(ws, a.x, a.y, b.x, b.y, kMaskSet, ws.penWidth); }
void penEllipse(Workspace& ws, Point a, Point b) { drawEllipse(ws, a.x, a.y, b.x, b.y, ws.penColour, ws.penWidth, ws.penDensity); }
void maskEllipse(Workspace& ws, Point a, Point b) { drawMaskEllipse(ws, a.x, a.y, b.x, b.y, kMaskSet, ws.penWidth); }
void filledRectangle(Workspace& ws, Point a, Point b) { fillRectangle(ws, a.x, a.y, b.x, b.y, ws.penColour, ws.penDensity); }
void maskFilledRectangle(Workspace& ws, Point a, Point b) { fillMaskRectangle(ws, a.x, a.y, b.x, b.y, kMaskSet); }
void filledEllipse(Workspace& ws, Point a, Point b) { fillEllipse(ws, a.x, a.y, b.x, b.y, ws.penColour, ws.penDensity); }
void maskFilledEllipse(Workspace& ws, Point a, Point b) { fillMaskEllipse(ws, a.x, a.y, b.x, b.y, kMaskSet); }
void gradientRectangle(Workspace& ws, Point a, Point b)
{
    fillRectangleGradient(ws, a.x, a.y, b.x, b.y, ws.gradientCorners, ws.penDensity);
}
void gradientEllipse(Workspace& ws, Point a, Point b)
{
    fillEllipseGradient(ws, a.x, a.y, b.x, b.y, ws.gradientCorners, ws.penDensity);
}

// mode, figure, outline, draw
const ShapeMode kShapes[] = {
    {ModeRectangle, BoxShape, true, penRectangle},
    {ModeMaskRectangle, BoxShape, true, maskRectangle},
    {ModeFilledRectangle, BoxShape, false, filledRectangle},
    {ModeMaskFilledRectangle, BoxShape, false, maskFilledRectangle},
    {ModeGradientRectangle, BoxShape, false, gradientRectangle},
    {ModeEllipse, EllipseShape, true, penEllipse},
    {ModeMaskEllipse, EllipseShape, true, maskEllipse},
    {ModeFilledEllipse, EllipseShape, false, filledEllipse},
    {ModeMaskFilledEllipse, EllipseShape, false, maskFilledEllipse},
    {ModeGradientEllipse, EllipseShape, false, gradientEllipse},
    {ModeCircle, CircleShape, true, penEllipse},
    {ModeMaskCircle, CircleShape, true, maskEllipse},
    {ModeFilledCircle, CircleShape, false, filledEllipse},
    {ModeMaskFilledCircle, CircleShape, false, maskFilledEllipse},
    {ModeGradientCircle, CircleShape, false, gradientEllipse},
};

const ShapeMode* shapeOf(int32_t mode)
{
    const auto* it = std::find_if(std::begin(kShapes), std::end(kShapes), [mode](const ShapeMode& s) { return s.mode == mode; });
    return it == std::end(kShapes) ? nullptr : it;
}

// The far corner of the box from the anchor: a circle's box is squared in
// image pixels by its smaller side, keeping the direction of the drag.
Point farCorner(const Workspace& ws, const ShapeMode& s, Point a, QPoint at)
{
    Point b = toImage(ws, at);
    if (s.figure != CircleShape) return b;
    const int dx = b.x - a.x, dy = b.y - a.y;
    const int side = std::min(std::abs(dx), std::abs(dy));
    return Point{a.x + (dx < 0 ? -side : dx > 0 ? side : 0), a.y + (dy < 0 ? -side : dy > 0 ? side : 0)};
}

XorFigure shapeFigure(const Workspace& ws, const ShapeMode& s, QPoint anchor, QPoint at)
{
    const Point a = toImage(ws, anchor), b = farCorner(ws, s, a, at);
    const Point wa = imageToWindow(ws, a.x, a.y), wb = imageToWindow(ws, b.x, b.y);
    return XorFigure{s.figure == BoxShape ? XorFigure::Rectangle : XorFigure::Ellipse, QPoint(wa.x, wa.y),
                     QPoint(wb.x, wb.y)};
}

void shapeDown(ToolContext& ctx, QPoint at)
{
    const ShapeMode* s = shapeOf(ctx.ws.toolMode);
    if (!s) return;
    ctx.gesture.shaping = true;
    ctx.gesture.shapeAnchor = at;
    showFollower(ctx, {shapeFigure(ctx.ws, *s, at, at)});
}

void shapeMove(ToolContext& ctx, QPoint at)
{
    const ShapeMode* s = shapeOf(ctx.ws.toolMode);
    if (s && ctx.gesture.shaping && ctx.leftHeld) showFollower(ctx, {shapeFigure(ctx.ws, *s, ctx.gesture.shapeAnchor, at)});
}

void shapeUp(ToolContext& ctx, QPoint at)
{
    ToolGesture& g = ctx.gesture;
    Workspace& ws = ctx.ws;
    const ShapeMode* s = shapeOf(ws.toolMode);
    if (!s || !g.shaping) return;
    g.shaping = false;
    hideFollower(ctx);
    // The corners stay as dragged: a gradient spans its whole box and an
    // outline keeps its shape where it leaves the picture.
    const Point a = toImage(ws, g.shapeAnchor), b = farCorner(ws, *s, a, at);
    const int plane = planeOfMode(ws.toolMode);
    const int margin = s->outline ? ws.penWidth : 0;
    WaitCursor wait(ws);
    takeSnapshot(ws, plane, a.x, a.y, b.x, b.y, margin);
    backUp(ctx, backupOf(plane));
    s->draw(ws, a, b);
    redrawImageRect(ws, around(a, b, margin));
}

void shapeCancel(ToolContext& ctx, QPoint) { cancelEdit(ctx, backupOf(planeOfMode(ctx.ws.toolMode))); }

// ---- curves (107, 507, 109, 110, 111): clicked points, drawn on a double click

// The preview's pieces and hole marks, in window coordinates.
struct PreviewFigures : CurveSink {
    XorFigure pieces{XorFigure::Segments, {}, {}, {}};
    XorFigure holes{XorFigure::Marks, {}, {}, {}};
    void piece(Point a, Point b) override
    {
        pieces.points.push_back(QPoint(a.x, a.y));
        pieces.points.push_back(QPoint(b.x, b.y));
    }
    void hole(Point at) override { holes.points.push_back(QPoint(at.x, at.y)); }
};

void previewCurve(Workspace& ws, PreviewFigures& out)
{
    const Point* pts = ws.curvePoints;
    const int n = ws.curvePointCount;
    switch (ws.toolMode) {
    case ModeDashedCurve:
        drawDashedCurve(ws, pts, n, ws.penColour, ws.penDensity, windowLength(ws, ws.dashPitch), windowLength(ws, ws.dashGap),
                        &out);
        break;
    case ModeHoledCurve: drawHoledCurve(ws, pts, n, ws.penColour, ws.penDensity, windowLength(ws, ws.dashPitch), &out); break;
    default: drawCurve(ws, pts, n, CurvePreview, false, ws.penColour, ws.penDensity, &out); break;
    }
}

// The preview (from three points on) and the rubber line from the last
// point to the pointer.
void showCurve(ToolContext& ctx, QPoint pointer)
{
    Workspace& ws = ctx.ws;
    std::vector<XorFigure> figures;
    if (ws.curvePointCount >= kMinCurvePoints) {
        PreviewFigures preview;
        previewCurve(ws, preview);
        if (!preview.pieces.points.empty()) figures.push_back(std::move(preview.pieces));
        if (!preview.holes.points.empty()) figures.push_back(std::move(preview.holes));
    }
    if (ws.curvePointCount > 0) {
        const Point& last = ws.curvePoints[ws.curvePointCount - 1];
        figures.push_back(XorFigure{XorFigure::Line, QPoint(last.x, last.y), pointer});
    }
    showFollower(ctx, std::move(figures));
}

void curveMove(ToolContext& ctx, QPoint at) { showCurve(ctx, at); }

void curveUp(ToolContext& ctx, QPoint at)
{
    Workspace& ws = ctx.ws;
    // The release of a double click's second press belongs to the finished curve.
    if (ctx.gesture.curveDone) {
        ctx.gesture.curveDone = false;
        return;
    }
    if (ws.curvePointCount >= kMaxCurvePoints) {
        ws.platform->beep();
        return;
    }
    ws.curvePoints[ws.curvePointCount++] = Point{at.x(), at.y()};
    showCurve(ctx, at);
}

void curveRightUp(ToolContext& ctx, QPoint at)
{
    if (ctx.ws.curvePointCount > 0) --ctx.ws.curvePointCount;
    showCurve(ctx, at);
}

void drawFinishedCurve(Workspace& ws, const Point* pts, int n)
{
    switch (ws.toolMode) {
    case ModeCurve: drawCurve(ws, pts, n, CurvePen, false, ws.penColour, ws.penDensity); break;
    case ModeMaskCurve: drawCurve(ws, pts, n, CurveMask, false, ws.penColour, ws.penDensity); break;
    case ModeShadedCurve: drawCurve(ws, pts, n, CurveShaded, false, ws.penColour, ws.penDensity); break;
    case ModeDashedCurve: drawDashedCurve(ws, pts, n, ws.penColour, ws.penDensity, ws.dashPitch, ws.dashGap); break;
    case ModeHoledCurve: drawHoledCurve(ws, pts, n, ws.penColour, ws.penDensity, ws.dashPitch); break;
    default: break;
    }
}

void curveDoubleClick(ToolContext& ctx, QPoint)
{
    Workspace& ws = ctx.ws;
    ctx.gesture.curveDone = true;
    hideFollower(ctx);
    // The double click's first release added its point; a click just
    // before on the same spot would have added it twice.
    int n = ws.curvePointCount;
    if (n >= 2 && ws.curvePoints[n - 1].x == ws.curvePoints[n - 2].x && ws.curvePoints[n - 1].y == ws.curvePoints[n - 2].y) --n;
    ws.curvePointCount = 0;
    Point pts[kMaxCurvePoints];
    for (int i = 0; i < n; ++i) pts[i] = toImage(ws, QPoint(ws.curvePoints[i].x, ws.curvePoints[i].y));
    Rect box;
    if (!curveBox(ws, pts, n, false, box)) return;
    WaitCursor wait(ws);
    takeSnapshot(ws, planeOfMode(ws.toolMode), box.x0, box.y0, box.x1, box.y1, 0);
    drawFinishedCurve(ws, pts, n);
    redrawImageRect(ws, box);
}

// ---- fills (201, 202, 205, 206, 207, 301): a click gives the seed

// After the backup the fill runs; its snapshot is the box it changed, as
// the backup held it.
template <typename Fill>
void fillAt(ToolContext& ctx, int plane, Fill&& fill)
{
    Workspace& ws = ctx.ws;
    WaitCursor wait(ws);
    backUp(ctx, backupOf(plane));
    Rect changed;
    if (!fill(changed)) return;
    takeSnapshotFrom(ws, plane, plane == SnapshotMask ? ws.maskBackup : ws.secondImage, changed.x0, changed.y0, changed.x1,
                     changed.y1, 0);
    redrawImageRect(ws, changed);
}

void fillUp(ToolContext& ctx, QPoint at)
{
    Workspace& ws = ctx.ws;
    const Point p = toImage(ws, at);
    if (!onImage(ws, p)) return;
    const int32_t mode = ws.toolMode;
    const bool change = mode == ModeChangeColour;
    if (!confirmBlackLine(ws, p.x, p.y, change ? Msg::BlackLineChange : Msg::BlackLineFill)) return;
    const Rgb seed = pixelAt(ws, p), pen = ws.penColour;
    if ((mode == ModeFill || change) && sameColour(seed, pen)) return;
    fillAt(ctx, SnapshotImage, [&](Rect& changed) {
        switch (mode) {
        case ModeFill: return floodFill(ws, p.x, p.y, &changed);
        case ModeChangeColour: return replaceColour(ws, seed, pen, &changed);
        case ModeShadedFill: return shadedFillInLineArt(ws, p.x, p.y, pen, &changed);
        case ModeShadedFillMaskEdge: return shadedFill(ws, p.x, p.y, pen, &changed);
        case ModeReflectionFill: return reflectedFill(ws, p.x, p.y, pen, &changed);
        default: return false;
        }
    });
}

void maskFillUp(ToolContext& ctx, QPoint at)
{
    Workspace& ws = ctx.ws;
    const Point p = toImage(ws, at);
    if (!onImage(ws, p) || ws.mask[uint64_t(p.y) * uint64_t(ws.imageWidth) + uint64_t(p.x)] == kMaskSet) return;
    fillAt(ctx, SnapshotMask, [&](Rect& changed) { return floodFillMask(ws, p.x, p.y, kMaskSet, &changed); });
}

void cancelMaskEdit(ToolContext& ctx, QPoint) { cancelEdit(ctx, BackupMask); }

// ---- air brushes (121, 122)

bool copyBrush(const Workspace& ws) { return ws.toolMode == ModeAirBrushCopy; }

XorFigure circleAt(QPoint centre, int radius)
{
    return XorFigure{XorFigure::Ellipse, centre - QPoint(radius, radius), centre + QPoint(radius, radius)};
}

// Where the copy brush's source circle stands for a brush at `at`.
QPoint sourceOf(const Workspace& ws, QPoint at)
{
    return at + QPoint(ws.cloneOffset.x * 16 / ws.displayScale16, ws.cloneOffset.y * 16 / ws.displayScale16);
}

void showBrush(ToolContext& ctx, QPoint at)
{
    Workspace& ws = ctx.ws;
    const int r = windowLength(ws, ws.brushRadius);
    std::vector<XorFigure> figures{circleAt(at, r)};
    if (copyBrush(ws)) figures.push_back(circleAt(ctx.rightHeld ? ctx.gesture.sourceAt : sourceOf(ws, at), r));
    showFollower(ctx, std::move(figures));
}

void dab(ToolContext& ctx, QPoint at)
{
    Workspace& ws = ctx.ws;
    const Point p = toImage(ws, at);
    sprayStroke(ws, ctx.gesture.stroke, p, copyBrush(ws));
    const int r = ws.brushRadius;
    redrawImageRect(ws, Rect{p.x - r, p.y - r, p.x + r, p.y + r});
}

void brushDown(ToolContext& ctx, QPoint at)
{
    Workspace& ws = ctx.ws;
    ensureBrushTable(ws);
    beginStroke(ws, ctx.gesture.stroke, SnapshotImage, false);
    dab(ctx, at);
    showBrush(ctx, at);
}

void brushMove(ToolContext& ctx, QPoint at)
{
    ToolGesture& g = ctx.gesture;
    Workspace& ws = ctx.ws;
    // The right button drags the brush away from its source: the offset
    // between the two circles becomes the clone offset.
    if (ctx.rightHeld && copyBrush(ws)) {
        ws.cloneOffset = Point{(g.sourceAt.x() - at.x()) * ws.displayScale16 / 16, (g.sourceAt.y() - at.y()) * ws.displayScale16 / 16};
    } else if (ctx.leftHeld && g.stroke.kind != 0) {
        hideFollower(ctx);
        dab(ctx, at);
    }
    showBrush(ctx, at);
}

void brushUp(ToolContext& ctx, QPoint at)
{
    if (ctx.gesture.stroke.kind == 0) return;
    hideFollower(ctx);
    dab(ctx, at);
    Rect changed;
    endStroke(ctx.ws, ctx.gesture.stroke, changed);
    showBrush(ctx, at);
}

void sourceHold(ToolContext& ctx, QPoint at) { ctx.gesture.sourceAt = sourceOf(ctx.ws, at); }

// ---- the floating piece (700): dragged about, applied by a double click

void showPiece(ToolContext& ctx)
{
    Workspace& ws = ctx.ws;
    ToolGesture& g = ctx.gesture;
    if (g.pieceShown) restoreDisplayRect(ws, g.pieceRect);
    const Rect before = g.pieceRect;
    const bool wasShown = g.pieceShown;
    g.pieceShown = drawPieceOnDisplay(ws, g.pieceRect);
    if (wasShown) ctx.view.showDisplay(&before);
    if (g.pieceShown) ctx.view.showDisplay(&g.pieceRect);
}

void pieceDown(ToolContext& ctx, QPoint at)
{
    Workspace& ws = ctx.ws;
    if (!ws.pieceFloating) return;
    ToolGesture& g = ctx.gesture;
    const Point p = toImage(ws, at);
    g.pieceGrab = Point{p.x - ws.piece.x, p.y - ws.piece.y};
    g.pieceGrabbed = true;
    ctx.view.showCursor(kCursorMoving);
    // The clean picture, to put back under the piece at every move.
    redisplay(ws);
    saveDisplay(ws);
    g.pieceShown = false;
    showPiece(ctx);
}

void pieceMove(ToolContext& ctx, QPoint at)
{
    ToolGesture& g = ctx.gesture;
    if (!g.pieceGrabbed || !ctx.leftHeld) return;
    const Point p = toImage(ctx.ws, at);
    movePiece(ctx.ws, p.x - g.pieceGrab.x, p.y - g.pieceGrab.y);
    showPiece(ctx);
}

void pieceUp(ToolContext& ctx, QPoint)
{
    ctx.gesture.pieceGrabbed = false;
    ctx.view.showCursor(kCursorMove);
}

void pieceApply(ToolContext& ctx, QPoint)
{
    Workspace& ws = ctx.ws;
    if (!ws.pieceFloating) return;
    Rect b;
    if (pieceBounds(ws, b)) takeSnapshot(ws, SnapshotImage, b.x0, b.y0, b.x1, b.y1, 0);
    applyPiece(ws);
    ctx.gesture.pieceGrabbed = ctx.gesture.pieceShown = false;
    redisplay(ws);
    setMode(ctx, ModeNone);
}

}  // namespace

// mode, cursor, left down, move, left up, right up, double click, right down
const ToolMode kPaintModes[] = {
    {ModePen, kCursorPen, penDown, penMove, strokeEnd, pickColour, nullptr, showDropper},
    {ModeMaskPen, kCursorPen, penDown, penMove, strokeEnd, strokeEnd, nullptr, maskEraseDown},
    {ModeLine, kCursorLine, nullptr, lineMove, lineUp, lineRightUp, nullptr, nullptr},
    {ModeMaskLine, kCursorLine, nullptr, lineMove, lineUp, lineRightUp, nullptr, nullptr},
    {ModeRectangle, kCursorCross, shapeDown, shapeMove, shapeUp, shapeCancel, nullptr, nullptr},
    {ModeMaskRectangle, kCursorCross, shapeDown, shapeMove, shapeUp, shapeCancel, nullptr, nullptr},
    {ModeFilledRectangle, kCursorCross, shapeDown, shapeMove, shapeUp, shapeCancel, nullptr, nullptr},
    {ModeMaskFilledRectangle, kCursorCross, shapeDown, shapeMove, shapeUp, shapeCancel, nullptr, nullptr},
    {ModeGradientRectangle, kCursorCross, shapeDown, shapeMove, shapeUp, shapeCancel, nullptr, nullptr},
    {ModeEllipse, kCursorCross, shapeDown, shapeMove, shapeUp, shapeCancel, nullptr, nullptr},
    {ModeMaskEllipse, kCursorCross, shapeDown, shapeMove, shapeUp, shapeCancel, nullptr, nullptr},
    {ModeFilledEllipse, kCursorCross, shapeDown, shapeMove, shapeUp, shapeCancel, nullptr, nullptr},
    {ModeMaskFilledEllipse, kCursorCross, shapeDown, shapeMove, shapeUp, shapeCancel, nullptr, nullptr},
    {ModeGradientEllipse, kCursorCross, shapeDown, shapeMove, shapeUp, shapeCancel, nullptr, nullptr},
    {ModeCircle, kCursorCross, shapeDown, shapeMove, shapeUp, shapeCancel, nullptr, nullptr},
    {ModeMaskCircle, kCursorCross, shapeDown, shapeMove, shapeUp, shapeCancel, nullptr, nullptr},
    {ModeFilledCircle, kCursorCross, shapeDown, shapeMove, shapeUp, shapeCancel, nullptr, nullptr},
    {ModeMaskFilledCircle, kCursorCross, shapeDown, shapeMove, shapeUp, shapeCancel, nullptr, nullptr},
    {ModeGradientCircle, kCursorCross, shapeDown, shapeMove, shapeUp, shapeCancel, nullptr, nullptr},
    {ModeCurve, kCursorCurve, nullptr, curveMove, curveUp, curveRightUp, curveDoubleClick, nullptr},
    {ModeMaskCurve, kCursorCurve, nullptr, curveMove, curveUp, curveRightUp, curveDoubleClick, nullptr},
    {ModeDashedCurve, kCursorCurve, nullptr, curveMove, curveUp, curveRightUp, curveDoubleClick, nullptr},
    {ModeHoledCurve, kCursorCurve, nullptr, curveMove, curveUp, curveRightUp, curveDoubleClick, nullptr},
    {ModeShadedCurve, kCursorCurve, nullptr, curveMove, curveUp, curveRightUp, curveDoubleClick, nullptr},
    {ModeFill, kCursorBucket, nullptr, nullptr, fillUp, cancelImageEdit, nullptr, nullptr},
    {ModeChangeColour, kCursorReplace, nullptr, nullptr, fillUp, cancelImageEdit, nullptr, nullptr},
    {ModeShadedFill, kCursorMaterial, nullptr, nullptr, fillUp, cancelImageEdit, nullptr, nullptr},
    {ModeShadedFillMaskEdge, kCursorBucket, nullptr, nullptr, fillUp, cancelImageEdit, nullptr, nullptr},
    {ModeReflectionFill, kCursorBucket, nullptr, nullptr, fillUp, cancelImageEdit, nullptr, nullptr},
    {ModeMaskFill, kCursorBucket, nullptr, nullptr, maskFillUp, cancelMaskEdit, nullptr, nullptr},
    {ModeAirBrush, kCursorSpray, brushDown, brushMove, brushUp, pickColour, nullptr, showDropper},
    {ModeAirBrushCopy, kCursorRings, brushDown, brushMove, brushUp, nullptr, nullptr, sourceHold},
    {ModeMovePiece, kCursorMove, pieceDown, pieceMove, pieceUp, nullptr, pieceApply, nullptr},
};

std::span<const ToolMode> paintModes() { return kPaintModes; }

}  // namespace orx::app
