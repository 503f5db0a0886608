// Colour ways and the repeat test.
#include "colourWays.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>
#include <vector>

#include "workspace/display.h"

namespace orx {

namespace {

using WayRow = std::array<int, kMaxWayColours>;

constexpr uint8_t kPageGrey = 128;  // between the pictures of a page

// Every ordering of 0..n-1 in lexicographic order.
std::vector<WayRow> lexicographicWays(int n)
{
    std::vector<WayRow> rows;
    WayRow row{};
    std::iota(row.begin(), row.begin() + n, 0);
    do rows.push_back(row);
    while (std::next_permutation(row.begin(), row.begin() + n));
    return rows;
}

// Five colours follow the table the designers know: row r first exchanges
// the first colour with colour r / 24, then orders the other four by the
// twenty-four orderings of their places, lexicographically. Rows 0..47 come
// out in lexicographic order; the later ones do not.
std::vector<WayRow> fiveColourWays()
{
    const std::vector<WayRow> places = lexicographicWays(4);
    std::vector<WayRow> rows;
    for (int r = 0; r < 120; ++r) {
        WayRow base{0, 1, 2, 3, 4};
        std::swap(base[0], base[r / 24]);
        const WayRow& order = places[size_t(r % 24)];
        WayRow row{base[0]};
        for (int i = 0; i < 4; ++i) row[size_t(i + 1)] = base[size_t(1 + order[size_t(i)])];
        rows.push_back(row);
    }
    return rows;
}

const std::vector<WayRow>& waysOf(int n)
{
    static const std::vector<WayRow> tables[] = {lexicographicWays(2), lexicographicWays(3), lexicographicWays(4),
                                                 fiveColourWays()};
    return tables[n - kMinWayColours];
}

inline uint32_t key(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16; }
inline uint32_t key(Rgb c) { return uint32_t(c.r) | uint32_t(c.g) << 8 | uint32_t(c.b) << 16; }

// The colours a way changes: each swatch colour once (the lowest swatch of
// a colour decides) with its replacement.
struct WayMap {
    int count = 0;
    uint32_t from[kMaxWayColours];
    uint8_t to[kMaxWayColours][3];

