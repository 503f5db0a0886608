// Turning stored pictures upright.
#include "orientation.h"

#include <cstring>

namespace orx {

void uprightSize(int orientation, int32_t w, int32_t h, int32_t& uw, int32_t& uh)
{
    const bool swaps = orientation >= 5 && orientation <= 8;
    uw = swaps ? h : w;
    uh = swaps ? w : h;
}

void copyUpright(const uint8_t* src, int32_t w, int32_t h, int orientation, uint8_t* dest)
{
    const uint64_t srcRow = uint64_t(w) * 3;
    if (orientation < 2 || orientation > 8) {
        std::memcpy(dest, src, srcRow * uint64_t(h));
        return;
    }
    int32_t uw = 0, uh = 0;
    uprightSize(orientation, w, h, uw, uh);
    // Each upright pixel (X, Y) comes from stored pixel (x, y) = origin +
    // X * stepX + Y * stepY, counted in pixels of the stored picture.
    const int64_t right = 1, down = w, last = int64_t(w) * h;
    int64_t origin = 0, stepX = right, stepY = down;
    switch (orientation) {
    case 2: origin = w - 1; stepX = -right; break;                           // mirrored left-right
    case 3: origin = last - 1; stepX = -right; stepY = -down; break;         // turned half round
    case 4: origin = last - w; stepY = -down; break;                         // mirrored top-bottom
    case 5: stepX = down; stepY = right; break;                              // transposed
    case 6: origin = last - w; stepX = -down; stepY = right; break;          // to be turned clockwise
    case 7: origin = last - 1; stepX = -down; stepY = -right; break;         // transversed
    case 8: origin = w - 1; stepX = down; stepY = -right; break;             // to be turned anticlockwise
    }
    for (int32_t Y = 0; Y < uh; ++Y) {
        int64_t i = origin + int64_t(Y) * stepY;
        uint8_t* d = dest + uint64_t(Y) * uint64_t(uw) * 3;
        for (int32_t X = 0; X < uw; ++X, i += stepX, d += 3) std::memcpy(d, src + 3 * i, 3);
    }
}

}  // namespace orx
