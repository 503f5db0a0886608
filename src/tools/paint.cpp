// The pen and the shapes.
//
// Coordinates may lie anywhere in 32 bits (a drag far off the picture, a
// huge ellipse): loops run over the rows and columns that can reach the
// picture and nothing else, so a shape ends as quickly as one that fits.
// Inside, positions are 64-bit so that mirror points and line ends never
// overflow.
#include "paint.h"

#include "lineSteps.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace orx {

namespace {

const StampReach kStampReaches[kMaxPenWidth + 1] = {{0, -1}, {0, 0}, {0, 1}, {-1, 1}, {-1, 2}, {-2, 2}};

int clampDensity(int density) { return std::clamp(density, 0, kOpaque); }

inline uint64_t pixelIndex(const Workspace& ws, int64_t x, int64_t y) { return uint64_t(y) * uint64_t(ws.imageWidth) + uint64_t(x); }

// The pen's rule for one pixel already known to lie on the picture.
inline void blendAt(Workspace& ws, uint64_t i, Rgb c, int density)
{
    uint8_t* m = ws.mask + i;
    uint8_t* p = ws.image + 3 * i;
    if (density == kOpaque) {
        if (ws.maskVisible && *m != 0) return;
        p[0] = c.r, p[1] = c.g, p[2] = c.b;
        return;
    }
    // Shown, the mask protects every byte but 0; hidden, only this figure's
    // marks hold a pixel back. Integer division truncates as the exact
    // quotient would: every term is a whole non-negative number.
    if (ws.maskVisible ? *m != 0 : *m == kBlendMark) return;
    const int keep = kOpaque - density;
    p[0] = uint8_t((density * c.r + keep * p[0]) / kOpaque);
    p[1] = uint8_t((density * c.g + keep * p[1]) / kOpaque);
    p[2] = uint8_t((density * c.b + keep * p[2]) / kOpaque);
    *m = kBlendMark;
}

// Calls put(index) for every pixel of the stamp that lies on the picture.
template <typename Put>
void stampAt(const Workspace& ws, int64_t x, int64_t y, const StampReach& r, Put&& put)
{
    const int64_t x0 = std::max<int64_t>(x + r.lo, 0), x1 = std::min<int64_t>(x + r.hi, ws.imageWidth - 1);
    const int64_t y0 = std::max<int64_t>(y + r.lo, 0), y1 = std::min<int64_t>(y + r.hi, ws.imageHeight - 1);
    for (int64_t py = y0; py <= y1; ++py)
        for (int64_t px = x0; px <= x1; ++px) put(pixelIndex(ws, px, py));
}

// A pen (colour and density) or a mask value, stamped at 64-bit points.
struct ColourStamp {
    Workspace& ws;
    StampReach reach;
    Rgb colour;
    int density;
    void operator()(int64_t x, int64_t y) const
    {
        stampAt(ws, x, y, reach, [&](uint64_t i) { blendAt(ws, i, colour, density); });
    }
};

struct MaskStamp {
    Workspace& ws;
    StampReach reach;
    uint8_t value;
    void operator()(int64_t x, int64_t y) const
    {
        stampAt(ws, x, y, reach, [&](uint64_t i) { ws.mask[i] = value; });
    }
};

template <typename Stamp>
void outlineRectangle(const Workspace& ws, int64_t x1, int64_t y1, int64_t x2, int64_t y2, const Stamp& stamp)
{
    walkLine(ws, x1, y1, x2, y1, stamp);
    walkLine(ws, x2, y1, x2, y2, stamp);
    walkLine(ws, x2, y2, x1, y2, stamp);
    walkLine(ws, x1, y2, x1, y1, stamp);
}

// Visits every k of [lo, hi] that lies in [a0, a1] or [b0, b1], in order,
// each once; `fresh` is true where k does not follow the last k visited.
template <typename Visit>
void forEachInEither(int64_t lo, int64_t hi, int64_t a0, int64_t a1, int64_t b0, int64_t b1, Visit&& visit)
{
    if (a0 > b0) std::swap(a0, b0), std::swap(a1, b1);
    int64_t last = INT64_MIN;
    for (const auto& [from, to] : {std::pair{a0, a1}, std::pair{b0, b1}}) {
        for (int64_t k = std::max({lo, from, last == INT64_MIN ? lo : last + 1}), end = std::min(hi, to); k <= end; ++k) {
            visit(k, k != last + 1 || last == INT64_MIN);
            last = k;
        }
    }
}

// An axis-parallel ellipse in the box between two opposite corners.
struct Ellipse {
    int64_t xmin, xmax, ymin, ymax;
    int64_t sumX, sumY;  // xmin + xmax and ymin + ymax: twice the centre
    double cx, cy, a2, b2;