    // The replacement of the colour at p, or p itself.
    const uint8_t* operator()(const uint8_t* p) const
    {
        const uint32_t k = key(p);
        for (int i = 0; i < count; ++i)
            if (from[i] == k) return to[i];
        return p;
    }
};

bool wayMap(const Workspace& ws, int k, WayMap& map)
{
    const int n = ws.colourWayCount;
    int row[kMaxWayColours];
    if (!colourWayRow(n, k, row)) return false;
    map.count = 0;
    for (int i = 0; i < n; ++i) {
        const uint32_t c = key(ws.paletteSwatches[i]);
        if (std::find(map.from, map.from + map.count, c) != map.from + map.count) continue;
        const Rgb& r = ws.paletteSwatches[row[i]];
        map.from[map.count] = c;
        map.to[map.count][0] = r.r;
        map.to[map.count][1] = r.g;
        map.to[map.count][2] = r.b;
        ++map.count;
    }
    return true;
}

void fillCanvas(const Canvas& canvas, uint8_t grey)
{
    for (int32_t y = 0; y < canvas.height; ++y)
        std::memset(canvas.pixels + y * canvas.stride, grey, size_t(canvas.width) * 3);
}

// The picture reduced by r with its top-left at (x, y) of the canvas, each
// sampled pixel (the top-left of its block) through `colour`; clipped to
// the canvas.
template <typename Colour>
void drawReduced(const Workspace& ws, const Canvas& canvas, int32_t x, int32_t y, int32_t r, Colour&& colour)
{
    const int32_t pw = ws.imageWidth / r, ph = ws.imageHeight / r;
    const int32_t i0 = std::max(0, -x), i1 = std::min(pw, canvas.width - x);
    const int32_t j0 = std::max(0, -y), j1 = std::min(ph, canvas.height - y);
    for (int32_t j = j0; j < j1; ++j) {
        const uint8_t* src = ws.image + uint64_t(j) * uint64_t(r) * uint64_t(ws.imageWidth) * 3;
        uint8_t* d = canvas.pixels + (y + j) * canvas.stride + int64_t(x + i0) * 3;
        for (int32_t i = i0; i < i1; ++i, d += 3) {
            const uint8_t* c = colour(src + uint64_t(i) * uint64_t(r) * 3);
            d[0] = c[2];
            d[1] = c[1];
            d[2] = c[0];
        }
    }
}

}  // namespace

int colourWayTotal(int n)
{
    static const int factorial[] = {2, 6, 24, 120};
    return n < kMinWayColours || n > kMaxWayColours ? 0 : factorial[n - kMinWayColours];
}

bool colourWayRow(int n, int k, int row[kMaxWayColours])
{
    if (k < 0 || k >= colourWayTotal(n)) return false;
    const WayRow& r = waysOf(n)[size_t(k)];
    std::copy_n(r.begin(), n, row);
    return true;
}

WayPages colourWayPages(int n, int across, int down)
{
    const int total = colourWayTotal(n);
    const int perPage = std::max(across, 1) * std::max(down, 1);
    if (total == 0) return {};
    if (perPage >= total) return {total, 1};
    return {perPage, (total + perPage - 1) / perPage};
}

bool makeColourWay(const Workspace& ws, int k, uint8_t* plane)
{
    WayMap map;
    if (!wayMap(ws, k, map)) return false;
    const uint8_t* from = ws.image;
    const uint64_t n = pixelCount(ws);
    for (uint64_t i = 0; i < n; ++i, from += 3, plane += 3) {
        const uint8_t* c = map(from);
        if (c != plane) std::memcpy(plane, c, 3);
    }
    return true;
}

void composeColourWayCell(const Workspace& ws, int k, const Canvas& canvas, int32_t x, int32_t y, int32_t w,
                          int32_t h)
{
    WayMap map;
    if (!wayMap(ws, k, map) || ws.imageWidth < 1 || ws.imageHeight < 1 || w < 1 || h < 1) return;
    const int32_t r = fitReduction(ws.imageWidth, ws.imageHeight, w, h);
    drawReduced(ws, canvas, x + (w - ws.imageWidth / r) / 2, y + (h - ws.imageHeight / r) / 2, r, map);
}

void composeColourWayPage(const Workspace& ws, int page, const Canvas& canvas)
{
    fillCanvas(canvas, kPageGrey);
    const int across = std::max(ws.picturesAcross, 1), down = std::max(ws.picturesDown, 1);
    const WayPages pages = colourWayPages(ws.colourWayCount, across, down);
    if (page < 1 || page > pages.pages) return;
    const int total = colourWayTotal(ws.colourWayCount);
    const int32_t cw = canvas.width / across, ch = canvas.height / down;
    const int first = (page - 1) * pages.perPage;
    for (int k = first; k < std::min(first + pages.perPage, total); ++k) {
        const int cell = k - first;
        composeColourWayCell(ws, k, canvas, (cell % across) * cw, (cell / across) * ch, cw, ch);
    }
}

void composeRepeatTest(const Workspace& ws, const Canvas& canvas)
{
    fillCanvas(canvas, kPageGrey);
    const int across = std::max(ws.picturesAcross, 1), down = std::max(ws.picturesDown, 1);
    if (ws.imageWidth < 1 || ws.imageHeight < 1) return;
    const int32_t r = fitReduction(ws.imageWidth, ws.imageHeight, canvas.width / across, canvas.height / down);
    const int32_t tw = ws.imageWidth / r, th = ws.imageHeight / r;
    if (tw < 1 || th < 1) return;
    const int32_t x0 = (canvas.width - tw * across) / 2, y0 = (canvas.height - th * down) / 2;
    for (int j = 0; j < down; ++j)
        for (int i = 0; i < across; ++i)
            drawReduced(ws, canvas, x0 + i * tw, y0 + j * th, r, [](const uint8_t* p) { return p; });
}

}  // namespace orx
