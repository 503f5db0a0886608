// The 70 x 60 thumbnails carried by every native image file.
//
// These files travel between installations, so the sampling below is kept
// exactly as other installations make it: a grey (200) field, the picture
// copied when it fits, otherwise one cell per f x f block, the block's
// top-left pixel, or the average of its top-left 4 x 4 square when f >= 5.
#include "thumbnail.h"

#include <algorithm>
#include <cstring>

namespace orx {

void makeThumbnailOf(const uint8_t* pixels, uint64_t rowBytes, int32_t w, int32_t h, uint8_t* out)
{
    constexpr int kRow = kThumbWidth * 3;
    std::memset(out, 200, kThumbBytes);
    if (w <= 0 || h <= 0) return;
    if (w <= kThumbWidth && h <= kThumbHeight) {
        for (int32_t y = 0; y < h; ++y) std::memcpy(out + y * kRow, pixels + y * rowBytes, size_t(w) * 3);
        return;
    }
    const int64_t f = int64_t(w) * 60 > int64_t(h) * 70 ? w / kThumbWidth + 1 : h / kThumbHeight + 1;
    const int cols = int(std::min<int64_t>(w / f, kThumbWidth));
    const int rows = int(std::min<int64_t>(h / f, kThumbHeight));
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < cols; ++i) {
            const uint8_t* block = pixels + uint64_t(j * f) * rowBytes + uint64_t(i * f) * 3;
            uint8_t* cell = out + j * kRow + i * 3;
            if (f < 5) {
                std::memcpy(cell, block, 3);
                continue;
            }
            int sum[3] = {0, 0, 0};
            for (int dy = 0; dy < 4; ++dy)
                for (int dx = 0; dx < 4; ++dx)
                    for (int c = 0; c < 3; ++c) sum[c] += block[dy * rowBytes + dx * 3 + c];
            for (int c = 0; c < 3; ++c) cell[c] = uint8_t(sum[c] / 16);
        }
    }
}

void makeThumbnail(Workspace& ws)
{
    makeThumbnailOf(ws.image, ws.imageRowBytes, ws.imageWidth, ws.imageHeight, ws.thumbBuffer);
}

void makeRegionThumbnail(Workspace& ws, int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    const uint8_t* origin = ws.image + uint64_t(y0) * ws.imageRowBytes + uint64_t(x0) * 3;
    makeThumbnailOf(origin, ws.imageRowBytes, x1 - x0 + 1, y1 - y0 + 1, ws.buf1.get());
}

void makeMaskThumbnail(const uint8_t* mask, int32_t w, int32_t h, uint8_t* out)
{
    std::memset(out, 0, kMaskThumbBytes);
    if (w <= 0 || h <= 0) return;
    // Masks use the larger of the two plain ratios; small masks (factor 0)
    // are sampled pixel for pixel, and cells beyond 70 x 60 are dropped.
    const int32_t f = std::max({w / kThumbWidth, h / kThumbHeight, 1});
    const int cols = std::min(w / f, kThumbWidth);
    const int rows = std::min(h / f, kThumbHeight);
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < cols; ++i)
            out[j * kThumbWidth + i] = mask[uint64_t(j) * f * w + uint64_t(i) * f] == 255 ? 1 : 0;
}

}  // namespace orx