    Ellipse(int64_t x1, int64_t y1, int64_t x2, int64_t y2)
        : xmin(std::min(x1, x2)), xmax(std::max(x1, x2)), ymin(std::min(y1, y2)), ymax(std::max(y1, y2)),
          sumX(x1 + x2), sumY(y1 + y2), cx(double(sumX) / 2), cy(double(sumY) / 2),
          a2((cx - double(xmin)) * (cx - double(xmin))), b2((cy - double(ymin)) * (cy - double(ymin)))
    {
    }

    bool inside(double ex, double ey) const { return b2 * (ex * ex) + a2 * (ey * ey) - a2 * b2 <= 0; }

    // The first column from the left edge toward the centre that lies
    // inside on the row at vertical distance ey. The test only grows with
    // the distance from the centre, in floating point too (rounding keeps
    // order), so the columns inside are one run ending at the centre and a
    // search by halves finds where it starts.
    bool firstInside(double ey, int64_t& x) const
    {
        int64_t lo = xmin, hi = int64_t(std::floor(cx));
        if (!inside(cx - double(hi), ey)) return false;
        while (lo < hi) {
            const int64_t mid = lo + (hi - lo) / 2;
            if (inside(cx - double(mid), ey))
                hi = mid;
            else
                lo = mid + 1;
        }
        x = lo;
        return true;
    }

