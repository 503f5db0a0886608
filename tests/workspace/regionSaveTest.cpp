// Area saves of a rectangle in every kind, and the mask region under a point.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "support/testSupport.h"
#include "workspace/bitmapFile.h"
#include "workspace/nativeFile.h"
#include "workspace/regionSave.h"
#include "workspace/thumbnail.h"

namespace orx {
namespace {

using test::readFileBytes;
using test::TempDir;
using test::TestWorkspace;

uint32_t le32(const std::vector<uint8_t>& b, size_t o)
{
    return uint32_t(b[o]) | uint32_t(b[o + 1]) << 8 | uint32_t(b[o + 2]) << 16 | uint32_t(b[o + 3]) << 24;
}
int16_t le16(const std::vector<uint8_t>& b, size_t o) { return int16_t(b[o] | b[o + 1] << 8); }

// The rows of an inclusive rectangle of the image, packed.
std::vector<uint8_t> rowsOf(const Workspace& ws, const Rect& r)
{
    std::vector<uint8_t> out;
    for (int32_t y = r.y0; y <= r.y1; ++y) {
        const uint8_t* row = ws.image + (uint64_t(y) * ws.imageWidth + r.x0) * 3;
        out.insert(out.end(), row, row + (r.x1 - r.x0 + 1) * 3);
    }
    return out;
}

bool sameRect(const Rect& a, const Rect& b) { return a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1; }

TEST(RegionSave, RectanglesAreNormalisedAndHeldToTheImage)
{
    TestWorkspace t;
    test::fillPattern(t.ws, 40, 30);
    Rect r;
    ASSERT_TRUE(clipToImage(t.ws, {14, 9}, {5, 5}, r));
    EXPECT_TRUE(sameRect(r, {5, 5, 14, 9}));
    ASSERT_TRUE(clipToImage(t.ws, {-8, 25}, {50, -3}, r));
    EXPECT_TRUE(sameRect(r, {0, 0, 39, 25}));
    ASSERT_TRUE(clipToImage(t.ws, {39, 29}, {39, 29}, r));
    EXPECT_TRUE(sameRect(r, {39, 29, 39, 29}));
    // Wholly outside: refused, r untouched.
    EXPECT_FALSE(clipToImage(t.ws, {40, 0}, {60, 10}, r));
    EXPECT_FALSE(clipToImage(t.ws, {-5, -5}, {-1, 20}, r));
    EXPECT_TRUE(sameRect(r, {39, 29, 39, 29}));
}

TEST(RegionSave, RgbRegionWritesTheRowsAndACompanionWithTheRegionThumbnail)
{
    TestWorkspace t;
    TempDir dir;
    test::fillPattern(t.ws, 40, 30);
    const Rect r{5, 5, 14, 9};
    ASSERT_TRUE(saveRGBRegion(t.ws, dir.path("P.RGB"), r));
    EXPECT_EQ(readFileBytes(dir.path("P.RGB")), rowsOf(t.ws, r));
    const auto ipr = readFileBytes(dir.path("P.IPR"));
    ASSERT_EQ(ipr.size(), 30u + kThumbBytes);
    EXPECT_STREQ(reinterpret_cast<const char*>(ipr.data()), "10 5 0 0");
    // The 10 x 5 region at the top left of a grey field.
    EXPECT_EQ(0, std::memcmp(ipr.data() + 30, t.ws.image + (5 * 40 + 5) * 3, 30));
    EXPECT_EQ(0, std::memcmp(ipr.data() + 30 + 4 * 210, t.ws.image + (9 * 40 + 5) * 3, 30));
    EXPECT_EQ(ipr[30 + 30], 200);
    EXPECT_EQ(ipr[30 + 5 * 210], 200);

    // It opens as a colour image of its own.
    TestWorkspace other;
    ASSERT_TRUE(openRGBImage(other.ws, dir.path("P.RGB")));
    EXPECT_EQ(other.ws.imageWidth, 10);
    EXPECT_EQ(other.ws.imageHeight, 5);
    EXPECT_EQ(std::vector<uint8_t>(other.ws.image, other.ws.image + 150), rowsOf(t.ws, r));
}

TEST(RegionSave, TheWholeImageAsARegionIsTheSaveRgbFile)
{
    TestWorkspace t;
    TempDir dir;
    test::fillPattern(t.ws, 150, 90);  // thumbnail factor 3
    ASSERT_TRUE(saveRGBRegion(t.ws, dir.path("R.RGB"), {0, 0, 149, 89}));
    ASSERT_TRUE(saveRGB(t.ws, dir.path("W.RGB")));
    EXPECT_EQ(readFileBytes(dir.path("R.RGB")), readFileBytes(dir.path("W.RGB")));
    EXPECT_EQ(readFileBytes(dir.path("R.IPR")), readFileBytes(dir.path("W.IPR")));
}

TEST(RegionSave, AFailedWriteSaysSoAndLeavesNoFile)
{
    TestWorkspace t;
    TempDir dir;
    test::fillPattern(t.ws, 8, 8);
    EXPECT_FALSE(saveRGBRegion(t.ws, dir.path("missing/P.RGB"), {0, 0, 3, 3}));
    EXPECT_TRUE(t.platform.said("File could not be opened error"));
    EXPECT_FALSE(fileExists(dir.path("missing/P.RGB")));
}

TEST(RegionSave, EachRequestWritesItsKindOfTheRectangle)
{
    TestWorkspace t;
    TempDir dir;
    test::fillPattern(t.ws, 40, 30);
    const Rect r{3, 4, 12, 8};  // 10 x 5
    const uint32_t pixels = 10 * 5 * 3;

    ASSERT_TRUE(saveArea(t.ws, SaveAreaRgb, dir.path("A.RGB"), r));
    EXPECT_EQ(readFileBytes(dir.path("A.RGB")).size(), pixels);

    for (auto [request, name] : {std::pair{SaveAreaClo, "A.CLO"}, {SaveAreaPrt, "A.PRT"}, {SaveAreaEmb, "A.EMB"}}) {
        ASSERT_TRUE(saveArea(t.ws, request, dir.path(name), r)) << name;
        const auto f = readFileBytes(dir.path(name));
        ASSERT_EQ(f.size(), 256u + pixels + kThumbBytes) << name;
        EXPECT_EQ(le32(f, 66), 10u) << name;
        EXPECT_EQ(le32(f, 70), 5u) << name;
        EXPECT_EQ(std::vector<uint8_t>(f.begin() + 256, f.begin() + 256 + pixels), rowsOf(t.ws, r)) << name;
    }

    ASSERT_TRUE(saveArea(t.ws, SaveAreaBmp, dir.path("A.BMP"), r));
    int32_t w = 0, h = 0;
    ASSERT_TRUE(readBMPSize(localFiles(), dir.path("A.BMP"), w, h));
    EXPECT_EQ(w, 10);
    EXPECT_EQ(h, 5);

    // A model keeps the whole picture; the rectangle is its material area.
    ASSERT_TRUE(saveArea(t.ws, SaveAreaModel, dir.path("A.MDL"), r));
    const auto m = readFileBytes(dir.path("A.MDL"));
    ASSERT_EQ(m.size(), 256u + 40 * 30 * 3 + kThumbBytes);
    const int16_t area[8] = {3, 4, 12, 8, 0, 0, 39, 29};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(le16(m, 41 + 2 * i), area[i]) << i;

    EXPECT_FALSE(saveArea(t.ws, 5, dir.path("A.XXX"), r));
    EXPECT_FALSE(fileExists(dir.path("A.XXX")));
}

// A 20 x 12 mask: a U open at the top (columns 2 to 8, rows 2 to 9, the
// inside columns 4 to 6 down to row 7 clear), a block touching the U's
// corner only diagonally, and a lone pixel.
void drawMask(Workspace& ws)
{
    test::fillPattern(ws, 20, 12);
    auto set = [&](int x0, int y0, int x1, int y1, uint8_t v) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) ws.mask[y * 20 + x] = v;
    };
    set(2, 2, 8, 9, 255);
    set(4, 2, 6, 7, 0);
    set(9, 10, 12, 11, 255);  // meets (8, 9) at a corner
    set(17, 1, 17, 1, 255);
}

