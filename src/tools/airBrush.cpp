// The air brush.
#include "airBrush.h"

#include <algorithm>
#include <cmath>

#include "stroke.h"

namespace orx {

namespace {

// The part of the footprint at (x, y) that lies on the picture (and, for
// the copy, whose source lies on it too): rows and columns of the picture.
struct Footprint {
    int64_t x0, y0, x1, y1;
    bool empty() const { return x0 > x1 || y0 > y1; }
};

Footprint footprint(const Workspace& ws, int64_t x, int64_t y, int64_t radius, int64_t dx = 0, int64_t dy = 0)
{
    const int64_t W = ws.imageWidth, H = ws.imageHeight;
    return Footprint{std::max({x - radius, int64_t(0), -dx}), std::max({y - radius, int64_t(0), -dy}),
                     std::min({x + radius - 1, W - 1, W - 1 - dx}), std::min({y + radius - 1, H - 1, H - 1 - dy})};
}

inline void sprayPixel(uint8_t* p, const uint8_t* colour, int w)
{
    for (int c = 0; c < 3; ++c) p[c] = uint8_t((colour[c] * w + p[c] * (255 - w)) / 255);
}

bool tableFits(const Workspace& ws, int radius)
{
    return radius >= kMinBrushRadius && radius <= kMaxBrushRadius && radius == ws.densityRadius;
}

}  // namespace

void buildBrushTable(Workspace& ws, int radius, int strength)
{
    radius = std::clamp(radius, kMinBrushRadius, kMaxBrushRadius);
    strength = std::clamp(strength, kMinBrushStrength, kMaxBrushStrength);
    const int side = 2 * radius;
    uint8_t* table = ws.DENSITY.get();
    // The weight depends on the distance from (r, r) alone: each weight of
    // the lower right quarter is also that of its mirror images.
    for (int i = radius; i < side; ++i)
        for (int j = radius; j < side; ++j) {
            const double d = std::sqrt(double(j - radius) * (j - radius) + double(i - radius) * (i - radius));
            const uint8_t w = d <= radius ? uint8_t((1 - std::sqrt(d / radius)) * strength) : 0;
            const int mi = 2 * radius - i, mj = 2 * radius - j;  // 0 < mirror <= r
            table[i * side + j] = w;
            table[i * side + mj] = w;
            table[mi * side + j] = w;
            table[mi * side + mj] = w;
        }
    // Row and column 0 lie at distance r or more from the centre along one
    // axis and have no mirror inside the square.
    for (int k = 0; k < side; ++k) {
        const double d = std::sqrt(double(radius) * radius + double(k - radius) * (k - radius));
        const uint8_t w = d <= radius ? uint8_t((1 - std::sqrt(d / radius)) * strength) : 0;
        table[k] = w;
        table[k * side] = w;
    }
    ws.densityRadius = radius;
    ws.densityStrength = strength;
}

void ensureBrushTable(Workspace& ws)
{
    if (ws.densityRadius != ws.brushRadius || ws.densityStrength != ws.brushStrength)
        buildBrushTable(ws, ws.brushRadius, ws.brushStrength);
}

void sprayColour(Workspace& ws, int32_t x, int32_t y, Rgb colour, int radius)
{
    if (!tableFits(ws, radius)) return;
    const Footprint f = footprint(ws, x, y, radius);
    if (f.empty()) return;
    const uint64_t W = uint64_t(ws.imageWidth);
    const bool guarded = ws.maskVisible != 0;
    for (int64_t py = f.y0; py <= f.y1; ++py) {
        const uint8_t* w = ws.DENSITY.get() + (py - y + radius) * 2 * radius + (f.x0 - x + radius);
        uint8_t* p = ws.image + (uint64_t(py) * W + uint64_t(f.x0)) * 3;
        const uint8_t* m = ws.mask + uint64_t(py) * W + uint64_t(f.x0);
        for (int64_t i = 0, n = f.x1 - f.x0 + 1; i < n; ++i, p += 3)
            if (w[i] > 0 && !(guarded && m[i] != 0)) sprayPixel(p, &colour.r, w[i]);
    }
}

void sprayCopy(Workspace& ws, int32_t x, int32_t y, int32_t dx, int32_t dy, int radius)
{
    if (!tableFits(ws, radius)) return;
    const Footprint f = footprint(ws, x, y, radius, dx, dy);
    if (f.empty()) return;
    const int64_t W = ws.imageWidth;
    // Like a memmove: when the source lies after the target in the plane
    // the pixels go in order, otherwise backwards, so every source is read
    // before the dab writes over it.
    const int64_t shift = int64_t(dy) * W + dx;
    if (shift == 0) return;
    const int64_t step = shift > 0 ? 1 : -1;
    const bool guarded = ws.maskVisible != 0;
    const int64_t rows = f.y1 - f.y0 + 1, cols = f.x1 - f.x0 + 1;
    for (int64_t r = 0; r < rows; ++r) {
        const int64_t py = step > 0 ? f.y0 + r : f.y1 - r;
        for (int64_t c = 0; c < cols; ++c) {
            const int64_t px = step > 0 ? f.x0 + c : f.x1 - c;
            const uint8_t w = ws.DENSITY[size_t((py - y + radius) * 2 * radius + (px - x + radius))];
            const int64_t i = py * W + px;
            if (w == 0 || (guarded && ws.mask[i] != 0)) continue;
            sprayPixel(ws.image + 3 * i, ws.image + 3 * (i + shift), w);
        }
    }
}

void sprayStroke(Workspace& ws, Stroke& stroke, Point at, bool copy)
{
    const int r = ws.brushRadius;
    if (copy)
        sprayCopy(ws, at.x, at.y, ws.cloneOffset.x, ws.cloneOffset.y, r);
    else
        sprayColour(ws, at.x, at.y, ws.penColour, r);
    strokeReaches(ws, stroke, int64_t(at.x) - r, int64_t(at.y) - r, int64_t(at.x) + r - 1, int64_t(at.y) + r - 1);
}

}  // namespace orx
