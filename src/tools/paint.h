// The editing tools: pixel operations on the colour image and the mask.
//
// Adding a tool
// -------------
// 1. The operation, here in src/tools (no Qt): a free function that takes
//    the Workspace& and image coordinates, clips to the picture itself,
//    changes nothing for bad input, and is tested in tests/tools without a
//    window. Copy the shape of fillRectangle below.
// 2. Its mode rows in src/app/toolModes.cpp: the gestures (left down, move,
//    left up, right up, double click) that collect the points, take one undo
//    snapshot per click or stroke (takeSnapshot, or a Stroke for freehand
//    tools), back up the plane for the right-button cancel, call the
//    operation and redraw what changed.
// 3. Its command rows in src/app/commandTable.cpp: the named id, both
//    labels, the palette that issues it, the mode, cursor and paint target
//    it selects, and the enable rule.
//
// This file: the pen and the shapes. Every colour pixel a pen draws goes
// through one rule (blendPixel): density 100 writes the colour, a lower
// density blends it with what is there. With the mask shown, masked pixels
// (byte not 0) are left alone. A translucent figure marks the pixels it
// blended with the mask byte 3 so that overlapping stamps blend once, and
// puts the mask of its box back when it is done.
#pragma once

#include <cstdint>

#include "workspace/workspace.h"

namespace orx {

constexpr int kMinPenWidth = 1;
constexpr int kMaxPenWidth = 5;
constexpr int kOpaque = 100;        // pen density that writes the colour as it is
constexpr uint8_t kBlendMark = 3;   // mask byte of a pixel blended by the current figure
constexpr uint8_t kMaskSet = 255;

// The columns (and rows) a stamp of the width covers around its point:
// from point + lo to point + hi. Widths 2 and 4 reach one further right
// and down. False for a width outside 1..5.
struct StampReach {
    int lo = 0, hi = 0;
};
bool stampReach(int width, StampReach& reach);

void blendPixel(Workspace& ws, int32_t x, int32_t y, Rgb colour, int density);

// Square stamps of the width: colour through blendPixel, or a mask value
// written as it is.
void stampPen(Workspace& ws, int32_t x, int32_t y, Rgb colour, int width, int density);
void stampMask(Workspace& ws, int32_t x, int32_t y, uint8_t value, int width);

// Straight lines: one stamp at every step along the longer axis.
void drawPenLine(Workspace& ws, int32_t x1, int32_t y1, int32_t x2, int32_t y2, Rgb colour, int width, int density);
void drawMaskLine(Workspace& ws, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t value, int width);

// The line tool's segment: drawPenLine with its marks taken away after.
void drawLine(Workspace& ws, int32_t x1, int32_t y1, int32_t x2, int32_t y2, Rgb colour, int width, int density);

// Outlines of the box between two opposite corners, in any order.
void drawRectangle(Workspace& ws, int32_t x1, int32_t y1, int32_t x2, int32_t y2, Rgb colour, int width, int density);
void drawMaskRectangle(Workspace& ws, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t value, int width);
void drawEllipse(Workspace& ws, int32_t x1, int32_t y1, int32_t x2, int32_t y2, Rgb colour, int width, int density);
void drawMaskEllipse(Workspace& ws, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t value, int width);

// Filled figures; the pen width plays no part.
void fillRectangle(Workspace& ws, int32_t x1, int32_t y1, int32_t x2, int32_t y2, Rgb colour, int density);
void fillMaskRectangle(Workspace& ws, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t value);
void fillEllipse(Workspace& ws, int32_t x1, int32_t y1, int32_t x2, int32_t y2, Rgb colour, int density);
void fillMaskEllipse(Workspace& ws, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t value);

// Filled with the bilinear blend of four corner colours (top-left,
// top-right, bottom-left, bottom-right) over the whole box, also where the
// box leaves the picture.
void fillRectangleGradient(Workspace& ws, int32_t x1, int32_t y1, int32_t x2, int32_t y2, const Rgb corners[4],
                           int density);
void fillEllipseGradient(Workspace& ws, int32_t x1, int32_t y1, int32_t x2, int32_t y2, const Rgb corners[4],
                         int density);

// The corner colour mix at (x, y) of the box (xmin, ymin)-(xmax, ymax),
// channel c, before truncation: the gradient fills and the colour box's
// preview share it.
double gradientAt(const Rgb corners[4], double x, double y, double xmin, double ymin, double xmax, double ymax, int c);

// Keeps the mask of a box in maskBackup while a translucent figure marks
// pixels in it, and puts it back when the scope ends. Does nothing when
// `needed` is false (opaque figures write no marks).
class MaskMarks {
public:
    MaskMarks(Workspace& ws, int64_t x0, int64_t y0, int64_t x1, int64_t y1, bool needed);
    ~MaskMarks();
    MaskMarks(const MaskMarks&) = delete;
    MaskMarks& operator=(const MaskMarks&) = delete;

private:
    Workspace& ws_;
    Rect box_;
    bool active_ = false;
};

// Copies the rows of a box between two planes of one byte a pixel.
void copyMaskBox(const Workspace& ws, const uint8_t* from, uint8_t* to, const Rect& box);

}  // namespace orx
