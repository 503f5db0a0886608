// The natural colour change's tone curves.
#include "toneCurves.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "shownPixels.h"
#include "workspace/fileIo.h"
#include "workspace/hsv.h"

namespace orx {

namespace {

constexpr size_t kCurveBytes = 6 * 256;

uint8_t* current(Workspace& ws) { return ws.toneCurves[ws.currentCurve - 1]; }

// The byte H, S, V forms, scaled once: hsvBytesToRgb's arithmetic with the
// divisions of the three levels taken out of the pixel loop.
struct HsvScale {
    double hue[256], fraction[256];
    HsvScale()
    {
        for (int i = 0; i < 256; ++i) {
            hue[i] = i / 255.0 * 360;
            fraction[i] = i / 255.0;
        }
    }
};

const HsvScale& hsvScale()
{
    static const HsvScale scale;
    return scale;
}

// The pixel through the curves. False when it keeps its bytes.
inline bool mapRgb(const ToneCurveTables& t, const uint8_t* in, uint8_t* out)
{
    out[0] = t[0][in[0]];
    out[1] = t[1][in[1]];
    out[2] = t[2][in[2]];
    return true;
}

inline bool mapHsv(const ToneCurveTables& t, const HsvScale& k, const uint8_t* in, uint8_t* out)
{
    const HsvBytes c = rgbToHsvBytes(in[0], in[1], in[2]);
    const uint8_t h = t[3][c.h], s = t[4][c.s], v = t[5][c.v];
    // Levels the curves keep keep the pixel: the way through H, S, V and
    // back would move most colours by a level.
    if (h == c.h && s == c.s && v == c.v) return false;
    double r, g, b;
    hsvToRgb(k.hue[h], k.fraction[s], k.fraction[v], r, g, b);
    out[0] = channelByte(r);
    out[1] = channelByte(g);
    out[2] = channelByte(b);
    return true;
}

template <bool Hsv>
void applyRows(Workspace& ws, int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    const ToneCurveTables& t = ws.toneCurves;
    const HsvScale& k = hsvScale();
    const uint64_t w = uint64_t(ws.imageWidth);
    const bool protect = ws.maskVisible != 0;
    for (int32_t y = y0; y <= y1; ++y) {
        const uint64_t first = uint64_t(y) * w + uint64_t(x0);
        const uint8_t* from = ws.secondImage + first * 3;
        uint8_t* to = ws.image + first * 3;
        const uint8_t* m = ws.mask + first;
        for (int32_t x = x0; x <= x1; ++x, from += 3, to += 3, ++m) {
            if (protect && *m != 0) continue;
            uint8_t out[3];
            const bool changed = Hsv ? mapHsv(t, k, from, out) : mapRgb(t, from, out);
            std::memcpy(to, changed ? out : from, 3);
        }
    }
}

}  // namespace

std::string toneFilePath(const Workspace& ws) { return ws.VLX98DIR + "/VLX98.LUT"; }

void encodeToneFile(const Workspace& ws, uint8_t out[kToneFileBytes])
{
    std::memcpy(out, ws.toneCurves.level, kCurveBytes);
    std::memcpy(out + kCurveBytes, ws.toneSamples, kCurveBytes);
    out[kToneFileBytes - 1] = uint8_t(ws.currentCurve);
}

bool decodeToneFile(Workspace& ws, const uint8_t* in, size_t size)
{
    if (size != kToneFileBytes) return false;
    const uint8_t curve = in[kToneFileBytes - 1];
    if (curve < CurveRed || curve > CurveValue) return false;
    std::memcpy(ws.toneCurves.level, in, kCurveBytes);
    std::memcpy(ws.toneSamples, in + kCurveBytes, kCurveBytes);
    ws.currentCurve = curve;
    return true;
}

bool loadToneFile(Workspace& ws, const std::string& path)
{
    std::vector<uint8_t> bytes;
    return readWholeFile(localFiles(), path, kToneFileBytes, bytes) && decodeToneFile(ws, bytes.data(), bytes.size());
}

bool saveToneFile(const Workspace& ws, const std::string& path)
{
    uint8_t bytes[kToneFileBytes];
    encodeToneFile(ws, bytes);
    return writeFileAtomically(path, bytes, sizeof bytes);
}

void resetToneCurves(Workspace& ws)
{
    ws.toneCurves = ToneCurveTables();
    std::memset(ws.toneSamples, 0, sizeof ws.toneSamples);
    std::fill(std::begin(ws.curveExponents), std::end(ws.curveExponents), 1.0);
    ws.currentCurve = CurveHue;
}

bool graphPoint(int x, int y, int& column, int& level)
{
    column = x - kGraphLeft;
    level = kGraphBottom - y;
    return column >= 0 && column <= 255 && level >= 0 && level <= 255;
}

bool pressCurve(Workspace& ws, CurveGesture& g, int x, int y, int& from, int& to)
{
    int column = 0, level = 0;
    if (!graphPoint(x, y, column, level)) return false;
    current(ws)[column] = uint8_t(level);
    g = CurveGesture{true, column, level};
    from = to = column;
    return true;
}

bool dragCurve(Workspace& ws, CurveGesture& g, int x, int y, int& from, int& to)
{
    if (!g.drawing) return false;
    const int column = std::clamp(x - kGraphLeft, 0, 255);
    const int level = std::clamp(kGraphBottom - y, 0, 255);
    uint8_t* curve = current(ws);
    from = std::min(g.column, column);
    to = std::max(g.column, column);
    if (column == g.column) {
        curve[column] = uint8_t(level);  // a drag up or down one column: no slope to follow
    } else {
        for (int k = from; k <= to; ++k)
            curve[k] = uint8_t(std::trunc(g.level + double(level - g.level) * (g.column - k) / double(g.column - column)));
    }
    g.column = column;
    g.level = level;
    return true;
}

void curveOfExponent(double exponent, uint8_t out[256])
{
    for (int i = 0; i < 256; ++i) out[i] = uint8_t(255 - uint8_t(std::trunc(std::pow((255 - i) / 255.0, exponent) * 255)));
}

void bendCurve(Workspace& ws, int tenths)
{
    // Whole tenths: steps of 0.1 in doubles drift, and at 0 the curve
    // would leave the bytes.
    double& e = ws.curveExponents[ws.currentCurve - 1];
    e = std::max<long>(1, std::lround(e * 10) + tenths) / 10.0;
    curveOfExponent(e, current(ws));
}

void straightenCurve(Workspace& ws)
{
    ws.curveExponents[ws.currentCurve - 1] = 1.0;
    uint8_t* curve = current(ws);
    for (int i = 0; i < 256; ++i) curve[i] = uint8_t(i);
}

void sampleTone(Workspace& ws, Rgb colour)
{
    const HsvBytes hsv = rgbToHsvBytes(colour.r, colour.g, colour.b);
    const uint8_t levels[6] = {colour.r, colour.g, colour.b, hsv.h, hsv.s, hsv.v};
    const int c = ws.currentCurve - 1;
    ws.toneSamples[c][levels[c]] = 255;
}

void clearToneSamples(Workspace& ws) { std::memset(ws.toneSamples[ws.currentCurve - 1], 0, 256); }

bool applyToneCurves(Workspace& ws, int32_t x0, int32_t y0, int32_t x1, int32_t y1, bool hsv)
{
    if (!clipToImage(ws, x0, y0, x1, y1)) return false;
    if (hsv)
        applyRows<true>(ws, x0, y0, x1, y1);
    else
        applyRows<false>(ws, x0, y0, x1, y1);
    return true;
}

void previewToneCurves(Workspace& ws, Rect box, bool hsv)
{
    const ToneCurveTables& t = ws.toneCurves;
    const HsvScale& k = hsvScale();
    const bool protect = ws.maskVisible != 0;
    forEachShownPixel(ws, box, [&](uint8_t* shown, uint64_t pixel) {
        if (protect && ws.mask[pixel] != 0) return;
        const uint8_t rgb[3] = {shown[2], shown[1], shown[0]};
        uint8_t out[3];
        if (!(hsv ? mapHsv(t, k, rgb, out) : mapRgb(t, rgb, out))) return;
        shown[0] = out[2];
        shown[1] = out[1];
        shown[2] = out[0];
    });
}

}  // namespace orx
