// Painting for the sample library: coverage, blending, shadows and noise.
#include "samplePaint.h"

namespace orx::sample {

double hashUnit(int32_t a, int32_t b, uint32_t seed)
{
    uint64_t h = uint64_t(uint32_t(a)) * 0x9E3779B97F4A7C15ull ^ (uint64_t(uint32_t(b)) + 0x632BE59BD9B4E019ull) * 0xC2B2AE3D27D4EB4Full ^
                 uint64_t(seed) * 0x165667B19E3779F9ull;
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 33;
    return double(h >> 11) * (1.0 / 9007199254740992.0);
}

namespace {

double fade(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }

int32_t wrap(int64_t i, int32_t period)
{
    const int64_t m = i % period;
    return int32_t(m < 0 ? m + period : m);
}

double latticeNoise(double x, double y, int32_t px, int32_t py, uint32_t seed)
{
    const double fx = std::floor(x), fy = std::floor(y);
    const int64_t ix = int64_t(fx), iy = int64_t(fy);
    const double tx = fade(x - fx), ty = fade(y - fy);
    auto v = [&](int64_t i, int64_t j) {
        const int32_t a = px > 0 ? wrap(i, px) : int32_t(i);
        const int32_t b = py > 0 ? wrap(j, py) : int32_t(j);
        return hashUnit(a, b, seed);
    };
    const double top = mix(v(ix, iy), v(ix + 1, iy), tx);
    const double bottom = mix(v(ix, iy + 1), v(ix + 1, iy + 1), tx);
    return mix(top, bottom, ty);
}

}  // namespace

double valueNoise(double x, double y, uint32_t seed) { return latticeNoise(x, y, 0, 0, seed); }

double periodicNoise(double x, double y, int32_t px, int32_t py, uint32_t seed)
{
    return latticeNoise(x, y, px, py, seed);
}

// ---- outlines

std::vector<Vec2> ellipsePolygon(Vec2 centre, double rx, double ry, int steps)
{
    std::vector<Vec2> out;
    out.reserve(size_t(steps));
    for (int i = 0; i < steps; ++i) {
        const double a = 2 * kPi * i / steps;
        out.push_back({centre.x + rx * std::cos(a), centre.y + ry * std::sin(a)});
    }
    return out;
}

std::vector<Vec2> roundedRectPolygon(double x0, double y0, double x1, double y1, double radius, int stepsPerCorner)
{
    radius = std::min({radius, (x1 - x0) / 2, (y1 - y0) / 2});
    const Vec2 centres[4] = {{x1 - radius, y0 + radius}, {x1 - radius, y1 - radius}, {x0 + radius, y1 - radius},
                             {x0 + radius, y0 + radius}};
    std::vector<Vec2> out;
    for (int k = 0; k < 4; ++k) {
        const double start = -kPi / 2 + k * kPi / 2;
        for (int i = 0; i <= stepsPerCorner; ++i) {
            const double a = start + (kPi / 2) * i / stepsPerCorner;
            out.push_back({centres[k].x + radius * std::cos(a), centres[k].y + radius * std::sin(a)});
        }
    }
    return out;
}

std::vector<Vec2> Stroke::outline(int capSteps) const
{
    const size_t n = spine.size();
    std::vector<Vec2> left, right;
    for (size_t i = 0; i < n; ++i) {
        const Vec2 a = spine[i > 0 ? i - 1 : 0], b = spine[i + 1 < n ? i + 1 : n - 1];
        const Vec2 side = perpendicular(normalised(b - a));
        left.push_back(spine[i] + side * halfWidth[i]);
        right.push_back(spine[i] - side * halfWidth[i]);
    }
    // Round caps: half circles around the two ends.
    std::vector<Vec2> out(left.begin(), left.end());
    auto cap = [&](size_t i, Vec2 dir) {
        const Vec2 side = perpendicular(dir);
        for (int k = 1; k < capSteps; ++k) {
            const double a = kPi * k / capSteps;
            out.push_back(spine[i] + side * (halfWidth[i] * std::cos(a)) + dir * (halfWidth[i] * std::sin(a)));
        }
    };
    cap(n - 1, normalised(spine[n - 1] - spine[n - 2]));
    out.insert(out.end(), right.rbegin(), right.rend());
    cap(0, normalised(spine[0] - spine[1]));
    return out;
}

Stroke::Place Stroke::locate(Vec2 p) const
{
    double best = 1e300, total = 0, walked = 0;
    for (size_t i = 0; i + 1 < spine.size(); ++i) total += length(spine[i + 1] - spine[i]);
    Place place;
    for (size_t i = 0; i + 1 < spine.size(); ++i) {
        const Vec2 a = spine[i], d = spine[i + 1] - a;
        const double l = length(d);
        const double t = l > 0 ? clamp01(dot(p - a, d) / (l * l)) : 0;
        const double dist = length(p - (a + d * t));
        if (dist < best) {
            best = dist;
            const double w = mix(halfWidth[i], halfWidth[i + 1], t);
            place.side = perpendicular(normalised(d));
            place.across = w > 0 ? (dot(p - a, place.side) < 0 ? -dist : dist) / w : 0;
            place.along = total > 0 ? (walked + l * t) / total : 0;
        }
        walked += l;
    }
    return place;
}

// ---- coverage

Coverage::Coverage(int width, int height)
    : width_(width), height_(height), plane_(size_t(width) * size_t(height), 0), row_(size_t(width) + 2, 0.f)
{
}

void Coverage::clear()
{
    for (int y = box_.y0; y < box_.y1; ++y)
        std::fill_n(plane_.begin() + std::ptrdiff_t(size_t(y) * size_t(width_) + size_t(box_.x0)), box_.x1 - box_.x0, 0);
    box_ = {};
}

void Coverage::addSpan(double xa, double xb, double weight)
{
    xa = std::max(xa, double(box_.x0));
    xb = std::min(xb, double(box_.x1));
    if (xb <= xa) return;
    const int ia = int(std::floor(xa)), ib = int(std::floor(xb));
    if (ia == ib) {
        row_[size_t(ia)] += float((xb - xa) * weight);
        return;
    }
    row_[size_t(ia)] += float((ia + 1 - xa) * weight);
    for (int i = ia + 1; i < ib; ++i) row_[size_t(i)] += float(weight);
    if (ib < box_.x1) row_[size_t(ib)] += float((xb - ib) * weight);
}

void Coverage::fill(const std::vector<Vec2>& polygon)
{
    clear();
    if (polygon.size() < 3) return;
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    for (const Vec2& p : polygon) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    box_.x0 = std::clamp(int(std::floor(minX)), 0, width_);
    box_.x1 = std::clamp(int(std::floor(maxX)) + 1, 0, width_);
    box_.y0 = std::clamp(int(std::floor(minY)), 0, height_);
    box_.y1 = std::clamp(int(std::floor(maxY)) + 1, 0, height_);
    if (box_.empty()) return;

    constexpr int kSub = 4;
    const size_t n = polygon.size();
    for (int y = box_.y0; y < box_.y1; ++y) {
        std::fill(row_.begin() + box_.x0, row_.begin() + box_.x1, 0.f);
        for (int s = 0; s < kSub; ++s) {
            const double sy = y + (s + 0.5) / kSub;
            crossings_.clear();
            for (size_t i = 0; i < n; ++i) {
                const Vec2 a = polygon[i], b = polygon[(i + 1) % n];
                if ((a.y <= sy && sy < b.y) || (b.y <= sy && sy < a.y)) {
                    const double x = a.x + (sy - a.y) * (b.x - a.x) / (b.y - a.y);
                    crossings_.push_back({x, a.y < b.y ? 1 : -1});
                }
            }
            std::sort(crossings_.begin(), crossings_.end(),
                      [](const Crossing& p, const Crossing& q) { return p.x < q.x; });
            int winding = 0;
            double start = 0;
            for (const Crossing& c : crossings_) {
                const int before = winding;
                winding += c.winding;
                if (before == 0 && winding != 0) start = c.x;
                if (before != 0 && winding == 0) addSpan(start, c.x, 1.0 / kSub);
            }
        }
        uint8_t* out = plane_.data() + size_t(y) * size_t(width_);
        for (int x = box_.x0; x < box_.x1; ++x) out[x] = toByte(std::min(row_[size_t(x)], 1.f) * 255.0);
    }
}

// ---- shadows

void ShadowLayer::clear()
{
    for (int y = used_.y0; y < used_.y1; ++y)
        std::fill_n(plane_.begin() + std::ptrdiff_t(size_t(y) * size_t(width_) + size_t(used_.x0)), used_.x1 - used_.x0, 0.f);
    used_ = {};
}

void ShadowLayer::add(const Coverage& cov, double strength)
{
    const Box& b = cov.box();
    if (b.empty()) return;
    used_ = used_.empty() ? b : Box{std::min(used_.x0, b.x0), std::min(used_.y0, b.y0), std::max(used_.x1, b.x1), std::max(used_.y1, b.y1)};
    for (int y = b.y0; y < b.y1; ++y)
        for (int x = b.x0; x < b.x1; ++x) {
            float& s = plane_[size_t(y) * size_t(width_) + size_t(x)];
            s = std::max(s, float(cov.at(x, y) / 255.0 * strength));
        }
}

void ShadowLayer::boxPass(int radius, bool across)
{
    // Lines of the used box, each with the edge values repeated beyond
    // the box's ends (the plane is zero there unless at the picture's edge).
    const int n = across ? used_.x1 - used_.x0 : used_.y1 - used_.y0;
    const int first = across ? used_.y0 : used_.x0, last = across ? used_.y1 : used_.x1;
    const size_t step = across ? 1 : size_t(width_);
    line_.resize(size_t(n));
    for (int l = first; l < last; ++l) {
        float* base = plane_.data() + (across ? size_t(l) * size_t(width_) + size_t(used_.x0)
                                              : size_t(used_.y0) * size_t(width_) + size_t(l));
        for (int i = 0; i < n; ++i) line_[size_t(i)] = base[size_t(i) * step];
        double sum = 0;
        for (int i = -radius; i <= radius; ++i) sum += line_[size_t(std::clamp(i, 0, n - 1))];
        const double k = 1.0 / (2 * radius + 1);
        for (int i = 0; i < n; ++i) {
            base[size_t(i) * step] = float(sum * k);
            sum += line_[size_t(std::min(i + radius + 1, n - 1))] - line_[size_t(std::max(i - radius, 0))];
        }
    }
}

void ShadowLayer::blur(int radius)
{
    if (radius < 1 || used_.empty()) return;
    const int grow = 3 * radius + 1;
    used_ = {std::max(used_.x0 - grow, 0), std::max(used_.y0 - grow, 0), std::min(used_.x1 + grow, width_),
             std::min(used_.y1 + grow, height_)};
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(radius, true);
        boxPass(radius, false);
    }
}

void ShadowLayer::darken(Canvas& canvas) const
{
    for (int y = used_.y0; y < used_.y1; ++y)
        for (int x = used_.x0; x < used_.x1; ++x) {
            const float s = plane_[size_t(y) * size_t(width_) + size_t(x)];
            if (s <= 0.002f) continue;
            canvas.set(x, y, canvas.get(x, y) * (1.0 - std::min(double(s), 0.95)));
        }
}

}  // namespace orx::sample
