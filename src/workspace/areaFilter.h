// Area filters: sharpen, blur, saturation and contrast boosts, white
// balance, black and white, grey, negative, and the mirrored or flipped
// block copy, on a rectangle of the working image; and the division of the
// image at a guide line.
//
// Every filter reads secondImage (a copy of the image the caller has just
// taken) and writes image, so kernels see unfiltered neighbours. While the
// mask is shown only pixels whose mask byte is 0 change.
#pragma once

#include "toolModeIds.h"
#include "workspace.h"

namespace orx {

// Corners in image coordinates, in any order; mode is one of the filter or
// block-copy values of toolModeIds.h.
void applyAreaFilter(Workspace& ws, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int mode);
// Places the block copied by BlockMirror or BlockFlip (held compact in
// secondImage) with its top-left corner at (x, y), clipped to the image.
void placeBlock(Workspace& ws, int32_t x, int32_t y);
// Swaps the parts above and below row `at` (DivideAtRow), or left and right
// of column `at` (DivideAtColumn); secondImage holds a copy of the image.
void divideImage(Workspace& ws, int mode, int32_t at);

// The grey of a pixel, 0.3 R + 0.6 G + 0.1 B, in tenths: whole numbers, so
// that a grey of exactly 128 is never taken for more by a rounding error.
inline int greyTenths(const uint8_t* p) { return 3 * p[0] + 6 * p[1] + p[2]; }

}  // namespace orx
