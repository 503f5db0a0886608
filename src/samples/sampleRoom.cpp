// The room the sample models stand in, and the shading of solid things
// in it.
#include "sampleRoom.h"

#include <cmath>

namespace orx::sample {

namespace {

Vec3 unitLight(const Studio& s)
{
    const double l = std::sqrt(s.light.x * s.light.x + s.light.y * s.light.y + s.light.z * s.light.z);
    return {s.light.x / l, s.light.y / l, s.light.z / l};
}

}  // namespace

// ---- shading of solids

// A rounded solid whose surface normal seen from the camera is (nx, ny):
// Lambert light from the lamp and a Blinn highlight of strength `gloss`.
Colour litSolid(const Studio& s, Colour base, double nx, double ny, double x, double y, double gloss)
{
    const double nz = std::sqrt(std::max(0.0, 1 - nx * nx - ny * ny));
    const Vec3 l = unitLight(s);
    const double lambert = std::max(0.0, nx * l.x + ny * l.y + nz * l.z);
    Colour c = base * (s.ambient(x, y) * (0.36 + 0.74 * lambert));
    if (gloss > 0) {
        Vec3 h{l.x, l.y, l.z + 1};
        const double hl = std::sqrt(h.x * h.x + h.y * h.y + h.z * h.z);
        const double highlight = std::pow(std::max(0.0, (nx * h.x + ny * h.y + nz * h.z) / hl), 40);
        c = c + Colour{255, 250, 240} * (gloss * highlight);
    }
    return c;
}

// A limb, rod or leg: round across its stroke.
Colour litTube(const Studio& s, const Stroke& stroke, Colour base, int x, int y, double gloss)
{
    const Stroke::Place p = stroke.locate({x + 0.5, y + 0.5});
    const double t = std::clamp(p.across, -0.97, 0.97);
    return litSolid(s, base, p.side.x * t, p.side.y * t, x, y, gloss);
}

// A rounded body bounded by an ellipse.
Colour litEllipsoid(const Studio& s, Vec2 centre, Vec2 radii, Colour base, int x, int y, double gloss)
{
    double nx = (x + 0.5 - centre.x) / radii.x, ny = (y + 0.5 - centre.y) / radii.y;
    const double r = std::sqrt(nx * nx + ny * ny);
    if (r > 0.97) {
        nx *= 0.97 / r;
        ny *= 0.97 / r;
    }
    return litSolid(s, base, nx, ny, x, y, gloss);
}

// steps + 1 points along the curve, both ends included.
std::vector<Vec2> sampleCurve(const Bezier& b, int steps)
{
    std::vector<Vec2> out;
    for (int i = 0; i <= steps; ++i) out.push_back(b.at(double(i) / steps));
    return out;
}

void append(std::vector<Vec2>& to, const std::vector<Vec2>& from) { to.insert(to.end(), from.begin(), from.end()); }

Bezier bez(const Studio& s, Vec2 a, Vec2 b, Vec2 c, Vec2 d) { return {s.at(a), s.at(b), s.at(c), s.at(d)}; }

// Mirror of a design point about the vertical line x = axis.
Vec2 mirrored(Vec2 p, double axis) { return {2 * axis - p.x, p.y}; }

// ---- the room

// Painted plaster: a vertical gradient, the lamp's falloff and a faint
// trowel texture.
void paintWall(Studio& s, Colour top, Colour bottom, uint32_t seed)
{
    const double grain = s.len(5);
    s.canvas.fillAll([&](int x, int y) {
        const double n = valueNoise(x / grain, y / grain, seed) * 0.6 + valueNoise(x / (grain * 9), y / (grain * 9), seed + 1) * 0.4;
        return mixColour(top, bottom, double(y) / s.height()) * (s.ambient(x, y) * (0.975 + 0.05 * n));
    });
}

// Boards running towards the camera from the foot of the wall at design
// row y0, converging on the eye, with grain, joints and a soft reflection
// of the light.
void paintFloor(Studio& s, double y0, Colour wood, uint32_t seed)
{
    const double top = s.at(0, y0).y;
    const double horizon = s.view.eye.y - s.len(200);
    const double boards = s.len(150);  // width of a board at the foot of the wall, in pixels
    const std::vector<Vec2> rect = {{0, top}, {double(s.width()), top}, {double(s.width()), double(s.height())}, {0, double(s.height())}};
    s.fill(rect, [&](int x, int y) {
        const double depth = (top - horizon) / (y + 0.5 - horizon);  // 1 at the wall, smaller nearer the camera
        const double across = (x + 0.5 - s.view.eye.x) * depth / boards;
        const double board = std::floor(across);
        const double inBoard = across - board;
        const double tone = 0.86 + 0.22 * hashUnit(int32_t(board), 7, seed);
        // Grain: long streaks along the board, fine across it.
        const double along = (y + 0.5) / (depth * s.len(220));
        const double grain = valueNoise(inBoard * 28 + board * 31, along * 1.5, seed + 2) * 0.6 +
                             valueNoise(inBoard * 90, along * 0.5 + board * 5, seed + 3) * 0.4;
        const double joint = smoothstep(0.0, 0.035 / depth * 0.6, std::min(inBoard, 1 - inBoard));
        const double shine = 1 + 0.12 * std::exp(-std::pow((x - s.lamp.x * 1.6) / (s.width() * 0.35), 2));
        return wood * (s.ambient(x, y) * tone * (0.82 + 0.3 * grain) * (0.55 + 0.45 * joint) * shine);
    });
}

// A painted skirting board along the foot of the wall.
void paintSkirting(Studio& s, double y0, double y1, Colour paint)
{
    const double a = s.at(0, y0).y, b = s.at(0, y1).y;
    const std::vector<Vec2> rect = {{0, a}, {double(s.width()), a}, {double(s.width()), b}, {0, b}};
    s.fill(rect, [&](int x, int y) {
        const double t = (y + 0.5 - a) / (b - a);
        const double lip = t < 0.12 ? 1.08 : (t < 0.2 ? 0.86 : 1.0);
        return paint * (s.ambient(x, y) * lip * (0.96 + 0.06 * t));
    });
}

// The material area: a pale board in a wooden frame, hanging on the wall
// with a soft shadow. The board is what the mapping run covers with the
// material.
void paintSwatchFrame(Studio& s, double x0, double y0, double x1, double y1, double frame, Colour wood)
{
    const Vec2 a = s.at(x0, y0), b = s.at(x1, y1);
    s.area = {int(std::lround(a.x)), int(std::lround(a.y)), int(std::lround(b.x)), int(std::lround(b.y))};
    const double f = s.len(frame);
    const double ax0 = s.area.x0, ay0 = s.area.y0, ax1 = s.area.x1, ay1 = s.area.y1;

    s.shadows.clear();
    s.cov.fill(roundedRectPolygon(ax0 - f + s.len(10), ay0 - f + s.len(14), ax1 + f + s.len(10), ay1 + f + s.len(14), f));
    s.shadows.add(s.cov, 0.35);
    s.shadows.blur(int(s.len(9)) + 1);
    s.shadows.darken(s.canvas);

    // Four mitred sides, each lit by the way it faces.
    const Vec2 o0{ax0 - f, ay0 - f}, o1{ax1 + f, ay0 - f}, o2{ax1 + f, ay1 + f}, o3{ax0 - f, ay1 + f};
    const Vec2 i0{ax0, ay0}, i1{ax1, ay0}, i2{ax1, ay1}, i3{ax0, ay1};
    const struct {
        std::vector<Vec2> quad;
        double nx, ny;
    } sides[4] = {{{o0, o1, i1, i0}, 0, -0.5}, {{o1, o2, i2, i1}, 0.5, 0}, {{o2, o3, i3, i2}, 0, 0.5}, {{o3, o0, i0, i3}, -0.5, 0}};
    for (const auto& side : sides)
        s.fill(side.quad, [&](int x, int y) {
            const double grain = 0.9 + 0.2 * valueNoise(side.nx != 0 ? x * 0.5 : x * 0.02, side.nx != 0 ? y * 0.02 : y * 0.5, 41);
            return litSolid(s, wood * grain, side.nx, side.ny, x, y, 0.15);
        });
    // The board inside, with the frame's shadow along its top and left.
    const std::vector<Vec2> board = {i0, i1, i2, i3};
    s.fill(board, [&](int x, int y) {
        const double edge = std::min(x + 0.5 - ax0, y + 0.5 - ay0);
        const double shade = 0.8 + 0.2 * smoothstep(0, f * 0.6, edge);
        return Colour{232, 228, 220} * (s.ambient(x, y) * shade);
    });
}

void castShadows(Studio& s, const std::vector<std::vector<Vec2>>& shapes, double strength, int radius)
{
    s.shadows.clear();
    for (const auto& shape : shapes) {
        s.cov.fill(shape);
        s.shadows.add(s.cov, strength);
    }
    s.shadows.blur(radius);
    s.shadows.darken(s.canvas);
}

std::vector<Vec2> shifted(const std::vector<Vec2>& shape, Vec2 by)
{
    std::vector<Vec2> out;
    for (Vec2 p : shape) out.push_back(p + by);
    return out;
}

}  // namespace orx::sample
