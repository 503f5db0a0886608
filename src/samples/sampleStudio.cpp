// The studio a sample model is painted in.
#include "sampleStudio.h"

#include <cmath>

namespace orx::sample {

namespace {

// Mesh points name pixels, and a pixel's centre lies half a pixel in. The
// coordinate is first rounded to a millionth so that rounding noise never
// decides the pixel: the columns of a flat panel stay exactly upright.
int32_t toPixel(double v) { return int32_t(std::lround(std::round((v - 0.5) * 1e6) / 1e6)); }

// A scene stretched to a small picture keeps cells of a few pixels at
// least along the part's narrower ends: fewer, larger cells rather than
// cells that round to nothing.
constexpr double kSmallestCell = 6;

void limitCells(ClothPart& cloth)
{
    const Patch& p = cloth.patch;
    auto span = [](const Bezier& b) { return length(b.p3 - b.p0); };
    const double across = std::min(span(p.top), span(p.bottom)), down = std::min(span(p.left), span(p.right));
    cloth.columns = std::clamp(int(across / kSmallestCell), 1, cloth.columns);
    cloth.rows = std::clamp(int(down / kSmallestCell), 1, cloth.rows);
}

}  // namespace

Studio::Studio(uint8_t* rgb, int width, int height, double designWidth, double designHeight)
    : canvas(rgb, width, height),
      cov(width, height),
      shadows(width, height),
      sx_(width / designWidth),
      sy_(height / designHeight),
      unit_(std::sqrt(sx_ * sy_))
{
    view.eye = {width * 0.5, height * 0.4};
    view.distance = 2.5 * std::max(width, height);
    lamp = {width * 0.15, height * 0.1};
    lampReach = 1.4 * std::max(width, height);
}

std::vector<Vec2> Studio::at(const std::vector<Vec2>& design) const
{
    std::vector<Vec2> out;
    out.reserve(design.size());
    for (Vec2 p : design) out.push_back(at(p));
    return out;
}

double Studio::ambient(double x, double y) const
{
    const double d = length(Vec2{x, y} - lamp) / lampReach;
    return 1.0 - 0.25 * (1 - std::exp(-d * d));
}

void Studio::hideParts(int except)
{
    const Box& b = cov.box();
    const int w = width();
    for (size_t k = 0; k < parts.size(); ++k) {
        if (int(k) == except) continue;
        std::vector<uint8_t>& seen = parts[k].seen;
        for (int y = b.y0; y < b.y1; ++y)
            for (int x = b.x0; x < b.x1; ++x) {
                const int a = cov.at(x, y);
                if (a == 0) continue;
                uint8_t& s = seen[size_t(y) * size_t(w) + size_t(x)];
                s = uint8_t((s * (255 - a) + 127) / 255);
            }
    }
}

void Studio::tint(const std::vector<Vec2>& outline, double factor)
{
    cov.fill(outline);
    canvas.paint(cov, [&](int x, int y) { return canvas.get(x, y) * factor; });
}

int Studio::addPart(ClothPart cloth)
{
    StudioPart part;
    part.cloth = std::move(cloth);
    limitCells(part.cloth);
    const int C = part.cloth.columns, R = part.cloth.rows;
    part.object.resize(size_t(C + 1) * size_t(R + 1));
    // A relief too deep for the mesh's spacing folds a cell over; the mesh
    // and the shading then both take a shallower one, so they still agree.
    for (double relief = 1.0;; relief *= 0.8) {
        if (relief < 0.05) relief = 0;
        part.relief = relief;
        part.grid = foldMesh(part.cloth, view, relief);
        for (size_t i = 0; i < part.grid.points.size(); ++i)
            part.object[i] = {toPixel(part.grid.points[i].x), toPixel(part.grid.points[i].y)};
        if (relief == 0 || cellsConvexClockwise(part.object.data(), C, R)) break;
    }
    if (part.cloth.region.empty())
        part.outlines.push_back(patchOutline(part.cloth, view, part.relief));
    else
        part.outlines = part.cloth.region;
    part.seen.assign(size_t(width()) * size_t(height()), 0);
    parts.push_back(std::move(part));
    return int(parts.size()) - 1;
}

void Studio::paintPart(int k, Colour cloth, int only)
{
    StudioPart& part = parts[size_t(k)];
    const FoldField& field = part.cloth.folds;
    double depth = 0;
    for (const Fold& f : field.folds) depth += std::fabs(f.height);
    depth = std::max(depth * part.relief, 1.0);
    const Vec3 l = light;
    const double ll = std::sqrt(l.x * l.x + l.y * l.y + l.z * l.z);

    for (size_t o = 0; o < part.outlines.size(); ++o) {
        if (only >= 0 && size_t(only) != o) continue;
        cov.fill(part.outlines[o]);
        const Box& b = cov.box();
        if (b.empty()) continue;
        // Heights of the box and a pixel around it, for the slopes.
        const int bx = b.x0 - 1, by = b.y0 - 1, bw = b.x1 - b.x0 + 2, bh = b.y1 - b.y0 + 2;
        relief_.resize(size_t(bw) * size_t(bh));
        for (int y = 0; y < bh; ++y)
            for (int x = 0; x < bw; ++x)
                relief_[size_t(y) * size_t(bw) + size_t(x)] =
                    float(part.relief * field.height({bx + x + 0.5, by + y + 0.5}));
        auto h = [&](int x, int y) { return double(relief_[size_t(y - by) * size_t(bw) + size_t(x - bx)]); };

        canvas.paint(cov, [&](int x, int y) {
            const double hx = (h(x + 1, y) - h(x - 1, y)) / 2, hy = (h(x, y + 1) - h(x, y - 1)) / 2;
            const double n = std::sqrt(hx * hx + hy * hy + 1);
            // Wrapped Lambert: cloth scatters light round its folds, so the
            // flanks turned from the lamp are dim rather than black.
            const double facing = (-hx * l.x - hy * l.y + l.z) / (n * ll);
            const double wrap = 0.8;
            const double lambert = std::max(facing + wrap, 0.0) / (l.z / ll + wrap);
            // Valleys see less of the room than ridges.
            const double open = 1 + 0.16 * std::clamp(h(x, y) / depth, -1.0, 1.0);
            // A faint sheen where the cloth faces the camera and the lamp.
            const double sheen = 0.04 * std::pow(std::max(0.0, 1 / n), 8);
            // A soft shoulder keeps the lit folds from burning out.
            double v = ambient(x, y) * lambert * open + sheen;
            if (v > 0.85) v = 0.85 + 0.15 * (1 - std::exp(-(v - 0.85) / 0.15));
            return cloth * v;
        });
        std::vector<uint8_t>& seen = part.seen;
        const int w = width();
        for (int y = b.y0; y < b.y1; ++y)
            for (int x = b.x0; x < b.x1; ++x) {
                const int a = cov.at(x, y);
                if (a == 0) continue;
                uint8_t& s = seen[size_t(y) * size_t(w) + size_t(x)];
                s = uint8_t(a + (s * (255 - a) + 127) / 255);
            }
        hideParts(k);
    }
}

}  // namespace orx::sample
