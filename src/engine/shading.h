// Shading: a material sample laid onto a photograph pixel keeps the
// photograph's light. Contrast shading takes the photograph's brightness
// (raised to the contrast exponent); reflection shading also lets the
// photograph's highlights wash out the material's saturation.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "workspace/hsv.h"
#include "workspace/workspace.h"

namespace orx {

// table[i] = trunc(255 * pow(i / 255, c)) for the workspace's exponent.
void buildContrastTable(Workspace& ws);

// The exponent of entry k (0..19) of the "Contrast Control" list: (k + 1) / 10.
float contrastOfEntry(int k);
// The list's texts in a screen language: "0.1<Bright>", "0.2", ...
// "1.0<Normal>", ... "2.0<Dark>".
std::string contrastEntryText(int32_t language, int k);

// Output pixel for photograph pixel t and material sample m, by the
// formulas as written: HSV of the material, value scaled by the contrast
// table at the photograph's brightest channel (contrast), or the material's
// value raised to the exponent times the photograph's value with the
// saturations' geometric mean (reflection).
void shadeContrast(const Workspace& ws, const uint8_t* t, const uint8_t* m, uint8_t* out);
void shadeReflection(const Workspace& ws, const uint8_t* t, const uint8_t* m, uint8_t* out);

// The same shadings as the mapping run computes them for speed. Contrast:
// scaling HSV's value scales every channel alike, so the output is each
// material channel times table[max(t)] / 255 (it differs from the formula
// as written by at most one unit, where that lands exactly on a whole
// number). Reflection: the material's pow is looked up per value level.
struct ShadeTables {
    uint8_t contrast[256];
    double valuePow[256];  // pow(i / 255, c)
};
void buildShadeTables(const Workspace& ws, ShadeTables& t);

inline void shadeContrastFast(const ShadeTables& tab, const uint8_t* t, const uint8_t* m, uint8_t* out)
{
    uint8_t mx = t[0] > t[1] ? t[0] : t[1];
    mx = mx > t[2] ? mx : t[2];
    const unsigned l = tab.contrast[mx];
    out[0] = uint8_t(l * m[0] / 255);
    out[1] = uint8_t(l * m[1] / 255);
    out[2] = uint8_t(l * m[2] / 255);
}

inline void shadeReflectionFast(const ShadeTables& tab, const uint8_t* t, const uint8_t* m, uint8_t* out)
{
    const Hsv ht = rgbToHsv(t[0], t[1], t[2]);
    const Hsv hm = rgbToHsv(m[0], m[1], m[2]);
    const uint8_t mx = m[0] > m[1] ? (m[0] > m[2] ? m[0] : m[2]) : (m[1] > m[2] ? m[1] : m[2]);
    const double v = tab.valuePow[mx] * ht.v;
    const double s = std::sqrt(ht.s * hm.s);
    hsvToBytes(hm.h, s, v, out);
}

// Material sample at (x, y) of secondImage: the pixel (sharp, coordinates
// clamped to the image) or the five-point average (soft, clamped one pixel
// inside the border).
inline void sampleMaterial(const Workspace& ws, int32_t x, int32_t y, uint8_t* out)
{
    const int32_t w = ws.imageWidth, h = ws.imageHeight;
    const uint8_t* src = ws.secondImage;
    if (ws.softMapping && w >= 3 && h >= 3) {
        x = x < 1 ? 1 : x > w - 2 ? w - 2 : x;
        y = y < 1 ? 1 : y > h - 2 ? h - 2 : y;
        const ptrdiff_t row = ptrdiff_t(w) * 3;
        const uint8_t* c = src + y * row + ptrdiff_t(x) * 3;
        for (int k = 0; k < 3; ++k) out[k] = uint8_t((c[k - row] + c[k - 3] + c[k] + c[k + 3] + c[k + row]) / 5);
        return;
    }
    x = x < 0 ? 0 : x > w - 1 ? w - 1 : x;
    y = y < 0 ? 0 : y > h - 1 ? h - 1 : y;
    const uint8_t* p = src + (uint64_t(y) * w + x) * 3;
    out[0] = p[0];
    out[1] = p[1];
    out[2] = p[2];
}

}  // namespace orx
