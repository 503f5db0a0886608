// Pinholes: finding them from the written record and closing them.
#include "pinholes.h"

#include <algorithm>
#include <climits>

#include "mesh.h"

namespace orx {

void WrittenRecord::reset(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    x0 = left, y0 = top, x1 = std::max(left, right), y1 = std::max(top, bottom);
    words = (size_t(x1 - x0) + 63) / 64;
    bits.assign(words * size_t(y1 - y0), 0);
}

namespace {

struct Pinhole {
    int32_t x, y;
    bool inside = false;
    uint8_t value[3] = {};
};

constexpr int kMinWrittenNeighbours = 4;
constexpr int kNeighbour[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};

int writtenNeighbours(const WrittenRecord& r, int32_t x, int32_t y)
{
    int n = 0;
    for (const auto& d : kNeighbour) n += r.written(x + d[0], y + d[1]);
    return n;
}

// A protected pixel stays the photograph even where the quadrilateral path,
// without a mask line, writes over the mask: the closing never reaches
// further than the rectangle path would.
bool isPinhole(const PartMask& mask, const WrittenRecord& r, int32_t x, int32_t y)
{
    return !r.written(x, y) && writtenNeighbours(r, x, y) >= kMinWrittenNeighbours && !mask.protects(x, y);
}

// The pixels a pass may close: the record's window, held `inset` pixels
// inside a clip.
PixelBox closable(const WrittenRecord& r, const std::optional<PixelBox>& clip, int32_t inset)
{
    PixelBox b{r.x0, r.y0, r.x1, r.y1};
    if (!clip) return b;
    auto in = [inset](int32_t v, int sign) { return int32_t(std::clamp<int64_t>(int64_t(v) + sign * inset, INT32_MIN, INT32_MAX)); };
    return {std::max(b.x0, in(clip->x0, 1)), std::max(b.y0, in(clip->y0, 1)), std::min(b.x1, in(clip->x1, -1)),
            std::min(b.y1, in(clip->y1, -1))};
}

bool within(const PixelBox& b, int32_t x, int32_t y) { return x >= b.x0 && x < b.x1 && y >= b.y0 && y < b.y1; }

// Word w of a record row with its neighbours' bits spread one pixel either
// way: a bit is set where the row has a written pixel at or beside it.
uint64_t spread(const uint64_t* row, size_t w, size_t words)
{
    if (!row) return 0;
    const uint64_t before = w > 0 ? row[w - 1] >> 63 : 0;
    const uint64_t after = w + 1 < words ? row[w + 1] << 63 : 0;
    return row[w] | (row[w] << 1) | before | (row[w] >> 1) | after;
}

// Every unwritten pixel of the window with enough written neighbours, in
// row order. Whole words with no written pixel near them are passed over,
// so the cost is the record's size over 64 plus the part's outline.
void findCandidates(const PartMask& mask, WrittenRecord& r, const PixelBox& area, std::vector<Pinhole>& out)
{
    const size_t lastBits = size_t(r.x1 - r.x0) % 64;
    const uint64_t lastMask = lastBits ? (uint64_t(1) << lastBits) - 1 : ~uint64_t(0);
    for (int32_t y = r.y0; y < r.y1; ++y) {
        const uint64_t* cur = r.row(y);
        const uint64_t* up = y > r.y0 ? r.row(y - 1) : nullptr;
        const uint64_t* down = y + 1 < r.y1 ? r.row(y + 1) : nullptr;
        for (size_t w = 0; w < r.words; ++w) {
            uint64_t open = ~cur[w] & (w + 1 == r.words ? lastMask : ~uint64_t(0));
            if (!open) continue;
            open &= spread(cur, w, r.words) | spread(up, w, r.words) | spread(down, w, r.words);
            for (; open; open &= open - 1) {
                const int32_t x = r.x0 + int32_t(w * 64) + __builtin_ctzll(open);
                if (within(area, x, y) && isPinhole(mask, r, x, y)) out.push_back({x, y});
            }
        }
    }
}

// Inside or on the border of a convex quadrilateral: on the same side of
// all four edges, whichever way they turn.
bool insideQuad(const MeshCell& c, int32_t x, int32_t y)
{
    bool left = false, right = false;
    for (int k = 0; k < 4; ++k) {
        const MeshPoint a = c.p[k], b = c.p[(k + 1) % 4];
        const int64_t cross = (int64_t(b.x) - a.x) * (int64_t(y) - a.y) - (int64_t(b.y) - a.y) * (int64_t(x) - a.x);
        left = left || cross < 0;
        right = right || cross > 0;
    }
    return !(left && right);
}

// Marks the holes (sorted by row, then column) inside cell c.
void markInside(std::vector<Pinhole>& holes, const MeshCell& c)
{
    int32_t minX = c.p[0].x, maxX = c.p[0].x, minY = c.p[0].y, maxY = c.p[0].y;
    for (const MeshPoint& p : c.p) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
    auto it = std::lower_bound(holes.begin(), holes.end(), minY, [](const Pinhole& h, int32_t y) { return h.y < y; });
    for (; it != holes.end() && it->y <= maxY; ++it)
        if (!it->inside && it->x >= minX && it->x <= maxX && insideQuad(c, it->x, it->y)) it->inside = true;
}

void markInsideCells(const Workspace& ws, const CellList& cells, std::vector<Pinhole>& holes)
{
    if (holes.empty()) return;
    if (cells.single) return markInside(holes, *cells.single);
    const int32_t total = ws.meshColumns * ws.meshRows;
    if (cells.numbers.empty()) {
        for (int32_t n = 0; n < total; ++n) markInside(holes, cellOf(ws, n));
        return;
    }
    for (int32_t n : cells.numbers)
        if (n >= 0 && n < total) markInside(holes, cellOf(ws, n));
}

// Each hole inside a cell takes the rounded mean of its written neighbours;
// all means are taken before any hole is written. Returns how many.
int64_t fill(Workspace& ws, WrittenRecord& r, std::vector<Pinhole>& holes)
{
    int64_t closed = 0;
    for (Pinhole& h : holes) {
        if (!h.inside) continue;
        unsigned sum[3] = {}, n = 0;
        for (const auto& d : kNeighbour) {
            const int32_t x = h.x + d[0], y = h.y + d[1];
            if (!r.written(x, y)) continue;
            const uint8_t* p = ws.image + (uint64_t(y) * ws.imageWidth + x) * 3;
            for (int k = 0; k < 3; ++k) sum[k] += p[k];
            ++n;
        }
        for (int k = 0; k < 3; ++k) h.value[k] = uint8_t((sum[k] + n / 2) / n);
    }
    for (const Pinhole& h : holes) {
        if (!h.inside) continue;
        uint8_t* p = ws.image + (uint64_t(h.y) * ws.imageWidth + h.x) * 3;
        std::copy(h.value, h.value + 3, p);
        const size_t i = size_t(h.x - r.x0);
        r.row(h.y)[i / 64] |= uint64_t(1) << (i % 64);
        ++closed;
    }
    return closed;
}

// The pinholes a first pass left beside the ones it closed: two or three
// in a row, whose neighbours are now written.
void findTouching(const PartMask& mask, const WrittenRecord& r, const PixelBox& area,
                  const std::vector<Pinhole>& closed, std::vector<Pinhole>& out)
{
    out.clear();
    for (const Pinhole& h : closed) {
        if (!h.inside) continue;
        for (const auto& d : kNeighbour) {
            const int32_t x = h.x + d[0], y = h.y + d[1];
            if (within(area, x, y) && isPinhole(mask, r, x, y)) out.push_back({x, y});
        }
    }
    std::sort(out.begin(), out.end(), [](const Pinhole& a, const Pinhole& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
    out.erase(std::unique(out.begin(), out.end(), [](const Pinhole& a, const Pinhole& b) { return a.x == b.x && a.y == b.y; }),
              out.end());
}

}  // namespace

int64_t closePinholes(Workspace& ws, WrittenRecord& record, const CellList& cells, const PartMask& mask,
                      const std::optional<PixelBox>& clip)
{
    std::vector<Pinhole> first, second;
    findCandidates(mask, record, closable(record, clip, 1), first);
    markInsideCells(ws, cells, first);
    int64_t closed = fill(ws, record, first);
    if (closed == 0) return 0;
    findTouching(mask, record, closable(record, clip, 2), first, second);
    markInsideCells(ws, cells, second);
    return closed + fill(ws, record, second);
}

}  // namespace orx
