// The previews of the colour tools change the display buffer, not the
// picture: each display pixel of a box is judged by the image pixel it
// shows (the top-left pixel of its block when the view is reduced).
#pragma once

#include <algorithm>
#include <cstdint>

#include "workspace/display.h"
#include "workspace/workspace.h"

namespace orx {

// Calls visit(displayPixel, imagePixelIndex) for every pixel of the display
// rectangle (corners either way, held to the display) that shows a pixel of
// the picture. displayPixel points at its B, G, R bytes in RS.
template <typename Visit>
void forEachShownPixel(Workspace& ws, Rect box, Visit&& visit)
{
    const int x0 = std::max(std::min(box.x0, box.x1), 0);
    const int x1 = std::min(std::max(box.x0, box.x1), ws.displayWidth - 1);
    const int y0 = std::max(std::min(box.y0, box.y1), 0);
    const int y1 = std::min(std::max(box.y0, box.y1), ws.displayHeight - 1);
    if (!ws.RS || !ws.imageLoaded) return;
    for (int y = y0; y <= y1; ++y) {
        if (y < ws.displayOriginY) continue;  // left of or above the origin shows no pixel
        uint8_t* row = ws.RS.get() + ws.displayRowOffset[y];
        for (int x = x0; x <= x1; ++x) {
            if (x < ws.displayOriginX) continue;
            const Point p = windowToImage(ws, x, y);
            if (p.x < 0 || p.y < 0 || p.x >= ws.imageWidth || p.y >= ws.imageHeight) continue;
            visit(row + uint64_t(x) * 3, uint64_t(p.y) * uint64_t(ws.imageWidth) + uint64_t(p.x));
        }
    }
}

}  // namespace orx
