// Mask and colour image working together.
#include "maskOps.h"

#include <cstring>

#include "areaFilter.h"

namespace orx {

void markColourAsMask(Workspace& ws, Rgb colour)
{
    const uint8_t* p = ws.image;
    uint8_t* m = ws.mask;
    for (uint64_t i = 0, n = pixelCount(ws); i < n; ++i, p += 3)
        m[i] = p[0] == colour.r && p[1] == colour.g && p[2] == colour.b ? 255 : 0;
}

void blackToMask(Workspace& ws) { markColourAsMask(ws, Rgb{0, 0, 0}); }

void maskedToBlack(Workspace& ws)
{
    uint8_t* p = ws.image;
    const uint8_t* m = ws.mask;
    for (uint64_t i = 0, n = pixelCount(ws); i < n; ++i, p += 3)
        if (m[i] > 254) p[0] = p[1] = p[2] = 0;
}

void maskFromGrey(Workspace& ws)
{
    for (uint64_t i = 0, n = pixelCount(ws); i < n; ++i) ws.mask[i] = greyTenths(ws.image + 3 * i) > 1270 ? 255 : 0;
}

void greyFromMask(Workspace& ws)
{
    for (uint64_t i = 0, n = pixelCount(ws); i < n; ++i) std::memset(ws.image + 3 * i, ws.mask[i] > 254 ? 255 : 0, 3);
}

}  // namespace orx
