// Pictures stored turned or mirrored: cameras write the pixels as the
// sensor read them and record how the camera was held (the EXIF and TIFF
// orientation, 1..8). Opening a picture turns it upright.
#pragma once

#include <cstdint>

namespace orx {

// The size of a w x h stored picture once upright: orientations 5 to 8
// exchange width and height.
void uprightSize(int orientation, int32_t w, int32_t h, int32_t& uw, int32_t& uh);

// Copies a w x h R, G, B picture into dest turned upright. dest holds the
// upright size and must not overlap src.
void copyUpright(const uint8_t* src, int32_t w, int32_t h, int orientation, uint8_t* dest);

}  // namespace orx
