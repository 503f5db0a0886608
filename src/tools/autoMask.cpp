// The automatic mask.
#include "autoMask.h"

#include <algorithm>
#include <cstring>

#include "shownPixels.h"
#include "workspace/hsv.h"

namespace orx {

namespace {

// True when all three byte levels of the colour are chosen. The value is
// the cheapest to find and rules out most pixels of a typical choice, so
// it is tested before the divisions of the saturation and the hue.
inline bool chosen(const Workspace& ws, const uint8_t* p)
{
    const int mx = std::max({p[0], p[1], p[2]});
    if (!ws.selectedValue[mx]) return false;
    const HsvBytes c = rgbToHsvBytes(p[0], p[1], p[2]);
    return ws.selectedSaturation[c.s] && ws.selectedHue[c.h];
}

// Sets or clears the levels between two columns of a bar, inclusive.
void setLevels(Workspace& ws, int bar, int a, int b, bool set, int& from, int& to)
{
    from = std::min(a, b);
    to = std::max(a, b);
    std::memset(selectedLevels(ws, bar) + from, set ? 255 : 0, size_t(to - from + 1));
}

}  // namespace

uint8_t* sampledLevels(Workspace& ws, int bar)
{
    switch (bar) {
    case BarHue: return ws.sampledHue;
    case BarSaturation: return ws.sampledSaturation;
    default: return ws.sampledValue;
    }
}

uint8_t* selectedLevels(Workspace& ws, int bar)
{
    switch (bar) {
    case BarHue: return ws.selectedHue;
    case BarSaturation: return ws.selectedSaturation;
    default: return ws.selectedValue;
    }
}

int barAt(int x, int y, int& level)
{
    level = x - kBarLeft;
    if (level < 0 || level > 255) return BarNone;
    for (int bar = BarHue; bar <= BarValue; ++bar)
        if (y >= kBarTop[bar] && y < kBarTop[bar] + kBarBandHeight) return bar;
    return BarNone;
}

bool pressBar(Workspace& ws, BarGesture& g, int x, int y, bool set, int& from, int& to)
{
    int level = 0;
    const int bar = barAt(x, y, level);
    if (bar == BarNone) return false;
    g.bar = bar;
    g.last = level;
    setLevels(ws, bar, level, level, set, from, to);
    return true;
}

bool dragBar(Workspace& ws, BarGesture& g, int x, bool set, int& from, int& to)
{
    if (g.bar == BarNone) return false;
    const int level = std::clamp(x - kBarLeft, 0, 255);
    setLevels(ws, g.bar, g.last, level, set, from, to);
    return true;
}

void sampleColour(Workspace& ws, Rgb colour)
{
    const HsvBytes c = rgbToHsvBytes(colour.r, colour.g, colour.b);
    ws.sampledHue[c.h] = ws.sampledSaturation[c.s] = ws.sampledValue[c.v] = 255;
}

void clearAutoMask(Workspace& ws)
{
    for (int bar = BarHue; bar <= BarValue; ++bar) {
        std::memset(sampledLevels(ws, bar), 0, 256);
        std::memset(selectedLevels(ws, bar), 0, 256);
    }
}

bool applyAutoMask(Workspace& ws, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint64_t* selected)
{
    if (!clipToImage(ws, x0, y0, x1, y1)) return false;
    const uint64_t w = uint64_t(ws.imageWidth);
    uint64_t count = 0;
    for (int32_t y = y0; y <= y1; ++y) {
        const uint8_t* p = ws.image + (uint64_t(y) * w + uint64_t(x0)) * 3;
        uint8_t* m = ws.mask + uint64_t(y) * w + uint64_t(x0);
        for (int32_t x = x0; x <= x1; ++x, p += 3, ++m) {
            const bool in = chosen(ws, p);
            *m = in ? 255 : 0;
            count += in;
        }
    }
    if (selected) *selected = count;
    return true;
}

void previewAutoMask(Workspace& ws, Rect box)
{
    forEachShownPixel(ws, box, [&](uint8_t* shown, uint64_t pixel) {
        if (!chosen(ws, ws.image + pixel * 3)) return;
        for (int c = 0; c < 3; ++c) shown[c] = uint8_t(255 - shown[c]);
    });
}

}  // namespace orx