    int64_t lastRow() const { return int64_t(std::floor(cy)); }
    int64_t mirrorX(int64_t x) const { return sumX - x; }
    int64_t mirrorY(int64_t y) const { return sumY - y; }
};

// The outline: the four extreme points, then row by row from the top to
// the centre the first column inside and its three mirror images; where the
// outline runs flat, the columns between this row's first and the row
// above's are stamped too, so the outline has no gaps.
template <typename Stamp>
void outlineEllipse(const Workspace& ws, const Ellipse& e, const Stamp& stamp)
{
    const int64_t tcx = int64_t(std::trunc(e.cx)), tcy = int64_t(std::trunc(e.cy));
    stamp(tcx, e.ymin);
    stamp(e.xmin, tcy);
    stamp(e.xmax, tcy);
    stamp(tcx, e.ymax);
    auto mirrors = [&](int64_t x, int64_t y) {
        stamp(x, y);
        stamp(e.mirrorX(x), y);
        stamp(x, e.mirrorY(y));
        stamp(e.mirrorX(x), e.mirrorY(y));
    };
    const int64_t W = ws.imageWidth, H = ws.imageHeight;
    int64_t prev = tcx;
    // Rows whose stamps, or whose mirrored stamps, can reach the picture.
    forEachInEither(e.ymin, e.lastRow(), -kReach, H - 1 + kReach, e.sumY - (H - 1 + kReach), e.sumY + kReach,
                    [&](int64_t y, bool fresh) {
                        int64_t x;
                        if (fresh) prev = y > e.ymin && e.firstInside(e.cy - double(y - 1), x) ? x : tcx;
                        if (!e.firstInside(e.cy - double(y), x)) return;
                        mirrors(x, y);
                        forEachInEither(x + 1, prev - 1, -kReach, W - 1 + kReach, e.sumX - (W - 1 + kReach),
                                        e.sumX + kReach, [&](int64_t k, bool) { mirrors(k, y); });
                        prev = x;
                    });
}

// Calls span(y, x0, x1) for every row of the ellipse on the picture, with
// its columns held to the picture.
template <typename Span>
void ellipseSpans(const Workspace& ws, const Ellipse& e, Span&& span)
{
    const int64_t W = ws.imageWidth, H = ws.imageHeight;
    const int64_t y0 = std::max<int64_t>(e.ymin, 0), y1 = std::min<int64_t>(e.ymax, H - 1);
    for (int64_t y = y0; y <= y1; ++y) {
        int64_t x;
        if (!e.firstInside(e.cy - double(y), x)) continue;
        const int64_t x0 = std::max<int64_t>(x, 0), x1 = std::min<int64_t>(e.mirrorX(x), W - 1);
        if (x0 <= x1) span(y, x0, x1);
    }
}

// One row of a filled figure in the pen colour: the blend without marks,
// each pixel once.
void colourSpan(Workspace& ws, int64_t y, int64_t x0, int64_t x1, Rgb c, int density)
{
    uint8_t* p = ws.image + pixelIndex(ws, x0, y) * 3;
    const uint8_t* m = ws.mask + pixelIndex(ws, x0, y);
    const bool guarded = ws.maskVisible != 0;
    const int keep = kOpaque - density;
    for (int64_t i = 0, n = x1 - x0 + 1; i < n; ++i, p += 3) {
        if (guarded && m[i] != 0) continue;
        if (density == kOpaque) {
            p[0] = c.r, p[1] = c.g, p[2] = c.b;
        } else {
            p[0] = uint8_t((density * c.r + keep * p[0]) / kOpaque);
            p[1] = uint8_t((density * c.g + keep * p[1]) / kOpaque);
            p[2] = uint8_t((density * c.b + keep * p[2]) / kOpaque);
        }
    }
}

void maskSpan(Workspace& ws, int64_t y, int64_t x0, int64_t x1, uint8_t value)
{
    std::memset(ws.mask + pixelIndex(ws, x0, y), value, size_t(x1 - x0 + 1));
}

// The gradient of a box: the left and right edge colours of a row, then
// every pixel of a span mixed from them.
struct Gradient {
    const Rgb* corners;
    double xmin, ymin, wb, hb;
    int density;

    Gradient(const Rgb* c, int64_t x0, int64_t y0, int64_t x1, int64_t y1, int d)
        : corners(c), xmin(double(x0)), ymin(double(y0)), wb(double(x1 - x0 + 1)), hb(double(y1 - y0 + 1)), density(d)
    {
    }

    void edges(int64_t y, double left[3], double right[3]) const
    {
        const double t = (double(y) - ymin) / hb, u = 1 - t;
        const uint8_t* c0 = &corners[0].r;
        const uint8_t* c1 = &corners[1].r;
        const uint8_t* c2 = &corners[2].r;
        const uint8_t* c3 = &corners[3].r;
        for (int c = 0; c < 3; ++c) {
            left[c] = c2[c] * t + c0[c] * u;
            right[c] = c3[c] * t + c1[c] * u;
        }
    }

    void span(Workspace& ws, int64_t y, int64_t x0, int64_t x1) const
    {
        double left[3], right[3];
        edges(y, left, right);
        uint8_t* p = ws.image + pixelIndex(ws, x0, y) * 3;
        const uint8_t* m = ws.mask + pixelIndex(ws, x0, y);
        const bool guarded = ws.maskVisible != 0;
        const int keep = kOpaque - density;
        for (int64_t x = x0; x <= x1; ++x, p += 3) {
            if (guarded && m[x - x0] != 0) continue;
            const double s = (double(x) - xmin) / wb;
            for (int c = 0; c < 3; ++c) {
                const double colour = right[c] * s + left[c] * (1 - s);
                p[c] = density == kOpaque ? uint8_t(colour) : uint8_t((density * colour + keep * p[c]) / kOpaque);
            }
        }
    }
};

}  // namespace

