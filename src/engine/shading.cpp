// Shading and sampling: how a material sample takes the photograph's light.
#include "shading.h"

#include <algorithm>
#include <cmath>

namespace orx {

void buildContrastTable(Workspace& ws)
{
    const double c = ws.contrastExponent;
    for (int i = 0; i < 256; ++i) ws.contrastTable[i] = uint8_t(255 * std::pow(i / 255.0, c));
}

float contrastOfEntry(int k) { return float(k + 1) / 10.0f; }

const char* contrastEntryText(int k)
{
    static const char* const kTexts[20] = {"0.1<Bright>", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7",
                                           "0.8",         "0.9", "1.0<Normal>", "1.1", "1.2", "1.3", "1.4",
                                           "1.5",         "1.6", "1.7", "1.8", "1.9", "2.0<Dark>"};
    return kTexts[std::clamp(k, 0, 19)];
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
