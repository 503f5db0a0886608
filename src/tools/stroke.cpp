// Freehand strokes.
#include "stroke.h"

#include <algorithm>
#include <cstring>

#include "paint.h"
#include "workspace/undoSnapshot.h"

namespace orx {

void beginStroke(Workspace& ws, Stroke& stroke, int kind, bool marks)
{
    Rect changed;
    endStroke(ws, stroke, changed);  // one left open by a lost button release
    stroke = Stroke{};
    stroke.kind = kind;
    stroke.marks = marks && kind == SnapshotImage;
    if (kind == SnapshotImage) {
        takeSecondImage(ws);
        std::memcpy(ws.secondImage, ws.image, imageBytes(ws));
    }
    if (kind == SnapshotMask || stroke.marks) std::memcpy(ws.maskBackup, ws.mask, pixelCount(ws));
}

void strokeReaches(const Workspace& ws, Stroke& stroke, int64_t x0, int64_t y0, int64_t x1, int64_t y1)
{
    if (x0 > x1) std::swap(x0, x1);
    if (y0 > y1) std::swap(y0, y1);
    x0 = std::max<int64_t>(x0, 0), y0 = std::max<int64_t>(y0, 0);
    x1 = std::min<int64_t>(x1, ws.imageWidth - 1), y1 = std::min<int64_t>(y1, ws.imageHeight - 1);
    if (x0 > x1 || y0 > y1) return;
    const Rect r{int(x0), int(y0), int(x1), int(y1)};
    Rect& b = stroke.box;
    b = stroke.touched ? Rect{std::min(b.x0, r.x0), std::min(b.y0, r.y0), std::max(b.x1, r.x1), std::max(b.y1, r.y1)} : r;
    stroke.touched = true;
}

bool endStroke(Workspace& ws, Stroke& stroke, Rect& changed)
{
    const bool open = stroke.kind != 0 && stroke.touched;
    if (open) {
        const Rect& b = stroke.box;
        const uint8_t* before = stroke.kind == SnapshotImage ? ws.secondImage : ws.maskBackup;
        takeSnapshotFrom(ws, stroke.kind, before, b.x0, b.y0, b.x1, b.y1, 0);
        if (stroke.marks) copyMaskBox(ws, ws.maskBackup, ws.mask, b);
        changed = b;
    }
    stroke.kind = 0;
    stroke.touched = false;
    return open;
}

namespace {

void penLine(Workspace& ws, Stroke& stroke, Point from, Point to)
{
    StampReach r;
    if (!stampReach(ws.penWidth, r)) return;
    if (stroke.kind == SnapshotImage)
        drawPenLine(ws, from.x, from.y, to.x, to.y, ws.penColour, ws.penWidth, ws.penDensity);
    else
        drawMaskLine(ws, from.x, from.y, to.x, to.y, stroke.maskValue, ws.penWidth);
    strokeReaches(ws, stroke, int64_t(std::min(from.x, to.x)) + r.lo, int64_t(std::min(from.y, to.y)) + r.lo,
                  int64_t(std::max(from.x, to.x)) + r.hi, int64_t(std::max(from.y, to.y)) + r.hi);
    stroke.last = to;
}

}  // namespace

void startPenStroke(Workspace& ws, Stroke& stroke, Point at, int kind, uint8_t maskValue)
{
    beginStroke(ws, stroke, kind, kind == SnapshotImage && ws.penDensity < kOpaque);
    stroke.maskValue = maskValue;
    penLine(ws, stroke, at, at);
}

void continuePenStroke(Workspace& ws, Stroke& stroke, Point at)
{
    if (stroke.kind == 0) return;
    penLine(ws, stroke, stroke.last, at);
}

}  // namespace orx
