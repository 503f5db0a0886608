#include <cstring>

#include <gtest/gtest.h>

#include "support/testSupport.h"
#include "workspace/areaFilter.h"
#include "workspace/maskOps.h"

namespace orx {
namespace {

using test::TestWorkspace;

struct Picture {
    TestWorkspace t;
    Workspace& ws = t.ws;
    Picture(int w, int h, uint8_t r, uint8_t g, uint8_t b)
    {
        layoutPlanes(ws, w, h);
        for (int i = 0; i < w * h; ++i) {
            ws.image[3 * i] = r;
            ws.image[3 * i + 1] = g;
            ws.image[3 * i + 2] = b;
        }
        clearMask(ws);
        ws.imageLoaded = 1;
    }
    uint8_t* px(int x, int y) { return ws.image + (y * ws.imageWidth + x) * 3; }
    void set(int x, int y, uint8_t r, uint8_t g, uint8_t b)
    {
        px(x, y)[0] = r, px(x, y)[1] = g, px(x, y)[2] = b;
    }
    // The caller's part of every filter: a copy of the image to read from.
    void apply(int x0, int y0, int x1, int y1, int mode)
    {
        std::memcpy(ws.secondImage, ws.image, imageBytes(ws));
        applyAreaFilter(ws, x0, y0, x1, y1, mode);
    }
    std::vector<uint8_t> image() const { return {ws.image, ws.image + imageBytes(ws)}; }
};

TEST(AreaFilter, BlurAndSharpenTouchOnlyInnerPixels)
{
    Picture p(5, 5, 0, 0, 0);
    p.set(2, 2, 255, 255, 255);
    p.apply(0, 0, 4, 4, FilterBlur);
    EXPECT_EQ(p.px(2, 2)[0], 28);  // 255 / 9
    EXPECT_EQ(p.px(1, 1)[1], 28);
    EXPECT_EQ(p.px(0, 0)[0], 0);   // border rows and columns are copied

    Picture q(5, 5, 100, 100, 100);
    q.set(2, 2, 110, 100, 90);
    q.apply(4, 4, 0, 0, FilterSharpen);
    // (16 * 110 - 8 * 100) / 8 = 120; (16 * 90 - 800) / 8 = 80.
    EXPECT_EQ(q.px(2, 2)[0], 120);
    EXPECT_EQ(q.px(2, 2)[2], 80);
    // A neighbour: (16 * 100 - (7 * 100 + 110)) / 8 = 98 (truncated).
    EXPECT_EQ(q.px(1, 1)[0], 98);

    // One or two rows: every pixel is a border pixel.
    Picture r(6, 6, 0, 0, 0);
    r.set(2, 2, 255, 255, 255);
    const auto before = r.image();
    r.apply(0, 1, 5, 2, FilterBlur);
    r.apply(1, 0, 2, 5, FilterSharpen);
    EXPECT_EQ(r.image(), before);
}

TEST(AreaFilter, SaturationMovesAwayFromThePivot)
{
    Picture p(3, 1, 0, 0, 0);
    p.set(0, 0, 100, 150, 200);
    p.set(1, 0, 50, 50, 200);
    p.set(2, 0, 10, 250, 128);
    p.apply(0, 0, 2, 0, FilterSaturation);
    EXPECT_EQ(p.px(0, 0)[0], 90);
    EXPECT_EQ(p.px(0, 0)[1], 150);
    EXPECT_EQ(p.px(0, 0)[2], 210);
    EXPECT_EQ(p.px(1, 0)[1], 50);   // R is the pivot: G equals it
    EXPECT_EQ(p.px(1, 0)[2], 230);
    EXPECT_EQ(p.px(2, 0)[0], 0);    // clamped below
    EXPECT_EQ(p.px(2, 0)[1], 255);  // and above
}

TEST(AreaFilter, GreyBlackWhiteNegativeAndContrast)
{
    Picture p(4, 1, 0, 0, 0);
    p.set(0, 0, 10, 20, 30);     // grey 18
    p.set(1, 0, 255, 255, 255);
    p.set(2, 0, 200, 100, 80);   // grey 128 exactly: black in black and white
    p.set(3, 0, 0, 0, 0);
    Picture q = Picture(4, 1, 0, 0, 0);
    std::memcpy(q.ws.image, p.ws.image, 12);
    p.apply(0, 0, 3, 0, FilterGrey);
    EXPECT_EQ(p.px(0, 0)[0], 18);
    EXPECT_EQ(p.px(0, 0)[2], 18);
    EXPECT_EQ(p.px(1, 0)[1], 255);
    q.apply(0, 0, 3, 0, FilterBlackWhite);
    EXPECT_EQ(q.px(1, 0)[0], 255);
    EXPECT_EQ(q.px(2, 0)[0], 0);
    q.apply(0, 0, 3, 0, FilterNegative);
    EXPECT_EQ(q.px(1, 0)[0], 0);
    EXPECT_EQ(q.px(3, 0)[2], 255);

    Picture c(2, 1, 0, 0, 0);
    c.set(0, 0, 200, 100, 100);  // v 0.784 -> 0.841
    c.set(1, 0, 60, 60, 60);     // v 0.235 -> 0.182
    c.apply(0, 0, 1, 0, FilterContrast);
    EXPECT_EQ(c.px(0, 0)[0], int(((200 / 255.0 - 0.5) * 1.2 + 0.5) * 255));
    EXPECT_EQ(c.px(1, 0)[1], int(((60 / 255.0 - 0.5) * 1.2 + 0.5) * 255));
}

// (3, 172, 229) weighs exactly 127.0, which floating point makes a hair
// more: the mask rule (above 127) must still leave it clear.
TEST(GreyLevel, ThresholdsAreExact)
{
    const uint8_t exact127[3] = {3, 172, 229}, exact128[3] = {200, 100, 80};
    EXPECT_EQ(greyTenths(exact127), 1270);
    EXPECT_EQ(greyTenths(exact128), 1280);
    Picture p(2, 1, 0, 0, 0);
    p.set(0, 0, 3, 172, 229);
    p.set(1, 0, 3, 172, 230);
    maskFromGrey(p.ws);
    EXPECT_EQ(p.ws.mask[0], 0);
    EXPECT_EQ(p.ws.mask[1], 255);
}

TEST(AreaFilter, WhiteBalanceFromASamplingArea)
{
    Picture p(4, 2, 200, 100, 100);
    p.set(3, 1, 50, 140, 10);
    // The sample (0..1, 0..1) averages (200, 100, 100): red stays, green and
    // blue double over the whole picture, capped at 255.
    p.apply(0, 0, 1, 1, FilterWhiteBalance);
    EXPECT_EQ(p.px(2, 0)[0], 200);
    EXPECT_EQ(p.px(2, 0)[1], 200);
    EXPECT_EQ(p.px(3, 1)[0], 50);
    EXPECT_EQ(p.px(3, 1)[1], 255);
    EXPECT_EQ(p.px(3, 1)[2], 20);

    Picture black(3, 3, 0, 0, 0);
    black.set(2, 2, 40, 50, 60);
    const auto before = black.image();
    black.apply(0, 0, 1, 1, FilterWhiteBalance);
    EXPECT_EQ(black.image(), before);
}

TEST(AreaFilter, MaskedPixelsKeepTheirColourUnderEveryFilter)
{
    for (int mode : {971, 972, 973, 974, 975, 976, 977, 980}) {
        Picture p(6, 6, 90, 140, 30);
        p.set(2, 2, 250, 10, 10);
        p.ws.maskVisible = 1;
        p.ws.mask[2 * 6 + 2] = 255;
        p.ws.mask[3 * 6 + 3] = 255;
        p.apply(0, 0, 5, 5, mode);
        EXPECT_EQ(p.px(2, 2)[0], 250) << mode;
        EXPECT_EQ(p.px(3, 3)[1], 140) << mode;
    }
}

TEST(AreaFilter, RectanglesAreOrderedAndHeldToThePicture)
{
    Picture p(4, 4, 10, 10, 10);
    p.apply(-5, -5, -1, 2, FilterNegative);  // both x left of the picture
    EXPECT_EQ(p.px(0, 0)[0], 10);
    p.apply(9, 2, -3, 1, FilterNegative);    // clipped to columns 0..3, rows 1..2
    EXPECT_EQ(p.px(0, 1)[0], 245);
    EXPECT_EQ(p.px(3, 2)[0], 245);
    EXPECT_EQ(p.px(0, 0)[0], 10);
    EXPECT_EQ(p.px(0, 3)[0], 10);
}

TEST(AreaFilter, MirroredAndFlippedBlocksArePlacedWhereClicked)
{
    Picture p(6, 4, 0, 0, 0);
    test::fillPattern(p.ws, 6, 4);
    const auto original = p.image();
    auto orig = [&](int x, int y) { return original.data() + (y * 6 + x) * 3; };
    p.apply(1, 1, 3, 2, BlockMirror);
    EXPECT_EQ(p.image(), original);  // copying does not change the image
    EXPECT_EQ(p.ws.blockWidth, 3);
    EXPECT_EQ(p.ws.blockHeight, 2);
    placeBlock(p.ws, 4, 0);  // clipped at the right edge
    EXPECT_EQ(0, std::memcmp(p.px(4, 0), orig(3, 1), 3));
    EXPECT_EQ(0, std::memcmp(p.px(5, 1), orig(2, 2), 3));
    EXPECT_EQ(0, std::memcmp(p.px(3, 0), orig(3, 0), 3));

    std::memcpy(p.ws.image, original.data(), original.size());
    p.apply(1, 1, 3, 2, BlockFlip);
    placeBlock(p.ws, 0, 2);
    EXPECT_EQ(0, std::memcmp(p.px(0, 2), orig(1, 2), 3));
    EXPECT_EQ(0, std::memcmp(p.px(2, 3), orig(3, 1), 3));
}

TEST(AreaFilter, DivideSwapsThePartsAtTheLine)
{
    Picture p(4, 3, 0, 0, 0);
    test::fillPattern(p.ws, 4, 3);
    const auto original = p.image();
    std::memcpy(p.ws.secondImage, p.ws.image, 36);
    divideImage(p.ws, DivideAtRow, 1);
    EXPECT_EQ(0, std::memcmp(p.ws.image, original.data() + 12, 24));
    EXPECT_EQ(0, std::memcmp(p.ws.image + 24, original.data(), 12));

    std::memcpy(p.ws.image, original.data(), 36);
    std::memcpy(p.ws.secondImage, p.ws.image, 36);
    divideImage(p.ws, DivideAtColumn, 3);
    EXPECT_EQ(0, std::memcmp(p.ws.image, original.data() + 9, 3));
    EXPECT_EQ(0, std::memcmp(p.ws.image + 3, original.data(), 9));

    std::memcpy(p.ws.image, original.data(), 36);
    std::memcpy(p.ws.secondImage, p.ws.image, 36);
    divideImage(p.ws, DivideAtRow, 0);
    divideImage(p.ws, DivideAtColumn, 0);
    divideImage(p.ws, DivideAtColumn, 4);
    EXPECT_EQ(p.image(), original);
}

}  // namespace
}  // namespace orx
