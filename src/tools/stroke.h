// Freehand strokes: the pen, the mask pen and the air brushes change pixels
// at every mouse move, yet a stroke is one edit. When the button goes down
// the plane is copied to its backup (secondImage or maskBackup); when it
// comes up one undo snapshot of the box the stroke touched is written from
// that copy, and a translucent pen's blend marks are taken out of the mask.
#pragma once

#include <cstdint>

#include "workspace/workspace.h"

namespace orx {

struct Stroke {
    int kind = 0;          // SnapshotImage or SnapshotMask while a stroke is open, else 0
    bool marks = false;    // the pen blends: the mask is put back over the box at the end
    bool touched = false;  // some pixel of the picture was reached
    Rect box;              // the pixels the stroke may have changed
    // The pens: the last point, joined to the next by a line.
    Point last;
    uint8_t maskValue = 0;  // what the mask pen writes
};

void beginStroke(Workspace& ws, Stroke& stroke, int kind, bool marks);
// The box grows by the part of the rectangle between two corners (any
// order) that lies on the picture.
void strokeReaches(const Workspace& ws, Stroke& stroke, int64_t x0, int64_t y0, int64_t x1, int64_t y1);
// Writes the stroke's snapshot and clears its marks. False, with nothing
// written, when no stroke was open or it never reached the picture;
// otherwise `changed` is its box.
bool endStroke(Workspace& ws, Stroke& stroke, Rect& changed);

// The pen on the colour image (the workspace's pen colour, width and
// density) or the mask pen writing `maskValue`: a click is one stamp, and
// each further position is joined to the last by a straight line.
void startPenStroke(Workspace& ws, Stroke& stroke, Point at, int kind, uint8_t maskValue = 255);
void continuePenStroke(Workspace& ws, Stroke& stroke, Point at);

}  // namespace orx
