// The hexcone colour model, shared by shading, the filters, the masks and
// the tone curves, and its byte form (each of H, S and V in 0..255) used by
// the mask and colour tools and the colour box. Defined here so the pixel
// loops inline it.
#pragma once

#include <cstdint>

namespace orx {

struct Hsv {
    double h = 0, s = 0, v = 0;  // hue in degrees 0 <= h < 360, s and v in 0..1
};

inline Hsv rgbToHsv(uint8_t r, uint8_t g, uint8_t b)
{
    const int mx = r > g ? (r > b ? r : b) : (g > b ? g : b);
    const int mn = r < g ? (r < b ? r : b) : (g < b ? g : b);
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

// Returns r, g, b in 0..1.
inline void hsvToRgb(double h, double s, double v, double& r, double& g, double& b)
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

// A channel 0..1 as a byte: times 255, truncated, held to 0..255.
inline uint8_t channelByte(double c)
{
    c *= 255;
    return uint8_t(c < 0 ? 0.0 : c > 255 ? 255.0 : c);
}

inline void hsvToBytes(double h, double s, double v, uint8_t* out)
{
    double r, g, b;
    hsvToRgb(h, s, v, r, g, b);
    out[0] = channelByte(r);
    out[1] = channelByte(g);
    out[2] = channelByte(b);
}

struct HsvBytes {
    uint8_t h = 0, s = 0, v = 0;
};

// H = trunc(h / 360 * 255), S = trunc(s * 255), V = max, computed in
// integers: the exact fractions truncated. Doubles fall one level short
// where the fraction is a whole number (0, 24, 51 has hue 150 exactly).
// The maximum is tested red first, then green, then blue.
inline HsvBytes rgbToHsvBytes(uint8_t r, uint8_t g, uint8_t b)
{
    const int mx = r >= g ? (r >= b ? r : b) : (g >= b ? g : b);
    const int mn = r < g ? (r < b ? r : b) : (g < b ? g : b);
    const int d = mx - mn;
    HsvBytes out;
    out.v = uint8_t(mx);
    if (d == 0) return out;
    out.s = uint8_t(255 * d / mx);
    // The hue in sixths of the circle times d: 0 <= n < 6d.
    int n;
    if (mx == r) {
        n = g - b;
        if (n < 0) n += 6 * d;
    } else if (mx == g) {
        n = b - r + 2 * d;
    } else {
        n = r - g + 4 * d;
    }
    out.h = uint8_t(85 * n / (2 * d));
    return out;
}

// The colour of byte H, S, V: each scaled back to degrees and fractions.
inline void hsvBytesToRgb(int h, int s, int v, uint8_t* out)
{
    hsvToBytes(h / 255.0 * 360, s / 255.0, v / 255.0, out);
}

}  // namespace orx
