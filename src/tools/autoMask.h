// The automatic mask: the mask made from colour. Sampled pixels mark their
// byte hue, saturation and value on three bars; the person chooses ranges
// of levels on the same bars, and the mask of a dragged rectangle becomes
// 255 where a pixel's three levels are all chosen and 0 elsewhere in it.
//
// The window's bar layout is fixed here, so a press or a drag is judged
// without a window and the Qt window draws at the same places.
#pragma once

#include <cstdint>

#include "workspace/workspace.h"

namespace orx {

enum AutoMaskBar : int { BarNone = -1, BarHue = 0, BarSaturation = 1, BarValue = 2 };

// ---- the window's layout (client pixels): each bar is 256 wide from x 10;
// its band holds the ramp, the sample row and the selection row, 8 high each.
constexpr int kBarLeft = 10;
constexpr int kBarRowHeight = 8;
constexpr int kBarTop[3] = {10, 45, 80};       // the ramps; samples 10 below, selections 20 below
constexpr int kBarBandHeight = 29;             // a press from the ramp's top to the selection's bottom

// The level tables of a bar.
uint8_t* sampledLevels(Workspace& ws, int bar);
uint8_t* selectedLevels(Workspace& ws, int bar);

// The bar and level under a window point; BarNone outside every band or
// left or right of the bars.
int barAt(int x, int y, int& level);

// A press picks the bar and sets (left button) or clears (right button)
// its level; a drag with the same button does the same to every level
// between the last one and the pointer's column, held to 0..255. Both are
// false when nothing changed; `from`..`to` are then the levels to redraw.
struct BarGesture {
    int bar = BarNone;
    int last = 0;
};
bool pressBar(Workspace& ws, BarGesture& g, int x, int y, bool set, int& from, int& to);
bool dragBar(Workspace& ws, BarGesture& g, int x, bool set, int& from, int& to);

// Marks the colour's three levels on the sample rows.
void sampleColour(Workspace& ws, Rgb colour);
// All six tables back to nothing.
void clearAutoMask(Workspace& ws);

// The mask of the rectangle (corners either way, clipped to the picture):
// 255 where the pixel of `image` has all three levels chosen, else 0.
// False, with nothing changed, when the rectangle misses the picture; the
// number of pixels set goes to `selected` when given.
bool applyAutoMask(Workspace& ws, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint64_t* selected = nullptr);

// On the display buffer RS, inside the display rectangle: every display
// pixel whose image pixel (a block's top-left when reduced) is chosen shows
// its colour inverted. The caller keeps the clean picture in RS1.
void previewAutoMask(Workspace& ws, Rect box);

}  // namespace orx
