// Shading and sampling: how a material sample takes the photograph's light.
#include "shading.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "workspace/langText.h"

namespace orx {

void buildContrastTable(Workspace& ws)
{
    const double c = ws.contrastExponent;
    for (int i = 0; i < 256; ++i) ws.contrastTable[i] = uint8_t(255 * std::pow(i / 255.0, c));
}

float contrastOfEntry(int k) { return float(k + 1) / 10.0f; }

std::string contrastEntryText(int32_t language, int k)
{
    k = std::clamp(k, 0, 19);
    char number[8];
    std::snprintf(number, sizeof number, "%d.%d", (k + 1) / 10, (k + 1) % 10);
    // The two ends and the middle say which way the list runs.
    switch (k) {
    case 0: return formatText(langText(language, Msg::ContrastBright), number);
    case 9: return formatText(langText(language, Msg::ContrastNormal), number);
    case 19: return formatText(langText(language, Msg::ContrastDark), number);
    default: return number;
    }
}

void shadeContrast(const Workspace& ws, const uint8_t* t, const uint8_t* m, uint8_t* out)
{
    const double l = ws.contrastTable[std::max({t[0], t[1], t[2]})] / 255.0;
    const Hsv hm = rgbToHsv(m[0], m[1], m[2]);
    hsvToBytes(hm.h, hm.s, l * hm.v, out);
}

void shadeReflection(const Workspace& ws, const uint8_t* t, const uint8_t* m, uint8_t* out)
{
    const Hsv ht = rgbToHsv(t[0], t[1], t[2]);
    const Hsv hm = rgbToHsv(m[0], m[1], m[2]);
    const double v = std::pow(hm.v, double(ws.contrastExponent)) * ht.v;
    const double s = std::sqrt(ht.s * hm.s);
    hsvToBytes(hm.h, s, v, out);
}

void buildShadeTables(const Workspace& ws, ShadeTables& t)
{
    std::copy(ws.contrastTable, ws.contrastTable + 256, t.contrast);
    const double c = ws.contrastExponent;
    for (int i = 0; i < 256; ++i) t.valuePow[i] = std::pow(i / 255.0, c);
}



}  // namespace orx
