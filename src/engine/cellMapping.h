// The cell mapping: fills the object cells of the current mesh pair
// (Cpoint1 over the photograph, Cpoint2 over the material area) from their
// material cells, reading secondImage and writing image, each pixel shaded
// by the photograph under it.
//
// Everything that dresses a part comes through mapCells: the ORX runner
// (dress, the simulation commands, shows and placement), the mesh tool's
// Try Run and its live try. The contrast table must have been built
// (buildContrastTable) from the exponent the mapping is to use.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "workspace/workspace.h"

namespace orx {

// A box of pixels, [x0, x1) x [y0, y1).
struct PixelBox {
    int32_t x0, y0, x1, y1;
};

struct CellSelection {
    // Cell numbers (r x C + c) in ascending order; empty maps every cell.
    std::span<const int32_t> cells;
    // Only pixels inside it are written; none: the whole picture. Cells are
    // mapped whole and cut, so a pixel inside comes out as a mapping of the
    // same cells without a clip would leave it, but for pinholes within two
    // pixels of its edge, which are left alone. To redo a region R exactly,
    // restore R from secondImage and map the cells that touch R grown by
    // two pixels, clipped to that.
    std::optional<Rect> clip;
    // The part's mask as the packed rows of its mask file (a set bit
    // protects), read where it lies; none: the mask plane.
    const uint8_t* packedMask = nullptr;
};

// Maps the selected cells of the current pair in order, then closes the
// pinholes left where they meet (pinholes.h) unless ws.pinholeClosing is 0.
// Returns the box it may have written (empty when none). Throws
// std::bad_alloc when its scratch space cannot be had.
PixelBox mapCells(Workspace& ws, const CellSelection& which = {});
inline PixelBox mapAllCells(Workspace& ws) { return mapCells(ws); }

// Maps ws.cell alone.
void mapCell(Workspace& ws);

}  // namespace orx
