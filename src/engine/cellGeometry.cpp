// The geometry of one mesh cell.
#include "cellGeometry.h"

namespace orx {

namespace {

constexpr double kPi = 3.141593;
constexpr double kHalfPi = 1.5707965;
constexpr double kThreeHalfPi = 4.7123895;
constexpr double kTwoPi = 6.283186;

inline bool inBox(Pt p, Pt a, Pt b)
{
    return p.x >= std::min(a.x, b.x) && p.x <= std::max(a.x, b.x) && p.y >= std::min(a.y, b.y) &&
           p.y <= std::max(a.y, b.y);
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

}  // namespace

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

Pt segmentIntersection(Pt a, Pt b, Pt c, Pt d)
{
    const Pt p = lineIntersection(a, b, c, d);
    if (p == kNoPoint || !inBox(p, a, b) || !inBox(p, c, d)) return kNoPoint;
    return p;
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

void fourSides(const MeshCell& c, CellEdges& e)
{
    const Pt p[4] = {toPt(c.p[0]), toPt(c.p[1]), toPt(c.p[2]), toPt(c.p[3])};
    const Pt q0{c.q0.x, c.q0.y}, q1{c.q2.x, c.q0.y}, q2{c.q2.x, c.q2.y}, q3{c.q0.x, c.q2.y};
    const Pt q[4] = {q0, q1, q2, q3};
    for (int k = 0; k < 4; ++k) {
        e.object[k] = {p[k], p[(k + 1) % 4]};
        e.material[k] = {q[k], q[(k + 1) % 4]};
    }
    e.count = 4;
}

// The 8 x 8 subdivision: object grid by three levels of halving (the
// quadrilaterals of a level in row-major order, later halvings overwriting
// shared points), material grid by eighths of its sides; 72 row edges row
// by row, then 72 column edges column by column.
void perspectiveGrid(const MeshCell& c, CellEdges& e)
{
    Pt g[9][9] = {};
    g[0][0] = toPt(c.p[0]);
    g[0][8] = toPt(c.p[1]);
    g[8][8] = toPt(c.p[2]);
    g[8][0] = toPt(c.p[3]);
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

}  // namespace orx
