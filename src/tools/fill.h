// Region fills on the colour image and the mask, the colour change, and the
// shaded fills that keep a photograph's light and shade under a new colour.
//
// Every fill takes the 4-connected pixels equal to the seed (no tolerance)
// through the one span walker (workspace/spanFill.h). A fill is false only
// when its span stack could not grow; the part already painted stays. A
// seed off the picture, or a fill value the seed already has, changes
// nothing. With the mask shown the colour fill and the colour change leave
// masked pixels (byte not 0) alone.
#pragma once

#include <cstdint>

#include "workspace/workspace.h"

namespace orx {

// The region of the seed's colour takes the pen colour.
bool floodFill(Workspace& ws, int32_t x, int32_t y);
// The region of the seed's mask byte takes the value.
bool floodFillMask(Workspace& ws, int32_t x, int32_t y, uint8_t value);

// Every pixel of the colour `from`, connected or not, becomes `to`.
void replaceColour(Workspace& ws, Rgb from, Rgb to);

// The region of the seed's mask byte keeps each pixel's brightness (raised
// to the contrast exponent) under the hue and saturation of the colour; its
// mask bytes end as they began. The reflected fill also keeps the
// photograph's highlights paler: the saturation follows the pixel's own.
bool shadedFill(Workspace& ws, int32_t x, int32_t y, Rgb colour);
bool reflectedFill(Workspace& ws, int32_t x, int32_t y, Rgb colour);
// The shaded fill of a region bounded by black line art (exact 0, 0, 0)
// instead of the mask; the mask is left as it was.
bool shadedFillInLineArt(Workspace& ws, int32_t x, int32_t y, Rgb colour);

}  // namespace orx
