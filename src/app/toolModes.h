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
    // The figure that follows the pointer (the divide tools' guide line, the
    // outline of the colour file being added), kept as drawn so that it is
    // erased as it was drawn whatever the scale has become since.
    bool followerShown = false;
    orx::XorFigure follower;
    // Set by an edit, cleared when a command runs: a command may reuse the
    // backup planes (secondImage is also the model's photograph and the
    // scratch plane of the whole-image operations), so only an edit made
    // since the last command can be taken back from them.
    uint32_t backupPlanes = 0;
};

// What a handler works on: the workspace, the view it draws on, the
// gesture, and whether the left button is held (mouse moves).
struct ToolContext {
    Workspace& ws;
    CVLX98View& view;
    ToolGesture& gesture;
    bool leftHeld = false;
};

using ToolHandler = void (*)(ToolContext&, QPoint at);

// One mode: its cursor and what the left button down, a move, the left
// button up, the right button up and a double click do (nullptr: nothing).
struct ToolMode {
    ToolModeId mode;
    int32_t cursor;
    ToolHandler leftDown, move, leftUp, rightUp, doubleClick;
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

// Before filling, recolouring or placing a material at image point (x, y):
// a black pixel may be line art, so the user is asked the question first.
// True when the operation may go on: the pixel is not black (0, 0, 0), or
// the answer was Yes.
bool confirmBlackLine(Workspace& ws, int32_t x, int32_t y, Msg question);

}  // namespace orx::app
