// Region fills, the colour change and the shaded fills.
#include "fill.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "workspace/hsv.h"
#include "workspace/maskOps.h"
#include "workspace/spanFill.h"

namespace orx {

namespace {

inline bool onImage(const Workspace& ws, int32_t x, int32_t y)
{
    return x >= 0 && y >= 0 && x < ws.imageWidth && y < ws.imageHeight;
}

inline uint64_t indexOf(const Workspace& ws, int32_t x, int32_t y) { return uint64_t(y) * uint64_t(ws.imageWidth) + uint64_t(x); }

inline bool sameColour(const uint8_t* p, Rgb c) { return p[0] == c.r && p[1] == c.g && p[2] == c.b; }

// The box of the runs a fill painted.
struct Bounds {
    Rect box;
    bool any = false;
    void add(int32_t y, int32_t x0, int32_t x1)
    {
        box = any ? Rect{std::min(box.x0, x0), std::min(box.y0, y), std::max(box.x1, x1), std::max(box.y1, y)} : Rect{x0, y, x1, y};
        any = true;
    }
    // What the operation answers: without a box asked for, whether it
    // completed; with one, also whether anything changed.
    bool answer(bool complete, Rect* changed) const
    {
        if (!changed) return complete;
        if (any) *changed = box;
        return any;
    }
};

// A region of the seed's mask byte, marked with another value; its bounds.
struct MarkedRegion : Bounds {
    uint8_t was = 0, mark = 0;
};

// Marks the mask region of the seed with a value it does not hold (the
// shaded fills' 100, or 101 when the region holds 100 already).
bool markMaskRegion(Workspace& ws, int32_t x, int32_t y, MarkedRegion& region)
{
    region.was = ws.mask[indexOf(ws, x, y)];
    region.mark = region.was == 100 ? 101 : 100;
    uint8_t* mask = ws.mask;
    const uint8_t was = region.was;
    return walkSpans(
        ws.imageWidth, ws.imageHeight, x, y, ws.fillSpans,
        [&](int32_t px, int32_t py) { return mask[indexOf(ws, px, py)] == was; },
        [&](int32_t py, int32_t x0, int32_t x1) {
            std::memset(mask + indexOf(ws, x0, py), region.mark, size_t(x1 - x0 + 1));
            region.add(py, x0, x1);
        });
}

// Every marked pixel of the region gets its colour from the table, by the
// largest and smallest of its channels, and its mask byte back.
template <typename Colour>
void recolourRegion(Workspace& ws, const MarkedRegion& region, Colour&& colour)
{
    if (!region.any) return;
    const Rect& b = region.box;
    for (int32_t y = b.y0; y <= b.y1; ++y) {
        uint8_t* m = ws.mask + indexOf(ws, b.x0, y);
        uint8_t* p = ws.image + indexOf(ws, b.x0, y) * 3;
        for (int32_t x = b.x0; x <= b.x1; ++x, ++m, p += 3) {
            if (*m != region.mark) continue;
            *m = region.was;
            const uint8_t mx = std::max({p[0], p[1], p[2]}), mn = std::min({p[0], p[1], p[2]});
            std::memcpy(p, colour(mx, mn), 3);
        }
    }
}

// The brightness a shaded pixel takes, by its V byte: V raised to the
// contrast exponent, times the colour's V.
void shadedValues(const Workspace& ws, double colourValue, double out[256])
{
    for (int v = 0; v < 256; ++v) out[v] = std::pow(v / 255.0, double(ws.contrastExponent)) * colourValue;
}

}  // namespace

bool floodFill(Workspace& ws, int32_t x, int32_t y, Rect* changed)
{
    Bounds bounds;
    if (!onImage(ws, x, y)) return bounds.answer(true, changed);
    uint8_t* image = ws.image;
    const uint8_t* mask = ws.mask;
    const uint8_t* s = image + indexOf(ws, x, y) * 3;
    const Rgb seed{s[0], s[1], s[2]};
    const Rgb fill = ws.penColour;
    if (sameColour(&fill.r, seed)) return bounds.answer(true, changed);
    const int32_t W = ws.imageWidth;
    auto paint = [&](int32_t py, int32_t x0, int32_t x1) {
        uint8_t* p = image + indexOf(ws, x0, py) * 3;
        for (int32_t i = 0, n = x1 - x0 + 1; i < n; ++i, p += 3) p[0] = fill.r, p[1] = fill.g, p[2] = fill.b;
        bounds.add(py, x0, x1);
    };
    bool complete;
    // With the mask shown a masked pixel is a wall like any other colour.
    if (ws.maskVisible)
        complete = walkSpans(W, ws.imageHeight, x, y, ws.fillSpans, [&](int32_t px, int32_t py) {
            const uint64_t i = indexOf(ws, px, py);
            return mask[i] == 0 && sameColour(image + 3 * i, seed);
        }, paint);
    else
        complete = walkSpans(W, ws.imageHeight, x, y, ws.fillSpans,
                             [&](int32_t px, int32_t py) { return sameColour(image + 3 * indexOf(ws, px, py), seed); }, paint);
    return bounds.answer(complete, changed);
}

bool floodFillMask(Workspace& ws, int32_t x, int32_t y, uint8_t value, Rect* changed)
{
    Bounds bounds;
    if (!onImage(ws, x, y)) return bounds.answer(true, changed);
    uint8_t* mask = ws.mask;
    const uint8_t seed = mask[indexOf(ws, x, y)];
    if (seed == value) return bounds.answer(true, changed);
    const bool complete = walkSpans(
        ws.imageWidth, ws.imageHeight, x, y, ws.fillSpans,
        [&](int32_t px, int32_t py) { return mask[indexOf(ws, px, py)] == seed; },
        [&](int32_t py, int32_t x0, int32_t x1) {
            std::memset(mask + indexOf(ws, x0, py), value, size_t(x1 - x0 + 1));
            bounds.add(py, x0, x1);
        });
    return bounds.answer(complete, changed);
}

bool replaceColour(Workspace& ws, Rgb from, Rgb to, Rect* changed)
{
    Bounds bounds;
    if (sameColour(&to.r, from)) return bounds.answer(true, changed);
    const bool guarded = ws.maskVisible != 0;
    for (int32_t y = 0; y < ws.imageHeight; ++y) {
        uint8_t* p = ws.image + indexOf(ws, 0, y) * 3;
        const uint8_t* m = ws.mask + indexOf(ws, 0, y);
        int32_t first = -1, last = -1;
        for (int32_t x = 0; x < ws.imageWidth; ++x, p += 3) {
            if (!sameColour(p, from) || (guarded && m[x] != 0)) continue;
            p[0] = to.r, p[1] = to.g, p[2] = to.b;
            if (first < 0) first = x;
            last = x;
        }
        if (first >= 0) bounds.add(y, first, last);
    }
    return bounds.answer(true, changed);
}

bool shadedFill(Workspace& ws, int32_t x, int32_t y, Rgb colour, Rect* changed)
{
    if (!onImage(ws, x, y)) return Bounds{}.answer(true, changed);
    MarkedRegion region;
    const bool complete = markMaskRegion(ws, x, y, region);
    // A shaded pixel depends on nothing but its V byte: one colour per level.
    const Hsv pen = rgbToHsv(colour.r, colour.g, colour.b);
    double values[256];
    shadedValues(ws, pen.v, values);
    uint8_t table[256][3];
    for (int v = 0; v < 256; ++v) hsvToBytes(pen.h, pen.s, values[v], table[v]);
    recolourRegion(ws, region, [&](uint8_t mx, uint8_t) { return table[mx]; });
    return region.answer(complete, changed);
}

bool reflectedFill(Workspace& ws, int32_t x, int32_t y, Rgb colour, Rect* changed)
{
    if (!onImage(ws, x, y)) return Bounds{}.answer(true, changed);
    MarkedRegion region;
    const bool complete = markMaskRegion(ws, x, y, region);
    // The saturation follows the pixel's own: one colour per largest
    // channel and spread.
    const Hsv pen = rgbToHsv(colour.r, colour.g, colour.b);
    double values[256];
    shadedValues(ws, pen.v, values);
    std::vector<uint8_t> table(256 * 256 * 3);
    for (int mx = 0; mx < 256; ++mx)
        for (int d = 0; d <= mx; ++d) {
            const double s = mx == 0 ? 0.0 : double(d) / mx;
            hsvToBytes(pen.h, std::sqrt(pen.s * std::sqrt(pen.s * s)), values[mx], &table[(mx * 256 + d) * 3]);
        }
    recolourRegion(ws, region, [&](uint8_t mx, uint8_t mn) { return &table[(mx * 256 + (mx - mn)) * 3]; });
    return region.answer(complete, changed);
}

bool shadedFillInLineArt(Workspace& ws, int32_t x, int32_t y, Rgb colour, Rect* changed)
{
    if (!onImage(ws, x, y)) return Bounds{}.answer(true, changed);
    std::memcpy(ws.maskBackup, ws.mask, pixelCount(ws));
    markColourAsMask(ws, Rgb{0, 0, 0});
    const bool complete = shadedFill(ws, x, y, colour, changed);
    std::memcpy(ws.mask, ws.maskBackup, pixelCount(ws));
    return complete;
}

}  // namespace orx