bool stampReach(int width, StampReach& reach)
{
    if (width < kMinPenWidth || width > kMaxPenWidth) return false;
    reach = kStampReaches[width];
    return true;
}

void copyMaskBox(const Workspace& ws, const uint8_t* from, uint8_t* to, const Rect& box)
{
    for (int64_t y = box.y0; y <= box.y1; ++y) {
        const uint64_t i = pixelIndex(ws, box.x0, y);
        std::memcpy(to + i, from + i, size_t(box.x1 - box.x0 + 1));
    }
}

MaskMarks::MaskMarks(Workspace& ws, int64_t x0, int64_t y0, int64_t x1, int64_t y1, bool needed) : ws_(ws)
{
    if (!needed) return;
    const int64_t bx0 = std::max<int64_t>(std::min(x0, x1), 0), bx1 = std::min<int64_t>(std::max(x0, x1), ws.imageWidth - 1);
    const int64_t by0 = std::max<int64_t>(std::min(y0, y1), 0), by1 = std::min<int64_t>(std::max(y0, y1), ws.imageHeight - 1);
    if (bx0 > bx1 || by0 > by1) return;
    box_ = Rect{int(bx0), int(by0), int(bx1), int(by1)};
    copyMaskBox(ws, ws.mask, ws.maskBackup, box_);
    active_ = true;
}

MaskMarks::~MaskMarks()
{
    if (active_) copyMaskBox(ws_, ws_.maskBackup, ws_.mask, box_);
}

void blendPixel(Workspace& ws, int32_t x, int32_t y, Rgb colour, int density)
{
    if (x < 0 || y < 0 || x >= ws.imageWidth || y >= ws.imageHeight) return;
    blendAt(ws, pixelIndex(ws, x, y), colour, clampDensity(density));
}

void stampPen(Workspace& ws, int32_t x, int32_t y, Rgb colour, int width, int density)
{
    StampReach r;
    if (stampReach(width, r)) ColourStamp{ws, r, colour, clampDensity(density)}(x, y);
}

void stampMask(Workspace& ws, int32_t x, int32_t y, uint8_t value, int width)
{
    StampReach r;
    if (stampReach(width, r)) MaskStamp{ws, r, value}(x, y);
}

void drawPenLine(Workspace& ws, int32_t x1, int32_t y1, int32_t x2, int32_t y2, Rgb colour, int width, int density)
{
    StampReach r;
    if (stampReach(width, r)) walkLine(ws, x1, y1, x2, y2, ColourStamp{ws, r, colour, clampDensity(density)});
}

void drawLine(Workspace& ws, int32_t x1, int32_t y1, int32_t x2, int32_t y2, Rgb colour, int width, int density)
{
    density = clampDensity(density);
    MaskMarks marks(ws, int64_t(x1) - kReach, int64_t(y1) - kReach, int64_t(x2) + kReach, int64_t(y2) + kReach,
                    density < kOpaque);
    drawPenLine(ws, x1, y1, x2, y2, colour, width, density);
}

void drawMaskLine(Workspace& ws, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t value, int width)
{
    StampReach r;
    if (stampReach(width, r)) walkLine(ws, x1, y1, x2, y2, MaskStamp{ws, r, value});
}

void drawRectangle(Workspace& ws, int32_t x1, int32_t y1, int32_t x2, int32_t y2, Rgb colour, int width, int density)
{
    StampReach r;
    if (!stampReach(width, r)) return;
    density = clampDensity(density);
    MaskMarks marks(ws, int64_t(x1) - kReach, int64_t(y1) - kReach, int64_t(x2) + kReach, int64_t(y2) + kReach,
                    density < kOpaque);
    outlineRectangle(ws, x1, y1, x2, y2, ColourStamp{ws, r, colour, density});
}

