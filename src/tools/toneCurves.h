// The natural colour change: six tone curves (R, G, B and byte H, S, V)
// map every pixel of a dragged rectangle, so that the photograph's shading
// and texture survive the new colour. The person edits one curve at a time
// in a 256 x 256 graph or bends it by exponent buttons; the curves and the
// sampled levels are kept in VLX98.LUT in the program folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "workspace/workspace.h"

namespace orx {

// currentCurve values; curve c lives at toneCurves[c - 1].
enum ToneCurveId : int32_t { CurveRed = 1, CurveGreen, CurveBlue, CurveHue, CurveSaturation, CurveValue };
inline bool isHsvCurve(int32_t curve) { return curve >= CurveHue; }

// ---- the file: six curves, six sample tables, the current curve
constexpr size_t kToneFileBytes = 3073;
std::string toneFilePath(const Workspace& ws);  // VLX98.LUT in VLX98DIR
void encodeToneFile(const Workspace& ws, uint8_t out[kToneFileBytes]);
// Refuses (false, nothing changed) a file of another size or whose current
// curve is not 1..6.
bool decodeToneFile(Workspace& ws, const uint8_t* in, size_t size);
// Both are silent: false when the file cannot be read or written, or is refused.
bool loadToneFile(Workspace& ws, const std::string& path);
bool saveToneFile(const Workspace& ws, const std::string& path);
// What the window starts with when there is no file: identity curves,
// exponents 1, no samples, the hue curve current.
void resetToneCurves(Workspace& ws);

// ---- the graph: origin (20, 266) in client pixels, the level growing upward
constexpr int kGraphLeft = 20;
constexpr int kGraphBottom = 266;
// The column and level under a window point; false outside the graph.
bool graphPoint(int x, int y, int& column, int& level);

// A press sets the current curve at its column; a drag draws the straight
// line from the last point to the pointer (held to the graph) over every
// column between. The changed columns are from..to.
struct CurveGesture {
    bool drawing = false;
    int column = 0, level = 0;
};
bool pressCurve(Workspace& ws, CurveGesture& g, int x, int y, int& from, int& to);
bool dragCurve(Workspace& ws, CurveGesture& g, int x, int y, int& from, int& to);

// UPCURVE (+1) and DOWNCURVE (-1): the current curve's exponent moves by a
// tenth, never below 0.1, and the curve becomes 255 - (255 - i)^e scaled.
void bendCurve(Workspace& ws, int tenths);
// LINEAR: exponent 1 and the identity.
void straightenCurve(Workspace& ws);
// The bent curve of an exponent.
void curveOfExponent(double exponent, uint8_t out[256]);

// Marks the level the current curve reads from the colour.
void sampleTone(Workspace& ws, Rgb colour);
void clearToneSamples(Workspace& ws);

// The curves over the rectangle (corners either way, clipped to the
// picture): each pixel is read from secondImage and written to image, by
// the R, G, B curves or through byte H, S, V. A pixel whose levels the
// curves all keep keeps its bytes. With the mask shown, masked pixels keep
// theirs. False, with nothing changed, when the rectangle misses the picture.
bool applyToneCurves(Workspace& ws, int32_t x0, int32_t y0, int32_t x1, int32_t y1, bool hsv);
// The same mapping on the display buffer RS inside a display rectangle.
void previewToneCurves(Workspace& ws, Rect box, bool hsv);

}  // namespace orx
