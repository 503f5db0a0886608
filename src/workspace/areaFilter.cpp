// Area filters on a rectangle of the working image.
#include "areaFilter.h"

#include <algorithm>
#include <cstring>

#include "hsv.h"

namespace orx {

namespace {

struct Box {
    int32_t x0, y0, x1, y1;  // inclusive
};

// Results are held to a byte: below 0 gives 0, above 255 gives 255,
// otherwise truncated toward zero.
inline uint8_t toByte(double v) { return v < 0 ? 0 : v > 255 ? 255 : uint8_t(v); }
inline uint8_t toByte(int v) { return uint8_t(std::clamp(v, 0, 255)); }

inline const uint8_t* src(const Workspace& ws, int32_t x, int32_t y)
{
    return ws.secondImage + (uint64_t(y) * ws.imageWidth + uint64_t(x)) * 3;
}
inline uint8_t* dst(Workspace& ws, int32_t x, int32_t y)
{
    return ws.image + (uint64_t(y) * ws.imageWidth + uint64_t(x)) * 3;
}
inline bool writable(const Workspace& ws, int32_t x, int32_t y)
{
    return ws.maskVisible != 1 || ws.mask[uint64_t(y) * ws.imageWidth + uint64_t(x)] == 0;
}

// Runs a per-pixel rule over the box, honouring the mask.
template <typename Rule>
void eachPixel(Workspace& ws, const Box& b, Rule rule)
{
    for (int32_t y = b.y0; y <= b.y1; ++y)
        for (int32_t x = b.x0; x <= b.x1; ++x)
            if (writable(ws, x, y)) rule(src(ws, x, y), dst(ws, x, y));
}

// 3 x 3 kernel on the inner pixels; the box's outer rows and columns keep
// the source.
void kernel(Workspace& ws, const Box& b, int centre, int others, int divisor)
{
    for (int32_t y = b.y0; y <= b.y1; ++y)
        for (int32_t x = b.x0; x <= b.x1; ++x) {
            if (!writable(ws, x, y)) continue;
            uint8_t* out = dst(ws, x, y);
            const uint8_t* s = src(ws, x, y);
            if (y == b.y0 || y == b.y1 || x == b.x0 || x == b.x1) {
                std::memcpy(out, s, 3);
                continue;
            }
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        sum += src(ws, x + dx, y + dy)[c] * (dx == 0 && dy == 0 ? centre : others);
                out[c] = toByte(sum / divisor);
            }
        }
}

// The channel lying between the other two (R, then G, then B) stays; the
// others move away from it by a fifth.
void saturate(const uint8_t* s, uint8_t* out)
{
    auto between = [](int v, int a, int b) { return v >= std::min(a, b) && v <= std::max(a, b); };
    int pivot = 2;
    if (between(s[0], s[1], s[2]))
        pivot = 0;
    else if (between(s[1], s[0], s[2]))
        pivot = 1;
    const double p = s[pivot];
    for (int c = 0; c < 3; ++c) out[c] = c == pivot ? s[c] : toByte(p + (s[c] - p) * 1.2);
}

void contrast(const uint8_t* s, uint8_t* out)
{
    const Hsv h = rgbToHsv(s[0], s[1], s[2]);
    const double v = std::clamp((h.v - 0.5) * 1.2 + 0.5, 0.0, 1.0);
    hsvToBytes(h.h, h.s, v, out);
}

void whiteBalance(Workspace& ws, const Box& b)
{
    double sum[3] = {0, 0, 0};
    for (int32_t y = b.y0; y <= b.y1; ++y)
        for (int32_t x = b.x0; x <= b.x1; ++x)
            for (int c = 0; c < 3; ++c) sum[c] += src(ws, x, y)[c];
    const double m = std::max({sum[0], sum[1], sum[2]});
    // A black sample says nothing about the light: the picture stays.
    if (m == 0) return;
    double k[3];
    for (int c = 0; c < 3; ++c) k[c] = sum[c] / m;
    const Box all{0, 0, ws.imageWidth - 1, ws.imageHeight - 1};
    eachPixel(ws, all, [&](const uint8_t* s, uint8_t* out) {
        // A channel absent from the whole sample is left as it is.
        for (int c = 0; c < 3; ++c) out[c] = k[c] > 0 ? toByte(std::min(s[c] / k[c], 255.0)) : s[c];
    });
}

// The block is kept compact in secondImage, which the caller has just
// copied from the image, so it is read from the image.
void copyBlock(Workspace& ws, const Box& b, bool mirror)
{
    const int32_t w = b.x1 - b.x0 + 1, h = b.y1 - b.y0 + 1;
    takeSecondImage(ws);
    ws.blockX = b.x0;
    ws.blockY = b.y0;
    ws.blockWidth = w;
    ws.blockHeight = h;
    for (int32_t j = 0; j < h; ++j)
        for (int32_t i = 0; i < w; ++i) {
            const uint8_t* from = mirror ? dst(ws, b.x1 - i, b.y0 + j) : dst(ws, b.x0 + i, b.y1 - j);
            std::memcpy(ws.secondImage + (uint64_t(j) * w + uint64_t(i)) * 3, from, 3);
        }
}

}  // namespace