TEST(MaskRegion, BoundsOfTheFourConnectedRegionOfTheClickedState)
{
    TestWorkspace t;
    drawMask(t.ws);
    Rect r;
    // From the top of either arm the fill goes down and round the bend.
    ASSERT_TRUE(maskRegionBounds(t.ws, 2, 2, r));
    EXPECT_TRUE(sameRect(r, {2, 2, 8, 9}));
    ASSERT_TRUE(maskRegionBounds(t.ws, 8, 2, r));
    EXPECT_TRUE(sameRect(r, {2, 2, 8, 9}));
    // The block met diagonally is a region of its own.
    ASSERT_TRUE(maskRegionBounds(t.ws, 10, 11, r));
    EXPECT_TRUE(sameRect(r, {9, 10, 12, 11}));
    ASSERT_TRUE(maskRegionBounds(t.ws, 17, 1, r));
    EXPECT_TRUE(sameRect(r, {17, 1, 17, 1}));
    // Clear pixels: the inside of the U opens upward onto the clear field.
    ASSERT_TRUE(maskRegionBounds(t.ws, 5, 6, r));
    EXPECT_TRUE(sameRect(r, {0, 0, 19, 11}));
    // A byte of 254 counts as clear.
    t.ws.mask[5 * 20 + 5] = 254;
    ASSERT_TRUE(maskRegionBounds(t.ws, 5, 5, r));
    EXPECT_TRUE(sameRect(r, {0, 0, 19, 11}));

    // Closed at the top, the inside is a region of its own.
    for (int x = 4; x <= 6; ++x) t.ws.mask[2 * 20 + x] = 255;
    ASSERT_TRUE(maskRegionBounds(t.ws, 5, 6, r));
    EXPECT_TRUE(sameRect(r, {4, 3, 6, 7}));

    EXPECT_FALSE(maskRegionBounds(t.ws, 20, 0, r));
    EXPECT_FALSE(maskRegionBounds(t.ws, 0, -1, r));
}

