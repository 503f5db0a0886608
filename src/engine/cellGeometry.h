// The geometry of one mesh cell: integer points, line intersections, the
// point-along-a-direction rule, and the edges a cell is scan-converted
// through (its four sides, or the 144 edges of a perspective 8 x 8 grid).
//
// Other installations dress the same models, so every rule here is kept to
// the letter: integer points, the same rounding, the same angles.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "workspace/workspace.h"

namespace orx {

struct Pt {
    int32_t x, y;
    bool operator==(const Pt&) const = default;
};

inline Pt toPt(MeshPoint p) { return {p.x, p.y}; }

// What a line intersection gives for parallel lines, and the diagonal test
// for diagonals that do not cross inside the cell.
constexpr Pt kNoPoint{2000, 2000};

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

// Intersection of the infinite lines a-b and c-d, rounded half up;
// kNoPoint for parallel lines.
Pt lineIntersection(Pt a, Pt b, Pt c, Pt d);
// Intersection of the segments a-b and c-d: the rounded line intersection
// when it lies in both segments' boxes, else kNoPoint.
Pt segmentIntersection(Pt a, Pt b, Pt c, Pt d);
// The point at distance d from `from` towards `to`.
Pt pointAlong(Pt from, Pt to, double d);

struct Edge {
    Pt a, b;
};

constexpr int kMaxEdges = 144;

// The edges a cell is scan-converted through; material edge k belongs to
// object edge k.
struct CellEdges {
    int count = 0;
    Edge object[kMaxEdges];
    Edge material[kMaxEdges];
};

// Near-parallelogram cells: the four sides, each paired with the material
// rectangle's side in the same turn.
void fourSides(const MeshCell& c, CellEdges& e);
// Tapered cells: the object quadrilateral halved three times in
// perspective, the material rectangle cut in eighths; 144 edges.
void perspectiveGrid(const MeshCell& c, CellEdges& e);

inline bool isAxisRectangle(const MeshCell& c)
{
    return c.p[0].x == c.p[3].x && c.p[0].y == c.p[1].y && c.p[1].x == c.p[2].x && c.p[2].y == c.p[3].y;
}

}  // namespace orx
