// Dressing one loaded model again and again.
#include "dressAgain.h"

#include <cstring>

#include "orxScript.h"
#include "repeatLayout.h"
#include "simulation.h"

namespace orx {

namespace {

void restoreBox(Workspace& ws, const PixelBox& b)
{
    const size_t bytes = size_t(b.x1 - b.x0) * 3;
    for (int32_t y = b.y0; y < b.y1; ++y) {
        const uint64_t at = (uint64_t(y) * uint64_t(ws.imageWidth) + uint64_t(b.x0)) * 3;
        std::memcpy(ws.image + at, ws.secondImage + at, bytes);
    }
}

}  // namespace

int dressLoadedModel(Workspace& ws, DressTrace& trace, FileSource& src)
{
    PixelBox laid{};
    if (!layRepeatedMaterial(ws, src, laid)) return 0;
    if (!trace.known) {
        std::memcpy(ws.image, ws.secondImage, imageBytes(ws));
    } else {
        restoreBox(ws, laid);
        for (const PixelBox& b : trace.boxes) restoreBox(ws, b);
    }
    trace.known = true;
    trace.boxes.clear();
    ws.maskMode = 0;
    RunOptions options;
    options.maskPlaneUntouched = true;
    options.reached = &trace.boxes;
    const int result = runMapping(ws, orxPathOf(ws.modelPath), src, options);
    trace.boxes.push_back(laid);
    // A run cut short may not have said every part it reached.
    if (result != 1) trace.known = false;
    return result;
}

}  // namespace orx
