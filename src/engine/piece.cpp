// The floating piece.
#include "piece.h"

#include <algorithm>

#include "workspace/display.h"

namespace orx {

namespace {

inline uint8_t mix(uint8_t over, uint8_t under, int coverage) { return uint8_t((over * coverage + under * (255 - coverage)) / 255); }

}  // namespace

bool setFloatingPiece(Workspace& ws, int32_t x, int32_t y, int32_t width, int32_t height, std::vector<uint8_t> pixels,
                      std::vector<uint8_t> coverage)
{
    if (width < 1 || height < 1) return false;
    const uint64_t n = uint64_t(width) * uint64_t(height);
    if (pixels.size() != n * 3 || coverage.size() != n) return false;
    FloatingPiece& p = ws.piece;
    p.x = x, p.y = y, p.width = width, p.height = height;
    p.pixels = std::move(pixels);
    p.coverage = std::move(coverage);
    ws.pieceFloating = 1;
    return true;
}

void movePiece(Workspace& ws, int32_t x, int32_t y)
{
    ws.piece.x = x;
    ws.piece.y = y;
}

void dropPiece(Workspace& ws)
{
    ws.piece = FloatingPiece{};
    ws.pieceFloating = 0;
}

bool pieceBounds(const Workspace& ws, Rect& bounds)
{
    const FloatingPiece& p = ws.piece;
    if (!ws.pieceFloating) return false;
    const int64_t x0 = std::max<int64_t>(p.x, 0), y0 = std::max<int64_t>(p.y, 0);
    const int64_t x1 = std::min<int64_t>(int64_t(p.x) + p.width - 1, ws.imageWidth - 1);
    const int64_t y1 = std::min<int64_t>(int64_t(p.y) + p.height - 1, ws.imageHeight - 1);
    if (x0 > x1 || y0 > y1) return false;
    bounds = Rect{int(x0), int(y0), int(x1), int(y1)};
    return true;
}

bool applyPiece(Workspace& ws)
{
    if (!ws.pieceFloating) return false;
    const FloatingPiece& p = ws.piece;
    Rect b;
    if (pieceBounds(ws, b)) {
        const bool guarded = ws.maskVisible != 0;
        for (int32_t y = b.y0; y <= b.y1; ++y)
            for (int32_t x = b.x0; x <= b.x1; ++x) {
                const uint64_t at = uint64_t(y) * uint64_t(ws.imageWidth) + uint64_t(x);
                const uint64_t from = uint64_t(y - p.y) * uint64_t(p.width) + uint64_t(x - p.x);
                const int c = p.coverage[from];
                if (c == 0 || (guarded && ws.mask[at] != 0)) continue;
                uint8_t* dst = ws.image + 3 * at;
                const uint8_t* src = p.pixels.data() + 3 * from;
                for (int k = 0; k < 3; ++k) dst[k] = mix(src[k], dst[k], c);
            }
    }
    dropPiece(ws);
    return true;
}

bool drawPieceOnDisplay(Workspace& ws, Rect& shown)
{
    if (!ws.pieceFloating || ws.displayWidth < 1 || ws.displayHeight < 1) return false;
    const FloatingPiece& p = ws.piece;
    const Point a = imageToWindow(ws, p.x, p.y);
    const Point b = imageToWindow(ws, p.x + p.width, p.y + p.height);
    const int x0 = std::max(a.x, 0), y0 = std::max(a.y, 0);
    const int x1 = std::min(std::max(b.x - 1, a.x), ws.displayWidth - 1);
    const int y1 = std::min(std::max(b.y - 1, a.y), ws.displayHeight - 1);
    if (x0 > x1 || y0 > y1) return false;
    for (int dy = y0; dy <= y1; ++dy) {
        uint8_t* row = ws.RS.get() + ws.displayRowOffset[dy];
        for (int dx = x0; dx <= x1; ++dx) {
            // Each display pixel shows the piece pixel under it.
            const Point q = windowToImage(ws, dx, dy);
            const int64_t u = int64_t(q.x) - p.x, v = int64_t(q.y) - p.y;
            if (u < 0 || v < 0 || u >= p.width || v >= p.height) continue;
            const uint64_t from = uint64_t(v) * uint64_t(p.width) + uint64_t(u);
            const int c = p.coverage[from];
            if (c == 0) continue;
            const uint8_t* src = p.pixels.data() + 3 * from;
            uint8_t* dst = row + 3 * dx;  // B, G, R
            dst[0] = mix(src[2], dst[0], c);
            dst[1] = mix(src[1], dst[1], c);
            dst[2] = mix(src[0], dst[2], c);
        }
    }
    shown = Rect{x0, y0, x1, y1};
    return true;
}

}  // namespace orx
