// The cell mapping: every object cell filled from its material cell.
//
// Axis-parallel rectangles are scaled directly; any other cell is cut into
// edges (cellGeometry.h), scan-converted line by line, and each span
// between two crossings is filled by walking the matching line of the
// material cell and stretching its samples over the span.
//
// The work is split into bands of rows, one per worker; each band walks
// every selected cell in order and writes only its own rows, so each pixel
// sees the same writes in the same order as one walk would: the picture is
// the same byte for byte however many workers run.
#include "cellMapping.h"

#include <algorithm>
#include <climits>
#include <atomic>
#include <cstring>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "cellGeometry.h"
#include "mesh.h"
#include "pinholes.h"
#include "shading.h"

namespace orx {

namespace {

struct Crossing {
    int32_t x, y, edge;
};

// What one worker writes: rows [y0, y1) and columns [x0, x1); and its
// scratch space.
struct Band {
    Band(int32_t top, int32_t bottom, int32_t left, int32_t right, const ShadeTables* t)
        : y0(top), y1(bottom), x0(left), x1(right), tables(t)
    {
    }
    int32_t y0, y1, x0, x1;
    const ShadeTables* tables;
    std::vector<uint8_t> samples;  // room for the longest walk so far, 3 bytes a sample
    size_t sampleCount = 0;
    Crossing crossings[kMaxEdges];
    Pt materialPoints[kMaxEdges];
    bool zeroBottomSide = false;
    WrittenRecord* record = nullptr;  // the pixels written, when pinholes are to be closed
    const PartMask* mask = nullptr;
};

// Row y of the band's record, or nullptr when it keeps none.
inline uint64_t* recordRow(Band& band, int32_t y) { return band.record ? band.record->row(y) : nullptr; }

inline void markWritten(uint64_t* recordRow, int32_t recordX0, int32_t x)
{
    const uint32_t i = uint32_t(x - recordX0);
    recordRow[i / 64] |= uint64_t(1) << (i % 64);
}

constexpr uint8_t kMarker[3] = {1, 0, 1};

inline bool isProtected(const Workspace& ws, const PartMask& mask, int32_t x, int32_t y)
{
    if (x < 0 || y < 0 || x >= ws.imageWidth || y >= ws.imageHeight) return true;
    return mask.protects(x, y);
}

inline void appendSample(const Workspace& ws, Band& band, int32_t x, int32_t y)
{
    uint8_t* s = band.samples.data() + 3 * band.sampleCount++;
    if (ws.maskMode && isProtected(ws, *band.mask, x, y))
        std::memcpy(s, kMarker, 3);
    else
        sampleMaterial(ws, x, y, s);
}

// ---- the quadrilateral path

// Integer line walk from a to b, the end point not visited: one sample per
// visited pixel. The minor axis steps when the error term is above 0.
void walkMaterialLine(const Workspace& ws, Band& band, Pt a, Pt b)
{
    band.sampleCount = 0;
    const int32_t dx = b.x - a.x, dy = b.y - a.y;
    const int32_t adx = std::abs(dx), ady = std::abs(dy);
    const size_t most = 3 * (size_t(std::max(adx, ady)) + 1);
    if (band.samples.size() < most) band.samples.resize(most);
    const int32_t sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
    int32_t x = a.x, y = a.y;
    if (adx >= ady) {
        int64_t e = 2 * int64_t(ady) - adx;
        for (int32_t i = 0; i < adx; ++i) {
            appendSample(ws, band, x, y);
            if (e > 0) {
                y += sy;
                e -= 2 * int64_t(adx);
            }
            e += 2 * int64_t(ady);
            x += sx;
        }
    } else {
        int64_t e = 2 * int64_t(adx) - ady;
        for (int32_t i = 0; i < ady; ++i) {
            appendSample(ws, band, x, y);
            if (e > 0) {
                x += sx;
                e -= 2 * int64_t(ady);
            }
            e += 2 * int64_t(adx);
            y += sy;
        }
    }
    // A line whose ends are the same pixel still has that pixel to give.
    if (band.sampleCount == 0) appendSample(ws, band, a.x, a.y);
}

// Spreads the sample line over n pixels of row y from x = start.
void stretchSamples(Workspace& ws, Band& band, int32_t start, int32_t n, int32_t y)
{
    const size_t count = band.sampleCount;
    const double step = (double(count) - 1) / n;
    const int32_t w = ws.imageWidth;
    const uint64_t rowBase = uint64_t(y) * w;
    const PartMask& mask = *band.mask;
    const uint8_t* maskRow = mask.row(y);
    const uint8_t* photo = ws.secondImage;
    uint8_t* image = ws.image;
    const uint8_t* samples = band.samples.data();
    const ShadeTables& tables = *band.tables;
    const bool reflect = ws.reflection != 0, masked = ws.maskMode != 0;
    const int32_t left = band.x0, right = band.x1;
    uint64_t* written = recordRow(band, y);
    const int32_t writtenX0 = band.record ? band.record->x0 : 0;
    double acc = 0;
    for (int32_t k = 0; k < n; ++k, acc += step) {
        const int32_t x = start + k;
        if (x < left || x >= right) continue;
        const uint8_t* s = samples + 3 * size_t(acc);
        const uint64_t p = rowBase + uint64_t(x);
        if (masked && ((s[0] == 1 && s[1] == 0 && s[2] == 1) || mask.protectsIn(maskRow, x))) continue;
        if (reflect)
            shadeReflectionFast(tables, photo + 3 * p, s, image + 3 * p);
        else
            shadeContrastFast(tables, photo + 3 * p, s, image + 3 * p);
        if (written) markWritten(written, writtenX0, x);
    }
}

void scanLine(Workspace& ws, Band& band, const CellEdges& edges, int32_t y)
{
    int n = 0;
    for (int k = 0; k < edges.count; ++k) {
        const Edge& e = edges.object[k];
        if (y < std::min(e.a.y, e.b.y) || y > std::max(e.a.y, e.b.y)) continue;
        const int64_t a = int64_t(e.a.y) - e.b.y;
        const int64_t b = int64_t(e.b.x) - e.a.x;
        const int64_t c = -(int64_t(e.b.y) * b) - int64_t(e.b.x) * a;
        double x;
        if (a == 0 && b != 0) continue;  // horizontal: no crossing
        if (a == 0)
            x = e.a.x;  // a single point
        else if (b == 0)
            x = double(-c) / double(a);
        else
            x = (double(-c) - double(b) * y) / double(a);
        if (x < std::min(e.a.x, e.b.x) || x > std::max(e.a.x, e.b.x)) continue;
        bool listed = false;
        for (int i = 0; i < n && !listed; ++i) listed = double(band.crossings[i].x) == x;
        if (listed) continue;
        band.crossings[n++] = {truncInt(x), y, k};
    }
    // Exchange sort, as other installations order equal crossings.
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            if (band.crossings[i].x > band.crossings[j].x) std::swap(band.crossings[i], band.crossings[j]);

    for (int i = 0; i < n; ++i) {
        const Crossing& cr = band.crossings[i];
        const Edge& o = edges.object[cr.edge];
        const Edge& m = edges.material[cr.edge];
        const double len = dist(o.a, o.b);
        if (len == 0) {
            band.materialPoints[i] = m.a;
            continue;
        }
        const double t = dist({cr.x, cr.y}, o.a) / len;
        band.materialPoints[i] = pointAlong(m.a, m.b, t * dist(m.a, m.b));
    }

    for (int i = 0; i + 1 < n; ++i) {
        const int32_t start = band.crossings[i].x + (i > 0 ? 1 : 0);
        const int32_t len = band.crossings[i + 1].x - start + 1;
        if (len <= 0) continue;
        Pt from = band.materialPoints[i];
        if (i > 0) from.x += 1;
        walkMaterialLine(ws, band, from, band.materialPoints[i + 1]);
        stretchSamples(ws, band, start, len, y);
    }
}

void mapQuadrilateral(Workspace& ws, Band& band, const MeshCell& c)
{
    const Pt p0 = toPt(c.p[0]), p1 = toPt(c.p[1]), p2 = toPt(c.p[2]), p3 = toPt(c.p[3]);
    // Concave, crossed and degenerate cells are left alone.
    if (segmentIntersection(p0, p2, p1, p3) == kNoPoint) return;

    double right = dist(p1, p2);
    if (right == 0) right = 0.1;
    const double bottom = dist(p2, p3);
    if (bottom == 0) band.zeroBottomSide = true;
    const double kLR = dist(p3, p0) / right;
    const double kTB = dist(p0, p1) / bottom;

    CellEdges edges;
    if (kLR >= 0.9 && kLR <= 1.1 && kTB >= 0.9 && kTB <= 1.1)
        fourSides(c, edges);
    else
        perspectiveGrid(c, edges);

    const int32_t top = std::max({std::min({p0.y, p1.y, p2.y, p3.y}), band.y0, 0});
    const int32_t last = std::min({std::max({p0.y, p1.y, p2.y, p3.y}), band.y1 - 1, ws.imageHeight - 1});
    for (int32_t y = top; y <= last; ++y) scanLine(ws, band, edges, y);
}

// ---- the rectangle path

// One row of an axis-parallel cell, from column x0 to x1; pixels left of
// `from` only move u. The workspace's fields are read once: the pixel
// writes are byte writes, which the compiler must assume could change them.
template <bool Soft>
void rectangleRow(Workspace& ws, Band& band, int32_t y, int32_t tv, int32_t x0, int32_t x1, double u, double sx)
{
    const ShadeTables& tables = *band.tables;
    const int32_t from = band.x0;
    uint64_t* written = recordRow(band, y);
    const int32_t writtenX0 = band.record ? band.record->x0 : 0;
    const int32_t w = ws.imageWidth, h = ws.imageHeight;
    const PartMask& mask = *band.mask;
    const uint8_t* maskRow = mask.row(y);
    const uint8_t* materialMaskRow = mask.row(tv);
    const uint8_t* photoRow = ws.secondImage + uint64_t(y) * w * 3;
    uint8_t* outRow = ws.image + uint64_t(y) * w * 3;
    // Soft samples are taken one pixel inside the border.
    const ptrdiff_t stride = ptrdiff_t(w) * 3;
    const uint8_t* materialRow = ws.secondImage + (Soft ? std::clamp(tv, 1, h - 2) : tv) * stride;
    for (int32_t x = x0; x <= x1; ++x) {
        const int32_t tu = truncInt(u);
        if (tu < 0 || tu >= w) continue;
        if (x >= from && !mask.protectsIn(materialMaskRow, tu) && !mask.protectsIn(maskRow, x)) {
            uint8_t s[3];
            if constexpr (Soft) {
                const uint8_t* c = materialRow + ptrdiff_t(std::clamp(tu, 1, w - 2)) * 3;
                for (int k = 0; k < 3; ++k)
                    s[k] = uint8_t((c[k - stride] + c[k - 3] + c[k] + c[k + 3] + c[k + stride]) / 5);
            } else {
                std::memcpy(s, materialRow + ptrdiff_t(tu) * 3, 3);
            }
            shadeContrastFast(tables, photoRow + 3 * ptrdiff_t(x), s, outRow + 3 * ptrdiff_t(x));
            if (written) markWritten(written, writtenX0, x);
        }
        u += sx;
    }
}

// Axis-parallel cells: the material rectangle scaled onto the object
// rectangle, always with contrast shading.
void mapRectangle(Workspace& ws, Band& band, const MeshCell& c)
{
    const MeshPoint p0 = c.p[0], p2 = c.p[2], q0 = c.q0, q2 = c.q2;
    const double sx = (double(q2.x) - q0.x + 1) / (double(p2.x) - p0.x + 1);
    const double sy = (double(q2.y) - q0.y + 1) / (double(p2.y) - p0.y + 1);
    const bool soft = ws.softMapping && ws.imageWidth >= 3 && ws.imageHeight >= 3;
    // v is carried from the first row even through rows of other bands, so
    // every band sees the same sums the single-threaded walk makes.
    double v = q0.y;
    const int32_t yEnd = std::min(p2.y, band.y1 - 1);
    // u only moves on pixels inside the picture, so the columns left of it
    // can be passed over without changing a thing; the columns right of the
    // band's last are never reached.
    const int32_t x0 = std::max(p0.x, 0), x1 = std::min(p2.x, band.x1 - 1);
    if (x1 < band.x0) return;
    for (int32_t y = p0.y; y <= yEnd; ++y, v += sy) {
        if (y < band.y0) continue;
        const int32_t tv = truncInt(v);
        // A material row off the picture leaves the whole row alone.
        if (tv < 0 || tv >= ws.imageHeight) continue;
        if (soft)
            rectangleRow<true>(ws, band, y, tv, x0, x1, q0.x, sx);
        else
            rectangleRow<false>(ws, band, y, tv, x0, x1, q0.x, sx);
    }
}

// ---- cells and workers

// Mesh points belong on or near the picture; a cell with a point absurdly
// far outside it comes from a damaged file and would only spin the loops.
bool withinReach(const Workspace& ws, const MeshCell& c)
{
    const int64_t margin = 4 * (int64_t(ws.imageWidth) + ws.imageHeight) + 4096;
    auto near = [&](MeshPoint p) {
        return p.x >= -margin && p.y >= -margin && p.x <= ws.imageWidth + margin && p.y <= ws.imageHeight + margin;
    };
    return near(c.p[0]) && near(c.p[1]) && near(c.p[2]) && near(c.p[3]) && near(c.q0) && near(c.q2);
}

void mapCellInBand(Workspace& ws, Band& band, const MeshCell& c)
{
    if (!withinReach(ws, c)) return;
    if (isAxisRectangle(c))
        mapRectangle(ws, band, c);
    else
        mapQuadrilateral(ws, band, c);
}

void reportZeroBottom(Workspace& ws, bool seen)
{
    // Said once per mapping rather than once per cell: a mesh with many
    // triangular cells would otherwise bury the user in boxes.
    if (seen) ws.platform->message("d34 == 0", Icon::None);
}

int workerCount(const Workspace& ws)
{
    if (ws.mappingThreads > 0) return ws.mappingThreads;
    if (pixelCount(ws) < 500'000) return 1;
    return int(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
}

// A clip's corners in either order as a box (beyond the picture as given).
PixelBox clipBox(const Rect& clip)
{
    auto after = [](int32_t v) { return int32_t(std::min<int64_t>(int64_t(v) + 1, INT32_MAX)); };
    return {std::min(clip.x0, clip.x1), std::min(clip.y0, clip.y1), after(std::max(clip.x0, clip.x1)),
            after(std::max(clip.y0, clip.y1))};
}

// The box of the object corners of the cells walked, inside the window:
// no cell writes outside it.
PixelBox reach(const Workspace& ws, const CellList& cells, PixelBox win)
{
    int32_t minX = INT32_MAX, minY = INT32_MAX, maxX = INT32_MIN, maxY = INT32_MIN;
    auto take = [&](MeshPoint p) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    };
    const int32_t total = ws.meshColumns * ws.meshRows;
    if (cells.single) {
        for (const MeshPoint& p : cells.single->p) take(p);
    } else if (cells.numbers.empty()) {
        for (int i = 0; i < meshPointCount(ws); ++i) take(ws.Cpoint1[size_t(i)]);
    } else {
        for (int32_t n : cells.numbers)
            if (n >= 0 && n < total)
                for (const MeshPoint& p : cellOf(ws, n).p) take(p);
    }
    if (minX > maxX) return {0, 0, 0, 0};
    win.x0 = std::max(win.x0, minX);
    win.y0 = std::max(win.y0, minY);
    win.x1 = std::min(int64_t(win.x1), int64_t(maxX) + 1);
    win.y1 = std::min(int64_t(win.y1), int64_t(maxY) + 1);
    return win;
}

// Maps the cells in bands of rows, one worker each; then closes the
// pinholes the cells left between them.
PixelBox mapList(Workspace& ws, const CellList& cells, const PartMask& mask, const std::optional<PixelBox>& clip)
{
    const int32_t total = ws.meshColumns * ws.meshRows;
    PixelBox win{0, 0, ws.imageWidth, ws.imageHeight};
    if (clip) win = {std::max(win.x0, clip->x0), std::max(win.y0, clip->y0), std::min(win.x1, clip->x1),
                     std::min(win.y1, clip->y1)};
    win = reach(ws, cells, win);
    if ((!cells.single && total <= 0) || win.x0 >= win.x1 || win.y0 >= win.y1) return {0, 0, 0, 0};
    ShadeTables tables;
    buildShadeTables(ws, tables);
    WrittenRecord record;
    const bool closing = ws.pinholeClosing != 0;
    if (closing) record.reset(win.x0, win.y0, win.x1, win.y1);

    const int rows = win.y1 - win.y0;
    const int workers = std::min(workerCount(ws), rows);
    std::vector<Band> bands;
    for (int i = 0; i < workers; ++i) {
        const int32_t y0 = win.y0 + int32_t(int64_t(rows) * i / workers);
        const int32_t y1 = win.y0 + int32_t(int64_t(rows) * (i + 1) / workers);
        Band& band = bands.emplace_back(y0, y1, win.x0, win.x1, &tables);
        band.samples.reserve(size_t(ws.imageWidth + ws.imageHeight) * 3);
        if (closing) band.record = &record;
        band.mask = &mask;
    }
    // A band that runs out of memory for its samples stops; the caller's
    // thread then reports it as the whole mapping's.
    std::atomic<bool> outOfMemory = false;
    auto work = [&ws, &cells, &outOfMemory, total](Band& band) {
        try {
            if (cells.single) {
                mapCellInBand(ws, band, *cells.single);
            } else if (cells.numbers.empty()) {
                for (int32_t n = 0; n < total; ++n) mapCellInBand(ws, band, cellOf(ws, n));
            } else {
                for (int32_t n : cells.numbers)
                    if (n >= 0 && n < total) mapCellInBand(ws, band, cellOf(ws, n));
            }
        } catch (const std::bad_alloc&) {
            outOfMemory = true;
        }
    };
    std::vector<std::thread> threads;
    int started = 1;
    try {
        for (; started < workers; ++started) threads.emplace_back(work, std::ref(bands[size_t(started)]));
    } catch (const std::system_error&) {
        // No more threads to be had: this one maps the rest.
    }
    work(bands[0]);
    for (int i = started; i < workers; ++i) work(bands[size_t(i)]);
    for (auto& t : threads) t.join();
    if (outOfMemory) throw std::bad_alloc();

    bool zeroBottom = false;
    for (const Band& b : bands) zeroBottom = zeroBottom || b.zeroBottomSide;
    reportZeroBottom(ws, zeroBottom);
    if (closing) closePinholes(ws, record, cells, mask, clip);
    return win;
}

}  // namespace

void mapCell(Workspace& ws)
{
    const MeshCell cell = ws.cell;
    mapList(ws, CellList{{}, &cell}, PartMask(ws, nullptr), std::nullopt);
}

PixelBox mapCells(Workspace& ws, const CellSelection& which)
{
    std::optional<PixelBox> clip;
    if (which.clip) clip = clipBox(*which.clip);
    return mapList(ws, CellList{which.cells, nullptr}, PartMask(ws, which.packedMask), clip);
}

}  // namespace orx
