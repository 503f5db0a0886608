// Screen display and zoom: the working image composed into RS at the current
// scale, the zoom steps, the fit to the picture area, the window and image
// coordinate conversions, and the status band texts.
//
// Composition runs over display rows on raw row pointers. Every composed row
// is either a run of repeated image pixels (1:1 and enlargement) or a run of
// reduced blocks, so the cost follows the window, not the image: a reduced
// pixel reads at most four rows of its block.
#include "display.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <iterator>

#include "langText.h"

namespace orx {

namespace {

// The zoom steps, from 16X enlarged to 1/15X reduced.
constexpr int32_t kZoomSteps[] = {1,   2,   4,   8,   16,  32,  48,  64,  80,  96,
                                  112, 128, 144, 160, 176, 192, 208, 224, 240};
constexpr int32_t kZoomStepCount = int32_t(std::size(kZoomSteps));

// How one scale maps display pixels to image pixels: each image pixel is
// shown zoom x zoom times, or each display pixel stands for a reduce x reduce
// block. One of the two is always 1.
struct Magnification {
    int32_t zoom = 1;
    int32_t reduce = 1;
};

// Scales below 1 are never produced by the commands; they are shown 1:1
// rather than dividing by zero.
Magnification magnificationOf(int32_t s)
{
    if (s < 1) return {};
    if (s < 16) return {16 / s, 1};
    return {1, s / 16};
}

// A half-open rectangle of display pixels.
struct Box {
    int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool empty() const { return x0 >= x1 || y0 >= y1; }
};

int32_t held(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

Box wholeDisplay(const Workspace& ws) { return {0, 0, ws.displayWidth, ws.displayHeight}; }

Box clipped(Box b, Box limit)
{
    return {std::max(b.x0, limit.x0), std::max(b.y0, limit.y0), std::min(b.x1, limit.x1),
            std::min(b.y1, limit.y1)};
}

// One composition: the scale, where image pixel (0, 0) lands, and how plain
// reduction samples a block (the side of the averaged square at its top
// left). With the mask tinted in, reduction takes the block's top-left pixel.
struct Composition {
    Magnification mag;
    int32_t originX = 0, originY = 0;
    int32_t averagedSide = 2;
    bool tinted = false;
    const uint8_t* overlay = nullptr;  // B, G, R
};

Composition currentComposition(const Workspace& ws, int32_t averagedSide)
{
    Composition c;
    c.mag = magnificationOf(ws.displayScale16);
    c.originX = ws.displayOriginX;
    c.originY = ws.displayOriginY;
    c.averagedSide = averagedSide;
    c.tinted = ws.maskVisible == 1 && ws.maskOverlayMode != 0;
    c.overlay = ws.maskOverlayColour;
    return c;
}

// The display pixels the image covers under a composition, before clipping.
Box drawnArea(const Workspace& ws, const Composition& c)
{
    const int64_t w = c.mag.reduce > 1 ? ws.imageWidth / c.mag.reduce : int64_t(ws.imageWidth) * c.mag.zoom;
    const int64_t h = c.mag.reduce > 1 ? ws.imageHeight / c.mag.reduce : int64_t(ws.imageHeight) * c.mag.zoom;
    return {c.originX, c.originY, held(int64_t(c.originX) + w), held(int64_t(c.originY) + h)};
}

// ---- pixels: image bytes R, G, B become display bytes B, G, R

inline void putPlain(uint8_t* d, const uint8_t* s)
{
    d[0] = s[2];
    d[1] = s[1];
    d[2] = s[0];
}

inline void putTinted(uint8_t* d, const uint8_t* s, const uint8_t* ov)
{
    d[0] = uint8_t((s[2] + ov[0]) >> 1);
    d[1] = uint8_t((s[1] + ov[1]) >> 1);
    d[2] = uint8_t((s[0] + ov[2]) >> 1);
}

// Only an exact 255 is tinted: tools leave values in between, drawn plain.
inline void putPixel(uint8_t* d, const uint8_t* s, uint8_t maskByte, const Composition& c)
{
    if (c.tinted && maskByte == 255)
        putTinted(d, s, c.overlay);
    else
        putPlain(d, s);
}

// ---- rows at 1:1 and enlarged

// n display pixels from image pixel sx of one row, the first `phase` repeats
// of that pixel already to the left of the row segment.
void enlargedRow(uint8_t* d, const uint8_t* src, const uint8_t* mask, int32_t sx, int32_t phase, int32_t n,
                 const Composition& c)
{
    const int32_t z = c.mag.zoom;
    src += size_t(sx) * 3;
    mask += sx;
    if (z == 1) {
        if (!c.tinted) {
            for (int32_t i = 0; i < n; ++i, d += 3, src += 3) putPlain(d, src);
        } else {
            for (int32_t i = 0; i < n; ++i, d += 3, src += 3) putPixel(d, src, mask[i], c);
        }
        return;
    }
    int32_t repeats = std::min(z - phase, n);
    while (n > 0) {
        uint8_t px[3];
        putPixel(px, src, *mask, c);
        for (int32_t k = 0; k < repeats; ++k, d += 3) std::memcpy(d, px, 3);
        n -= repeats;
        repeats = std::min(z, n);
        src += 3;
        ++mask;
    }
}

void drawEnlarged(Workspace& ws, const Composition& c, Box area)
{
    const int32_t z = c.mag.zoom;
    const int32_t n = area.x1 - area.x0;
    const int32_t sx = (area.x0 - c.originX) / z;
    const int32_t phase = (area.x0 - c.originX) % z;
    uint8_t* rs = ws.RS.get();
    const uint8_t* previous = nullptr;
    int32_t previousSy = -1;
    for (int32_t y = area.y0; y < area.y1; ++y) {
        uint8_t* d = rs + ws.displayRowOffset[y] + size_t(area.x0) * 3;
        const int32_t sy = (y - c.originY) / z;
        // The z display rows of one image row are the same bytes.
        if (sy == previousSy) {
            std::memcpy(d, previous, size_t(n) * 3);
            continue;
        }
        const uint8_t* src = ws.image + uint64_t(sy) * ws.imageRowBytes;
        const uint8_t* mask = ws.mask + uint64_t(sy) * uint64_t(ws.imageWidth);
        enlargedRow(d, src, mask, sx, phase, n, c);
        previous = d;
        previousSy = sy;
    }
}

// ---- rows reduced

// The side x side square at the top left of each r x r block, averaged per
// channel (the sum divided by side squared, truncated).
//
// Done in two passes over a chunk of the row: first the column sums of the
// side rows over every byte the chunk spans (a plain loop the compiler turns
// into vector adds), then per reduced pixel the sums of its side columns.
// Blocks wider than the square waste part of the first pass, and it is still
// cheaper than gathering side x side bytes one at a time.
constexpr size_t kColumnSumBytes = 12'288;  // 24 KB of sums, on the stack
static_assert(std::endian::native == std::endian::little, "the column sums are read as 64-bit lanes");

// Column sums are taken `kSumLanes` bytes at a time: a fixed count that GCC
// vectorizes at -O2 too, where a loop over the whole span stays scalar.
constexpr size_t kSumLanes = 64;

template <int Side, size_t Lanes>
inline void columnSums(uint16_t* __restrict sums, const uint8_t* const* rows, size_t from)
{
    // One flat loop with the rows spelled out, the sums promised not to
    // alias the rows: a loop over the rows, or sums the byte loads might
    // overwrite, keep the compiler from vectorizing. A sum holds at most 4 x 255.
    static_assert(Side >= 2 && Side <= 4);
    const uint8_t* r0 = rows[0] + from;
    const uint8_t* r1 = rows[1] + from;
    const uint8_t* r2 = rows[Side > 2 ? 2 : 1] + from;
    const uint8_t* r3 = rows[Side > 3 ? 3 : 1] + from;
    for (size_t k = 0; k < Lanes; ++k) {
        uint16_t sum = uint16_t(r0[k] + r1[k]);
        if constexpr (Side > 2) sum = uint16_t(sum + r2[k]);
        if constexpr (Side > 3) sum = uint16_t(sum + r3[k]);
        sums[k] = sum;
    }
}

template <int Side>
void averagedRow(uint8_t* d, const uint8_t* const* rows, int32_t i0, int32_t n, int32_t r)
{
    constexpr uint32_t kCount = Side * Side;
    const size_t step = size_t(r) * 3;
    const int32_t chunk = int32_t(std::max<size_t>(1, (kColumnSumBytes - Side * 3) / step));
    uint16_t sums[kColumnSumBytes + 1];
    for (int32_t done = 0; done < n; done += chunk) {
        const int32_t count = std::min(chunk, n - done);
        const size_t from = size_t(i0 + done) * step;
        const size_t bytes = size_t(count - 1) * step + Side * 3;
        size_t b = 0;
        for (; b + kSumLanes <= bytes; b += kSumLanes) columnSums<Side, kSumLanes>(sums + b, rows, from + b);
        for (; b < bytes; ++b) columnSums<Side, 1>(sums + b, rows, from + b);
        sums[bytes] = 0;  // the fourth lane of the last pixel's read
        const uint16_t* block = sums;
        for (int32_t i = 0; i < count; ++i, d += 3, block += step) {
            // Lanes R, G, B and one spare, four 16-bit sums at a time (the
            // lowest lane first: little-endian): a lane holds at most
            // 16 x 255, so no carry crosses into the next.
            uint64_t lanes = 0;
            for (int u = 0; u < Side; ++u) {
                uint64_t pixel;
                std::memcpy(&pixel, block + 3 * u, sizeof pixel);
                lanes += pixel;
            }
            d[0] = uint8_t(((lanes >> 32) & 0xFFFF) / kCount);
            d[1] = uint8_t(((lanes >> 16) & 0xFFFF) / kCount);
            d[2] = uint8_t((lanes & 0xFFFF) / kCount);
        }
    }
}

// Tinted reduction: the block's top-left pixel and its mask byte.
void sampledRow(uint8_t* d, const uint8_t* src, const uint8_t* mask, int32_t i0, int32_t n, int32_t r,
                const Composition& c)
{
    size_t x = size_t(i0) * size_t(r);
    for (int32_t i = 0; i < n; ++i, d += 3, x += size_t(r)) putPixel(d, src + x * 3, mask[x], c);
}

using AveragedRowFn = void (*)(uint8_t*, const uint8_t* const*, int32_t, int32_t, int32_t);

// Indexed by the side of the averaged square.
constexpr AveragedRowFn kAveragedRows[] = {nullptr, nullptr, averagedRow<2>, averagedRow<3>, averagedRow<4>};

void drawReduced(Workspace& ws, const Composition& c, Box area)
{
    const int32_t r = c.mag.reduce;
    const int32_t side = std::clamp(c.averagedSide, 2, std::min(r, 4));
    const AveragedRowFn averaged = kAveragedRows[side];
    const int32_t n = area.x1 - area.x0;
    const int32_t i0 = area.x0 - c.originX;
    uint8_t* rs = ws.RS.get();
    for (int32_t y = area.y0; y < area.y1; ++y) {
        uint8_t* d = rs + ws.displayRowOffset[y] + size_t(area.x0) * 3;
        const uint64_t sy = uint64_t(y - c.originY) * uint64_t(r);
        const uint8_t* src = ws.image + sy * ws.imageRowBytes;
        if (c.tinted) {
            sampledRow(d, src, ws.mask + sy * uint64_t(ws.imageWidth), i0, n, r, c);
        } else {
            const uint8_t* rows[4] = {};
            for (int32_t t = 0; t < side; ++t) rows[t] = src + uint64_t(t) * ws.imageRowBytes;
            averaged(d, rows, i0, n, r);
        }
    }
}

// ---- composition

// Background 0 in `clip` outside the drawn area. Where the clip reaches the
// right edge the row padding is cleared too, so a whole composition leaves
// every byte of displayBytes defined.
void clearOutside(Workspace& ws, Box clip, Box drawn)
{
    uint8_t* rs = ws.RS.get();
    const size_t left = size_t(clip.x0) * 3;
    const size_t right = clip.x1 == ws.displayWidth ? size_t(ws.displayStride) : size_t(clip.x1) * 3;
    for (int32_t y = clip.y0; y < clip.y1; ++y) {
        uint8_t* row = rs + ws.displayRowOffset[y];
        if (drawn.empty() || y < drawn.y0 || y >= drawn.y1) {
            std::memset(row + left, 0, right - left);
            continue;
        }
        std::memset(row + left, 0, size_t(drawn.x0) * 3 - left);
        std::memset(row + size_t(drawn.x1) * 3, 0, right - size_t(drawn.x1) * 3);
    }
}

// Composes the display pixels of `clip` (already inside the display).
void compose(Workspace& ws, const Composition& c, Box clip)
{
    if (clip.empty()) return;
    Box drawn = ws.imageLoaded ? clipped(drawnArea(ws, c), clip) : Box{};
    if (drawn.empty()) drawn = {};
    clearOutside(ws, clip, drawn);
    if (drawn.empty()) return;
    if (c.mag.reduce > 1)
        drawReduced(ws, c, drawn);
    else
        drawEnlarged(ws, c, drawn);
}

void showWhole(Workspace& ws)
{
    if (ws.platform) ws.platform->redraw(nullptr);
}

std::string baseName(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

// ---- zoom steps

int32_t zoomStepIn(int32_t scale16)
{
    const auto* at = std::find(std::begin(kZoomSteps), std::end(kZoomSteps), scale16);
    if (at == std::end(kZoomSteps) || at == std::begin(kZoomSteps)) return scale16;
    return *(at - 1);
}

int32_t zoomStepOut(int32_t scale16)
{
    const auto* at = std::find(std::begin(kZoomSteps), std::end(kZoomSteps), scale16);
    if (at == std::end(kZoomSteps) || at - std::begin(kZoomSteps) == kZoomStepCount - 1) return scale16;
    return *(at + 1);
}

void zoomIn(Workspace& ws) { ws.displayScale16 = zoomStepIn(ws.displayScale16); }
void zoomOut(Workspace& ws) { ws.displayScale16 = zoomStepOut(ws.displayScale16); }

// ---- coordinates

Point windowToImage(const Workspace& ws, int32_t dx, int32_t dy)
{
    const Magnification m = magnificationOf(ws.displayScale16);
    const int32_t wx = dx - ws.displayOriginX, wy = dy - ws.displayOriginY;
    if (m.reduce > 1) return {wx * m.reduce, wy * m.reduce};
    return {wx / m.zoom, wy / m.zoom};  // truncates toward zero, left of the origin too
}

Point imageToWindow(const Workspace& ws, int32_t x, int32_t y)
{
    const Magnification m = magnificationOf(ws.displayScale16);
    if (m.reduce > 1) return {x / m.reduce + ws.displayOriginX, y / m.reduce + ws.displayOriginY};
    return {x * m.zoom + ws.displayOriginX, y * m.zoom + ws.displayOriginY};
}

Point windowStepToImage(const Workspace& ws, int32_t ddx, int32_t ddy)
{
    const Magnification m = magnificationOf(ws.displayScale16);
    if (m.reduce > 1) return {ddx * m.reduce, ddy * m.reduce};
    return {ddx / m.zoom, ddy / m.zoom};
}

Point viewCentreFor(const Workspace& ws, Point p, int32_t dx, int32_t dy)
{
    // The centre sits half a display away from the pointer, in image units.
    const Point offset = windowStepToImage(ws, ws.displayWidth / 2 - dx, ws.displayHeight / 2 - dy);
    return {p.x + offset.x, p.y + offset.y};
}

// ---- fit, redisplay and redraw

int32_t fitReduction(int32_t imageW, int32_t imageH, int32_t pictureW, int32_t pictureH)
{
    pictureW = std::max(pictureW, 1);
    pictureH = std::max(pictureH, 1);
    if (imageW <= pictureW && imageH <= pictureH) return 1;
    // The side that overflows more decides; the products compare the two
    // ratios without dividing.
    const bool heightRules = int64_t(imageW) * pictureH <= int64_t(imageH) * pictureW;
    const double q = heightRules ? double(imageH) / pictureH : double(imageW) / pictureW;
    // The ratio goes through single precision and loses a thousandth before it
    // is truncated, so an exact 2.0 gives 2 and 2.069 gives 3.
    const double raised = double(float(q)) + 1.0 - 0.001;
    const int32_t r = raised >= double(INT32_MAX / 16) ? INT32_MAX / 16 : int32_t(raised);
    // An image larger than the picture by under a thousandth comes out at 1,
    // which would not fit: halve it instead.
    return r <= 1 ? 2 : r;
}

void setViewSize(Workspace& ws, int32_t clientWidth, int32_t clientHeight)
{
    ws.clientWidth = std::max(clientWidth, 0);
    ws.bandTop = std::max(clientHeight - kStatusBandHeight, 0);
    setDisplaySize(ws, ws.clientWidth, ws.bandTop);
}

void showWholeImage(Workspace& ws)
{
    const int32_t pw = ws.displayWidth, ph = ws.displayHeight;
    if (!ws.imageLoaded || pw < 1 || ph < 1) {
        fillDisplay(ws, 0);
        showWhole(ws);
        return;
    }
    const int32_t w = ws.imageWidth, h = ws.imageHeight;
    const int32_t r = fitReduction(w, h, pw, ph);
    ws.displayScale16 = 16 * r;
    ws.displayOriginX = (pw - w / r) / 2;
    ws.displayOriginY = (ph - h / r) / 2;
    ws.viewCentreX = w / 2;
    ws.viewCentreY = h / 2;
    // The fitted picture averages the whole block up to 4 x 4; views at a
    // chosen position average only 2 x 2 (see redisplayAt).
    compose(ws, currentComposition(ws, std::min(r, 4)), wholeDisplay(ws));
    showWhole(ws);
}

void redisplayAt(Workspace& ws, int32_t x, int32_t y)
{
    if (!ws.imageLoaded) {
        fillDisplay(ws, 0);
        showWhole(ws);
        return;
    }
    x = std::clamp(x, 0, ws.imageWidth - 1);
    y = std::clamp(y, 0, ws.imageHeight - 1);
    const Magnification m = magnificationOf(ws.displayScale16);
    if (m.reduce > 1) {
        ws.displayOriginX = ws.displayWidth / 2 - x / m.reduce;
        ws.displayOriginY = ws.displayHeight / 2 - y / m.reduce;
    } else {
        ws.displayOriginX = ws.displayWidth / 2 - x * m.zoom;
        ws.displayOriginY = ws.displayHeight / 2 - y * m.zoom;
    }
    ws.viewCentreX = x;
    ws.viewCentreY = y;
    compose(ws, currentComposition(ws, 2), wholeDisplay(ws));
    showWhole(ws);
}

void redrawRect(Workspace& ws, Point a, Point b, int32_t margin)
{
    margin = std::max(margin, 0);
    const Box wanted{held(int64_t(std::min(a.x, b.x)) - margin), held(int64_t(std::min(a.y, b.y)) - margin),
                     held(int64_t(std::max(a.x, b.x)) + margin + 1), held(int64_t(std::max(a.y, b.y)) + margin + 1)};
    const Box box = clipped(wanted, wholeDisplay(ws));
    if (box.empty()) return;
    compose(ws, currentComposition(ws, 2), box);
    if (ws.platform) {
        const Rect shown{box.x0, box.y0, box.x1 - 1, box.y1 - 1};
        ws.platform->redraw(&shown);
    }
}

void composeBlockPreview(Workspace& ws, int32_t dx, int32_t dy)
{
    if (ws.blockWidth < 1 || ws.blockHeight < 1) return;
    const Magnification m = magnificationOf(ws.displayScale16);
    // On screen a block keeps at least one pixel a side, as the image does.
    auto extent = [&](int32_t n) { return std::max<int64_t>(m.reduce > 1 ? n / m.reduce : int64_t(n) * m.zoom, 1); };
    auto source = [&](int32_t d, int32_t n) {
        return std::min(m.reduce > 1 ? d * m.reduce : d / m.zoom, n - 1);
    };
    const Box drawn = clipped({dx, dy, held(dx + extent(ws.blockWidth)), held(dy + extent(ws.blockHeight))},
                              wholeDisplay(ws));
    const uint64_t row = uint64_t(ws.blockWidth) * 3;
    for (int32_t y = drawn.y0; y < drawn.y1; ++y) {
        const uint8_t* src = ws.secondImage + uint64_t(source(y - dy, ws.blockHeight)) * row;
        uint8_t* d = ws.RS.get() + ws.displayRowOffset[y] + size_t(drawn.x0) * 3;
        for (int32_t x = drawn.x0; x < drawn.x1; ++x, d += 3) putPlain(d, src + size_t(source(x - dx, ws.blockWidth)) * 3);
    }
}

// ---- status band texts

std::string sizeLabelText(const Workspace& ws)
{
    if (!ws.imageLoaded || ws.displayScale16 < 1) return {};
    const Magnification m = magnificationOf(ws.displayScale16);
    const std::string name = baseName(ws.currentFileName);
    if (m.reduce > 1) return langFormat(ws, Msg::SizeLabelReduced, ws.imageWidth, ws.imageHeight, m.reduce, name.c_str());
    return langFormat(ws, Msg::SizeLabelEnlarged, ws.imageWidth, ws.imageHeight, m.zoom, name.c_str());
}

std::string maskStateText(const Workspace& ws)
{
    if (ws.maskVisible != 1) return langText(ws, Msg::MaskStateOff);
    return langText(ws, ws.maskOverlayMode == 0 ? Msg::MaskStateOnClear : Msg::MaskStateOn);
}

std::string pointerText(const Workspace& ws, int32_t dx, int32_t dy)
{
    const Point p = windowToImage(ws, dx, dy);
    return langFormat(ws, Msg::PointerPosition, p.x + 1, p.y + 1);
}

}  // namespace orx
