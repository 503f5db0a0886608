// The 70 x 60 thumbnails carried by every native image file.
#pragma once

#include <cstdint>

#include "workspace.h"

namespace orx {

// Thumbnail of a w x h colour picture whose rows start rowBytes apart, into
// out (12,600 bytes of R, G, B, rows of 210 bytes).
void makeThumbnailOf(const uint8_t* pixels, uint64_t rowBytes, int32_t w, int32_t h, uint8_t* out);
// Whole working image into thumbBuffer.
void makeThumbnail(Workspace& ws);
// Inclusive rectangle of the working image into buf1.
void makeRegionThumbnail(Workspace& ws, int32_t x0, int32_t y0, int32_t x1, int32_t y1);
// Mask thumbnail (4,200 bytes of 0 and 1) of a w x h mask plane.
void makeMaskThumbnail(const uint8_t* mask, int32_t w, int32_t h, uint8_t* out);

}  // namespace orx
