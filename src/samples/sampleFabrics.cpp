// The sample materials.
//
// Woven cloths are built the way a loom builds them: a colour for every
// warp thread (column) and every weft thread (row), and a weave that says
// which of the two shows at each crossing. Knits and prints are drawn from
// shapes. Everything repeats with the tile: thread orders, noise lattices
// and motif positions all wrap at the tile's edges.
#include "sampleFabrics.h"

#include <cmath>

namespace orx::sample {

namespace {

Colour colour(Rgb c) { return {double(c.r), double(c.g), double(c.b)}; }

int wrapIndex(int i, int n) { return ((i % n) + n) % n; }

// Yarn unevenness in 0..1 on a lattice of `cell` pixels that wraps with
// the tile (cell should divide the tile's sides).
double yarnNoise(const Canvas& c, double x, double y, int cell, uint32_t seed)
{
    const int px = std::max(1, c.width() / cell), py = std::max(1, c.height() / cell);
    return periodicNoise(x * px / c.width(), y * py / c.height(), px, py, seed);
}

// The relief of a woven crossing: the thread on top is lit along its
// middle and shaded where it dives under its neighbour.
double crossingRelief(int x, int y, int thread, bool warpOnTop)
{
    const double across = ((warpOnTop ? x : y) % thread + 0.5) / thread;  // 0..1 across the thread
    return 0.9 + 0.16 * std::sin(kPi * across);
}

// ---- woven cloths

// Colour bands of a stripe, in pixels, repeated to fill the tile.
struct Band {
    int width;
    int colour;  // 0 ground, 1 first, 2 second, 3 third
};

Colour recipeColour(const SampleMaterialRecipe& r, int which)
{
    const Rgb c[4] = {r.ground, r.first, r.second, r.third};
    return colour(c[which & 3]);
}

Colour bandColour(const SampleMaterialRecipe& r, const std::vector<Band>& bands, int position)
{
    int total = 0;
    for (const Band& b : bands) total += b.width;
    int p = wrapIndex(position, total);
    for (const Band& b : bands) {
        if (p < b.width) return recipeColour(r, b.colour);
        p -= b.width;
    }
    return recipeColour(r, 0);
}

// A woven cloth from warp and weft colours and a twill of `over` threads
// over and `under` under, stepping one thread per row; thread in pixels.
// `cover` is how much of a crossing the thread on top hides (the one
// underneath still shows between the threads).
template <typename Warp, typename Weft>
void weave(Canvas& c, const SampleMaterialRecipe& r, int thread, int over, int under, Warp warp, Weft weft,
           double cover = 0.8)
{
    c.fillAll([&](int x, int y) {
        const int xi = x / thread, yi = y / thread;
        const bool warpOnTop = wrapIndex(xi + yi, over + under) < over;
        const Colour base = warpOnTop ? mixColour(warp(x, xi), weft(y, yi), 1 - cover)
                                      : mixColour(weft(y, yi), warp(x, xi), 1 - cover);
        const double fuzz = 0.94 + 0.12 * yarnNoise(c, x, y, 4, r.seed);
        return base * (crossingRelief(x, y, thread, warpOnTop) * fuzz);
    });
}

void paintStripe(Canvas& c, const SampleMaterialRecipe& r)
{
    // One repeat of bands 240 units wide, stretched over the tile; the
    // tile's edges fall inside a plain band, where a seam would show most.
    const std::vector<Band> bands = {{15, 0}, {40, 1}, {10, 0}, {8, 2}, {10, 0}, {40, 1},
                                     {30, 0}, {24, 3}, {24, 0}, {24, 3}, {15, 0}};
    // Fine warp-faced 3/1 twill, so the stripes are the warp's colours.
    weave(c, r, 1, 3, 1, [&](int x, int) { return bandColour(r, bands, x * 240 / c.width()); },
          [&](int y, int yi) { return recipeColour(r, 0) * (0.97 + 0.03 * hashUnit(yi, 0, r.seed)); }, 0.6);
}

void paintGingham(Canvas& c, const SampleMaterialRecipe& r)
{
    // Dyed and white yarns alternate in equal groups both ways; a dyed
    // warp over a white weft gives the half-tone squares.
    // The tile's edges cross the middle of a square, not its border.
    const int group = c.width() / 8;
    auto yarn = [&](int p) { return ((p + group / 2) / group) % 2 == 0 ? recipeColour(r, 1) : recipeColour(r, 0); };
    weave(c, r, 2, 1, 1, [&](int x, int) { return yarn(x); }, [&](int y, int) { return yarn(y); });
}

void paintTartan(Canvas& c, const SampleMaterialRecipe& r)
{
    // Half a sett, mirrored about its last band: the same order for warp
    // and weft, in a 2/2 twill.
    const std::vector<Band> half = {{24, 1}, {4, 2}, {4, 1}, {4, 2}, {4, 1}, {20, 2}, {24, 0}, {4, 3}, {24, 0}, {8, 2}};
    int halfWidth = 0;
    for (const Band& b : half) halfWidth += b.width;
    auto sett = [&](int p) {
        p = wrapIndex(p * 2 * halfWidth / c.width(), 2 * halfWidth);
        return bandColour(r, half, p < halfWidth ? p : 2 * halfWidth - 1 - p);
    };
    weave(c, r, 2, 2, 2, [&](int x, int) { return sett(x); }, [&](int y, int) { return sett(y); });
}

void paintHoundstooth(Canvas& c, const SampleMaterialRecipe& r)
{
    // Four dark and four light threads each way in a 2/2 twill break the
    // check into the hound's teeth.
    const int thread = 3;
    auto yarn = [&](int i) { return ((i + 2) / 4) % 2 == 0 ? recipeColour(r, 1) : recipeColour(r, 0); };
    weave(c, r, thread, 2, 2, [&](int, int xi) { return yarn(xi); }, [&](int, int yi) { return yarn(yi); });
}

void paintDenim(Canvas& c, const SampleMaterialRecipe& r)
{
    // Indigo warp, each thread its own depth of dye and faded in slubs
    // along its length, over an ecru weft; 3/1 twill.
    const int thread = 2;
    const int threads = c.width() / thread;
    const Colour indigo = recipeColour(r, 1), ecru = recipeColour(r, 0);
    c.fillAll([&](int x, int y) {
        const int xi = x / thread, yi = y / thread;
        const bool warpOnTop = wrapIndex(xi - yi, 4) != 0;
        Colour base;
        if (warpOnTop) {
            const double dye = 0.8 + 0.35 * hashUnit(wrapIndex(xi, threads), 1, r.seed);
            const double slub = yarnNoise(c, x * 8.0, y, 16, r.seed + 1);
            base = mixColour(indigo * dye, Colour{150, 170, 205}, 0.35 * smoothstep(0.6, 0.95, slub));
        } else {
            base = ecru * (0.9 + 0.1 * hashUnit(yi, 2, r.seed));
        }
        const double wear = 0.92 + 0.12 * yarnNoise(c, x, y, 32, r.seed + 2);
        return base * (crossingRelief(x, y, thread, warpOnTop) * wear);
    });
}

void paintLinen(Canvas& c, const SampleMaterialRecipe& r)
{
    // Plain weave of uneven yarns: every thread has its own shade, and the
    // weft swells into slubs here and there along its length.
    const int thread = 2;
    const Colour ground = recipeColour(r, 0);
    c.fillAll([&](int x, int y) {
        const int xi = x / thread, yi = y / thread;
        const bool warpOnTop = wrapIndex(xi + yi, 2) == 0;
        double tone;
        // Each thread is its own row of the noise lattice, so the noise
        // along it wraps with the tile.
        const int warps = c.width() / thread, wefts = c.height() / thread;
        const int lengthX = std::max(1, c.width() / 40), lengthY = std::max(1, c.height() / 40);
        if (warpOnTop) {
            tone = 0.9 + 0.16 * hashUnit(wrapIndex(xi, warps), 3, r.seed) +
                   0.06 * periodicNoise(wrapIndex(xi, warps), double(y) * lengthY / c.height(), warps, lengthY, r.seed + 4);
        } else {
            const double slub = periodicNoise(double(x) * lengthX / c.width(), wrapIndex(yi, wefts), lengthX, wefts, r.seed + 5);
            tone = 0.88 + 0.14 * hashUnit(wrapIndex(yi, wefts), 4, r.seed) + 0.22 * smoothstep(0.62, 0.9, slub);
        }
        const double fleck = hashUnit(x, y, r.seed + 6) > 0.995 ? 0.7 : 1.0;
        return ground * (tone * fleck * crossingRelief(x, y, thread, warpOnTop));
    });
}

// ---- knit

void paintKnit(Canvas& c, const SampleMaterialRecipe& r)
{
    // Stocking stitch: columns of V-shaped loops. Each loop is two plump
    // legs leaning apart at the top, lit along their crests; a loop's top
    // tucks under the loop above it.
    const int columns = 15, rows = 20;
    const double sw = double(c.width()) / columns, sh = double(c.height()) / rows;
    const Colour yarn = recipeColour(r, 1);
    c.fillAll([&](int x, int y) {
        const Vec2 p{x + 0.5, y + 0.5};
        double best = 0;
        int bestStitch = 0;
        const int row = int(std::floor(p.y / sh)), column = int(std::floor(p.x / sw));
        for (int j = row - 1; j <= row + 1; ++j)
            for (int i = column - 1; i <= column + 1; ++i)
                for (double side : {-1.0, 1.0}) {
                    const Vec2 centre{(i + 0.5 + side * 0.23) * sw, (j + 0.55) * sh};
                    const Vec2 up{side * 0.42, -0.91};  // the leg's axis, leaning out at the top
                    const Vec2 d = p - centre;
                    const Vec2 q{dot(d, perpendicular(up)) / (sw * 0.25), dot(d, up) / (sh * 0.78)};
                    const double k = dot(q, q);
                    if (k >= 1) continue;
                    const double v = std::sqrt(1 - k) * (0.78 + 0.22 * q.y);
                    if (v > best) {
                        best = v;
                        bestStitch = wrapIndex(i, columns) * 31 + wrapIndex(j, rows) * 2 + (side > 0);
                    }
                }
        const double heather = 0.9 + 0.16 * hashUnit(bestStitch, 5, r.seed) + 0.08 * yarnNoise(c, x, y, 4, r.seed);
        return yarn * ((0.22 + 0.85 * best) * heather);
    });
}

// ---- prints

void paintPolka(Canvas& c, const SampleMaterialRecipe& r)
{
    // Dots on a staggered grid: eight rows and four dots a row per tile.
    const double gx = c.width() / 4.0, gy = c.height() / 8.0;
    const double radius = std::min(gx, gy) * 0.34;
    const Colour ground = recipeColour(r, 0), dot = recipeColour(r, 1);
    c.fillAll([&](int x, int y) {
        const double px = x + 0.5, py = y + 0.5;
        double nearest = 1e9;
        const int row = int(std::floor(py / gy));
        for (int j = row - 1; j <= row + 1; ++j) {
            const double shift = wrapIndex(j, 2) ? gx / 2 : 0;
            const double cy = (j + 0.5) * gy;
            const double cxp = std::floor((px - shift) / gx) * gx + shift + gx / 2;
            for (double cxx : {cxp - gx, cxp, cxp + gx}) nearest = std::min(nearest, length(Vec2{px - cxx, py - cy}));
        }
        const double inside = clamp01(radius - nearest + 0.5);
        const double print = 0.95 + 0.08 * yarnNoise(c, x, y, 4, r.seed);
        return mixColour(ground, dot, inside) * print;
    });
}

// An ellipse's coverage of pixel p, the ellipse turned by `angle`.
double ellipseCover(Vec2 p, Vec2 centre, Vec2 radii, double angle)
{
    const Vec2 d = p - centre;
    const double ca = std::cos(angle), sa = std::sin(angle);
    const Vec2 q{(d.x * ca + d.y * sa) / radii.x, (-d.x * sa + d.y * ca) / radii.y};
    const double k = length(q);
    return clamp01((1 - k) * std::min(radii.x, radii.y) + 0.5);
}

void paintFloral(Canvas& c, const SampleMaterialRecipe& r)
{
    const int w = c.width(), h = c.height();
    const Colour ground = recipeColour(r, 0);
    c.fillAll([&](int x, int y) { return ground * (0.95 + 0.07 * yarnNoise(c, x, y, 4, r.seed)); });

    // Flowers scattered with a minimum spacing; every motif is drawn at
    // its place and at the places one tile away, so it wraps round.
    struct Flower {
        Vec2 at;
        double size, turn;
        int colour;
    };
    std::vector<Flower> flowers;
    Rng rng(r.seed);
    const double spacing = w * 0.13;
    for (int tries = 0; tries < 4000 && flowers.size() < 40; ++tries) {
        const Vec2 p{rng.range(0, w), rng.range(0, h)};
        bool free = true;
        for (const Flower& f : flowers) {
            const double dx = std::min(std::fabs(p.x - f.at.x), w - std::fabs(p.x - f.at.x));
            const double dy = std::min(std::fabs(p.y - f.at.y), h - std::fabs(p.y - f.at.y));
            if (dx * dx + dy * dy < spacing * spacing) free = false;
        }
        if (free) flowers.push_back({p, rng.range(0.8, 1.25) * w * 0.045, rng.range(0, 2 * kPi), 1 + rng.below(2)});
    }

    auto stamp = [&](Vec2 centre, double reach, auto cover, auto paint) {
        for (int oy = -1; oy <= 1; ++oy)
            for (int ox = -1; ox <= 1; ++ox) {
                const Vec2 at{centre.x + ox * w, centre.y + oy * h};
                const int x0 = std::max(0, int(at.x - reach)), x1 = std::min(w, int(at.x + reach) + 1);
                const int y0 = std::max(0, int(at.y - reach)), y1 = std::min(h, int(at.y + reach) + 1);
                for (int y = y0; y < y1; ++y)
                    for (int x = x0; x < x1; ++x) {
                        const Vec2 p{x + 0.5, y + 0.5};
                        const double a = cover(p, at);
                        if (a > 0) c.set(x, y, mixColour(c.get(x, y), paint(p, at), a));
                    }
            }
    };
    const Colour leaf = recipeColour(r, 3);
    for (const Flower& f : flowers) {
        for (int k = 0; k < 2; ++k) {
            const double a = f.turn + kPi * 0.7 + k * 1.9;
            const Vec2 centre = f.at + Vec2{std::cos(a), std::sin(a)} * (f.size * 1.45);
            stamp(centre, f.size * 1.2, [&](Vec2 p, Vec2 at) { return ellipseCover(p, at, {f.size * 0.95, f.size * 0.38}, a); },
                  [&](Vec2 p, Vec2 at) {
                      const double vein = std::fabs(std::sin(a) * (p.x - at.x) - std::cos(a) * (p.y - at.y)) < 1 ? 0.8 : 1.0;
                      return leaf * vein;
                  });
        }
    }
    for (const Flower& f : flowers) {
        const Colour petal = recipeColour(r, f.colour);
        for (int k = 0; k < 5; ++k) {
            const double a = f.turn + k * 2 * kPi / 5;
            const Vec2 centre = f.at + Vec2{std::cos(a), std::sin(a)} * (f.size * 0.62);
            stamp(centre, f.size * 0.8, [&](Vec2 p, Vec2 at) { return ellipseCover(p, at, {f.size * 0.62, f.size * 0.42}, a); },
                  [&](Vec2 p, Vec2 at) {
                      // Deeper towards the heart of the flower.
                      const double towardHeart = clamp01(length(p - (at - Vec2{std::cos(a), std::sin(a)} * (f.size * 0.62))) / (f.size * 1.1));
                      return petal * (0.7 + 0.35 * towardHeart);
                  });
        }
        stamp(f.at, f.size * 0.4, [&](Vec2 p, Vec2 at) { return ellipseCover(p, at, {f.size * 0.24, f.size * 0.24}, 0); },
              [&](Vec2, Vec2) { return Colour{232, 190, 80}; });
    }
}

using FabricPainter = void (*)(Canvas&, const SampleMaterialRecipe&);

const struct {
    SampleWeave weave;
    FabricPainter paint;
} kPainters[] = {
    {SampleWeave::Stripe, paintStripe},   {SampleWeave::Gingham, paintGingham}, {SampleWeave::Tartan, paintTartan},
    {SampleWeave::Houndstooth, paintHoundstooth}, {SampleWeave::Denim, paintDenim},   {SampleWeave::Knit, paintKnit},
    {SampleWeave::Polka, paintPolka},     {SampleWeave::Floral, paintFloral},   {SampleWeave::Linen, paintLinen},
};

}  // namespace

void paintFabric(Canvas& canvas, const SampleMaterialRecipe& recipe)
{
    for (const auto& p : kPainters)
        if (p.weave == recipe.weave) p.paint(canvas, recipe);
}

}  // namespace orx::sample
