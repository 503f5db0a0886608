// Colour ways: a design drawn in a few flat colours (the first n swatches
// of the colour box, 2 to 5) shown in every exchange of those colours, n!
// pictures page by page; and the repeat test, the picture tiled X by Y.
#pragma once

#include <cstdint>

#include "workspace/workspace.h"

namespace orx {

constexpr int kMinWayColours = 2;
constexpr int kMaxWayColours = 5;
constexpr int kMaxPicturesAcross = 8;

// n! ways for n colours; 0 for any other n.
int colourWayTotal(int n);
// Way k for n colours: for each swatch i (from 0) the swatch whose colour
// replaces it. Way 0 keeps every colour. False for an n or k out of range.
bool colourWayRow(int n, int k, int row[kMaxWayColours]);

// Pictures on a page and pages: one page when all ways fit.
struct WayPages {
    int perPage = 0;
    int pages = 0;
};
WayPages colourWayPages(int n, int across, int down);

// Way k of `image` (the first ws.colourWayCount swatches) into `plane`, a
// colour plane of the image's size, which may be `image` itself. A pixel of
// a swatch colour takes its replacement (the lowest swatch of that colour
// decides); others keep theirs. False for a k out of range.
bool makeColourWay(const Workspace& ws, int k, uint8_t* plane);

// A picture area of the display buffer kind: rows of B, G, R.
struct Canvas {
    uint8_t* pixels = nullptr;
    int32_t width = 0, height = 0;
    int64_t stride = 0;  // bytes a row
};

// Page p (from 1) of the colour ways: the X by Y grid of cells filled row
// by row, each holding its way of `image` reduced to fit the cell and
// centred in it, on grey. The page is composed from `image` alone.
void composeColourWayPage(const Workspace& ws, int page, const Canvas& canvas);
// One cell: way k of `image` reduced by the fit rule into the box
// (x, y, w, h) of the canvas, centred.
void composeColourWayCell(const Workspace& ws, int k, const Canvas& canvas, int32_t x, int32_t y, int32_t w,
                          int32_t h);
// The repeat test: the picture picturesAcross by picturesDown times, tiles
// abutting, as large as the fit rule lets the whole grid be.
void composeRepeatTest(const Workspace& ws, const Canvas& canvas);

}  // namespace orx