void applyAreaFilter(Workspace& ws, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int mode)
{
    if (!clipToImage(ws, x0, y0, x1, y1)) return;
    const Box b{x0, y0, x1, y1};
    switch (mode) {
    case FilterSharpen: kernel(ws, b, 16, -1, 8); break;
    case FilterBlur: kernel(ws, b, 1, 1, 9); break;
    case FilterSaturation: eachPixel(ws, b, saturate); break;
    case FilterContrast: eachPixel(ws, b, contrast); break;
    case FilterWhiteBalance: whiteBalance(ws, b); break;
    case FilterBlackWhite:
        eachPixel(ws, b, [](const uint8_t* s, uint8_t* out) { std::memset(out, greyTenths(s) > 1280 ? 255 : 0, 3); });
        break;
    case FilterGrey:
        eachPixel(ws, b, [](const uint8_t* s, uint8_t* out) { std::memset(out, greyTenths(s) / 10, 3); });
        break;
    case FilterNegative:
        eachPixel(ws, b, [](const uint8_t* s, uint8_t* out) {
            for (int c = 0; c < 3; ++c) out[c] = uint8_t(255 - s[c]);
        });
        break;
    case BlockMirror: copyBlock(ws, b, true); break;
    case BlockFlip: copyBlock(ws, b, false); break;
    default: break;
    }
}

void placeBlock(Workspace& ws, int32_t x, int32_t y)
{
    for (int32_t j = 0; j < ws.blockHeight; ++j)
        for (int32_t i = 0; i < ws.blockWidth; ++i) {
            const int32_t tx = x + i, ty = y + j;
            if (tx < 0 || ty < 0 || tx >= ws.imageWidth || ty >= ws.imageHeight || !writable(ws, tx, ty)) continue;
            std::memcpy(dst(ws, tx, ty), ws.secondImage + (uint64_t(j) * ws.blockWidth + uint64_t(i)) * 3, 3);
        }
}

void divideImage(Workspace& ws, int mode, int32_t at)
{
    const int32_t W = ws.imageWidth, H = ws.imageHeight;
    const uint64_t row = uint64_t(W) * 3;
    if (mode == DivideAtRow && at >= 1 && at < H) {
        std::memcpy(ws.image, ws.secondImage + uint64_t(at) * row, uint64_t(H - at) * row);
        std::memcpy(ws.image + uint64_t(H - at) * row, ws.secondImage, uint64_t(at) * row);
    } else if (mode == DivideAtColumn && at >= 1 && at < W) {
        const uint64_t right = uint64_t(W - at) * 3, left = uint64_t(at) * 3;
        for (int32_t y = 0; y < H; ++y) {
            std::memcpy(ws.image + y * row, ws.secondImage + y * row + left, right);
            std::memcpy(ws.image + y * row + right, ws.secondImage + y * row, left);
        }
    }
}

}  // namespace orx
