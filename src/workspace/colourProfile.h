// Embedded colour profiles: a picture made in another colour space (a wide
// gamut camera setting, a print workflow's RGB) is converted to sRGB as it
// opens, so that its colours look here as they looked where it was made.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orx {

// Converts count R, G, B pixels in place from the RGB colour space the ICC
// profile describes to sRGB. Does nothing and returns false when the
// profile cannot be read or describes no RGB space; true when the pixels
// are sRGB now (profiles that already describe sRGB leave them as they are).
bool convertToSrgb(const uint8_t* profile, size_t profileBytes, uint8_t* rgb, uint64_t count);

}  // namespace orx
