// Painting for the sample library: points, a fixed-seed random source,
// lattice noise, anti-aliased polygon coverage, blending into an RGB plane
// and soft shadows. Everything here is deterministic: the same call gives
// the same bytes on every run, so the generated library never changes
// unless its recipes do.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orx::sample {

constexpr double kPi = 3.14159265358979323846;

struct Vec2 {
    double x = 0, y = 0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, double k) { return {a.x * k, a.y * k}; }
inline Vec2 operator*(double k, Vec2 a) { return {a.x * k, a.y * k}; }
inline double dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
inline double cross(Vec2 a, Vec2 b) { return a.x * b.y - a.y * b.x; }
inline double length(Vec2 a) { return std::sqrt(a.x * a.x + a.y * a.y); }
inline Vec2 lerp(Vec2 a, Vec2 b, double t) { return a + (b - a) * t; }
inline Vec2 normalised(Vec2 a)
{
    const double l = length(a);
    return l > 0 ? a * (1.0 / l) : Vec2{};
}
inline Vec2 perpendicular(Vec2 a) { return {-a.y, a.x}; }

inline double clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
inline double smoothstep(double e0, double e1, double x)
{
    const double t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}
inline double mix(double a, double b, double t) { return a + (b - a) * t; }

// splitmix64: small, fast and the same on every platform (the standard
// library's distributions are not).
struct Rng {
    uint64_t state;
    explicit Rng(uint64_t seed) : state(seed) {}
    uint64_t next()
    {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }  // [0, 1)
    double range(double lo, double hi) { return lo + (hi - lo) * unit(); }
    int below(int n) { return int(next() % uint64_t(n)); }
};

// A value in [0, 1) that depends only on its three arguments.
double hashUnit(int32_t a, int32_t b, uint32_t seed);

// Smooth lattice noise in [0, 1]. The periodic form repeats every px
// columns and py rows (both above zero), so a material tile built from it
// joins its neighbours without a seam.
double valueNoise(double x, double y, uint32_t seed);
double periodicNoise(double x, double y, int32_t px, int32_t py, uint32_t seed);

// A colour with channels 0..255 as doubles, so shading can overshoot
// before the final clamp.
struct Colour {
    double r = 0, g = 0, b = 0;
};
inline Colour operator*(Colour c, double k) { return {c.r * k, c.g * k, c.b * k}; }
inline Colour operator+(Colour a, Colour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Colour mixColour(Colour a, Colour b, double t)
{
    return {mix(a.r, b.r, t), mix(a.g, b.g, t), mix(a.b, b.b, t)};
}
inline uint8_t toByte(double v) { return uint8_t(v <= 0 ? 0 : (v >= 255 ? 255 : std::lround(v))); }

// Pixel rectangle, columns x0..x1-1 and rows y0..y1-1.
struct Box {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool empty() const { return x1 <= x0 || y1 <= y0; }
};

// Outlines made into polygons.
std::vector<Vec2> ellipsePolygon(Vec2 centre, double rx, double ry, int steps = 96);
std::vector<Vec2> roundedRectPolygon(double x0, double y0, double x1, double y1, double radius, int stepsPerCorner = 12);

// A stroke of varying width along a polyline, for limbs, rods and legs.
struct Stroke {
    std::vector<Vec2> spine;
    std::vector<double> halfWidth;  // one per spine point

    std::vector<Vec2> outline(int capSteps = 10) const;
    struct Place {
        double across = 0;  // 0 on the spine, +1 or -1 on the edges (+1 towards `side`)
        double along = 0;   // 0 at the first spine point, 1 at the last
        Vec2 side;          // unit vector across the stroke
    };
    Place locate(Vec2 p) const;
};

// The anti-aliased coverage of one polygon (non-zero winding), 0..255 per
// pixel, with four sub-scanlines per row and exact coverage across.
class Coverage {
public:
    Coverage(int width, int height);
    void fill(const std::vector<Vec2>& polygon);
    const Box& box() const { return box_; }
    uint8_t at(int x, int y) const { return plane_[size_t(y) * size_t(width_) + size_t(x)]; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    void clear();
    void addSpan(double xa, double xb, double weight);

    int width_, height_;
    Box box_;
    std::vector<uint8_t> plane_;
    std::vector<float> row_;
    struct Crossing {
        double x;
        int winding;
    };
    std::vector<Crossing> crossings_;
};

// An RGB plane (R, G, B bytes, rows without padding) that shapes are
// blended into.
class Canvas {
public:
    Canvas(uint8_t* rgb, int width, int height) : rgb_(rgb), width_(width), height_(height) {}
    int width() const { return width_; }
    int height() const { return height_; }
    uint8_t* pixel(int x, int y) { return rgb_ + (size_t(y) * size_t(width_) + size_t(x)) * 3; }
    Colour get(int x, int y) const
    {
        const uint8_t* p = rgb_ + (size_t(y) * size_t(width_) + size_t(x)) * 3;
        return {double(p[0]), double(p[1]), double(p[2])};
    }
    void set(int x, int y, Colour c)
    {
        uint8_t* p = pixel(x, y);
        p[0] = toByte(c.r);
        p[1] = toByte(c.g);
        p[2] = toByte(c.b);
    }

    // Every pixel of the plane from shade(x, y).
    template <typename Shader>
    void fillAll(Shader&& shade)
    {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) set(x, y, shade(x, y));
    }

    // Blends shade(x, y) over the covered pixels by their coverage.
    template <typename Shader>
    void paint(const Coverage& cov, Shader&& shade)
    {
        const Box& b = cov.box();
        for (int y = b.y0; y < b.y1; ++y)
            for (int x = b.x0; x < b.x1; ++x) {
                const uint8_t a = cov.at(x, y);
                if (a == 0) continue;
                const Colour c = shade(x, y);
                if (a == 255) {
                    set(x, y, c);
                } else {
                    set(x, y, mixColour(get(x, y), c, a / 255.0));
                }
            }
    }

private:
    uint8_t* rgb_;
    int width_, height_;
};

// Soft shadows: shapes are accumulated with their strength, blurred, and
// the canvas is darkened by the result.
// Only the box the shapes touch (grown by the blur) is ever worked on.
class ShadowLayer {
public:
    ShadowLayer(int width, int height) : width_(width), height_(height), plane_(size_t(width) * size_t(height), 0.f) {}
    void add(const Coverage& cov, double strength);
    // Three box passes each way approach a Gaussian of about `radius`.
    void blur(int radius);
    void darken(Canvas& canvas) const;
    void clear();

private:
    void boxPass(int radius, bool across);
    int width_, height_;
    Box used_;  // where the plane may be non-zero
    std::vector<float> plane_;
    std::vector<float> line_;
};

}  // namespace orx::sample
