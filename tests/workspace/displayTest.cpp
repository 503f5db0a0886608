#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "support/testSupport.h"
#include "workspace/display.h"

namespace orx {
namespace {

using test::FakePlatform;
using test::TestWorkspace;

using Bgr = std::array<int, 3>;

// Records the rectangle of every redraw (null: the whole picture).
class RedrawLog : public FakePlatform {
public:
    std::vector<Rect> rects;
    int wholes = 0;
    void redraw(const Rect* r) override
    {
        FakePlatform::redraw(r);
        if (r)
            rects.push_back(*r);
        else
            ++wholes;
    }
};

struct DisplayFixture {
    RedrawLog log;
    TestWorkspace t;
    Workspace& ws = t.ws;
    DisplayFixture(int32_t clientWidth, int32_t clientHeight, int32_t language = LangEnglish)
        : t(test::kTestBlockBytes, language)
    {
        ws.platform = &log;
        setViewSize(ws, clientWidth, clientHeight);
    }
};

Bgr shown(const Workspace& ws, int32_t dx, int32_t dy)
{
    const uint8_t* p = ws.RS.get() + ws.displayRowOffset[dy] + size_t(dx) * 3;
    return {p[0], p[1], p[2]};
}

// An image pixel as the display should show it untinted: bytes 2, 1, 0.
Bgr plain(const Workspace& ws, int32_t x, int32_t y)
{
    const uint8_t* p = ws.image + (uint64_t(y) * ws.imageWidth + x) * 3;
    return {p[2], p[1], p[0]};
}

void setPixel(Workspace& ws, int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b)
{
    uint8_t* p = ws.image + (uint64_t(y) * ws.imageWidth + x) * 3;
    p[0] = r;
    p[1] = g;
    p[2] = b;
}

void setMask(Workspace& ws, int32_t x, int32_t y, uint8_t v) { ws.mask[uint64_t(y) * ws.imageWidth + x] = v; }

// The per-channel average of the side x side square at image (x, y), written
// out plainly as the reference for the reduced rows.
Bgr averaged(const Workspace& ws, int32_t x, int32_t y, int side)
{
    Bgr sum{0, 0, 0};
    for (int v = 0; v < side; ++v)
        for (int u = 0; u < side; ++u) {
            const Bgr p = plain(ws, x + u, y + v);
            for (int c = 0; c < 3; ++c) sum[c] += p[c];
        }
    for (int c = 0; c < 3; ++c) sum[c] /= side * side;
    return sum;
}

bool isBlack(const Workspace& ws, int32_t dx, int32_t dy) { return shown(ws, dx, dy) == Bgr{0, 0, 0}; }

// Every display pixel: inside the reduced picture the reference average,
// outside it black.
void expectReducedPicture(const Workspace& ws, int32_t r, int side)
{
    const int32_t ox = ws.displayOriginX, oy = ws.displayOriginY;
    const int32_t w = ws.imageWidth / r, h = ws.imageHeight / r;
    for (int32_t dy = 0; dy < ws.displayHeight; ++dy)
        for (int32_t dx = 0; dx < ws.displayWidth; ++dx) {
            const int32_t i = dx - ox, j = dy - oy;
            if (i >= 0 && j >= 0 && i < w && j < h)
                ASSERT_EQ(shown(ws, dx, dy), averaged(ws, i * r, j * r, side)) << dx << "," << dy;
            else
                ASSERT_TRUE(isBlack(ws, dx, dy)) << dx << "," << dy;
        }
}

void expectEnlargedPicture(const Workspace& ws, int32_t z)
{
    const int32_t ox = ws.displayOriginX, oy = ws.displayOriginY;
    for (int32_t dy = 0; dy < ws.displayHeight; ++dy)
        for (int32_t dx = 0; dx < ws.displayWidth; ++dx) {
            const int32_t u = dx - ox, v = dy - oy;
            if (u >= 0 && v >= 0 && u < ws.imageWidth * z && v < ws.imageHeight * z)
                ASSERT_EQ(shown(ws, dx, dy), plain(ws, u / z, v / z)) << dx << "," << dy;
            else
                ASSERT_TRUE(isBlack(ws, dx, dy)) << dx << "," << dy;
        }
}

// ---------------------------------------------------------------- zoom steps

TEST(ZoomSteps, WalkTheTableOneColumnAtATimeAndStopAtItsEnds)
{
    const std::vector<int32_t> table{1, 2, 4, 8, 16, 32, 48, 64, 80, 96, 112, 128, 144, 160, 176, 192, 208, 224, 240};
    std::vector<int32_t> walkedIn{240}, walkedOut{1};
    for (int k = 0; k < 30; ++k) {
        walkedIn.push_back(zoomStepIn(walkedIn.back()));
        walkedOut.push_back(zoomStepOut(walkedOut.back()));
    }
    // Each walk visits every step once, then stays at the end.
    walkedIn.erase(std::unique(walkedIn.begin(), walkedIn.end()), walkedIn.end());
    walkedOut.erase(std::unique(walkedOut.begin(), walkedOut.end()), walkedOut.end());
    EXPECT_EQ(walkedOut, table);
    EXPECT_EQ(std::vector<int32_t>(walkedIn.rbegin(), walkedIn.rend()), table);

    EXPECT_EQ(zoomStepIn(48), 32);
    EXPECT_EQ(zoomStepOut(16), 32);
    EXPECT_EQ(zoomStepIn(16), 8);
    EXPECT_EQ(zoomStepIn(32), 16);
    EXPECT_EQ(zoomStepIn(1), 1);
    EXPECT_EQ(zoomStepOut(240), 240);
    // Values the fit can produce outside the table are left alone.
    for (int32_t odd : {0, -16, 3, 17, 256, 400})
        EXPECT_TRUE(zoomStepIn(odd) == odd && zoomStepOut(odd) == odd) << odd;

    Workspace ws;
    ws.displayScale16 = 48;
    zoomIn(ws);
    EXPECT_EQ(ws.displayScale16, 32);
    ws.displayScale16 = 16;
    zoomOut(ws);
    EXPECT_EQ(ws.displayScale16, 32);
    ws.displayScale16 = 1;
    zoomIn(ws);
    EXPECT_EQ(ws.displayScale16, 1);
}

// ---------------------------------------------------------------- geometry

TEST(ViewSize, BandTakesTheLowestTwentyPixelsAndTheBufferLimitsTheRest)
{
    DisplayFixture f(800, 600);
    EXPECT_EQ(f.ws.clientWidth, 800);
    EXPECT_EQ(f.ws.bandTop, 580);
    EXPECT_EQ(f.ws.displayWidth, 800);
    EXPECT_EQ(f.ws.displayHeight, 580);
    EXPECT_EQ(f.ws.displayStride, 2400);

    setViewSize(f.ws, 801, 620);
    EXPECT_EQ(f.ws.displayStride, 2404);
    EXPECT_EQ(f.ws.displayBytes, 1'442'400u);

    // 3000 x 2000 does not fit 5,760,000 bytes: the picture keeps the rows that do.
    setViewSize(f.ws, 3000, 2020);
    EXPECT_EQ(f.ws.bandTop, 2000);
    EXPECT_EQ(f.ws.displayStride, 9000);
    EXPECT_EQ(f.ws.displayHeight, 640);
    EXPECT_LE(f.ws.displayBytes, f.ws.displayCapacity);

    setViewSize(f.ws, 10, 5);
    EXPECT_EQ(f.ws.bandTop, 0);
    EXPECT_EQ(f.ws.displayHeight, 0);
}

TEST(FitReduction, RatioLosesAThousandthAndNeverComesOutAtOne)
{
    EXPECT_EQ(fitReduction(400, 300, 800, 580), 1);
    EXPECT_EQ(fitReduction(800, 580, 800, 580), 1);
    // Height rule: 1600 x 580 <= 1200 x 800, q = 2.069.
    EXPECT_EQ(fitReduction(1600, 1200, 800, 580), 3);
    // q = 2.0 exactly: 2, not 3.
    EXPECT_EQ(fitReduction(1600, 1160, 800, 580), 2);
    // Width rule: 2000 x 580 > 100 x 800, q = 2.5.
    EXPECT_EQ(fitReduction(2000, 100, 800, 580), 3);
    EXPECT_EQ(fitReduction(6000, 4000, 800, 580), 8);
    // A little over: 801 / 800 = 1.00125, which the rule already takes to 2.
    EXPECT_EQ(fitReduction(801, 580, 800, 580), 2);
    // Larger than the picture by under a thousandth (2000 / 1999): the rule
    // gives 1, which would not fit, so the picture is halved.
    EXPECT_EQ(fitReduction(2000, 580, 1999, 580), 2);
    EXPECT_EQ(fitReduction(100, 2000, 1000, 1999), 2);
}

TEST(ShowWholeImage, SmallImageIsCentredOneToOne)
{
    DisplayFixture f(800, 600);
    test::fillPattern(f.ws, 400, 300);
    f.ws.displayScale16 = 64;
    showWholeImage(f.ws);
    EXPECT_EQ(f.ws.displayScale16, 16);
    EXPECT_EQ(f.ws.displayOriginX, 200);
    EXPECT_EQ(f.ws.displayOriginY, 140);
    EXPECT_EQ(f.ws.viewCentreX, 200);
    EXPECT_EQ(f.ws.viewCentreY, 150);
    EXPECT_EQ(f.log.wholes, 1);
    EXPECT_EQ(shown(f.ws, 200, 140), plain(f.ws, 0, 0));
    EXPECT_EQ(shown(f.ws, 599, 439), plain(f.ws, 399, 299));
    EXPECT_TRUE(isBlack(f.ws, 199, 140));
    EXPECT_TRUE(isBlack(f.ws, 600, 439));
    EXPECT_TRUE(isBlack(f.ws, 599, 440));
    expectEnlargedPicture(f.ws, 1);
}

TEST(ShowWholeImage, LargeImagesAreReducedByTheFitFactor)
{
    DisplayFixture f(800, 600);
    f.ws.currentFileName = "/models/2024/DRESS.RGB";
    test::fillPattern(f.ws, 1600, 1200);
    showWholeImage(f.ws);
    EXPECT_EQ(f.ws.displayScale16, 48);
    EXPECT_EQ(f.ws.displayOriginX, 133);
    EXPECT_EQ(f.ws.displayOriginY, 90);
    EXPECT_EQ(sizeLabelText(f.ws), "size:1600x1200 scale:1/3X DRESS.RGB");
    // 533 x 400 reduced pixels.
    EXPECT_FALSE(isBlack(f.ws, 133 + 532, 90 + 399));
    EXPECT_TRUE(isBlack(f.ws, 133 + 533, 90 + 399));
    EXPECT_TRUE(isBlack(f.ws, 133 + 532, 90 + 400));
    expectReducedPicture(f.ws, 3, 3);

    test::fillPattern(f.ws, 1600, 1160);
    showWholeImage(f.ws);
    EXPECT_EQ(f.ws.displayScale16, 32);
    EXPECT_EQ(f.ws.displayOriginX, 0);
    EXPECT_EQ(f.ws.displayOriginY, 0);
    expectReducedPicture(f.ws, 2, 2);


    // The fit may give a scale outside the zoom table; the zoom steps leave it.
    test::fillPattern(f.ws, 6000, 100);
    showWholeImage(f.ws);
    EXPECT_EQ(f.ws.displayScale16, 8 * 16);
    test::fillPattern(f.ws, 4000, 20);
    showWholeImage(f.ws);
    EXPECT_EQ(f.ws.displayScale16, 5 * 16);
    test::fillPattern(f.ws, 20000, 20);
    showWholeImage(f.ws);
    EXPECT_EQ(f.ws.displayScale16, 25 * 16);
    zoomIn(f.ws);
    EXPECT_EQ(f.ws.displayScale16, 400);
}

TEST(ShowWholeImage, ImageUnderAThousandthTooLargeIsHalvedRatherThanLeftBlank)
{
    DisplayFixture f(1999, 600);
    test::fillPattern(f.ws, 2000, 100);
    showWholeImage(f.ws);
    EXPECT_EQ(f.ws.displayScale16, 32);
    EXPECT_EQ(f.ws.displayOriginX, 499);
    EXPECT_EQ(f.ws.displayOriginY, 265);
    expectReducedPicture(f.ws, 2, 2);
}

TEST(ShowWholeImage, FittedReductionAveragesUpToFourByFour)
{
    // Picture 40 x 30; images of 3, 4 and 5 times that size fit at exactly
    // that factor.
    DisplayFixture f(40, 50);
    for (auto [r, side] : {std::pair{3, 3}, {4, 4}, {5, 4}}) {
        test::fillPattern(f.ws, 40 * r, 30 * r);
        showWholeImage(f.ws);
        ASSERT_EQ(f.ws.displayScale16, 16 * r);
        EXPECT_EQ(f.ws.displayOriginX, 0);
        expectReducedPicture(f.ws, r, side);
    }
    // One block by hand: red values 0..15 in the 4 x 4 at the top left
    // average to 7 (7.5 truncated); the fifth row and column do not count.
    test::fillPattern(f.ws, 200, 150);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) setPixel(f.ws, x, y, uint8_t(x < 4 && y < 4 ? y * 4 + x : 255), 8, 0);
    showWholeImage(f.ws);
    EXPECT_EQ(shown(f.ws, 0, 0), (Bgr{0, 8, 7}));
}

TEST(ShowWholeImage, NothingIsDrawnWithoutAnImage)
{
    DisplayFixture f(200, 120);
    std::memset(f.ws.RS.get(), 0xAB, f.ws.displayCapacity);
    showWholeImage(f.ws);
    EXPECT_EQ(f.log.wholes, 1);
    const uint8_t* rs = f.ws.RS.get();
    EXPECT_TRUE(std::all_of(rs, rs + f.ws.displayBytes, [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(rs[f.ws.displayBytes], 0xAB);
    EXPECT_EQ(sizeLabelText(f.ws), "");

    std::memset(f.ws.RS.get(), 0xAB, f.ws.displayBytes);
    redisplayAt(f.ws, 3, 3);
    EXPECT_TRUE(std::all_of(rs, rs + f.ws.displayBytes, [](uint8_t b) { return b == 0; }));
}

// ---------------------------------------------------------------- redisplayAt

TEST(RedisplayAt, OneToOneAndEnlargedRepeatEachPixel)
{
    DisplayFixture f(40, 50);  // picture 40 x 30
    test::fillPattern(f.ws, 12, 12);

    f.ws.displayScale16 = 16;
    redisplayAt(f.ws, 6, 6);
    EXPECT_EQ(f.ws.displayOriginX, 14);
    EXPECT_EQ(f.ws.displayOriginY, 9);
    expectEnlargedPicture(f.ws, 1);

    f.ws.displayScale16 = 8;
    redisplayAt(f.ws, 6, 6);
    EXPECT_EQ(f.ws.displayOriginX, 8);
    EXPECT_EQ(f.ws.displayOriginY, 3);
    // Pixel (0, 0) of the image is the 2 x 2 square at the origin.
    for (auto [dx, dy] : {std::pair{8, 3}, {9, 3}, {8, 4}, {9, 4}}) EXPECT_EQ(shown(f.ws, dx, dy), plain(f.ws, 0, 0));
    EXPECT_EQ(shown(f.ws, 10, 3), plain(f.ws, 1, 0));
    EXPECT_EQ(shown(f.ws, 8, 5), plain(f.ws, 0, 1));
    expectEnlargedPicture(f.ws, 2);

    // 16X with the origin far left: only part of the image lies on the display.
    f.ws.displayScale16 = 1;
    redisplayAt(f.ws, 11, 0);
    EXPECT_EQ(f.ws.displayOriginX, 20 - 11 * 16);
    expectEnlargedPicture(f.ws, 16);
}

TEST(RedisplayAt, ReductionAveragesTheTopLeftTwoByTwoWhateverTheFactor)
{
    DisplayFixture f(40, 50);
    test::fillPattern(f.ws, 12, 12);
    f.ws.displayScale16 = 32;
    redisplayAt(f.ws, 6, 6);
    EXPECT_EQ(f.ws.displayOriginX, 17);
    EXPECT_EQ(f.ws.displayOriginY, 12);
    expectReducedPicture(f.ws, 2, 2);

    // By hand: red 10, 11, 12, 14 average to 11 (11.75 truncated).
    setPixel(f.ws, 0, 0, 10, 0, 200);
    setPixel(f.ws, 1, 0, 11, 0, 201);
    setPixel(f.ws, 0, 1, 12, 0, 202);
    setPixel(f.ws, 1, 1, 14, 0, 203);
    redisplayAt(f.ws, 6, 6);
    EXPECT_EQ(shown(f.ws, 17, 12), (Bgr{201, 0, 11}));

    for (int32_t s : {48, 64, 240}) {
        test::fillPattern(f.ws, 300, 200);
        f.ws.displayScale16 = s;
        redisplayAt(f.ws, 150, 100);
        const int32_t r = s / 16;
        EXPECT_EQ(f.ws.displayOriginX, 20 - 150 / r) << s;
        EXPECT_EQ(f.ws.displayOriginY, 15 - 100 / r) << s;
        expectReducedPicture(f.ws, r, 2);
    }
}

TEST(RedisplayAt, RowsWiderThanTwoThousandReducedPixelsAreWholeToTheirEnd)
{
    // Reduced rows are summed in pieces of about two thousand pixels; a
    // picture wider than a piece must come out the same across the seams.
    DisplayFixture f(2600, 50);  // picture 2600 x 30
    for (int32_t s : {32, 48}) {
        const int32_t r = s / 16;
        test::fillPattern(f.ws, 2600 * r, 30 * r);
        f.ws.displayScale16 = s;
        redisplayAt(f.ws, 1300 * r, 15 * r);
        ASSERT_EQ(f.ws.displayOriginX, 0);
        expectReducedPicture(f.ws, r, 2);
    }
    test::fillPattern(f.ws, 2600 * 4, 30 * 4);
    showWholeImage(f.ws);
    ASSERT_EQ(f.ws.displayScale16, 64);
    expectReducedPicture(f.ws, 4, 4);
}

TEST(RedisplayAt, PointIsHeldToTheImageAndBecomesTheViewCentre)
{
    DisplayFixture f(800, 600);
    test::fillPattern(f.ws, 300, 200);
    f.ws.displayScale16 = 32;
    redisplayAt(f.ws, 100, 60);
    EXPECT_EQ(f.ws.displayOriginX, 350);
    EXPECT_EQ(f.ws.displayOriginY, 260);
    EXPECT_EQ(f.ws.viewCentreX, 100);
    EXPECT_EQ(f.ws.viewCentreY, 60);

    f.ws.displayScale16 = 4;
    redisplayAt(f.ws, -50, 99999);
    EXPECT_EQ(f.ws.viewCentreX, 0);
    EXPECT_EQ(f.ws.viewCentreY, 199);
    EXPECT_EQ(f.ws.displayOriginX, 400);
    EXPECT_EQ(f.ws.displayOriginY, 290 - 199 * 4);
    EXPECT_EQ(f.log.wholes, 2);
    expectEnlargedPicture(f.ws, 4);
}

// ---------------------------------------------------------------- mask tint

TEST(MaskTint, OnlyAnExactTwoFiftyFiveIsBlendedWithTheOverlay)
{
    DisplayFixture f(40, 50);
    ASSERT_TRUE(newImage(f.ws, 4, 4));  // white
    setMask(f.ws, 0, 0, 255);
    setMask(f.ws, 1, 0, 254);
    setPixel(f.ws, 2, 0, 100, 50, 10);
    setMask(f.ws, 2, 0, 255);
    f.ws.maskVisible = 1;
    ASSERT_EQ(f.ws.maskOverlayMode, 3);  // blue, B G R = 255 0 0
    f.ws.displayScale16 = 16;
    redisplayAt(f.ws, 0, 0);
    const int32_t ox = f.ws.displayOriginX, oy = f.ws.displayOriginY;
    EXPECT_EQ(shown(f.ws, ox, oy), (Bgr{255, 127, 127}));
    EXPECT_EQ(shown(f.ws, ox + 1, oy), (Bgr{255, 255, 255}));
    EXPECT_EQ(shown(f.ws, ox + 2, oy), (Bgr{(10 + 255) / 2, 50 / 2, 100 / 2}));
    EXPECT_EQ(shown(f.ws, ox + 3, oy), (Bgr{255, 255, 255}));

    // Green, mode 2.
    f.ws.maskOverlayMode = 2;
    const uint8_t green[3] = {0, 255, 0};
    std::memcpy(f.ws.maskOverlayColour, green, 3);
    redisplayAt(f.ws, 0, 0);
    EXPECT_EQ(shown(f.ws, ox, oy), (Bgr{127, 255, 127}));

    // Mode 0 (mask active but transparent) and a hidden mask draw plain.
    f.ws.maskOverlayMode = 0;
    redisplayAt(f.ws, 0, 0);
    EXPECT_EQ(shown(f.ws, ox, oy), (Bgr{255, 255, 255}));
    f.ws.maskOverlayMode = 3;
    f.ws.maskVisible = 0;
    redisplayAt(f.ws, 0, 0);
    EXPECT_EQ(shown(f.ws, ox, oy), (Bgr{255, 255, 255}));
}

TEST(MaskTint, EnlargedCopiesAreAllTintedAndReductionSamplesTheBlockCorner)
{
    DisplayFixture f(40, 50);
    ASSERT_TRUE(newImage(f.ws, 8, 8));
    setMask(f.ws, 0, 0, 255);
    f.ws.maskVisible = 1;
    f.ws.displayScale16 = 4;
    redisplayAt(f.ws, 0, 0);
    const int32_t ox = f.ws.displayOriginX, oy = f.ws.displayOriginY;
    for (int v = 0; v < 4; ++v)
        for (int u = 0; u < 4; ++u) EXPECT_EQ(shown(f.ws, ox + u, oy + v), (Bgr{255, 127, 127}));
    EXPECT_EQ(shown(f.ws, ox + 4, oy), (Bgr{255, 255, 255}));

    // At 1/2 a tinted picture is not averaged: block (0, 0) shows its corner
    // pixel, tinted by the corner's mask byte only.
    test::fillPattern(f.ws, 8, 8);
    setMask(f.ws, 0, 0, 255);  // corner of block (0, 0)
    setMask(f.ws, 3, 1, 255);  // inside block (1, 0), not its corner
    f.ws.displayScale16 = 32;
    redisplayAt(f.ws, 4, 4);
    const int32_t rx = f.ws.displayOriginX, ry = f.ws.displayOriginY;
    const Bgr corner = plain(f.ws, 0, 0);
    EXPECT_EQ(shown(f.ws, rx, ry), (Bgr{(corner[0] + 255) / 2, corner[1] / 2, corner[2] / 2}));
    EXPECT_EQ(shown(f.ws, rx + 1, ry), plain(f.ws, 2, 0));
    EXPECT_EQ(shown(f.ws, rx + 3, ry + 3), plain(f.ws, 6, 6));

    // The fitted 1/3 picture samples the same way.
    DisplayFixture g(40, 50);
    test::fillPattern(g.ws, 120, 90);
    g.ws.maskVisible = 1;
    showWholeImage(g.ws);
    ASSERT_EQ(g.ws.displayScale16, 48);
    EXPECT_EQ(shown(g.ws, 5, 7), plain(g.ws, 15, 21));
}

// ---------------------------------------------------------------- redrawRect

TEST(RedrawRect, RecomposesOnlyTheGrownRectangleHeldToTheDisplay)
{
    DisplayFixture f(200, 140);  // picture 200 x 120
    test::fillPattern(f.ws, 100, 80);
    f.ws.displayScale16 = 8;
    redisplayAt(f.ws, 50, 40);
    const std::vector<uint8_t> before(f.ws.RS.get(), f.ws.RS.get() + f.ws.displayBytes);
    invertMask(f.ws);  // 0 -> 255 everywhere: the tint changes every pixel
    f.ws.maskVisible = 1;

    // Corners in either order, margin 3: display x 27..63, y 17..43.
    redrawRect(f.ws, Point{60, 40}, Point{30, 20}, 3);
    ASSERT_EQ(f.log.rects.size(), 1u);
    EXPECT_EQ(f.log.rects[0].x0, 27);
    EXPECT_EQ(f.log.rects[0].y0, 17);
    EXPECT_EQ(f.log.rects[0].x1, 63);
    EXPECT_EQ(f.log.rects[0].y1, 43);
    for (int32_t dy = 0; dy < f.ws.displayHeight; ++dy)
        for (int32_t dx = 0; dx < f.ws.displayWidth; ++dx) {
            const bool inside = dx >= 27 && dx <= 63 && dy >= 17 && dy <= 43;
            const uint8_t* old = before.data() + f.ws.displayRowOffset[dy] + dx * 3;
            const Bgr was{old[0], old[1], old[2]};
            if (!inside) {
                ASSERT_EQ(shown(f.ws, dx, dy), was) << dx << "," << dy;
                continue;
            }
            const Point p = windowToImage(f.ws, dx, dy);
            const Bgr o = plain(f.ws, p.x, p.y);
            ASSERT_EQ(shown(f.ws, dx, dy), (Bgr{(o[0] + 255) / 2, o[1] / 2, o[2] / 2})) << dx << "," << dy;
        }

    // Past the display's corner: held to it.
    redrawRect(f.ws, Point{190, 110}, Point{500, 400}, 20);
    ASSERT_EQ(f.log.rects.size(), 2u);
    EXPECT_EQ(f.log.rects[1].x0, 170);
    EXPECT_EQ(f.log.rects[1].y0, 90);
    EXPECT_EQ(f.log.rects[1].x1, 199);
    EXPECT_EQ(f.log.rects[1].y1, 119);
    // Wholly outside: nothing to show.
    redrawRect(f.ws, Point{-50, -50}, Point{-10, -10}, 5);
    EXPECT_EQ(f.log.rects.size(), 2u);
}

TEST(RedrawRect, BackgroundInsideTheRectangleIsCleared)
{
    DisplayFixture f(200, 140);
    test::fillPattern(f.ws, 20, 20);
    redisplayAt(f.ws, 10, 10);  // 1:1 at origin (90, 50)
    std::memset(f.ws.RS.get(), 0x77, f.ws.displayBytes);
    redrawRect(f.ws, Point{80, 40}, Point{95, 55}, 0);
    EXPECT_TRUE(isBlack(f.ws, 80, 40));
    EXPECT_TRUE(isBlack(f.ws, 89, 55));
    EXPECT_EQ(shown(f.ws, 90, 50), plain(f.ws, 0, 0));
    EXPECT_EQ(shown(f.ws, 95, 55), plain(f.ws, 5, 5));
    EXPECT_EQ(shown(f.ws, 96, 55), (Bgr{0x77, 0x77, 0x77}));
}

// The block preview at each scale: every display pixel it covers shows the
// block pixel under it, nothing around it changes, and the display's edge
// clips it.
TEST(BlockPreview, EachScaleShowsTheBlockAndNothingElse)
{
    struct Case {
        int32_t scale16, dx, dy;
        int32_t width, height;  // the covered display pixels
    };
    const Case cases[] = {{16, 5, 2, 4, 3}, {8, 5, 2, 8, 6}, {32, 5, 2, 2, 1}, {16, 98, 48, 2, 2}};
    for (const Case& c : cases) {
        DisplayFixture f(100, 70);  // a 100 x 50 picture
        Workspace& ws = f.ws;
        test::fillPattern(ws, 20, 20);
        ws.blockWidth = 4;
        ws.blockHeight = 3;
        for (int i = 0; i < 4 * 3 * 3; ++i) ws.secondImage[i] = uint8_t(10 + 7 * i);
        ws.displayScale16 = c.scale16;
        fillDisplay(ws, 0);
        composeBlockPreview(ws, c.dx, c.dy);
        const int32_t zoom = c.scale16 < 16 ? 16 / c.scale16 : 1, reduce = c.scale16 > 16 ? c.scale16 / 16 : 1;
        for (int32_t y = 0; y < ws.displayHeight; ++y)
            for (int32_t x = 0; x < ws.displayWidth; ++x) {
                const bool inside = x >= c.dx && x < c.dx + c.width && y >= c.dy && y < c.dy + c.height;
                Bgr want{0, 0, 0};
                if (inside) {
                    const int32_t bx = (x - c.dx) * reduce / zoom, by = (y - c.dy) * reduce / zoom;
                    const uint8_t* p = ws.secondImage + (by * 4 + bx) * 3;
                    want = {p[2], p[1], p[0]};
                }
                ASSERT_EQ(shown(ws, x, y), want) << c.scale16 << " at " << x << "," << y;
            }
    }
}

TEST(DisplayBuffer, NeverWrittenPastTheBytesInUse)
{
    // 2999 pixels take 8997 bytes, padded to a stride of 9000.
    DisplayFixture f(2999, 2020);
    ASSERT_EQ(f.ws.displayStride, 9000);
    ASSERT_EQ(f.ws.displayHeight, 640);
    test::fillPattern(f.ws, 2000, 1500);
    uint8_t* rs = f.ws.RS.get();
    const size_t used = f.ws.displayBytes;
    std::memset(rs, 0xCD, f.ws.displayCapacity);
    auto untouchedTail = [&] { return std::all_of(rs + used, rs + f.ws.displayCapacity, [](uint8_t b) { return b == 0xCD; }); };

    showWholeImage(f.ws);
    EXPECT_TRUE(untouchedTail());
    for (int32_t s : {1, 4, 16, 32, 240}) {
        f.ws.displayScale16 = s;
        redisplayAt(f.ws, 1000, 1499);
        EXPECT_TRUE(untouchedTail()) << s;
    }
    f.ws.maskVisible = 1;
    invertMask(f.ws);
    redrawRect(f.ws, Point{-100, -100}, Point{5000, 5000}, 50);
    EXPECT_TRUE(untouchedTail());
    // The last row in use was composed, its padding included.
    EXPECT_EQ(rs[used - 1], 0);
    EXPECT_EQ(rs[used - 4], 0);
}

// ---------------------------------------------------------------- coordinates

TEST(Coordinates, WindowAndImageFollowTheScaleAndTheOrigin)
{
    Workspace ws;
    ws.displayOriginX = 100;
    ws.displayOriginY = 50;

    ws.displayScale16 = 4;  // 4X
    EXPECT_EQ(windowToImage(ws, 109, 59).x, 2);
    EXPECT_EQ(windowToImage(ws, 109, 59).y, 2);
    EXPECT_EQ(imageToWindow(ws, 2, 2).x, 108);
    EXPECT_EQ(imageToWindow(ws, 2, 2).y, 58);

    ws.displayScale16 = 32;  // 1/2X
    EXPECT_EQ(windowToImage(ws, 109, 59).x, 18);
    EXPECT_EQ(windowToImage(ws, 109, 59).y, 18);
    EXPECT_EQ(imageToWindow(ws, 18, 18).x, 109);
    EXPECT_EQ(imageToWindow(ws, 19, 18).x, 109);

    ws.displayScale16 = 16;
    EXPECT_EQ(windowToImage(ws, 137, 61).x, 37);
    EXPECT_EQ(windowToImage(ws, 137, 61).y, 11);

    // Left of and above the origin the division truncates toward zero.
    ws.displayScale16 = 8;
    EXPECT_EQ(windowToImage(ws, 99, 47).x, 0);
    EXPECT_EQ(windowToImage(ws, 99, 47).y, -1);

    // Window distances: a drag of 2 pixels at 2X is one image pixel.
    EXPECT_EQ(windowStepToImage(ws, 2, -4).x, 1);
    EXPECT_EQ(windowStepToImage(ws, 2, -4).y, -2);
    ws.displayScale16 = 48;
    EXPECT_EQ(windowStepToImage(ws, 10, -4).x, 30);
    EXPECT_EQ(windowStepToImage(ws, 10, -4).y, -12);
}

TEST(Coordinates, CentreForAPointerKeepsThePointedPixelUnderIt)
{
    DisplayFixture f(800, 600);
    test::fillPattern(f.ws, 1000, 800);
    // Reduced and 1:1 the pixel lands exactly under the pointer; enlarged the
    // centre is a whole image pixel, so it lands within one enlarged pixel.
    for (int32_t s : {2, 8, 16, 32, 64}) {
        f.ws.displayScale16 = s;
        const int32_t slack = s < 16 ? 16 / s - 1 : 0;
        const Point p{400, 300};
        const Point c = viewCentreFor(f.ws, p, 300, 200);
        redisplayAt(f.ws, c.x, c.y);
        const Point back = imageToWindow(f.ws, p.x, p.y);
        EXPECT_GE(back.x, 300) << s;
        EXPECT_LE(back.x, 300 + slack) << s;
        EXPECT_GE(back.y, 200) << s;
        EXPECT_LE(back.y, 200 + slack) << s;
    }
    f.ws.displayScale16 = 8;
    const Point c = viewCentreFor(f.ws, Point{400, 300}, 300, 200);
    EXPECT_EQ(c.x, 450);
    EXPECT_EQ(c.y, 345);
}

// ---------------------------------------------------------------- band texts

TEST(BandTexts, SizeLabelNamesScaleAndFile)
{
    DisplayFixture f(800, 600);
    f.ws.currentFileName = "C:\\VLX\\MODEL7.RGB";
    test::fillPattern(f.ws, 400, 300);
    showWholeImage(f.ws);
    EXPECT_EQ(sizeLabelText(f.ws), "size:400x300 scale:1X MODEL7.RGB");
    f.ws.displayScale16 = 4;
    EXPECT_EQ(sizeLabelText(f.ws), "size:400x300 scale:4X MODEL7.RGB");
    f.ws.displayScale16 = 240;
    EXPECT_EQ(sizeLabelText(f.ws), "size:400x300 scale:1/15X MODEL7.RGB");
    f.ws.currentFileName = "";
    f.ws.displayScale16 = 32;
    EXPECT_EQ(sizeLabelText(f.ws), "size:400x300 scale:1/2X ");
    f.ws.displayScale16 = 0;
    EXPECT_EQ(sizeLabelText(f.ws), "");
}

TEST(BandTexts, MaskStateInBothLanguages)
{
    struct Case {
        int32_t language, visible, mode;
        const char* text;
    };
    const Case cases[] = {
        {LangEnglish, 0, 3, "Mask OFF"}, {LangEnglish, 1, 3, "Mask ON"},   {LangEnglish, 1, 0, "Mask ON"},
        {LangKorea, 1, 1, "Mask ON"},    {LangTaiwan, 0, 3, "型版:關"},     {LangTaiwan, 1, 2, "型版:開"},
        {LangTaiwan, 1, 0, "型版:透明"}, {LangTaiwan, 0, 0, "型版:關"},
    };
    for (const Case& c : cases) {
        Workspace ws;
        ws.screenLanguage = c.language;
        ws.maskVisible = c.visible;
        ws.maskOverlayMode = c.mode;
        EXPECT_EQ(maskStateText(ws), c.text) << c.language << " " << c.visible << " " << c.mode;
    }
}

TEST(BandTexts, PointerCountsFromOne)
{
    DisplayFixture f(800, 600);
    test::fillPattern(f.ws, 400, 300);
    showWholeImage(f.ws);
    EXPECT_EQ(pointerText(f.ws, 200, 140), "X:1 Y:1");
    EXPECT_EQ(pointerText(f.ws, 599, 439), "X:400 Y:300");
    f.ws.displayScale16 = 4;
    EXPECT_EQ(pointerText(f.ws, f.ws.displayOriginX + 9, f.ws.displayOriginY + 9), "X:3 Y:3");
    f.ws.displayScale16 = 32;
    EXPECT_EQ(pointerText(f.ws, f.ws.displayOriginX + 9, f.ws.displayOriginY + 9), "X:19 Y:19");
}

}  // namespace
}  // namespace orx
