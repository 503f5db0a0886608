// Drapery for the sample library: fold fields and fold-following meshes.
#include "sampleDrapery.h"

#include <cmath>

namespace orx::sample {

Vec2 Bezier::at(double t) const
{
    const double s = 1 - t;
    return p0 * (s * s * s) + p1 * (3 * s * s * t) + p2 * (3 * s * t * t) + p3 * (t * t * t);
}

Bezier straight(Vec2 a, Vec2 b) { return {a, lerp(a, b, 1.0 / 3), lerp(a, b, 2.0 / 3), b}; }

Vec2 Patch::at(double u, double v) const
{
    // Coons: the two ruled surfaces between opposite curves, less the
    // bilinear surface of the corners they both contain.
    const Vec2 c00 = top.p0, c10 = top.p3, c01 = bottom.p0, c11 = bottom.p3;
    const Vec2 ruledV = top.at(u) * (1 - v) + bottom.at(u) * v;
    const Vec2 ruledU = left.at(v) * (1 - u) + right.at(v) * u;
    const Vec2 corners = c00 * ((1 - u) * (1 - v)) + c10 * (u * (1 - v)) + c01 * ((1 - u) * v) + c11 * (u * v);
    return ruledV + ruledU - corners;
}

// ---- fold terms

Fold fanFolds(Vec2 apex, double r0, double r1, double height, double phasePerRadian, double phase, double sharpness,
              double meander)
{
    Fold f;
    f.kind = FoldKind::Fan;
    f.a = apex;
    f.b = {r0, r1};
    f.height = height;
    f.rate = phasePerRadian;
    f.phase = phase;
    f.sharpness = sharpness;
    f.meander = meander;
    return f;
}

Fold waveFolds(Vec2 centre, Vec2 across, double wavelength, double height, double phase, Vec2 window,
               double sharpness, double meander)
{
    Fold f;
    f.kind = FoldKind::Wave;
    f.a = centre;
    f.b = normalised(across);
    f.height = height;
    f.rate = wavelength;
    f.phase = phase;
    f.sharpness = sharpness;
    f.window = window;
    f.meander = meander;
    return f;
}

Fold dome(Vec2 centre, Vec2 radii, double height, double squareness)
{
    Fold f;
    f.kind = FoldKind::Dome;
    f.a = centre;
    f.b = radii;
    f.height = height;
    f.rate = squareness;
    return f;
}

Fold crease(Vec2 from, Vec2 to, double halfWidth, double depth)
{
    Fold f;
    f.kind = FoldKind::Crease;
    f.a = from;
    f.b = to;
    f.height = -std::fabs(depth);
    f.rate = halfWidth;
    return f;
}

namespace {

// A fold's cross-section over one period of phase: a broad rounded ridge
// at 0 and a narrower valley at pi, from -1 (valley floor) to 1 (ridge).
double foldProfile(double phase, double sharpness)
{
    const double c = std::cos(phase / 2);
    const double v = std::sqrt(c * c + sharpness * sharpness);
    const double top = std::sqrt(1 + sharpness * sharpness);
    return 2 * (v - sharpness) / (top - sharpness) - 1;
}

// 1 at the centre, falling smoothly to 0 at |x| = 1; no window when the
// radius is 0.
double window(double offset, double radius)
{
    if (radius <= 0) return 1;
    const double t = offset / radius;
    if (t <= -1 || t >= 1) return 0;
    const double s = 1 - t * t;
    return s * s;
}

double foldHeight(const Fold& f, Vec2 p)
{
    switch (f.kind) {
    case FoldKind::Fan: {
        const Vec2 d = p - f.a;
        const double r = length(d);
        const double ramp = smoothstep(f.b.x, f.b.y, r);
        if (ramp <= 0) return 0;
        const double angle = std::atan2(d.x, d.y);  // 0 straight down from the apex
        const double wander = f.meander * std::sin(2 * kPi * 1.3 * r / std::max(f.b.y, 1.0) + 1.7 * f.phase);
        return f.height * ramp * foldProfile(f.rate * angle + f.phase + wander, f.sharpness);
    }
    case FoldKind::Wave: {
        const Vec2 d = p - f.a;
        const double across = dot(d, f.b), along = dot(d, perpendicular(f.b));
        const double w = window(along, f.window.x) * window(across, f.window.y);
        if (w <= 0) return 0;
        const double wander = f.meander * std::sin(2 * kPi * along / (4 * f.rate) + 1.3 * f.phase);
        return f.height * w * foldProfile(2 * kPi * across / f.rate + f.phase + wander, f.sharpness);
    }
    case FoldKind::Dome: {
        const double q = std::pow(std::fabs((p.x - f.a.x) / f.b.x), f.rate) +
                         std::pow(std::fabs((p.y - f.a.y) / f.b.y), f.rate);
        // Steep near the rim but level at it, so the puff meets the flat
        // cloth round it without a crease.
        return q < 1 ? f.height * std::pow(1 - q, 1.5) : 0;
    }
    case FoldKind::Crease: {
        const Vec2 d = f.b - f.a;
        const double l2 = dot(d, d);
        if (l2 <= 0) return 0;
        const double t = dot(p - f.a, d) / l2;
        if (t <= 0 || t >= 1) return 0;
        const double off = cross(d, p - f.a) / std::sqrt(l2) / f.rate;
        return f.height * std::exp(-off * off) * std::sin(kPi * t);
    }
    }
    return 0;
}

}  // namespace

double FoldField::height(Vec2 p) const
{
    double h = 0;
    for (const Fold& f : folds) h += foldHeight(f, p);
    return h;
}

Vec2 FoldField::slope(Vec2 p) const
{
    return {(height({p.x + 1, p.y}) - height({p.x - 1, p.y})) / 2,
            (height({p.x, p.y + 1}) - height({p.x, p.y - 1})) / 2};
}

// ---- meshes

namespace {

constexpr int kSamplesPerCell = 12;  // along a row, for measuring fabric length
constexpr int kFineRowsPerCell = 4;  // rows measured between two mesh rows
// The steepest relief the spacing follows: cloth turned further from the
// camera is spaced as if turned this far (a slope of 1.1 keeps a cell at
// two thirds of its width), so cells on a fold's flank stay wide enough
// for the engine's subdivision.
constexpr double kSteepestSlope = 1.1;

// Places `count + 1` points at equal fabric lengths along a sampled curve
// whose fabric length is measured over the relief `lift`; returns that
// length.
double spaceEvenly(const std::vector<Vec2>& curve, const std::vector<double>& lift, int count, Vec2* out, size_t stride,
                 std::vector<double>& walked)
{
    const size_t n = curve.size();
    walked.assign(n, 0.0);
    for (size_t i = 1; i < n; ++i) {
        const Vec2 d = curve[i] - curve[i - 1];
        const double flat = std::sqrt(d.x * d.x + d.y * d.y);
        const double dh = std::min(std::fabs(lift[i] - lift[i - 1]), kSteepestSlope * flat);
        walked[i] = walked[i - 1] + std::sqrt(flat * flat + dh * dh);
    }
    size_t seg = 1;
    for (int k = 0; k <= count; ++k) {
        const double target = walked[n - 1] * k / count;
        while (seg + 1 < n && walked[seg] < target) ++seg;
        const double span = walked[seg] - walked[seg - 1];
        const double t = span > 0 ? clamp01((target - walked[seg - 1]) / span) : 0;
        out[size_t(k) * stride] = lerp(curve[seg - 1], curve[seg], t);
    }
    return walked[n - 1];
}

}  // namespace

MeshGrid foldMesh(const ClothPart& part, const View& view, double relief)
{
    const int C = part.columns, R = part.rows;
    // The overhang in the patch's own units, from the lengths of its sides.
    const Patch& pa = part.patch;
    const double across = std::max(std::min(length(pa.top.p3 - pa.top.p0), length(pa.bottom.p3 - pa.bottom.p0)), 1.0);
    const double down = std::max(std::min(length(pa.left.p3 - pa.left.p0), length(pa.right.p3 - pa.right.p0)), 1.0);
    const double eu = part.overhang / across, ev = part.overhang / down;
    const int samples = C * kSamplesPerCell, fineRows = R * kFineRowsPerCell;
    const FoldField& field = part.folds;

    // Across: every fine row spaced at equal fabric lengths; the mesh's
    // columns are then the curves through the k-th point of every fine row.
    std::vector<Vec2> columnsFine(size_t(C + 1) * size_t(fineRows + 1));
    std::vector<Vec2> curve(size_t(samples + 1));
    std::vector<double> lift(size_t(samples + 1)), walked;
    double clothAcross = 0, clothDown = 0;
    for (int f = 0; f <= fineRows; ++f) {
        const double v = -ev + (1 + 2 * ev) * f / fineRows;
        for (int i = 0; i <= samples; ++i) {
            const double u = -eu + (1 + 2 * eu) * i / samples;
            curve[size_t(i)] = part.patch.at(u, v);
            lift[size_t(i)] = relief * field.height(curve[size_t(i)]);
        }
        clothAcross += spaceEvenly(curve, lift, C, &columnsFine[size_t(f)], size_t(fineRows + 1), walked);
    }

    // Down: every column spaced the same way.
    MeshGrid mesh;
    mesh.columns = C;
    mesh.rows = R;
    mesh.points.resize(size_t(C + 1) * size_t(R + 1));
    curve.resize(size_t(fineRows + 1));
    lift.resize(size_t(fineRows + 1));
    for (int c = 0; c <= C; ++c) {
        for (int f = 0; f <= fineRows; ++f) {
            curve[size_t(f)] = columnsFine[size_t(c) * size_t(fineRows + 1) + size_t(f)];
            lift[size_t(f)] = relief * field.height(curve[size_t(f)]);
        }
        clothDown += spaceEvenly(curve, lift, R, &mesh.points[size_t(c)], size_t(C + 1), walked);
    }
    mesh.clothWidth = clothAcross / (fineRows + 1);
    mesh.clothHeight = clothDown / (C + 1);

    for (Vec2& p : mesh.points) p = p + (p - view.eye) * (relief * field.height(p) / view.distance);
    return mesh;
}

std::vector<Vec2> patchOutline(const ClothPart& part, const View& view, double relief)
{
    const Patch& pa = part.patch;
    std::vector<Vec2> out;
    auto side = [&](auto point, double lengthEstimate) {
        const int n = std::max(64, int(lengthEstimate / 2));
        for (int i = 0; i < n; ++i) {
            const Vec2 p = point(double(i) / n);
            out.push_back(p + (p - view.eye) * (relief * part.folds.height(p) / view.distance));
        }
    };
    auto len = [&](const Bezier& b) { return length(b.p3 - b.p0) * 1.3; };
    side([&](double t) { return pa.at(t, 0); }, len(pa.top));
    side([&](double t) { return pa.at(1, t); }, len(pa.right));
    side([&](double t) { return pa.at(1 - t, 1); }, len(pa.bottom));
    side([&](double t) { return pa.at(0, 1 - t); }, len(pa.left));
    return out;
}

bool cellsConvexClockwise(const MeshPoint* points, int columns, int rows)
{
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const int base = r * (columns + 1) + c;
            const MeshPoint q[4] = {points[base], points[base + 1], points[base + columns + 2],
                                    points[base + columns + 1]};
            for (int k = 0; k < 4; ++k) {
                const MeshPoint a = q[k], b = q[(k + 1) % 4], d = q[(k + 2) % 4];
                const int64_t turn = int64_t(b.x - a.x) * (d.y - b.y) - int64_t(b.y - a.y) * (d.x - b.x);
                if (turn <= 0) return false;
            }
        }
    return true;
}

}  // namespace orx::sample
