// Pinholes: single photograph pixels left inside a dressed part where cells
// meet. The scan conversion's crossing and end-point rules can leave a
// pixel that no span covers; after a part is mapped, such a pixel takes the
// rounded mean of its written neighbours.
//
// A pinhole is a pixel the mask leaves open that the mapping did not write, that lies inside the closed quadrilateral
// of one of the mapped cells, and that has at least 4 of its 8 neighbours
// written. A second pass closes pinholes that touched each other. A pixel
// on the part's outer edge has fewer written neighbours and stays the
// photograph, so no garment grows.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "cellMapping.h"
#include "workspace/workspace.h"

namespace orx {

// Which pixels a mapping wrote: a bit per pixel of the window the mapping
// may write, rows padded to whole words so that workers on different rows
// never share a word.
struct WrittenRecord {
    int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // the window, [x0, x1) x [y0, y1)
    size_t words = 0;                        // per row
    std::vector<uint64_t> bits;

    void reset(int32_t left, int32_t top, int32_t right, int32_t bottom);
    uint64_t* row(int32_t y) { return bits.data() + size_t(y - y0) * words; }
    bool written(int32_t x, int32_t y) const
    {
        if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
        const size_t i = size_t(x - x0);
        return (bits[size_t(y - y0) * words + i / 64] >> (i % 64)) & 1;
    }
};

// The cells a mapping walked: the listed cells of the current pair (all of
// them when the list is empty), or one cell given whole.
struct CellList {
    std::span<const int32_t> numbers;
    const MeshCell* single = nullptr;
};

// The mask a mapping reads: the mask plane (any byte but 0 protects), or a
// mask file's packed rows, most significant bit first (a set bit protects).
struct PartMask {
    const uint8_t* plane = nullptr;
    const uint8_t* packed = nullptr;
    int32_t width = 0;
    uint64_t rowBytes = 0;

    PartMask(const Workspace& ws, const uint8_t* packedRows)
        : plane(ws.mask), packed(packedRows), width(ws.imageWidth), rowBytes(uint64_t(ws.imageWidth + 7) / 8)
    {
    }
    // Row y, for protectsIn; (x, y) must lie on the picture.
    const uint8_t* row(int32_t y) const { return packed ? packed + uint64_t(y) * rowBytes : plane + uint64_t(y) * uint64_t(width); }
    bool protectsIn(const uint8_t* r, int32_t x) const
    {
        return packed ? (r[uint32_t(x) / 8] >> (7 - x % 8)) & 1 : r[x] != 0;
    }
    bool protects(int32_t x, int32_t y) const { return protectsIn(row(y), x); }
};

// Closes the pinholes of the mapping recorded in `record`; returns how
// many pixels it closed. A mapping cut by a clip knows nothing of the
// pixels beyond it: a first-pass pinhole must then lie a pixel inside the
// clip, a second-pass one two pixels, so that every pinhole it closes is
// closed as the mapping without the clip closes it.
int64_t closePinholes(Workspace& ws, WrittenRecord& record, const CellList& cells, const PartMask& mask,
                      const std::optional<PixelBox>& clip);

}  // namespace orx
