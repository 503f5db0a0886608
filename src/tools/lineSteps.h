// The steps of a straight line, shared by the pens and the curves.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "workspace/workspace.h"

namespace orx {

// The furthest a pen stamp reaches from its point.
constexpr int64_t kReach = 2;

// The steps of a straight line: one point per step along the longer axis,
// the other coordinate truncated from the exact slope. Steps that cannot
// come within kReach of the picture are not taken.
template <typename Visit>
inline void walkLine(const Workspace& ws, int64_t x1, int64_t y1, int64_t x2, int64_t y2, Visit&& visit)
{
    const int64_t dx = x2 - x1, dy = y2 - y1;
    const int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    const int64_t xlo = -kReach, xhi = ws.imageWidth - 1 + kReach;
    const int64_t ylo = -kReach, yhi = ws.imageHeight - 1 + kReach;
    if (dx == 0) {
        for (int64_t y = std::max(std::min(y1, y2), ylo), end = std::min(std::max(y1, y2), yhi); y <= end; ++y)
            visit(x1, y);
    } else if (dy == 0) {
        for (int64_t x = std::max(std::min(x1, x2), xlo), end = std::min(std::max(x1, x2), xhi); x <= end; ++x)
            visit(x, y1);
    } else if (adx >= ady) {
        // From the left end, whichever end that is.
        const int64_t xs = dx > 0 ? x1 : x2, ys = dx > 0 ? y1 : y2, slope = dx > 0 ? dy : -dy;
        for (int64_t x = std::max(xs, xlo), end = std::min(xs + adx, xhi); x <= end; ++x)
            visit(x, int64_t(std::trunc(double(ys) + double(slope) * double(x - xs) / double(adx))));
    } else {
        const int64_t ys = dy > 0 ? y1 : y2, xs = dy > 0 ? x1 : x2, slope = dy > 0 ? dx : -dx;
        for (int64_t y = std::max(ys, ylo), end = std::min(ys + ady, yhi); y <= end; ++y)
            visit(int64_t(std::trunc(double(xs) + double(slope) * double(y - ys) / double(ady))), y);
    }
}

}  // namespace orx
