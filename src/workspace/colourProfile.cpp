// Embedded colour profiles to sRGB through lcms2.
#include "colourProfile.h"

#include <algorithm>
#include <cstring>
#include <lcms2.h>
#include <thread>
#include <vector>

namespace orx {

namespace {

struct Profile {
    cmsHPROFILE h;
    explicit Profile(cmsHPROFILE p) : h(p) {}
    ~Profile()
    {
        if (h) cmsCloseProfile(h);
    }
};

// Most photographs carry the sRGB profile itself; converting them would
// only spend time.
bool describesSrgb(cmsHPROFILE p)
{
    char text[64] = {};
    cmsGetProfileInfoASCII(p, cmsInfoDescription, "en", "US", text, sizeof text);
    return std::strncmp(text, "sRGB", 4) == 0;
}

}  // namespace

bool convertToSrgb(const uint8_t* profile, size_t profileBytes, uint8_t* rgb, uint64_t count)
{
    if (!profile || profileBytes < 128 || profileBytes > UINT32_MAX) return false;
    Profile source(cmsOpenProfileFromMem(profile, cmsUInt32Number(profileBytes)));
    if (!source.h || cmsGetColorSpace(source.h) != cmsSigRgbData) return false;
    if (describesSrgb(source.h)) return true;
    Profile srgb(cmsCreate_sRGBProfile());
    cmsHTRANSFORM t = cmsCreateTransform(source.h, TYPE_RGB_8, srgb.h, TYPE_RGB_8, INTENT_PERCEPTUAL, 0);
    if (!t) return false;
    // A transform may be shared between threads; two halves take half the time.
    auto convert = [t](uint8_t* p, uint64_t n) {
        for (uint64_t done = 0; done < n;) {
            const uint64_t part = std::min<uint64_t>(n - done, 1u << 28);
            cmsDoTransform(t, p + 3 * done, p + 3 * done, cmsUInt32Number(part));
            done += part;
        }
    };
    const uint64_t half = count / 2;
    std::thread second(convert, rgb + 3 * half, count - half);
    convert(rgb, half);
    second.join();
    cmsDeleteTransform(t);
    return true;
}

}  // namespace orx
