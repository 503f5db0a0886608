// Region fills on the colour image and the mask, the colour change, and the
// shaded fills that keep a photograph's light and shade under a new colour.
//
// Every fill takes the 4-connected pixels equal to the seed (no tolerance)
// through the one span walker (workspace/spanFill.h). Without `changed` a
// fill is false only when its span stack could not grow; the part already
// painted stays. A seed off the picture, or a fill value the seed already
// has, changes nothing. With the mask shown the colour fill and the colour change leave
// masked pixels (byte not 0) alone. Where `changed` is given it receives
// the box of the pixels the operation changed (or may have), and the
// operation is true only when there is one.
#pragma once

#include <cstdint>

#include "workspace/workspace.h"

namespace orx {

// The region of the seed's colour takes the pen colour.
bool floodFill(Workspace& ws, int32_t x, int32_t y, Rect* changed = nullptr);
// The region of the seed's mask byte takes the value.
bool floodFillMask(Workspace& ws, int32_t x, int32_t y, uint8_t value, Rect* changed = nullptr);

// Every pixel of the colour `from`, connected or not, becomes `to`.
bool replaceColour(Workspace& ws, Rgb from, Rgb to, Rect* changed = nullptr);

// The region of the seed's mask byte keeps each pixel's brightness (raised
// to the contrast exponent) under the hue and saturation of the colour; its
// mask bytes end as they began. The reflected fill also keeps the
// photograph's highlights paler: the saturation follows the pixel's own.
bool shadedFill(Workspace& ws, int32_t x, int32_t y, Rgb colour, Rect* changed = nullptr);
bool reflectedFill(Workspace& ws, int32_t x, int32_t y, Rgb colour, Rect* changed = nullptr);
// The shaded fill of a region bounded by black line art (exact 0, 0, 0)
// instead of the mask; the mask is left as it was.
bool shadedFillInLineArt(Workspace& ws, int32_t x, int32_t y, Rgb colour, Rect* changed = nullptr);

}  // namespace orx
