// The colour box.
#include "colourBox.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "workspace/fileIo.h"
#include "workspace/hsv.h"

namespace orx {

namespace {

void putColour(uint8_t*& out, Rgb c)
{
    *out++ = c.r;
    *out++ = c.g;
    *out++ = c.b;
}

Rgb takeColour(const uint8_t*& in)
{
    const Rgb c{in[0], in[1], in[2]};
    in += 3;
    return c;
}

bool inside(int v, int lo, int hi) { return v >= lo && v <= hi; }

Rgb fieldColour(int h, int s, int v)
{
    uint8_t rgb[3];
    hsvBytesToRgb(h, s, v, rgb);
    return Rgb{rgb[0], rgb[1], rgb[2]};
}

}  // namespace

void encodeColourBox(const Workspace& ws, uint8_t out[kColourBoxFileBytes])
{
    uint8_t* p = out;
    for (const Rgb& c : ws.paletteSwatches) putColour(p, c);
    putColour(p, ws.penColour);
    *p++ = ws.penDensity;
    for (const auto& set : ws.gradientSets)
        for (const Rgb& c : set) putColour(p, c);
    for (const Rgb& c : ws.gradientCorners) putColour(p, c);
}

void decodeColourBox(Workspace& ws, const uint8_t in[kColourBoxFileBytes])
{
    const uint8_t* p = in;
    for (Rgb& c : ws.paletteSwatches) c = takeColour(p);
    ws.penColour = takeColour(p);
    ws.penDensity = std::min<uint8_t>(*p++, 100);
    for (auto& set : ws.gradientSets)
        for (Rgb& c : set) c = takeColour(p);
    for (Rgb& c : ws.gradientCorners) c = takeColour(p);
}

bool loadColourBox(Workspace& ws)
{
    std::vector<uint8_t> bytes;
    if (ws.webCompanionPath.empty() ||
        !readWholeFile(localFiles(), ws.webCompanionPath, kColourBoxFileBytes, bytes) ||
        bytes.size() != kColourBoxFileBytes)
        return false;
    decodeColourBox(ws, bytes.data());
    return true;
}

bool saveColourBox(const Workspace& ws)
{
    if (ws.webCompanionPath.empty()) return false;
    uint8_t bytes[kColourBoxFileBytes];
    encodeColourBox(ws, bytes);
    return writeFileAtomically(ws.webCompanionPath, bytes, sizeof bytes);
}

void setDefaultColourBox(Workspace& ws)
{
    const Rgb swatches[kSwatches] = {{0, 0, 0},     {255, 255, 255}, {255, 0, 0},   {0, 160, 0},     {0, 0, 255},
                                     {255, 220, 0}, {0, 200, 220},   {200, 0, 160}, {128, 128, 128}, {255, 255, 255}};
    const Rgb corners[4] = {{255, 0, 0}, {255, 220, 0}, {0, 0, 255}, {0, 160, 0}};
    std::copy(swatches, swatches + kSwatches, ws.paletteSwatches);
    std::copy(corners, corners + 4, ws.gradientCorners);
    // Each set runs from one swatch to the next across and down.
    for (int s = 0; s < kGradientSets; ++s)
        for (int c = 0; c < 4; ++c) ws.gradientSets[s][c] = c % 2 ? swatches[(s + 1) % kSwatches] : swatches[s];
    ws.penColour = Rgb{0, 0, 0};
    ws.penDensity = 100;
}

int sliderMaximum(ColourBoxSlider slider) { return slider == SliderDensity ? 100 : 255; }

int sliderValue(const Workspace& ws, ColourBoxSlider slider)
{
    switch (slider) {
    case SliderRed: return ws.penColour.r;
    case SliderGreen: return ws.penColour.g;
    case SliderBlue: return ws.penColour.b;
    case SliderDensity: return ws.penDensity;
    }
    return 0;
}

int setSliderValue(Workspace& ws, ColourBoxSlider slider, int value)
{
    const uint8_t v = uint8_t(std::clamp(value, 0, sliderMaximum(slider)));
    switch (slider) {
    case SliderRed: ws.penColour.r = v; break;
    case SliderGreen: ws.penColour.g = v; break;
    case SliderBlue: ws.penColour.b = v; break;
    case SliderDensity: ws.penDensity = v; break;
    }
    return v;
}

Rgb upperFieldColour(int column, int row) { return fieldColour(2 * column, 8 * row, 255); }
Rgb lowerFieldColour(int column, int row) { return fieldColour(2 * column, 255, 255 - 8 * row); }

uint32_t colourBoxClick(Workspace& ws, int x, int y, bool right)
{
    // Swatches.
    if (inside(y, 0, kSwatchSize - 1) && inside(x, 0, kSwatches * kSwatchSize - 1)) {
        Rgb& swatch = ws.paletteSwatches[x / kSwatchSize];
        if (right) {
            ws.penColour = swatch;
            return PenChanged;
        }
        swatch = ws.penColour;
        return SwatchChanged;
    }
    // Gradient sets: a store needs the click one row below the set's top.
    if (inside(y, right ? kSetsTop : kSetsTop + 1, kSetsBottom) && inside(x, 0, kGradientSets * kSwatchSize - 1)) {
        Rgb(&set)[4] = ws.gradientSets[x / kSwatchSize];
        if (right) {
            std::copy(set, set + 4, ws.gradientCorners);
            return CornersChanged;
        }
        std::copy(ws.gradientCorners, ws.gradientCorners + 4, set);
        return SetChanged;
    }
    for (int j = 0; j < 4; ++j) {
        if (!inside(x, kCornerLeft[j], kCornerLeft[j] + kCornerSize - 1) ||
            !inside(y, kCornerTop[j], kCornerTop[j] + kCornerSize - 1))
            continue;
        if (right) {
            ws.penColour = ws.gradientCorners[j];
            return PenChanged;
        }
        ws.gradientCorners[j] = ws.penColour;
        return CornersChanged;
    }
    if (!right || !inside(x, kFieldX0, kFieldX0 + kFieldWidth - 1)) return NothingChanged;
    const int column = x - kFieldX0, row = y - kFieldY0;
    if (inside(row, 0, kFieldHeight - 1)) {
        ws.penColour = upperFieldColour(column, row);
        return PenChanged;
    }
    if (inside(row, kFieldHeight, 2 * kFieldHeight - 1)) {
        ws.penColour = lowerFieldColour(column, row - kFieldHeight);
        return PenChanged;
    }
    return NothingChanged;
}

}  // namespace orx
