// The colour box: the pen colour and density, ten swatches, the four
// gradient corners and ten stored gradient sets, kept in a 166-byte file
// among the program's settings (ws.webCompanionPath, filePlaces.h) between runs.
//
// The window's layout is fixed here, so that a click is judged without a
// window and the Qt box draws at the same places.
#pragma once

#include <cstddef>
#include <cstdint>

#include "workspace/workspace.h"

namespace orx {

// ---- the palette file: swatches, pen and density, sets, corners
constexpr size_t kColourBoxFileBytes = 166;
constexpr size_t kPenOffset = 30;
constexpr size_t kGradientSetsOffset = 34;
constexpr size_t kCornersOffset = 154;

void encodeColourBox(const Workspace& ws, uint8_t out[kColourBoxFileBytes]);
// A density above 100 is read as 100.
void decodeColourBox(Workspace& ws, const uint8_t in[kColourBoxFileBytes]);
// Both are silent: a missing file, or one of another size, leaves the
// values as they are; a failed save leaves the old file.
bool loadColourBox(Workspace& ws);
bool saveColourBox(const Workspace& ws);
// What a fresh installation starts with (the build writes it beside the
// program): a black pen at full density, basic swatches with white holes,
// and a red-yellow-blue-green gradient.
void setDefaultColourBox(Workspace& ws);

// ---- sliders and their number fields
enum ColourBoxSlider : int { SliderRed, SliderGreen, SliderBlue, SliderDensity };
constexpr int kSliderLine = 1, kSliderPage = 8;

int sliderMaximum(ColourBoxSlider slider);  // 255, or 100 for the density
int sliderValue(const Workspace& ws, ColourBoxSlider slider);
// The value held to the slider's range is stored and returned.
int setSliderValue(Workspace& ws, ColourBoxSlider slider, int value);

// ---- the window's layout (client pixels)
constexpr int kSwatchSize = 20;         // swatch i: x 20 i .. 20 i + 19, y 0 .. 19
constexpr int kSetsTop = 200;           // gradient set i: x 20 i .. 20 i + 19, y 200 .. 215
constexpr int kSetsBottom = 215;
constexpr int kCornerLeft[4] = {1, 81, 1, 81};
constexpr int kCornerTop[4] = {221, 221, 301, 301};
constexpr int kCornerSize = 19;
constexpr int kPreviewX0 = 20, kPreviewY0 = 240, kPreviewX1 = 80, kPreviewY1 = 300;
constexpr int kFieldX0 = 36, kFieldY0 = 24;  // the upper colour field; the lower one under it
constexpr int kFieldWidth = 128, kFieldHeight = 32;

// The colour of a colour-field pixel: the upper field runs through the hues
// across and the saturations down at full value, the lower one the hues
// across and the values down at full saturation.
Rgb upperFieldColour(int column, int row);
Rgb lowerFieldColour(int column, int row);

// What a click changed, so the box redraws it.
enum ColourBoxChange : uint32_t {
    NothingChanged = 0,
    PenChanged = 1u << 0,
    SwatchChanged = 1u << 1,
    SetChanged = 1u << 2,
    CornersChanged = 1u << 3,
};

// A left click stores the pen (into a swatch or a corner) or the corners
// (into a set); a right click takes a swatch, a set, a corner or a field
// colour.
uint32_t colourBoxClick(Workspace& ws, int x, int y, bool right);

}  // namespace orx
