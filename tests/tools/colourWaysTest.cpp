// Colour ways: the exchange tables, the pages, the recoloured pictures and
// the repeat test.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <set>
#include <vector>

#include "support/testSupport.h"
#include "tools/colourWays.h"
#include "workspace/display.h"

namespace orx {
namespace {

using Row = std::array<int, kMaxWayColours>;

Row rowOf(int n, int k)
{
    Row r{};
    EXPECT_TRUE(colourWayRow(n, k, r.data()));
    return r;
}

TEST(ColourWays, TablesHoldEveryExchangeInTheirOrder)
{
    for (int n = kMinWayColours; n <= kMaxWayColours; ++n) {
        const int total = colourWayTotal(n);
        std::set<Row> rows;
        for (int k = 0; k < total; ++k) {
            Row r = rowOf(n, k);
            Row sorted = r;
            std::sort(sorted.begin(), sorted.begin() + n);
            for (int i = 0; i < n; ++i) ASSERT_EQ(sorted[size_t(i)], i) << n << " row " << k;
            rows.insert(r);
            // Lexicographic throughout for 2 to 4 colours, up to row 47 for five.
            if (k > 0 && (n < 5 || k < 48)) {
                const Row before = rowOf(n, k - 1);
                EXPECT_TRUE(std::lexicographical_compare(before.begin(), before.begin() + n, r.begin(), r.begin() + n))
                    << n << " row " << k;
            }
        }
        EXPECT_EQ(int(rows.size()), total) << n;
        for (int i = 0; i < n; ++i) EXPECT_EQ(rowOf(n, 0)[size_t(i)], i);
        int row[kMaxWayColours];
        EXPECT_FALSE(colourWayRow(n, total, row));
        EXPECT_FALSE(colourWayRow(n, -1, row));
    }
    EXPECT_EQ(colourWayTotal(2), 2);
    EXPECT_EQ(colourWayTotal(5), 120);
    EXPECT_EQ(colourWayTotal(6), 0);
    EXPECT_EQ(colourWayTotal(1), 0);
    // The listed rows of the five-colour table (swatches counted from 1 there).
    const std::pair<int, Row> listed[] = {{48, {3, 2, 1, 4, 5}}, {49, {3, 2, 1, 5, 4}}, {50, {3, 2, 4, 1, 5}},
                                          {51, {3, 2, 4, 5, 1}}, {52, {3, 2, 5, 1, 4}}, {53, {3, 2, 5, 4, 1}},
                                          {119, {5, 1, 4, 3, 2}}};
    for (const auto& [k, oneBased] : listed) {
        Row r = rowOf(5, k);
        for (int& v : r) ++v;
        EXPECT_EQ(r, oneBased) << k;
    }
}

TEST(ColourWays, Pages)
{
    const struct {
        int n, across, down, perPage, pages;
    } cases[] = {{3, 3, 2, 6, 1}, {5, 2, 2, 4, 30}, {2, 8, 8, 2, 1}, {4, 5, 1, 5, 5}, {5, 1, 1, 1, 120}, {6, 2, 2, 0, 0}};
    for (const auto& c : cases) {
        const WayPages p = colourWayPages(c.n, c.across, c.down);
        EXPECT_EQ(p.perPage, c.perPage) << c.n << " " << c.across << "x" << c.down;
        EXPECT_EQ(p.pages, c.pages) << c.n << " " << c.across << "x" << c.down;
    }
}

// Swatches 1..3 are red, green and red again; blue is not a swatch.
struct Design {
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    static constexpr Rgb kRed{200, 0, 0}, kGreen{0, 150, 0}, kBlue{0, 0, 90};
    Design()
    {
        layoutPlanes(ws, 40, 30);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) {
                const Rgb c = x < 10 ? kRed : x < 25 ? kGreen : kBlue;
                uint8_t* p = ws.image + (uint64_t(y) * 40 + x) * 3;
                p[0] = c.r, p[1] = c.g, p[2] = c.b;
            }
        ws.imageLoaded = 1;
        ws.paletteSwatches[0] = kRed;
        ws.paletteSwatches[1] = kGreen;
        ws.paletteSwatches[2] = kRed;
        ws.colourWayCount = 3;
    }
    Rgb at(const uint8_t* plane, int x, int y) const
    {
        const uint8_t* p = plane + (uint64_t(y) * 40 + x) * 3;
        return Rgb{p[0], p[1], p[2]};
    }
};

bool same(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

TEST(ColourWays, AWayExchangesTheSwatchColoursAndKeepsTheOthers)
{
    Design d;
    std::vector<uint8_t> plane(imageBytes(d.ws));
    const std::vector<uint8_t> original(d.ws.image, d.ws.image + imageBytes(d.ws));
    // Way 2 of three is 2 1 3: red (swatch 1, before its twin swatch 3)
    // becomes green and green red. Blue is no swatch.
    ASSERT_TRUE(makeColourWay(d.ws, 2, plane.data()));
    EXPECT_TRUE(same(d.at(plane.data(), 3, 3), Design::kGreen));
    EXPECT_TRUE(same(d.at(plane.data(), 12, 3), Design::kRed));
    EXPECT_TRUE(same(d.at(plane.data(), 30, 3), Design::kBlue));
    EXPECT_EQ(std::memcmp(d.ws.image, original.data(), original.size()), 0);
    // Into the picture itself, the same bytes.
    ASSERT_TRUE(makeColourWay(d.ws, 2, d.ws.image));
    EXPECT_EQ(std::memcmp(d.ws.image, plane.data(), plane.size()), 0);
    EXPECT_FALSE(makeColourWay(d.ws, 6, plane.data()));
}

// A page cell shows its way reduced by the fit rule, each pixel the top-left
// of its block; the picture and secondImage stay as they were.
TEST(ColourWays, PageCellsAreTheReducedWaysAndThePictureStays)
{
    Design d;
    Workspace& ws = d.ws;
    takeSecondImage(ws);
    std::memset(ws.secondImage, 33, imageBytes(ws));
    const std::vector<uint8_t> original(ws.image, ws.image + imageBytes(ws));
    ws.picturesAcross = 3;
    ws.picturesDown = 2;
    const int cw = 20, ch = 15;
    std::vector<uint8_t> pixels(size_t(cw * 3) * (ch * 2) * 3);
    const Canvas canvas{pixels.data(), cw * 3, ch * 2, cw * 3 * 3};
    composeColourWayPage(ws, 1, canvas);
    const int r = fitReduction(40, 30, cw, ch);
    ASSERT_EQ(r, 2);
    std::vector<uint8_t> way(imageBytes(ws));
    for (int k = 0; k < 6; ++k) {
        ASSERT_TRUE(makeColourWay(ws, k, way.data()));
        const int x0 = (k % 3) * cw + (cw - 40 / r) / 2, y0 = (k / 3) * ch + (ch - 30 / r) / 2;
        for (int j = 0; j < 30 / r; ++j)
            for (int i = 0; i < 40 / r; ++i) {
                const uint8_t* shown = pixels.data() + (size_t(y0 + j) * canvas.width + size_t(x0 + i)) * 3;
                const Rgb want = d.at(way.data(), i * r, j * r);
                ASSERT_TRUE(same(Rgb{shown[2], shown[1], shown[0]}, want)) << "way " << k << " at " << i << "," << j;
            }
    }
    EXPECT_EQ(std::memcmp(ws.image, original.data(), original.size()), 0);
    EXPECT_EQ(std::count(ws.secondImage, ws.secondImage + imageBytes(ws), 33), int64_t(imageBytes(ws)));
}

TEST(ColourWays, RepeatTestTilesAbutAtTheLargestFittingSize)
{
    Design d;
    Workspace& ws = d.ws;
    for (uint64_t i = 0; i < imageBytes(ws); ++i) ws.image[i] = uint8_t(i * 13);
    ws.picturesAcross = ws.picturesDown = 4;
    std::vector<uint8_t> pixels(size_t(170) * 130 * 3);
    const Canvas canvas{pixels.data(), 170, 130, 170 * 3};
    composeRepeatTest(ws, canvas);
    // 4 x 40 fits in 170 and 4 x 30 in 130: tiles at full size, the grid centred.
    const int x0 = (170 - 160) / 2, y0 = (130 - 120) / 2;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x) {
            const uint8_t* shown = pixels.data() + (size_t(y0 + y) * 170 + size_t(x0 + x)) * 3;
            const uint8_t* p = ws.image + (uint64_t(y % 30) * 40 + uint64_t(x % 40)) * 3;
            ASSERT_TRUE(shown[0] == p[2] && shown[1] == p[1] && shown[2] == p[0]) << x << "," << y;
        }
    // Half the room: every tile halves.
    std::vector<uint8_t> small(size_t(85) * 65 * 3);
    composeRepeatTest(ws, Canvas{small.data(), 85, 65, 85 * 3});
    const uint8_t* corner = small.data() + (size_t((65 - 60) / 2) * 85 + size_t((85 - 80) / 2 + 20)) * 3;
    EXPECT_EQ(corner[2], ws.image[0]);  // the second tile starts 20 pixels on
}

}  // namespace
}  // namespace orx
