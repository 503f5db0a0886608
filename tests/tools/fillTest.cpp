// Region fills, the colour change and the shaded fills.
#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <vector>

#include "support/testSupport.h"
#include "tools/fill.h"
#include "workspace/hsv.h"
#include "workspace/regionSave.h"

namespace orx {
namespace {

uint8_t* px(Workspace& ws, int x, int y) { return ws.image + (uint64_t(y) * ws.imageWidth + x) * 3; }

// The plain reading of a fill: a breadth-first walk over 4-connected
// pixels for which `open` holds.
template <typename Open>
std::vector<uint8_t> reachable(int w, int h, int sx, int sy, Open&& open)
{
    std::vector<uint8_t> seen(size_t(w) * h, 0);
    std::deque<std::pair<int, int>> queue{{sx, sy}};
    seen[size_t(sy) * w + sx] = 1;
    while (!queue.empty()) {
        auto [x, y] = queue.front();
        queue.pop_front();
        for (auto [nx, ny] : {std::pair{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}}) {
            if (nx < 0 || ny < 0 || nx >= w || ny >= h || seen[size_t(ny) * w + nx] || !open(nx, ny)) continue;
            seen[size_t(ny) * w + nx] = 1;
            queue.push_back({nx, ny});
        }
    }
    return seen;
}

TEST(Fill, ColourAndMaskFillsTakeExactlyTheConnectedRegion)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    std::mt19937 rng(7);
    const int w = 61, h = 47;
    for (int round = 0; round < 24; ++round) {
        layoutPlanes(ws, w, h);
        // Three colours and three mask bytes make regions of every shape.
        for (uint64_t i = 0; i < pixelCount(ws); ++i) {
            const uint8_t c = uint8_t(rng() % 3) * 80;
            ws.image[3 * i] = c, ws.image[3 * i + 1] = 7, ws.image[3 * i + 2] = c;
            ws.mask[i] = uint8_t(rng() % 4 == 0 ? 255 : 0);
        }
        ws.maskVisible = round % 2;
        ws.penColour = Rgb{1, 2, 3};
        const int sx = int(rng() % w), sy = int(rng() % h);
        const std::vector<uint8_t> image(ws.image, ws.image + imageBytes(ws)), mask(ws.mask, ws.mask + pixelCount(ws));
        const uint8_t seed = image[(size_t(sy) * w + sx) * 3];
        auto open = [&](int x, int y) {
            const size_t i = size_t(y) * w + x;
            return image[3 * i] == seed && (!ws.maskVisible || mask[i] == 0);
        };
        std::vector<uint8_t> expect = reachable(w, h, sx, sy, open);
        if (!open(sx, sy)) std::fill(expect.begin(), expect.end(), 0);
        Rect box;
        const bool any = std::count(expect.begin(), expect.end(), 1) > 0;
        ASSERT_EQ(floodFill(ws, sx, sy, &box), any);
        for (size_t i = 0; i < pixelCount(ws); ++i) {
            const bool filled = ws.image[3 * i] == 1 && ws.image[3 * i + 1] == 2 && ws.image[3 * i + 2] == 3;
            ASSERT_EQ(filled, expect[i] != 0) << "round " << round << " pixel " << i;
        }
        EXPECT_EQ(std::vector<uint8_t>(ws.mask, ws.mask + pixelCount(ws)), mask);
        // The box it reports is the filled pixels' box.
        if (any) {
            Rect e{w, h, -1, -1};
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    if (expect[size_t(y) * w + x])
                        e = Rect{std::min(e.x0, x), std::min(e.y0, y), std::max(e.x1, x), std::max(e.y1, y)};
            EXPECT_TRUE(box.x0 == e.x0 && box.y0 == e.y0 && box.x1 == e.x1 && box.y1 == e.y1) << "round " << round;
        }

        // The mask fill on the same mask.
        const uint8_t seedByte = mask[size_t(sy) * w + sx];
        const std::vector<uint8_t> region =
            reachable(w, h, sx, sy, [&](int x, int y) { return mask[size_t(y) * w + x] == seedByte; });
        ASSERT_TRUE(floodFillMask(ws, sx, sy, 100));
        for (size_t i = 0; i < pixelCount(ws); ++i)
            ASSERT_EQ(ws.mask[i], region[i] ? 100 : mask[i]) << "round " << round << " pixel " << i;
        // The bounds of a mask region come from the same walker.
        Rect b;
        std::copy(mask.begin(), mask.end(), ws.mask);
        ASSERT_TRUE(maskRegionBounds(ws, sx, sy, b));
        int x0 = w, y0 = h, x1 = -1, y1 = -1;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (region[size_t(y) * w + x]) x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
        EXPECT_EQ(b.x0, x0);
        EXPECT_EQ(b.y0, y0);
        EXPECT_EQ(b.x1, x1);
        EXPECT_EQ(b.y1, y1);
    }
}

TEST(Fill, ASeedOfTheFillValueOrOffThePictureChangesNothing)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    test::fillPattern(ws, 20, 10);
    const std::vector<uint8_t> before(ws.image, ws.image + imageBytes(ws));
    const uint8_t* s = px(ws, 4, 3);
    ws.penColour = Rgb{s[0], s[1], s[2]};
    EXPECT_TRUE(floodFill(ws, 4, 3));
    EXPECT_TRUE(floodFill(ws, -1, 3));
    EXPECT_TRUE(floodFill(ws, 4, 10));
    std::fill(ws.mask, ws.mask + 200, 255);
    EXPECT_TRUE(floodFillMask(ws, 4, 3, 255));
    EXPECT_TRUE(floodFillMask(ws, 20, 0, 0));
    EXPECT_TRUE(shadedFill(ws, 4, 10, Rgb{9, 9, 9}));
    EXPECT_EQ(std::vector<uint8_t>(ws.image, ws.image + imageBytes(ws)), before);
    EXPECT_EQ(std::count(ws.mask, ws.mask + 200, 255), 200);
}

