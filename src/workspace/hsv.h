// The hexcone colour model, shared by shading, the filters, the masks and
// the tone curves.
#pragma once

#include <cstdint>

namespace orx {

struct Hsv {
    double h = 0, s = 0, v = 0;  // hue in degrees 0 <= h < 360, s and v in 0..1
};

Hsv rgbToHsv(uint8_t r, uint8_t g, uint8_t b);
// Returns r, g, b in 0..1.
void hsvToRgb(double h, double s, double v, double& r, double& g, double& b);
// HSV to bytes: each channel times 255, truncated (held to 0..255).
void hsvToBytes(double h, double s, double v, uint8_t* out);

}  // namespace orx
