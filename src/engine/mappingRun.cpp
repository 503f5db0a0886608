// The mapping run: every part of a model is dressed cell by cell.
//
// An ORX file names, part after part, a mask file and a MAP file. A mask
// line installs the part's mask (set bits protect); a MAP line loads the
// part's object and material meshes and fills every object cell from its
// material cell. Axis-parallel rectangles are scaled directly; any other
// cell is cut into edges (its four sides, or a perspective 8 x 8 grid of 144
// edges when opposite sides differ by more than a tenth), scan-converted
// line by line, and each span between two crossings is filled by walking
// the matching line of the material cell and stretching its samples.
//
// Other installations dress the same models, so the geometry below is kept
// to the letter: integer points, the same rounding, the same walk.
#include "mappingRun.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "mesh.h"
#include "shading.h"
#include "workspace/langText.h"
#include "workspace/nativeFile.h"

namespace orx {

namespace {

// ---- geometry

struct Pt {
    int32_t x, y;
    bool operator==(const Pt&) const = default;
};

// What a line intersection gives for parallel lines, and the diagonal test
// for diagonals that do not cross inside the cell.
constexpr Pt kNoPoint{2000, 2000};

constexpr double kPi = 3.141593;
constexpr double kHalfPi = 1.5707965;
constexpr double kThreeHalfPi = 4.7123895;
constexpr double kTwoPi = 6.283186;

// Truncation toward zero, as a C cast does, made total: degenerate cells
// can produce NaN or huge values, which become 0 or are held at a range
// no image reaches.
inline int32_t truncInt(double v)
{
    if (!(v == v)) return 0;
    return int32_t(std::clamp(v, -1.0e9, 1.0e9));
}

inline double dist(Pt a, Pt b)
{
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    return std::sqrt(dx * dx + dy * dy);
}

// Intersection of the infinite lines a-b and c-d, rounded half up.
Pt lineIntersection(Pt a, Pt b, Pt c, Pt d)
{
    const double x1 = a.x, y1 = a.y, x2 = b.x, y2 = b.y, x3 = c.x, y3 = c.y, x4 = d.x, y4 = d.y;
    const double den = (x1 - x2) * (y3 - y4) - (y1 - y2) * (x3 - x4);
    if (den == 0) return kNoPoint;
    const double p = x1 * y2 - y1 * x2, q = x3 * y4 - y3 * x4;
    const double px = (p * (x3 - x4) - (x1 - x2) * q) / den;
    const double py = (p * (y3 - y4) - (y1 - y2) * q) / den;
    return {truncInt(px + 0.5), truncInt(py + 0.5)};
}

inline bool inBox(Pt p, Pt a, Pt b)
{
    return p.x >= std::min(a.x, b.x) && p.x <= std::max(a.x, b.x) && p.y >= std::min(a.y, b.y) &&
           p.y <= std::max(a.y, b.y);
}

// Intersection of the segments a-b and c-d: the rounded line intersection
// when it lies in both segments' boxes, else kNoPoint.
Pt segmentIntersection(Pt a, Pt b, Pt c, Pt d)
{
    const Pt p = lineIntersection(a, b, c, d);
    if (p == kNoPoint || !inBox(p, a, b) || !inBox(p, c, d)) return kNoPoint;
    return p;
}

double directionAngle(Pt from, Pt to)
{
    if (from.y == to.y) return from.x <= to.x ? 0.0 : kPi;
    if (from.x == to.x) return from.y < to.y ? kHalfPi : kThreeHalfPi;
    const double dx = std::abs(double(to.x) - from.x), dy = std::abs(double(to.y) - from.y);
    if (to.x > from.x && to.y > from.y) return std::atan(dy / dx);
    if (to.x < from.x && to.y > from.y) return kHalfPi + std::atan(dx / dy);
    if (to.x < from.x) return kPi + std::atan(dy / dx);
    return kThreeHalfPi + std::atan(dx / dy);
}

// The point at distance d from `from` towards `to`: the point d to the
// right, truncated, turned about `from` by the direction's angle.
Pt pointAlong(Pt from, Pt to, double d)
{
    if (d == 0) return from;
    const double a = directionAngle(from, to);
    const int32_t xd = truncInt(from.x + d);
    if (a == 0 || a == kTwoPi) return {xd, from.y};
    const double dx = double(xd) - from.x;
    return {truncInt(std::cos(a) * dx + 0.25983) + from.x, truncInt(std::sin(a) * dx + 0.25983) + from.y};
}

// ---- edges of a cell

struct Edge {
    Pt a, b;
};

constexpr int kMaxEdges = 144;

struct CellEdges {
    int count = 0;
    Edge object[kMaxEdges];
    Edge material[kMaxEdges];
};

void fourSides(const MeshCell& c, CellEdges& e)
{
    const Pt p[4] = {{c.p[0].x, c.p[0].y}, {c.p[1].x, c.p[1].y}, {c.p[2].x, c.p[2].y}, {c.p[3].x, c.p[3].y}};
    const Pt q0{c.q0.x, c.q0.y}, q1{c.q2.x, c.q0.y}, q2{c.q2.x, c.q2.y}, q3{c.q0.x, c.q2.y};
    const Pt q[4] = {q0, q1, q2, q3};
    for (int k = 0; k < 4; ++k) {
        e.object[k] = {p[k], p[(k + 1) % 4]};
        e.material[k] = {q[k], q[(k + 1) % 4]};
    }
    e.count = 4;
}

// The point of side from-to at distance k |from-to| / (1 + k) from `from`:
// where a side is cut when the opposite sides are parallel. A degenerate
// ratio (a side of length 0) cuts in the middle.
Pt cutSide(Pt from, Pt to, double k)
{
    double d = k * dist(from, to) / (1 + k);
    if (!std::isfinite(d)) d = dist(from, to) / 2;
    return pointAlong(from, to, d);
}

// One perspective halving of the grid square whose top-left grid index is
// (col, row) and side `step`: its centre and the four dividing points.
//
// A sliver a few pixels wide can round its diagonals' crossing outside
// them, or send a vanishing line past its side; the "no point" value or a
// point off the side would then stretch edges across the picture. Such a
// quadrilateral takes its corners' average as its centre, and such a side is
// cut as if the opposite sides were parallel. Cells of any useful size never
// meet either case.
void halveQuad(Pt g[9][9], int row, int col, int step)
{
    const int half = step / 2;
    const Pt A = g[row][col], B = g[row][col + step], D = g[row + step][col + step], E = g[row + step][col];
    Pt M = segmentIntersection(A, D, B, E);
    if (M == kNoPoint)
        M = {truncInt((double(A.x) + B.x + D.x + E.x) / 4 + 0.5), truncInt((double(A.y) + B.y + D.y + E.y) / 4 + 0.5)};
    auto onSide = [](Pt p, Pt a, Pt b) { return p != kNoPoint && inBox(p, a, b); };

    Pt top = kNoPoint, bottom = kNoPoint, left = kNoPoint, right = kNoPoint;
    const Pt v1 = lineIntersection(A, E, B, D);
    if (v1 != kNoPoint) {
        top = lineIntersection(M, v1, A, B);
        bottom = lineIntersection(M, v1, E, D);
    }
    const double kSides = dist(A, E) / dist(B, D);
    if (!onSide(top, A, B)) top = cutSide(A, B, kSides);
    if (!onSide(bottom, E, D)) bottom = cutSide(E, D, kSides);

    const Pt v2 = lineIntersection(A, B, E, D);
    if (v2 != kNoPoint) {
        left = lineIntersection(M, v2, A, E);
        right = lineIntersection(M, v2, B, D);
    }
    const double kEnds = dist(A, B) / dist(E, D);
    if (!onSide(right, B, D)) right = cutSide(B, D, kEnds);
    if (!onSide(left, A, E)) left = cutSide(A, E, kEnds);

    g[row + half][col + half] = M;
    g[row][col + half] = top;
    g[row + step][col + half] = bottom;
    g[row + half][col] = left;
    g[row + half][col + step] = right;
}

// The 8 x 8 subdivision: object grid by three levels of halving (the
// quadrilaterals of a level in row-major order, later halvings overwriting
// shared points), material grid by eighths of its sides; 72 row edges row
// by row, then 72 column edges column by column.
void perspectiveGrid(const MeshCell& c, CellEdges& e)
{
    Pt g[9][9] = {};
    g[0][0] = {c.p[0].x, c.p[0].y};
    g[0][8] = {c.p[1].x, c.p[1].y};
    g[8][8] = {c.p[2].x, c.p[2].y};
    g[8][0] = {c.p[3].x, c.p[3].y};
    for (int step = 8; step >= 2; step /= 2)
        for (int row = 0; row < 8; row += step)
            for (int col = 0; col < 8; col += step) halveQuad(g, row, col, step);

    const Pt q0{c.q0.x, c.q0.y};
    int32_t colX[9], rowY[9];
    colX[0] = c.q0.x;
    colX[8] = c.q2.x;
    rowY[0] = c.q0.y;
    rowY[8] = c.q2.y;
    const double w = std::abs(double(c.q2.x) - c.q0.x), h = std::abs(double(c.q2.y) - c.q0.y);
    for (int i = 1; i < 8; ++i) {
        colX[i] = pointAlong(q0, {c.q2.x, c.q0.y}, i * w / 8).x;
        rowY[i] = pointAlong(q0, {c.q0.x, c.q2.y}, i * h / 8).y;
    }

    int k = 0;
    for (int j = 0; j <= 8; ++j)
        for (int i = 0; i < 8; ++i, ++k) {
            e.object[k] = {g[j][i], g[j][i + 1]};
            e.material[k] = {{colX[i], rowY[j]}, {colX[i + 1], rowY[j]}};
        }
    for (int i = 0; i <= 8; ++i)
        for (int j = 0; j < 8; ++j, ++k) {
            e.object[k] = {g[j][i], g[j + 1][i]};
            e.material[k] = {{colX[i], rowY[j]}, {colX[i], rowY[j + 1]}};
        }
    e.count = k;
}

// ---- pixels

struct Crossing {
    int32_t x, y, edge;
};

// The rows one worker writes, [y0, y1), and its scratch space.
struct Band {
    Band(int32_t top, int32_t bottom, const ShadeTables* t) : y0(top), y1(bottom), tables(t) {}
    int32_t y0, y1;
    const ShadeTables* tables;
    std::vector<uint8_t> samples;  // room for the longest walk so far, 3 bytes a sample
    size_t sampleCount = 0;
    Crossing crossings[kMaxEdges];
    Pt materialPoints[kMaxEdges];
    bool zeroBottomSide = false;
};

constexpr uint8_t kMarker[3] = {1, 0, 1};


inline bool isProtected(const Workspace& ws, int32_t x, int32_t y)
{
    if (x < 0 || y < 0 || x >= ws.imageWidth || y >= ws.imageHeight) return true;
    return ws.mask[uint64_t(y) * ws.imageWidth + x] != 0;
}

inline bool inside(const Workspace& ws, int32_t x, int32_t y)
{
    return x >= 0 && y >= 0 && x < ws.imageWidth && y < ws.imageHeight;
}

inline void appendSample(const Workspace& ws, Band& band, int32_t x, int32_t y)
{
    uint8_t* s = band.samples.data() + 3 * band.sampleCount++;
    if (ws.maskMode && isProtected(ws, x, y))
        std::memcpy(s, kMarker, 3);
    else
        sampleMaterial(ws, x, y, s);
}

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
    const uint8_t* mask = ws.mask;
    const uint8_t* photo = ws.secondImage;
    uint8_t* image = ws.image;
    const uint8_t* samples = band.samples.data();
    const ShadeTables& tables = *band.tables;
    const bool reflect = ws.reflection != 0, masked = ws.maskMode != 0;
    double acc = 0;
    for (int32_t k = 0; k < n; ++k, acc += step) {
        const int32_t x = start + k;
        if (x < 0 || x >= w) continue;
        const uint8_t* s = samples + 3 * size_t(acc);
        const uint64_t p = rowBase + uint64_t(x);
        if (masked && ((s[0] == 1 && s[1] == 0 && s[2] == 1) || mask[p] != 0)) continue;
        if (reflect)
            shadeReflectionFast(tables, photo + 3 * p, s, image + 3 * p);
        else
            shadeContrastFast(tables, photo + 3 * p, s, image + 3 * p);
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

bool isAxisRectangle(const MeshCell& c)
{
    return c.p[0].x == c.p[3].x && c.p[0].y == c.p[1].y && c.p[1].x == c.p[2].x && c.p[2].y == c.p[3].y;
}

// One row of an axis-parallel cell. The workspace's fields are read once:
// the pixel writes are byte writes, which the compiler must assume could
// change them.
template <bool Soft>
void rectangleRow(Workspace& ws, const ShadeTables& tables, int32_t y, int32_t tv, int32_t x0, int32_t x1, double u,
                  double sx)
{
    const int32_t w = ws.imageWidth, h = ws.imageHeight;
    const uint8_t* maskRow = ws.mask + uint64_t(y) * w;
    const uint8_t* materialMaskRow = ws.mask + uint64_t(tv) * w;
    const uint8_t* photoRow = ws.secondImage + uint64_t(y) * w * 3;
    uint8_t* outRow = ws.image + uint64_t(y) * w * 3;
    // Soft samples are taken one pixel inside the border.
    const ptrdiff_t stride = ptrdiff_t(w) * 3;
    const uint8_t* materialRow = ws.secondImage + (Soft ? std::clamp(tv, 1, h - 2) : tv) * stride;
    for (int32_t x = x0; x <= x1; ++x) {
        const int32_t tu = truncInt(u);
        if (tu < 0 || tu >= w) continue;
        if (materialMaskRow[tu] == 0 && maskRow[x] == 0) {
            uint8_t s[3];
            if constexpr (Soft) {
                const uint8_t* c = materialRow + ptrdiff_t(std::clamp(tu, 1, w - 2)) * 3;
                for (int k = 0; k < 3; ++k)
                    s[k] = uint8_t((c[k - stride] + c[k - 3] + c[k] + c[k + 3] + c[k + stride]) / 5);
            } else {
                std::memcpy(s, materialRow + ptrdiff_t(tu) * 3, 3);
            }
            shadeContrastFast(tables, photoRow + 3 * ptrdiff_t(x), s, outRow + 3 * ptrdiff_t(x));
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
    // can be passed over without changing a thing.
    const int32_t x0 = std::max(p0.x, 0), x1 = std::min(p2.x, ws.imageWidth - 1);
    for (int32_t y = p0.y; y <= yEnd; ++y, v += sy) {
        if (y < band.y0) continue;
        const int32_t tv = truncInt(v);
        // A material row off the picture leaves the whole row alone.
        if (tv < 0 || tv >= ws.imageHeight) continue;
        if (soft)
            rectangleRow<true>(ws, *band.tables, y, tv, x0, x1, q0.x, sx);
        else
            rectangleRow<false>(ws, *band.tables, y, tv, x0, x1, q0.x, sx);
    }
}

void mapQuadrilateral(Workspace& ws, Band& band, const MeshCell& c)
{
    const Pt p0{c.p[0].x, c.p[0].y}, p1{c.p[1].x, c.p[1].y}, p2{c.p[2].x, c.p[2].y}, p3{c.p[3].x, c.p[3].y};
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

MeshCell cellAt(const Workspace& ws, int n)
{
    const int C = ws.meshColumns;
    const int r = n / C, col = n % C;
    const int base = r * (C + 1) + col;
    MeshCell c;
    c.p[0] = ws.Cpoint1[base];
    c.p[1] = ws.Cpoint1[base + 1];
    c.p[2] = ws.Cpoint1[base + C + 2];
    c.p[3] = ws.Cpoint1[base + C + 1];
    c.q0 = ws.Cpoint2[base];
    c.q2 = ws.Cpoint2[base + C + 2];
    return c;
}

void reportZeroBottom(Workspace& ws, bool seen)
{
    // Said once per part rather than once per cell: a mesh with many
    // triangular cells would otherwise bury the user in boxes.
    if (seen) ws.platform->message("d34 == 0", Icon::None);
}

int workerCount(const Workspace& ws)
{
    if (ws.mappingThreads > 0) return ws.mappingThreads;
    if (pixelCount(ws) < 500'000) return 1;
    return int(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
}

// ---- the ORX file

struct StoredFile {
    bool present = false;
    std::vector<uint8_t> bytes;
};

std::vector<std::string> splitLines(const std::vector<uint8_t>& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (uint8_t ch : text) {
        if (ch == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (ch != '\r') {
            line += char(ch);
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

bool readPackedMask(Workspace& ws, FileSource& src, const std::string& path, std::vector<uint8_t>& out)
{
    const uint64_t bytes = uint64_t(ws.imageWidth + 7) / 8 * uint64_t(ws.imageHeight);
    auto in = src.open(path);
    if (!in) return false;
    out.resize(bytes);
    if (!in->readExact(out.data(), bytes)) {
        showLangMessage(ws, Msg::FileTruncated, path.c_str());
        out.clear();
        return false;
    }
    return true;
}

void installMask(Workspace& ws, const std::vector<uint8_t>& packed)
{
    const uint64_t rowBytes = uint64_t(ws.imageWidth + 7) / 8;
    for (int32_t y = 0; y < ws.imageHeight; ++y)
        unpackMaskRow(packed.data() + y * rowBytes, ws.imageWidth, ws.mask + uint64_t(y) * ws.imageWidth);
}

// The file a mask or MAP line names: the line up to the end of its extension.
std::string namedFile(const std::string& line, const char* ext)
{
    const size_t pos = line.find(ext);
    return pos == std::string::npos ? line : line.substr(0, pos + 4);
}

const char kStopPromptEn[] = "Use mouse right key or Esc to stop ORX";
const char kStopPromptZh[] = "可按滑鼠右鍵或Esc鍵中斷展示";

}  // namespace

// ---- public

OrxLineInfo classifyOrxLine(const std::string& line)
{
    OrxLineInfo info;
    const std::string head = line.substr(0, 57);
    if (size_t pos = head.find(".RGB"); pos != std::string::npos) {
        int n1 = 0, n2 = 0, n3 = 0;
        const int got = std::sscanf(line.c_str() + pos + 4, " %d %d %d", &n1, &n2, &n3);
        if (got >= 1 && n1 - 1 != 0 && n1 - 1 != 1) return info;
        info.imageIndex = n1 - 1;
        info.imageA = n2;
        info.imageB = n3;
        info.kind = got == 3 ? OrxImage : OrxImageAlt;
        return info;
    }
    if (size_t pos = line.find(".MSK"); pos != std::string::npos) {
        info.kind = OrxMask;
        info.value = int(pos + 4);
        return info;
    }
    if (line.find(".MAP") != std::string::npos) {
        info.kind = OrxMap;
        return info;
    }
    if (line.rfind("DELAY", 0) == 0) {
        info.kind = OrxDelay;
        info.value = std::atoi(line.c_str() + 5);
        return info;
    }
    if (line.rfind("REPEAT", 0) == 0) {
        info.kind = OrxRepeat;
        return info;
    }
    if (line.rfind("COLOR", 0) == 0) {
        info.kind = OrxColor;
        info.value = std::atoi(line.c_str() + 5);
        return info;
    }
    if (line.rfind("ZOOM", 0) == 0) {
        int z = 0, x = 0, y = 0;
        std::sscanf(line.c_str() + 4, " %d %d %d", &z, &x, &y);
        info.kind = OrxZoom;
        if ((z >= 1 && z <= 8) || z == 16) info.zoom = float(z);
        info.zoomX = x;
        info.zoomY = y;
        return info;
    }
    return info;
}

void mapCell(Workspace& ws)
{
    ShadeTables tables;
    buildShadeTables(ws, tables);
    Band band(0, ws.imageHeight, &tables);
    mapCellInBand(ws, band, ws.cell);
    reportZeroBottom(ws, band.zeroBottomSide);
}

void mapAllCells(Workspace& ws)
{
    const int cells = ws.meshColumns * ws.meshRows;
    if (cells <= 0 || ws.imageHeight <= 0) return;
    ShadeTables tables;
    buildShadeTables(ws, tables);

    // Each worker owns a band of rows and walks every cell in order, so each
    // pixel sees the same writes in the same order as a single walk would:
    // the picture is the same byte for byte however many workers run.
    const int workers = std::min(workerCount(ws), ws.imageHeight);
    std::vector<Band> bands;
    for (int i = 0; i < workers; ++i) {
        const int32_t y0 = int32_t(int64_t(ws.imageHeight) * i / workers);
        const int32_t y1 = int32_t(int64_t(ws.imageHeight) * (i + 1) / workers);
        bands.emplace_back(y0, y1, &tables);
        bands.back().samples.reserve(size_t(ws.imageWidth + ws.imageHeight) * 3);
    }
    auto work = [&ws, cells](Band& band) {
        for (int n = 0; n < cells; ++n) mapCellInBand(ws, band, cellAt(ws, n));
    };
    std::vector<std::thread> threads;
    for (int i = 1; i < workers; ++i) threads.emplace_back(work, std::ref(bands[i]));
    work(bands[0]);
    for (auto& t : threads) t.join();

    bool zeroBottom = false;
    for (const Band& b : bands) zeroBottom = zeroBottom || b.zeroBottomSide;
    reportZeroBottom(ws, zeroBottom);
}

int runMapping(Workspace& ws, const std::string& orxPath, FileSource& src)
{
    ws.lastRunParts = 0;
    ws.lastRunFailures = 0;
    std::vector<uint8_t> text;
    if (!ws.imageLoaded || !readWholeFile(src, orxPath, 16u << 20, text)) {
        showLangMessage(ws, Msg::OrxCantOpen, orxPath.c_str());
        return 0;
    }
    const std::vector<std::string> lines = splitLines(text);

    // Preload: every mask and MAP file the script names, once, each line in
    // its own slot so that a missing file cannot shift the others.
    std::vector<StoredFile> stored(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        const int kind = classifyOrxLine(lines[i]).kind;
        if (kind != OrxMask && kind != OrxMap) continue;
        const std::string path = resolveNamedFile(src, orxPath, namedFile(lines[i], kind == OrxMask ? ".MSK" : ".MAP"));
        StoredFile& f = stored[i];
        f.present = kind == OrxMask ? readPackedMask(ws, src, path, f.bytes)
                                    : readWholeFile(src, path, kMapMaxBytes, f.bytes);
        if (!f.present) showLangMessage(ws, Msg::CantOpenFile, path.c_str());
    }

    int partsToMap = 0;
    for (const std::string& line : lines) partsToMap += classifyOrxLine(line).kind == OrxMap;
    int partsDone = 0;

    buildContrastTable(ws);
    const std::string prompt = ws.screenLanguage == LangTaiwan ? kStopPromptZh : kStopPromptEn;
    int result = 1;
    bool maskOk = true;  // MAP lines before any mask line are mapped too
    for (size_t i = 0; i < lines.size(); ++i) {
        const int kind = classifyOrxLine(lines[i]).kind;
        if (kind == OrxMask) {
            maskOk = stored[i].present;
            if (maskOk) {
                installMask(ws, stored[i].bytes);
                ws.maskMode = 1;
            } else {
                showLangMessage(ws, Msg::CantOpenFile, lines[i].c_str());
                result = 0;
                ++ws.lastRunFailures;
            }
        } else if (kind == OrxMap && maskOk) {
            const bool decoded =
                stored[i].present && decodeMap(ws, stored[i].bytes.data(), stored[i].bytes.size()) == MapDecode::Ok;
            if (decoded) {
                mapAllCells(ws);
                ++ws.lastRunParts;
            } else {
                showLangMessage(ws, stored[i].present ? Msg::MapBadFile : Msg::CantOpenFile, lines[i].c_str());
                result = 0;
                ++ws.lastRunFailures;
            }
            ws.meshPresent = 1;
            ws.platform->progress(++partsDone, partsToMap);
            ws.platform->redraw(nullptr);
            ws.platform->status(prompt, Rgb{255, 0, 0});
        }
        if (ws.platform->stopRequested()) break;
    }
    ws.platform->status("", Rgb{0, 0, 255});
    return result;
}

}  // namespace orx
