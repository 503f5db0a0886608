// Print placement and the printed rows.
#include "printLayout.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace orx {

bool placeOnPage(int32_t type, int32_t imageWidth, int32_t imageHeight, int32_t pageWidth, int32_t pageHeight,
                 PrintPlacement& placed)
{
    const int32_t w = imageWidth, h = imageHeight;
    if (w <= 0 || h <= 0 || pageWidth <= 0 || pageHeight <= 0) return false;
    switch (type) {
    case PrintUpperLeft: placed = {0, 0, w, h}; return true;
    case PrintCentred: placed = {(pageWidth - w) / 2, (pageHeight - h) / 2, w, h}; return true;
    case PrintFitted:
    case PrintFittedCentred: {
        const double sx = double(pageWidth) / w, sy = double(pageHeight) / h;
        int32_t dw = pageWidth, dh = pageHeight;
        if (sx < sy) dh = std::max(1, int32_t(h * sx));
        if (sx > sy) dw = std::max(1, int32_t(w * sy));
        placed = {0, 0, dw, dh};
        if (type == PrintFittedCentred) placed = {(pageWidth - dw) / 2, (pageHeight - dh) / 2, dw, dh};
        return true;
    }
    default: return false;
    }
}

int32_t sourceIndex(int32_t i, int32_t shown, int32_t source)
{
    const double step = double(shown) / double(source);
    return std::clamp(int32_t(double(i) / step), 0, source - 1);
}

PrintArea visibleArea(const PrintPlacement& placed, int32_t pageWidth, int32_t pageHeight)
{
    const int64_t x1 = int64_t(placed.x) + placed.width, y1 = int64_t(placed.y) + placed.height;
    return {std::max(placed.x, 0), std::max(placed.y, 0), int32_t(std::min<int64_t>(x1, pageWidth)),
            int32_t(std::min<int64_t>(y1, pageHeight))};
}

void fillPrintRows(const Workspace& ws, const PrintPlacement& placed, const PrintArea& area, int32_t y0, int32_t y1,
                   uint8_t* rows, size_t stride)
{
    const int32_t w = ws.imageWidth, h = ws.imageHeight;
    const int32_t n = area.x1 - area.x0;
    if (n <= 0) return;
    const bool unscaled = placed.width == w;
    // The image column of each page column of the area.
    std::vector<int32_t> columns(size_t(std::max(n, 0)));
    for (int32_t i = 0; i < n; ++i)
        columns[size_t(i)] = unscaled ? area.x0 - placed.x + i : sourceIndex(area.x0 - placed.x + i, placed.width, w);
    const uint8_t* first = ws.image;
    const bool whiteCorner = first[0] > 254 && first[1] > 254 && first[2] > 254;

    for (int32_t y = y0; y < y1; ++y) {
        const int32_t sy = placed.height == h ? y - placed.y : sourceIndex(y - placed.y, placed.height, h);
        const uint8_t* src = ws.image + uint64_t(sy) * ws.imageRowBytes;
        uint8_t* d = rows + size_t(y - y0) * stride;
        if (unscaled) {
            std::memcpy(d, src + size_t(columns[0]) * 3, size_t(n) * 3);
        } else {
            for (int32_t i = 0; i < n; ++i) std::memcpy(d + size_t(i) * 3, src + size_t(columns[size_t(i)]) * 3, 3);
        }
        if (sy != 0 || !whiteCorner) continue;
        for (int32_t i = 0; i < n && columns[size_t(i)] == 0; ++i) {
            d[3 * i] = 253;
            d[3 * i + 1] = 254;
            d[3 * i + 2] = 255;
        }
    }
}

}  // namespace orx
