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
};

// Maps the selected cells of the current pair in order, then closes the
// pinholes left where they meet (pinholes.h) unless ws.pinholeClosing is 0.
// Throws std::bad_alloc when its scratch space cannot be had.
void mapCells(Workspace& ws, const CellSelection& which = {});
inline void mapAllCells(Workspace& ws) { mapCells(ws); }

// Maps ws.cell alone.
void mapCell(Workspace& ws);

}  // namespace orx
