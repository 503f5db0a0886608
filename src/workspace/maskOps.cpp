// Mask and colour image working together.
#include "maskOps.h"

namespace orx {

void blackToMask(Workspace& ws)
{
    const uint8_t* p = ws.image;
    uint8_t* m = ws.mask;
    for (uint64_t i = 0, n = pixelCount(ws); i < n; ++i, p += 3)
        m[i] = (p[0] | p[1] | p[2]) == 0 ? 255 : 0;
}

void maskedToBlack(Workspace& ws)
{
    uint8_t* p = ws.image;
    const uint8_t* m = ws.mask;
    for (uint64_t i = 0, n = pixelCount(ws); i < n; ++i, p += 3)
        if (m[i] > 254) p[0] = p[1] = p[2] = 0;
}

}  // namespace orx
