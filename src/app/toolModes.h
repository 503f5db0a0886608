// The mouse tool modes: what each mouse message on the picture does in each
// value of ws.toolMode. The view runs the gestures common to every mode
// (Shift pans, Control zooms, the wheel, Space or middle drags) and hands
// every other message to the row of the current mode: one table, one
// lookup per message.
//
// Temporary figures (rubber bands, guide lines, outlines) are drawn by
// inversion through the view, so drawing one again erases it. An edit takes
// its undo snapshot first, then copies the plane it changes to that plane's
// backup (secondImage for the colour image, maskBackup for the mask); a
// right button up in such a mode puts the backup back.
#pragma once

#include <QPoint>
#include <cstdint>
#include <span>
#include <vector>

#include "tools/stroke.h"
#include "workspace/langText.h"
#include "workspace/toolModeIds.h"
#include "workspace/workspace.h"
#include "xorDraw.h"

class CVLX98View;

namespace orx::app {

// Planes whose backup holds them as they were before the last mouse edit.
enum BackupPlane : uint32_t { BackupImage = 1u << 0, BackupMask = 1u << 1 };

// What a gesture keeps between mouse messages. Window coordinates.
struct ToolGesture {
    bool dragging = false;  // a rubber-band rectangle is being dragged
    QPoint dragAnchor;      // where the left button went down
    QPoint dragLast;        // the corner of the rectangle on screen
    // The figures that follow the pointer (the divide tools' guide line, the
    // outline of the colour file being added, rubber lines and shapes, the
    // curve preview, the brush circles), kept as drawn so that they are
    // erased as they were drawn whatever the scale has become since.
    std::vector<orx::XorFigure> followers;
    // Set by an edit, cleared when a command runs: a command may reuse the
    // backup planes (secondImage is also the model's photograph and the
    // scratch plane of the whole-image operations), so only an edit made
    // since the last command can be taken back from them.
    uint32_t backupPlanes = 0;

    // The line tools: the start of the next segment, once set.
    bool anchorSet = false;
    QPoint anchorPoint;
    // The shapes: the corner where the drag began, while it goes on.
    bool shaping = false;
    QPoint shapeAnchor;
    // A freehand stroke while its button is held (pens, air brushes).
    orx::Stroke stroke;
    // The curves: the release after a double click adds no point.
    bool curveDone = false;
    // The copy brush: where the source circle stays while the right button
    // drags the brush away from it.
    QPoint sourceAt;
    // The floating piece: where it was taken hold of (image pixels from its
    // corner), and the display rectangle it is drawn over.
    bool pieceGrabbed = false;
    orx::Point pieceGrab;
    bool pieceShown = false;
    orx::Rect pieceRect;
};

// What a handler works on: the workspace, the view it draws on, the
// gesture, and which buttons are held (mouse moves).
struct ToolContext {
    Workspace& ws;
    CVLX98View& view;
    ToolGesture& gesture;
    bool leftHeld = false;
    bool rightHeld = false;
};

using ToolHandler = void (*)(ToolContext&, QPoint at);

// One mode: its cursor and what the left button down, a move, the left
// button up, the right button up, a double click and the right button down
// do (nullptr: nothing).
struct ToolMode {
    ToolModeId mode;
    int32_t cursor;
    ToolHandler leftDown, move, leftUp, rightUp, doubleClick;
    ToolHandler rightDown = nullptr;
};

std::span<const ToolMode> toolModes();
// nullptr for a mode the table does not hold (its tool is not built yet).
const ToolMode* findToolMode(int32_t mode);

// The cursor of a mode; -1 (leave the cursor as it is) for a mode the
// table does not hold.
int32_t toolCursor(int32_t mode);

// Ends a rubber-band drag without running the mode's operation (a Shift or
// Control release took the button up): its rectangle is erased.
void dropDrag(ToolContext& ctx);

// ---- shared by the families of modes (toolModes.cpp, paintModes.cpp)

Point toImage(const Workspace& ws, QPoint at);
// A mode that ends its own tool sets the next one with its cursor.
void setMode(ToolContext& ctx, int32_t mode);
void redisplay(Workspace& ws);
// Recomposes the part of the view that shows an image rectangle.
void redrawImageRect(Workspace& ws, const Rect& r);
// After the snapshot and before the edit: the planes the edit changes are
// copied whole to their backups.
void backUp(ToolContext& ctx, uint32_t planes);
// The right button takes the last edit back from the backups.
void cancelEdit(ToolContext& ctx, uint32_t planes);
void cancelImageEdit(ToolContext& ctx, QPoint);
// The figures that follow the pointer, replacing those shown.
void showFollower(ToolContext& ctx, std::vector<XorFigure> figures);
void hideFollower(ToolContext& ctx);

class WaitCursor {
public:
    explicit WaitCursor(Workspace& ws) : platform_(*ws.platform) { platform_.waitCursor(true); }
    ~WaitCursor() { platform_.waitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    Platform& platform_;
};

// Before filling, recolouring or placing a material at image point (x, y):
// a black pixel may be line art, so the user is asked the question first.
// True when the operation may go on: the pixel is not black (0, 0, 0), or
// the answer was Yes.
bool confirmBlackLine(Workspace& ws, int32_t x, int32_t y, Msg question);

}  // namespace orx::app
