// The scan-line walker behind every region fill: the colour fill, the mask
// fill, the shaded fills and the bounds of a mask region.
//
// The walker knows nothing of pixels: `match(x, y)` says whether a pixel
// belongs to the region, `paint(y, x0, x1)` takes a whole run of matching
// pixels of one row. Painting must make the run stop matching (the fill
// writes a value other than the seed's, the bounds mark the run seen), so
// every run is taken once and the walk ends. Runs wait on a stack that the
// caller keeps between fills; the region is the same in any order.
#pragma once

#include <cstdint>
#include <new>
#include <vector>

#include "workspace.h"

namespace orx {

// Walks the 4-connected region of (x, y) on a width x height plane. False
// only when the stack could not grow: the runs already found are painted,
// the rest of the region is left.
template <typename Match, typename Paint>
bool walkSpans(int32_t width, int32_t height, int32_t x, int32_t y, std::vector<FillSpan>& stack, Match&& match,
               Paint&& paint)
{
    if (x < 0 || y < 0 || x >= width || y >= height || !match(x, y)) return true;
    bool complete = true;
    stack.clear();
    // The whole run through a matching pixel, painted and kept for its
    // neighbours; the column after it is where the scan of its row goes on.
    auto take = [&](int32_t row, int32_t col) {
        int32_t x0 = col, x1 = col;
        while (x0 > 0 && match(x0 - 1, row)) --x0;
        while (x1 + 1 < width && match(x1 + 1, row)) ++x1;
        paint(row, x0, x1);
        try {
            stack.push_back(FillSpan{row, x0, x1});
        } catch (const std::bad_alloc&) {
            complete = false;
        }
        return x1 + 1;
    };
    take(y, x);
    while (!stack.empty()) {
        const FillSpan s = stack.back();
        stack.pop_back();
        for (const int32_t row : {s.y - 1, s.y + 1}) {
            if (row < 0 || row >= height) continue;  // a row off the plane has nothing to scan
            for (int32_t col = s.x0; col <= s.x1;) col = match(col, row) ? take(row, col) : col + 1;
        }
    }
    return complete;
}

}  // namespace orx
