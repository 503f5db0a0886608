// Where the working image goes on a printed page, and the rows of pixels
// that print it.
//
// Four placements: 1 "Original 1:1 Upper Left", 4 "Original 1:1 Center",
// 2 "Fit Paper XY Same Scale" and 5 "Fit Paper XY Same Scale Center". A
// fitted image is stretched by whole pixels: destination row i shows image
// row trunc(i / (dh / H)), the division in real numbers, and columns alike.
// The page is its printable area in device pixels, origin top-left.
//
// Pixels go out in bands of whole rows, so that no copy of the whole image
// or page is ever made.
#pragma once

#include <cstddef>
#include <cstdint>

#include "workspace.h"

namespace orx {

enum PrintType : int32_t {
    PrintUpperLeft = 1,
    PrintFitted = 2,
    PrintCentred = 4,
    PrintFittedCentred = 5,
};

struct PrintPlacement {
    int32_t x = 0, y = 0;           // where the image's top-left lands (may be off the page)
    int32_t width = 0, height = 0;  // its size there
};

// False for a print type that places nothing (or an empty image or page).
bool placeOnPage(int32_t type, int32_t imageWidth, int32_t imageHeight, int32_t pageWidth, int32_t pageHeight,
                 PrintPlacement& placed);

// The image row (or column) that destination row i of `shown` rows takes
// from `source` rows.
int32_t sourceIndex(int32_t i, int32_t shown, int32_t source);

// The part of the placed image that lies on the page, in page pixels
// (half-open); empty when none does.
struct PrintArea {
    int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool empty() const { return x0 >= x1 || y0 >= y1; }
};
PrintArea visibleArea(const PrintPlacement& placed, int32_t pageWidth, int32_t pageHeight);

// Fills page rows [y0, y1) of the visible area as R, G, B rows of `stride`
// bytes. A pure white first image pixel prints as (253, 254, 255): some
// printers take white at the corner for the paper.
void fillPrintRows(const Workspace& ws, const PrintPlacement& placed, const PrintArea& area, int32_t y0, int32_t y1,
                   uint8_t* rows, size_t stride);

}  // namespace orx
