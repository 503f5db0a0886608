// The mouse tool modes: the table, and the gestures its rows are made of.
#include "toolModes.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "cursorIds.h"
#include "paintModes.h"
#include "view.h"
#include "workspace/areaFilter.h"
#include "workspace/display.h"
#include "workspace/nativeFile.h"
#include "workspace/regionSave.h"
#include "workspace/undoSnapshot.h"

namespace orx::app {

// ---- shared by the families of modes

Point toImage(const Workspace& ws, QPoint at) { return windowToImage(ws, at.x(), at.y()); }

void setMode(ToolContext& ctx, int32_t mode)
{
    ctx.ws.toolMode = mode;
    ctx.view.showCursor(toolCursor(mode));
}

void redisplay(Workspace& ws) { redisplayAt(ws, ws.viewCentreX, ws.viewCentreY); }

// The band keeps the tool's prompt.
void redrawImageRect(Workspace& ws, const Rect& r)
{
    const Point a = imageToWindow(ws, r.x0, r.y0);
    const Point b = imageToWindow(ws, r.x1 + 1, r.y1 + 1);
    redrawRect(ws, a, b, 0);
}

void backUp(ToolContext& ctx, uint32_t planes)
{
    Workspace& ws = ctx.ws;
    if (planes & BackupImage) {
        takeSecondImage(ws);
        std::memcpy(ws.secondImage, ws.image, imageBytes(ws));
    }
    if (planes & BackupMask) std::memcpy(ws.maskBackup, ws.mask, pixelCount(ws));
    ctx.gesture.backupPlanes = planes;
}

// Its snapshot is dropped from the undo count of the plane it was taken of
// (the file stays and the next snapshot overwrites it). The backup holds
// one state, so a second cancel copies the same planes again and lowers
// the count once more.
void cancelEdit(ToolContext& ctx, uint32_t planes)
{
    Workspace& ws = ctx.ws;
    if ((ctx.gesture.backupPlanes & planes) != planes) return;
    {
        WaitCursor wait(ws);
        if (planes & BackupImage) std::memcpy(ws.image, ws.secondImage, imageBytes(ws));
        if (planes & BackupMask) std::memcpy(ws.mask, ws.maskBackup, pixelCount(ws));
        redisplay(ws);
    }
    int32_t& count = (planes & BackupImage) ? ws.rgbUndoCount : ws.mskUndoCount;
    if (count > 0) --count;
    ws.platform->undoStateChanged();
}

void cancelImageEdit(ToolContext& ctx, QPoint) { cancelEdit(ctx, BackupImage); }

void hideFollower(ToolContext& ctx)
{
    ToolGesture& g = ctx.gesture;
    for (const XorFigure& f : g.followers) ctx.view.invertFigure(f);
    g.followers.clear();
}

void showFollower(ToolContext& ctx, std::vector<XorFigure> figures)
{
    hideFollower(ctx);
    for (const XorFigure& f : figures) ctx.view.invertFigure(f);
    ctx.gesture.followers = std::move(figures);
}

namespace {

// The band shows the size label again in place of the tool's prompt.
void clearPrompt(Workspace& ws) { ws.platform->status("", Rgb{0, 0, 255}); }

// ---- rubber-band rectangle

XorFigure band(QPoint a, QPoint b) { return {XorFigure::Rectangle, a, b}; }

// While the button is held Qt sends the moves and the release to the view
// even outside it (the implicit grab), so the band needs no capture.
void bandDown(ToolContext& ctx, QPoint at)
{
    ToolGesture& g = ctx.gesture;
    ctx.view.showCursor(kCursorCross);
    dropDrag(ctx);  // a press whose release went elsewhere
    g.dragging = true;
    g.dragAnchor = g.dragLast = at;
    ctx.view.invertFigure(band(at, at));
}

void bandMove(ToolContext& ctx, QPoint at)
{
    ToolGesture& g = ctx.gesture;
    if (!g.dragging || !ctx.leftHeld || at == g.dragLast) return;
    ctx.view.invertFigure(band(g.dragAnchor, g.dragLast));
    ctx.view.invertFigure(band(g.dragAnchor, at));
    g.dragLast = at;
}

// The drag ends at the release point: the rectangle is erased and its two
// corners, in image coordinates held to the image, are given back. False
// when no drag was going on or the rectangle misses the image.
bool endBand(ToolContext& ctx, QPoint at, Rect& r)
{
    if (!ctx.gesture.dragging) return false;
    dropDrag(ctx);
    return clipToImage(ctx.ws, toImage(ctx.ws, ctx.gesture.dragAnchor), toImage(ctx.ws, at), r);
}

// The window extent of w x h image pixels at the current scale, at least one.
QSize windowSize(const Workspace& ws, int32_t w, int32_t h)
{
    const Point a = imageToWindow(ws, 0, 0), b = imageToWindow(ws, w, h);
    return QSize(std::max(b.x - a.x, 1), std::max(b.y - a.y, 1));
}

// ---- mode 1: after a trial mapping run

void trialDone(ToolContext& ctx, QPoint) { setMode(ctx, ModeNone); }

// The photograph kept in the backup image replaces the trial.
void trialTakenBack(ToolContext& ctx, QPoint)
{
    Workspace& ws = ctx.ws;
    {
        WaitCursor wait(ws);
        std::memcpy(ws.image, ws.secondImage, imageBytes(ws));
        redisplay(ws);
    }
    setMode(ctx, ModeNone);
}

// ---- mode 2: the area saves, and mode 711: the mask-edge save

void areaSaveUp(ToolContext& ctx, QPoint at)
{
    Rect r;
    if (!endBand(ctx, at, r)) return;
    {
        WaitCursor wait(ctx.ws);
        saveArea(ctx.ws, ctx.ws.areaSaveRequest, ctx.ws.areaSaveName, r);
    }
    clearPrompt(ctx.ws);
    setMode(ctx, ModeNone);
}

void maskEdgeSaveUp(ToolContext& ctx, QPoint at)
{
    Workspace& ws = ctx.ws;
    const Point p = toImage(ws, at);
    Rect r;
    if (!maskRegionBounds(ws, p.x, p.y, r)) return;
    {
        WaitCursor wait(ws);
        saveArea(ws, SaveAreaPrt, ws.areaSaveName, r);
    }
    clearPrompt(ws);
    setMode(ctx, ModeNone);
}

// ---- modes 123 and 124: adding a colour file at the pointer

XorFigure pasteOutline(const Workspace& ws, QPoint at)
{
    const QSize s = windowSize(ws, ws.pasteWidth, ws.pasteHeight);
    return band(at, at + QPoint(s.width() - 1, s.height() - 1));
}

uint32_t pastePlanes(const Workspace& ws)
{
    return ws.toolMode == ModeAddRgbWithMask ? BackupImage | BackupMask : BackupImage;
}

void pasteMove(ToolContext& ctx, QPoint at) { showFollower(ctx, {pasteOutline(ctx.ws, at)}); }

void pasteUp(ToolContext& ctx, QPoint at)
{
    Workspace& ws = ctx.ws;
    const Point p = toImage(ws, at);
    Rect r;
    if (!clipToImage(ws, p, Point{p.x + ws.pasteWidth - 1, p.y + ws.pasteHeight - 1}, r)) return;
    {
        WaitCursor wait(ws);
        takeSnapshot(ws, SnapshotImage, r.x0, r.y0, r.x1, r.y1, 0);
        backUp(ctx, pastePlanes(ws));
        if (pasteRGBFile(ws, ws.pasteFileName, p.x, p.y, 255)) redrawImageRect(ws, r);
    }
    showFollower(ctx, {pasteOutline(ws, at)});
}

void pasteCancel(ToolContext& ctx, QPoint)
{
    hideFollower(ctx);
    cancelEdit(ctx, pastePlanes(ctx.ws));
}

// ---- modes 971 to 977 and 980: the area filters

void filterUp(ToolContext& ctx, QPoint at)
{
    Rect r;
    if (!endBand(ctx, at, r)) return;
    Workspace& ws = ctx.ws;
    // White balance corrects the whole picture from its sample.
    const bool whole = ws.toolMode == FilterWhiteBalance;
    WaitCursor wait(ws);
    takeSnapshot(ws, whole ? SnapshotWholeImage : SnapshotImage, r.x0, r.y0, r.x1, r.y1, 0);
    // The backup is also the filters' source: they read unfiltered neighbours from it.
    backUp(ctx, BackupImage);
    applyAreaFilter(ws, r.x0, r.y0, r.x1, r.y1, ws.toolMode);
    if (whole)
        redisplay(ws);
    else
        redrawImageRect(ws, r);
}

// ---- modes 978 and 979: dividing the image at a guide line

bool dividesRows(const Workspace& ws) { return ws.toolMode == DivideAtRow; }

// The guide line spans the picture of the image at the pointer's row or column.
XorFigure guideLine(const Workspace& ws, QPoint at)
{
    const Point a = imageToWindow(ws, 0, 0), b = imageToWindow(ws, ws.imageWidth, ws.imageHeight);
    const int left = std::max(a.x, 0), right = std::min(b.x, ws.clientWidth) - 1;
    const int top = std::max(a.y, 0), bottom = std::min(b.y, ws.bandTop) - 1;
    if (dividesRows(ws)) return {XorFigure::Line, QPoint(left, at.y()), QPoint(right, at.y())};
    return {XorFigure::Line, QPoint(at.x(), top), QPoint(at.x(), bottom)};
}

void guideMove(ToolContext& ctx, QPoint at) { showFollower(ctx, {guideLine(ctx.ws, at)}); }

void guideErase(ToolContext& ctx, QPoint) { hideFollower(ctx); }

void divideUp(ToolContext& ctx, QPoint at)
{
    Workspace& ws = ctx.ws;
    const Point p = toImage(ws, at);
    const int32_t line = dividesRows(ws) ? p.y : p.x;
    // A line on the picture's first row or column, or off it, divides nothing.
    if (line < 1 || line >= (dividesRows(ws) ? ws.imageHeight : ws.imageWidth)) return;
    hideFollower(ctx);
    {
        WaitCursor wait(ws);
        takeSnapshot(ws, SnapshotImage, 0, 0, ws.imageWidth - 1, ws.imageHeight - 1, 0);
        backUp(ctx, BackupImage);  // divideImage reads the parts from this copy
        divideImage(ws, ws.toolMode, line);
        redisplay(ws);
    }
    setMode(ctx, ModeNone);
}

// ---- modes 983 and 984: copying a block; 985 and 986: placing it

void blockCopyUp(ToolContext& ctx, QPoint at)
{
    Rect r;
    if (!endBand(ctx, at, r)) return;
    Workspace& ws = ctx.ws;
    const int32_t copyMode = ws.toolMode;
    applyAreaFilter(ws, r.x0, r.y0, r.x1, r.y1, copyMode);
    setMode(ctx, copyMode == BlockMirror ? ModePlaceMirrored : ModePlaceFlipped);
    // The clean picture, to put back under the block at every move.
    saveDisplay(ws);
}

void showWholeDisplay(ToolContext& ctx)
{
    const Rect all{0, 0, ctx.ws.displayWidth - 1, ctx.ws.displayHeight - 1};
    ctx.view.showDisplay(&all);
}

void blockFollow(ToolContext& ctx, QPoint at)
{
    restoreDisplay(ctx.ws);
    composeBlockPreview(ctx.ws, at.x(), at.y());
    showWholeDisplay(ctx);
}

void blockPlaceUp(ToolContext& ctx, QPoint at)
{
    Workspace& ws = ctx.ws;
    const Point p = toImage(ws, at);
    {
        WaitCursor wait(ws);
        takeSnapshot(ws, SnapshotImage, p.x, p.y, p.x + ws.blockWidth - 1, p.y + ws.blockHeight - 1, 0);
        placeBlock(ws, p.x, p.y);
        redisplay(ws);
    }
    setMode(ctx, ModeNone);
}

void blockDrop(ToolContext& ctx, QPoint)
{
    {
        WaitCursor wait(ctx.ws);
        restoreDisplay(ctx.ws);
        ctx.view.showDisplay(nullptr);
    }
    setMode(ctx, ModeNone);
}

// ---- the table

// mode, cursor, left down, move, left up, right up, double click
const ToolMode kToolModes[] = {
    {ModeNone, kCursorArrow, nullptr, nullptr, nullptr, nullptr, nullptr},
    {ModeTrialRun, kCursorRun, nullptr, nullptr, trialDone, trialTakenBack, nullptr},
    {ModeAreaSave, kCursorCross, bandDown, bandMove, areaSaveUp, nullptr, nullptr},
    {ModeAddRgb, kCursorArrow, nullptr, pasteMove, pasteUp, pasteCancel, nullptr},
    {ModeAddRgbWithMask, kCursorArrow, nullptr, pasteMove, pasteUp, pasteCancel, nullptr},
    {ModeMaskEdgeSave, kCursorArrow, nullptr, nullptr, maskEdgeSaveUp, nullptr, nullptr},
    {FilterSharpen, kCursorCross, bandDown, bandMove, filterUp, cancelImageEdit, nullptr},
    {FilterBlur, kCursorCross, bandDown, bandMove, filterUp, cancelImageEdit, nullptr},
    {FilterSaturation, kCursorCross, bandDown, bandMove, filterUp, cancelImageEdit, nullptr},
    {FilterContrast, kCursorCross, bandDown, bandMove, filterUp, cancelImageEdit, nullptr},
    {FilterWhiteBalance, kCursorCross, bandDown, bandMove, filterUp, cancelImageEdit, nullptr},
    {FilterBlackWhite, kCursorCross, bandDown, bandMove, filterUp, cancelImageEdit, nullptr},
    {FilterGrey, kCursorCross, bandDown, bandMove, filterUp, cancelImageEdit, nullptr},
    {DivideAtRow, kCursorArrow, nullptr, guideMove, divideUp, guideErase, nullptr},
    {DivideAtColumn, kCursorArrow, nullptr, guideMove, divideUp, guideErase, nullptr},
    {FilterNegative, kCursorCross, bandDown, bandMove, filterUp, cancelImageEdit, nullptr},
    {BlockMirror, kCursorCross, bandDown, bandMove, blockCopyUp, nullptr, nullptr},
    {BlockFlip, kCursorCross, bandDown, bandMove, blockCopyUp, nullptr, nullptr},
    {ModePlaceMirrored, kCursorArrow, nullptr, blockFollow, blockPlaceUp, blockDrop, nullptr},
    {ModePlaceFlipped, kCursorArrow, nullptr, blockFollow, blockPlaceUp, blockDrop, nullptr},
};

}  // namespace

std::span<const ToolMode> toolModes()
{
    // The rows above and the paint tools' rows (paintModes.cpp): one table.
    static const std::vector<ToolMode> all = [] {
        std::vector<ToolMode> rows(std::begin(kToolModes), std::end(kToolModes));
        const std::span<const ToolMode> paint = paintModes();
        rows.insert(rows.end(), paint.begin(), paint.end());
        return rows;
    }();
    return all;
}

const ToolMode* findToolMode(int32_t mode)
{
    const std::span<const ToolMode> rows = toolModes();
    const auto it = std::find_if(rows.begin(), rows.end(), [mode](const ToolMode& m) { return m.mode == mode; });
    return it == rows.end() ? nullptr : &*it;
}

int32_t toolCursor(int32_t mode)
{
    const ToolMode* m = findToolMode(mode);
    return m ? m->cursor : -1;
}

void dropDrag(ToolContext& ctx)
{
    ToolGesture& g = ctx.gesture;
    // A shape being dragged goes too.
    if (g.shaping) {
        g.shaping = false;
        hideFollower(ctx);
    }
    if (!g.dragging) return;
    ctx.view.invertFigure(band(g.dragAnchor, g.dragLast));
    g.dragging = false;
}

bool confirmBlackLine(Workspace& ws, int32_t x, int32_t y, Msg question)
{
    if (x < 0 || y < 0 || x >= ws.imageWidth || y >= ws.imageHeight) return true;
    const uint8_t* p = ws.image + (uint64_t(y) * uint64_t(ws.imageWidth) + uint64_t(x)) * 3;
    if (p[0] != 0 || p[1] != 0 || p[2] != 0) return true;
    return ws.platform->askYesNo(langText(ws, question));
}

}  // namespace orx::app