TEST(MaskRegion, AWindingRegionIsFollowedThroughEveryTurn)
{
    TestWorkspace t;
    test::fillPattern(t.ws, 30, 30);
    // A spiral of set pixels: runs that turn back on themselves row after row.
    auto set = [&](int x, int y) { t.ws.mask[y * 30 + x] = 255; };
    for (int x = 1; x <= 28; ++x) set(x, 1);
    for (int y = 1; y <= 28; ++y) set(28, y);
    for (int x = 3; x <= 28; ++x) set(x, 28);
    for (int y = 5; y <= 28; ++y) set(3, y);
    for (int x = 3; x <= 24; ++x) set(x, 5);
    for (int y = 5; y <= 24; ++y) set(24, y);
    for (int x = 7; x <= 24; ++x) set(x, 24);
    Rect r;
    ASSERT_TRUE(maskRegionBounds(t.ws, 7, 24, r));  // the inner end
    EXPECT_TRUE(sameRect(r, {1, 1, 28, 28}));
    ASSERT_TRUE(maskRegionBounds(t.ws, 0, 0, r));
    EXPECT_TRUE(sameRect(r, {0, 0, 29, 29}));
    ASSERT_TRUE(maskRegionBounds(t.ws, 10, 10, r));  // inside the inner turn, reached from the field
    EXPECT_TRUE(sameRect(r, {0, 0, 29, 29}));
}

}  // namespace
}  // namespace orx
