// The hexcone colour model.
#include "hsv.h"

#include <algorithm>

namespace orx {

Hsv rgbToHsv(uint8_t r, uint8_t g, uint8_t b)
{
    const int mx = std::max({r, g, b});
    const int mn = std::min({r, g, b});
    const double d = mx - mn;
    Hsv out;
    out.v = mx / 255.0;
    out.s = mx == 0 ? 0.0 : d / mx;
    if (out.s == 0) return out;
    double h;
    if (mx == r)
        h = (g - b) / d;
    else if (mx == g)
        h = 2 + (b - r) / d;
    else
        h = 4 + (r - g) / d;
    h *= 60;
    if (h < 0) h += 360;
    out.h = h;
    return out;
}

void hsvToRgb(double h, double s, double v, double& r, double& g, double& b)
{
    const int i = int(h / 60);
    const double f = h / 60 - i;
    const double p = v * (1 - s);
    const double q = v * (1 - s * f);
    const double t = v * (1 - s * (1 - f));
    switch (i) {
    case 1: r = q, g = v, b = p; break;
    case 2: r = p, g = v, b = t; break;
    case 3: r = p, g = q, b = v; break;
    case 4: r = t, g = p, b = v; break;
    case 5: r = v, g = p, b = q; break;
    default: r = v, g = t, b = p; break;  // 0 and 6
    }
}

void hsvToBytes(double h, double s, double v, uint8_t* out)
{
    double r, g, b;
    hsvToRgb(h, s, v, r, g, b);
    out[0] = uint8_t(std::clamp(r * 255, 0.0, 255.0));
    out[1] = uint8_t(std::clamp(g * 255, 0.0, 255.0));
    out[2] = uint8_t(std::clamp(b * 255, 0.0, 255.0));
}

}  // namespace orx
