// Repeat layouts: the material tiled over the model's material area.
//
// Normal: A(x, y) = M(x mod mw, y mod mh). Horizontally shifted: every
// second band of mh rows is moved sideways by half the material's width.
// Vertically shifted: every second band of mw columns is moved down by half
// its height. The area covers columns x0 .. x1 - 1 and rows y0 .. y1 - 1 of
// the model header's rectangle, held to the picture.
#include "repeatLayout.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "workspace/containerFile.h"
#include "workspace/langText.h"

namespace orx {

namespace {

struct Area {
    int32_t x0, y0, x1, y1;  // x1 and y1 exclusive
};

// Reads the material's pixels (at the offset its header gives, so files in
// either order read alike) into `pixels`; false with a message otherwise.
bool readMaterial(Workspace& ws, FileSource& src, const std::string& path, std::vector<uint8_t>& pixels,
                  int32_t& mw, int32_t& mh)
{
    auto in = src.open(path);
    if (!in) {
        showLangMessage(ws, Msg::CantOpenFile, path.c_str());
        return false;
    }
    if (!readContainerHeader(ws, *in, path)) return false;
    mw = ws.fileHeader.width;
    mh = ws.fileHeader.height;
    pixels.resize(uint64_t(mw) * uint64_t(mh) * 3);
    if (!in->seekTo(ws.fileHeader.pixelOffset) || !in->readExact(pixels.data(), pixels.size())) {
        showLangMessage(ws, Msg::FileTruncated, path.c_str());
        return false;
    }
    return true;
}

// The material row v laid across the area: R(x) = M((x + shift) mod mw, v)
// for area columns x, where the shift is the layout's sideways move.
void layRow(const uint8_t* materialRow, int32_t mw, int32_t shift, int32_t width, uint8_t* out)
{
    for (int32_t x = 0; x < width; ++x) {
        const int32_t u = x % mw;
        int32_t s = u;
        if (shift) s = u >= shift ? u - shift : u + shift;
        std::memcpy(out + 3 * size_t(x), materialRow + 3 * size_t(s), 3);
    }
}

// Area row y of the vertically shifted layout: tile columns alternate
// between material row r and row r shifted by k = mh / 2.
void layShiftedColumns(const std::vector<uint8_t>& m, int32_t mw, int32_t mh, int32_t y, int32_t width,
                       uint8_t* out)
{
    const int32_t k = mh / 2;
    const int32_t r = y % mh;
    const int32_t shifted = r >= k ? r - k : r + k;
    const uint8_t* plain = m.data() + 3 * size_t(r) * mw;
    const uint8_t* moved = m.data() + 3 * size_t(shifted) * mw;
    for (int32_t x = 0; x < width; ++x) {
        const uint8_t* row = (x / mw) % 2 ? moved : plain;
        std::memcpy(out + 3 * size_t(x), row + 3 * size_t(x % mw), 3);
    }
}

}  // namespace

bool buildRepeatedMaterial(Workspace& ws, FileSource& src)
{
    PixelBox laid{};
    if (!layRepeatedMaterial(ws, src, laid)) return false;
    std::memcpy(ws.image, ws.secondImage, imageBytes(ws));
    return true;
}

bool layRepeatedMaterial(Workspace& ws, FileSource& src, PixelBox& laid)
{
    std::vector<uint8_t> m;
    int32_t mw = 0, mh = 0;
    if (!readMaterial(ws, src, ws.materialPath, m, mw, mh)) return false;

    // The header's area, held to the picture; the tiling keeps its origin at
    // the area's own top-left corner.
    const Area a{ws.modelArea[0], ws.modelArea[1], ws.modelArea[2], ws.modelArea[3]};
    const int32_t width = a.x1 - a.x0, height = a.y1 - a.y0;
    const int32_t cx0 = std::max(0, -a.x0), cx1 = std::min(width, ws.imageWidth - a.x0);
    const int32_t cy0 = std::max(0, -a.y0), cy1 = std::min(height, ws.imageHeight - a.y0);

    laid = {0, 0, 0, 0};
    if (cx0 < cx1 && cy0 < cy1) {
        laid = {a.x0 + cx0, a.y0 + cy0, a.x0 + cx1, a.y0 + cy1};
        std::vector<uint8_t> row(3 * size_t(width));
        const int32_t half = mw / 2;
        for (int32_t y = cy0; y < cy1; ++y) {
            const int32_t v = y % mh;
            switch (ws.repeatLayout) {
            case 1: layRow(m.data() + 3 * size_t(v) * mw, mw, (y / mh) % 2 ? half : 0, width, row.data()); break;
            case 2: layShiftedColumns(m, mw, mh, y, width, row.data()); break;
            default: layRow(m.data() + 3 * size_t(v) * mw, mw, 0, width, row.data()); break;
            }
            uint8_t* dst = ws.secondImage + (uint64_t(a.y0 + y) * ws.imageWidth + uint64_t(a.x0 + cx0)) * 3;
            std::memcpy(dst, row.data() + 3 * size_t(cx0), 3 * size_t(cx1 - cx0));
        }
    }
    return true;
}

}  // namespace orx