TEST(Fill, WidePicturesFillFromTheirTopAndBottomRows)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    for (int seedRow : {0, 2}) {
        layoutPlanes(ws, 25'000, 3);
        std::fill(ws.image, ws.image + imageBytes(ws), 40);
        clearMask(ws);
        ws.penColour = Rgb{200, 0, 0};
        ASSERT_TRUE(floodFill(ws, 24'999, seedRow));
        for (uint64_t i = 0; i < pixelCount(ws); ++i) ASSERT_EQ(ws.image[3 * i], 200) << i;
    }
}

TEST(Fill, ChangeColourReachesDisconnectedPixelsButNotShownMaskedOnes)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    layoutPlanes(ws, 9, 1);
    clearMask(ws);
    const uint8_t row[27] = {5, 5, 5, 0, 0, 0, 5, 5, 5, 1, 1, 1, 5, 5, 5, 5, 5, 5, 9, 9, 9, 5, 5, 5, 5, 5, 6};
    std::copy(row, row + 27, ws.image);
    ws.mask[4] = 255;
    for (int shown : {0, 1}) {
        std::copy(row, row + 27, ws.image);
        ws.maskVisible = shown;
        replaceColour(ws, Rgb{5, 5, 5}, Rgb{7, 8, 9});
        for (int x = 0; x < 9; ++x) {
            const bool was = row[3 * x] == 5 && row[3 * x + 1] == 5 && row[3 * x + 2] == 5;
            const bool now = ws.image[3 * x] == 7 && ws.image[3 * x + 1] == 8 && ws.image[3 * x + 2] == 9;
            EXPECT_EQ(now, was && !(shown && x == 4)) << "pixel " << x << " shown " << shown;
        }
    }
}

TEST(Fill, ShadedAndReflectedFillsByHandKeepingTheRegionsMask)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    struct Row {
        bool reflected;
        float exponent;
        Rgb pen, pixel, expect;
    };
    const Row rows[] = {
        // V' = (128 / 255)^2 x 200 / 255 = 0.1976: blue 50 at full saturation.
        {false, 2.0f, {0, 0, 200}, {128, 64, 0}, {0, 0, 50}},
        // V' = (200 / 255)^2 = 0.6151; S' = the pen's 0.5 (shaded) or its
        // fourth root mixed with the pixel's 0.5: sqrt(0.5 x sqrt(0.25)) = 0.5.
        {false, 1.0f, {200, 100, 100}, {200, 150, 100}, {156, 78, 78}},
        {true, 1.0f, {200, 100, 100}, {200, 150, 100}, {156, 78, 78}},
        // A grey pixel has no saturation to keep: the reflected fill stays grey.
        {false, 1.0f, {200, 100, 100}, {200, 200, 200}, {156, 78, 78}},
        {true, 1.0f, {200, 100, 100}, {200, 200, 200}, {156, 156, 156}},
    };
    for (const Row& r : rows) {
        for (uint8_t regionByte : {0, 255, 100}) {
            layoutPlanes(ws, 6, 4);
            for (uint64_t i = 0; i < pixelCount(ws); ++i)
                ws.image[3 * i] = r.pixel.r, ws.image[3 * i + 1] = r.pixel.g, ws.image[3 * i + 2] = r.pixel.b;
            // The region: columns 0..2; a wall of another byte at column 3.
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 6; ++x) ws.mask[y * 6 + x] = x < 3 ? regionByte : x == 3 ? 7 : regionByte;
            const std::vector<uint8_t> mask(ws.mask, ws.mask + 24);
            ws.contrastExponent = r.exponent;
            ASSERT_TRUE(r.reflected ? reflectedFill(ws, 1, 2, r.pen) : shadedFill(ws, 1, 2, r.pen));
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 6; ++x) {
                    const Rgb e = x < 3 ? r.expect : r.pixel;
                    const uint8_t* p = px(ws, x, y);
                    EXPECT_EQ(p[0], e.r) << x << "," << y << " byte " << int(regionByte);
                    EXPECT_EQ(p[1], e.g) << x << "," << y;
                    EXPECT_EQ(p[2], e.b) << x << "," << y;
                }
            EXPECT_EQ(std::vector<uint8_t>(ws.mask, ws.mask + 24), mask) << "byte " << int(regionByte);
        }
    }
}

TEST(Fill, ShadedFillInLineArtStopsAtBlackAndKeepsTheMask)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    layoutPlanes(ws, 7, 3);
    std::fill(ws.image, ws.image + imageBytes(ws), 255);
    for (int y = 0; y < 3; ++y) std::fill(px(ws, 3, y), px(ws, 3, y) + 3, 0);  // a black line
    for (int i = 0; i < 21; ++i) ws.mask[i] = uint8_t(i * 11);
    const std::vector<uint8_t> mask(ws.mask, ws.mask + 21);
    ws.contrastExponent = 1.0f;
    ASSERT_TRUE(shadedFillInLineArt(ws, 0, 0, Rgb{255, 0, 0}));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x) {
            const uint8_t* p = px(ws, x, y);
            const int expectGreen = x < 3 ? 0 : x == 3 ? 0 : 255;
            EXPECT_EQ(p[1], expectGreen) << x << "," << y;
            EXPECT_EQ(p[0], x == 3 ? 0 : 255) << x << "," << y;
        }
    EXPECT_EQ(std::vector<uint8_t>(ws.mask, ws.mask + 21), mask);
}

}  // namespace
}  // namespace orx
