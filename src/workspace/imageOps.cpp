// Whole-image operations: halve, rotate by a quarter turn, mirror.
//
// Each builds its result in secondImage (and the mask's in maskBackup), then
// copies it back, so the image and its mask always change together. The
// model's photograph, if secondImage held it, is gone after them.
#include <cstring>

#include "workspace.h"

namespace orx {

void halveImage(Workspace& ws)
{
    const int32_t w = ws.imageWidth, h = ws.imageHeight;
    const int32_t hw = w / 2, hh = h / 2;
    if (hw < 1 || hh < 1) return;  // a one-pixel side has nothing to halve into
    takeSecondImage(ws);

    // The half image (3N/4 bytes) fits inside the old secondImage and the half
    // mask inside the old maskBackup, so neither overlaps what it reads.
    uint8_t* half = ws.secondImage;
    uint8_t* halfMask = ws.maskBackup;
    const uint64_t row = uint64_t(w) * 3;
    for (int32_t y = 0; y < hh; ++y) {
        const uint8_t* s0 = ws.image + uint64_t(2 * y) * row;
        const uint8_t* s1 = s0 + row;
        uint8_t* d = half + uint64_t(y) * hw * 3;
        const uint8_t* m0 = ws.mask + uint64_t(2 * y) * w;
        const uint8_t* m1 = m0 + w;
        uint8_t* dm = halfMask + uint64_t(y) * hw;
        for (int32_t x = 0; x < hw; ++x) {
            const int i = 6 * x;
            for (int c = 0; c < 3; ++c) d[3 * x + c] = uint8_t((s0[i + c] + s0[i + 3 + c] + s1[i + c] + s1[i + 3 + c]) / 4);
            const int sum = m0[2 * x] + m0[2 * x + 1] + m1[2 * x] + m1[2 * x + 1];
            dm[x] = sum >= 255 ? 255 : 0;
        }
    }
    std::memmove(ws.image, half, uint64_t(hw) * hh * 3);
    layoutPlanes(ws, hw, hh);
    std::memmove(ws.mask, halfMask, uint64_t(hw) * hh);
}

void rotateImage(Workspace& ws, bool clockwise)
{
    const int32_t w = ws.imageWidth, h = ws.imageHeight;
    if (w < 1 || h < 1) return;
    takeSecondImage(ws);
    // New image is h wide and w high.
    for (int32_t y = 0; y < w; ++y) {
        for (int32_t x = 0; x < h; ++x) {
            // clockwise: new (x, y) = old (y, H - 1 - x); counter-clockwise:
            // new (x, y) = old (W - 1 - y, x).
            const int32_t ox = clockwise ? y : w - 1 - y;
            const int32_t oy = clockwise ? h - 1 - x : x;
            const uint64_t src = uint64_t(oy) * w + ox;
            const uint64_t dst = uint64_t(y) * h + x;
            std::memcpy(ws.secondImage + dst * 3, ws.image + src * 3, 3);
            ws.maskBackup[dst] = ws.mask[src];
        }
    }
    layoutPlanes(ws, h, w);  // N is unchanged, so the planes stay in place
    std::memcpy(ws.image, ws.secondImage, imageBytes(ws));
    std::memcpy(ws.mask, ws.maskBackup, pixelCount(ws));
}

void mirrorImage(Workspace& ws, bool leftRight)
{
    const int32_t w = ws.imageWidth, h = ws.imageHeight;
    const uint64_t row = uint64_t(w) * 3;
    takeSecondImage(ws);
    for (int32_t y = 0; y < h; ++y) {
        if (leftRight) {
            const uint8_t* s = ws.image + y * row;
            uint8_t* d = ws.secondImage + y * row;
            const uint8_t* sm = ws.mask + uint64_t(y) * w;
            uint8_t* dm = ws.maskBackup + uint64_t(y) * w;
            for (int32_t x = 0; x < w; ++x) {
                std::memcpy(d + 3 * uint64_t(x), s + 3 * uint64_t(w - 1 - x), 3);
                dm[x] = sm[w - 1 - x];
            }
        } else {
            std::memcpy(ws.secondImage + y * row, ws.image + uint64_t(h - 1 - y) * row, row);
            std::memcpy(ws.maskBackup + uint64_t(y) * w, ws.mask + uint64_t(h - 1 - y) * w, w);
        }
    }
    std::memcpy(ws.image, ws.secondImage, imageBytes(ws));
    std::memcpy(ws.mask, ws.maskBackup, pixelCount(ws));
}

}  // namespace orx
