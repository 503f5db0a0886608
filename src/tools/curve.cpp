// Curves.
#include "curve.h"

#include <algorithm>
#include <cmath>

#include "lineSteps.h"
#include "paint.h"
#include "workspace/hsv.h"

namespace orx {

namespace {

struct P64 {
    int64_t x = 0, y = 0;
    bool operator==(const P64&) const = default;
};

constexpr int kPolygonMax = 2 * kMaxCurvePoints;

// The control polygon: (A0, B0, A1, B1, ...) with A before and B after each
// point; an open curve begins P0, P0 and ends Pn-1, Pn-1 instead.
struct ControlPolygon {
    P64 c[kPolygonMax];
    int size = 0;
    bool closed = false;

    // Consecutive triples: the B-spline segments.
    int segments() const { return closed ? size : size - 2; }
    const P64& at(int i) const { return c[i % size]; }
};

bool buildPolygon(const Point* p, int n, bool closed, ControlPolygon& poly)
{
    if (n < kMinCurvePoints || n > kMaxCurvePoints) return false;
    poly.size = 0;
    poly.closed = closed;
    auto add = [&](int64_t x, int64_t y) { poly.c[poly.size++] = P64{x, y}; };
    for (int i = 0; i < n; ++i) {
        const Point& cur = p[i];
        const Point& before = p[(i + n - 1) % n];
        const Point& after = p[(i + 1) % n];
        if (!closed && (i == 0 || i == n - 1)) {
            add(cur.x, cur.y);
            add(cur.x, cur.y);
            continue;
        }
        const int64_t ddx = int64_t(before.x) - after.x, ddy = int64_t(before.y) - after.y;
        add(cur.x + (ddx >> 3), cur.y + (ddy >> 3));
        add(cur.x + ((-ddx) >> 3), cur.y + ((-ddy) >> 3));
    }
    return true;
}

// The point at step k of `steps` on the segment of triple i, truncated; the
// segment's last step is the midpoint of its second and third control
// points, halved toward zero. The weights u^2 / 2, t u + 1 / 2 and t^2 / 2
// add up to one, so the point is taken from the middle control point: a
// plain weighted sum falls a hair short of whole numbers and truncation
// then puts a straight horizontal curve on the row above.
P64 segmentPoint(const ControlPolygon& poly, int i, int k, int steps)
{
    const P64 &c0 = poly.at(i), &c1 = poly.at(i + 1), &c2 = poly.at(i + 2);
    if (k == steps) return P64{(c1.x + c2.x) / 2, (c1.y + c2.y) / 2};
    const double t = double(k) / steps, u = 1 - t;
    const double w0 = u * u / 2, w2 = t * t / 2;
    return P64{int64_t(std::trunc(double(c1.x) + double(c0.x - c1.x) * w0 + double(c2.x - c1.x) * w2)),
               int64_t(std::trunc(double(c1.y) + double(c0.y - c1.y) * w0 + double(c2.y - c1.y) * w2))};
}

// Every piece of the curve, in order; pieces of no length are skipped.
template <typename Piece>
void forEachPiece(const ControlPolygon& poly, Piece&& piece)
{
    constexpr int kSteps = 10;
    for (int i = 0; i < poly.segments(); ++i) {
        P64 a = segmentPoint(poly, i, 0, kSteps);
        for (int k = 1; k <= kSteps; ++k) {
            const P64 b = segmentPoint(poly, i, k, kSteps);
            if (!(a == b)) piece(a, b);
            a = b;
        }
    }
}

// Every sample of the curve at a hundred steps a segment, then its end.
template <typename Sample>
void forEachSample(const ControlPolygon& poly, Sample&& sample)
{
    constexpr int kSteps = 100;
    for (int i = 0; i < poly.segments(); ++i)
        for (int k = 0; k < kSteps; ++k) sample(segmentPoint(poly, i, k, kSteps));
    sample(segmentPoint(poly, poly.segments() - 1, kSteps, kSteps));
}

// The box of the control polygon, which holds the curve, grown by a stamp
// (which also covers the seam's rows beside the line).
Rect polygonBox(const ControlPolygon& poly)
{
    int64_t x0 = INT64_MAX, y0 = INT64_MAX, x1 = INT64_MIN, y1 = INT64_MIN;
    for (int i = 0; i < poly.size; ++i) {
        x0 = std::min(x0, poly.c[i].x), y0 = std::min(y0, poly.c[i].y);
        x1 = std::max(x1, poly.c[i].x), y1 = std::max(y1, poly.c[i].y);
    }
    auto held = [](int64_t v) { return int(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    return Rect{held(x0 - kReach), held(y0 - kReach), held(x1 + kReach), held(y1 + kReach)};
}

struct CurveMarks : MaskMarks {
    CurveMarks(Workspace& ws, const ControlPolygon& poly, bool needed) : CurveMarks(ws, polygonBox(poly), needed) {}

private:
    CurveMarks(Workspace& ws, const Rect& b, bool needed) : MaskMarks(ws, b.x0, b.y0, b.x1, b.y1, needed) {}
};

Point toPoint(const P64& p)
{
    return Point{int32_t(std::clamp<int64_t>(p.x, INT32_MIN, INT32_MAX)), int32_t(std::clamp<int64_t>(p.y, INT32_MIN, INT32_MAX))};
}

void penPiece(Workspace& ws, const P64& a, const P64& b, Rgb colour, int density)
{
    const Point pa = toPoint(a), pb = toPoint(b);
    drawPenLine(ws, pa.x, pa.y, pb.x, pb.y, colour, ws.penWidth, density);
}

// The seam: each pixel of the four pieces beside and on the line is
// brightened or darkened once, the mask's marks keeping count.
struct SeamRow {
    int offset;
    double factor;
};
const SeamRow kSeamRows[] = {{2, 1.05}, {1, 1.10}, {0, 0.90}, {-1, 0.95}};

void shadePixel(Workspace& ws, int64_t x, int64_t y, double factor)
{
    if (x < 0 || y < 0 || x >= ws.imageWidth || y >= ws.imageHeight) return;
    const uint64_t i = uint64_t(y) * uint64_t(ws.imageWidth) + uint64_t(x);
    uint8_t& m = ws.mask[i];
    if (ws.maskVisible ? m != 0 : m == kBlendMark) return;
    m = kBlendMark;
    uint8_t* p = ws.image + 3 * i;
    const Hsv h = rgbToHsv(p[0], p[1], p[2]);
    hsvToBytes(h.h, std::min(h.s / factor, 1.0), std::min(h.v * factor, 1.0), p);
}

void seamPiece(Workspace& ws, const P64& a, const P64& b)
{
    const bool across = std::llabs(b.x - a.x) >= std::llabs(b.y - a.y);
    for (const SeamRow& row : kSeamRows) {
        const int64_t ox = across ? 0 : row.offset, oy = across ? row.offset : 0;
        walkLine(ws, a.x + ox, a.y + oy, b.x + ox, b.y + oy, [&](int64_t x, int64_t y) { shadePixel(ws, x, y, row.factor); });
    }
}

double distance(const P64& a, const P64& b) { return std::hypot(double(b.x - a.x), double(b.y - a.y)); }

}  // namespace

bool curveBox(const Workspace& ws, const Point* points, int count, bool closed, Rect& box)
{
    ControlPolygon poly;
    if (!buildPolygon(points, count, closed, poly)) return false;
    const Rect b = polygonBox(poly);
    int32_t x0 = b.x0, y0 = b.y0, x1 = b.x1, y1 = b.y1;
    if (!clipToImage(ws, x0, y0, x1, y1)) return false;
    box = Rect{x0, y0, x1, y1};
    return true;
}

bool drawCurve(Workspace& ws, const Point* points, int count, CurveRendering rendering, bool closed, Rgb colour,
               int density, CurveSink* preview)
{
    ControlPolygon poly;
    if (!buildPolygon(points, count, closed, poly)) return false;
    switch (rendering) {
    case CurvePreview:
        if (!preview) return false;
        forEachPiece(poly, [&](const P64& a, const P64& b) { preview->piece(toPoint(a), toPoint(b)); });
        return true;
    case CurvePen: {
        density = std::clamp(density, 0, kOpaque);
        CurveMarks marks(ws, poly, density < kOpaque);
        forEachPiece(poly, [&](const P64& a, const P64& b) { penPiece(ws, a, b, colour, density); });
        return true;
    }
    case CurveMask:
        forEachPiece(poly, [&](const P64& a, const P64& b) {
            const Point pa = toPoint(a), pb = toPoint(b);
            drawMaskLine(ws, pa.x, pa.y, pb.x, pb.y, kMaskSet, ws.penWidth);
        });
        return true;
    case CurveShaded: {
        CurveMarks marks(ws, poly, true);
        forEachPiece(poly, [&](const P64& a, const P64& b) { seamPiece(ws, a, b); });
        return true;
    }
    }
    return false;
}

bool drawDashedCurve(Workspace& ws, const Point* points, int count, Rgb colour, int density, double pitch, double gap,
                     CurveSink* preview)
{
    ControlPolygon poly;
    if (!buildPolygon(points, count, false, poly)) return false;
    density = std::clamp(density, 0, kOpaque);
    CurveMarks marks(ws, poly, !preview && density < kOpaque);
    const double dash = pitch - ws.penWidth, space = gap + ws.penWidth;
    bool drawing = true;
    P64 anchor = poly.c[0];
    forEachSample(poly, [&](const P64& q) {
        const double d = distance(anchor, q);
        if (!drawing) {
            if (d > space) anchor = q, drawing = true;
            return;
        }
        if (d < dash) return;
        if (preview)
            preview->piece(toPoint(anchor), toPoint(q));
        else
            penPiece(ws, anchor, q, colour, density);
        anchor = q;
        drawing = false;
    });
    return true;
}

bool drawHoledCurve(Workspace& ws, const Point* points, int count, Rgb colour, int density, double pitch,
                    CurveSink* preview)
{
    ControlPolygon poly;
    if (!buildPolygon(points, count, false, poly)) return false;
    density = std::clamp(density, 0, kOpaque);
    // The same walk twice: the lines, then the holes over them.
    auto walk = [&](auto&& atEnd) {
        P64 anchor = poly.c[0];
        forEachSample(poly, [&](const P64& q) {
            if (distance(anchor, q) < pitch) return;
            atEnd(anchor, q);
            anchor = q;
        });
    };
    if (preview) {
        walk([&](const P64& a, const P64& b) {
            preview->piece(toPoint(a), toPoint(b));
            preview->hole(toPoint(b));
        });
        return true;
    }
    {
        CurveMarks marks(ws, poly, density < kOpaque);
        walk([&](const P64& a, const P64& b) { penPiece(ws, a, b, colour, density); });
    }
    const Rgb hole = ws.paletteSwatches[kSwatches - 1];
    walk([&](const P64&, const P64& b) {
        const Point p = toPoint(b);
        stampPen(ws, p.x, p.y, hole, ws.penWidth, kOpaque);
    });
    return true;
}

}  // namespace orx