void drawMaskRectangle(Workspace& ws, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t value, int width)
{
    StampReach r;
    if (stampReach(width, r)) outlineRectangle(ws, x1, y1, x2, y2, MaskStamp{ws, r, value});
}

void drawEllipse(Workspace& ws, int32_t x1, int32_t y1, int32_t x2, int32_t y2, Rgb colour, int width, int density)
{
    StampReach r;
    if (!stampReach(width, r)) return;
    density = clampDensity(density);
    MaskMarks marks(ws, int64_t(x1) - kReach, int64_t(y1) - kReach, int64_t(x2) + kReach, int64_t(y2) + kReach,
                    density < kOpaque);
    outlineEllipse(ws, Ellipse(x1, y1, x2, y2), ColourStamp{ws, r, colour, density});
}

void drawMaskEllipse(Workspace& ws, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t value, int width)
{
    StampReach r;
    if (stampReach(width, r)) outlineEllipse(ws, Ellipse(x1, y1, x2, y2), MaskStamp{ws, r, value});
}

void fillRectangle(Workspace& ws, int32_t x1, int32_t y1, int32_t x2, int32_t y2, Rgb colour, int density)
{
    if (!clipToImage(ws, x1, y1, x2, y2)) return;
    density = clampDensity(density);
    for (int64_t y = y1; y <= y2; ++y) colourSpan(ws, y, x1, x2, colour, density);
}

void fillMaskRectangle(Workspace& ws, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t value)
{
    if (!clipToImage(ws, x1, y1, x2, y2)) return;
    for (int64_t y = y1; y <= y2; ++y) maskSpan(ws, y, x1, x2, value);
}

void fillEllipse(Workspace& ws, int32_t x1, int32_t y1, int32_t x2, int32_t y2, Rgb colour, int density)
{
    density = clampDensity(density);
    ellipseSpans(ws, Ellipse(x1, y1, x2, y2),
                 [&](int64_t y, int64_t x0, int64_t x1) { colourSpan(ws, y, x0, x1, colour, density); });
}

void fillMaskEllipse(Workspace& ws, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t value)
{
    ellipseSpans(ws, Ellipse(x1, y1, x2, y2), [&](int64_t y, int64_t x0, int64_t x1) { maskSpan(ws, y, x0, x1, value); });
}

double gradientAt(const Rgb corners[4], double x, double y, double xmin, double ymin, double xmax, double ymax, int c)
{
    const double wb = xmax - xmin + 1, hb = ymax - ymin + 1;
    const double t = (y - ymin) / hb, u = 1 - t;
    const double left = (&corners[2].r)[c] * t + (&corners[0].r)[c] * u;
    const double right = (&corners[3].r)[c] * t + (&corners[1].r)[c] * u;
    const double s = (x - xmin) / wb;
    return right * s + left * (1 - s);
}

void fillRectangleGradient(Workspace& ws, int32_t x1, int32_t y1, int32_t x2, int32_t y2, const Rgb corners[4],
                           int density)
{
    const int64_t xmin = std::min(x1, x2), xmax = std::max(x1, x2), ymin = std::min(y1, y2), ymax = std::max(y1, y2);
    const Gradient g(corners, xmin, ymin, xmax, ymax, clampDensity(density));
    if (!clipToImage(ws, x1, y1, x2, y2)) return;
    for (int64_t y = y1; y <= y2; ++y) g.span(ws, y, x1, x2);
}

void fillEllipseGradient(Workspace& ws, int32_t x1, int32_t y1, int32_t x2, int32_t y2, const Rgb corners[4],
                         int density)
{
    const Ellipse e(x1, y1, x2, y2);
    const Gradient g(corners, e.xmin, e.ymin, e.xmax, e.ymax, clampDensity(density));
    ellipseSpans(ws, e, [&](int64_t y, int64_t x0, int64_t x1) { g.span(ws, y, x0, x1); });
}

}  // namespace orx
