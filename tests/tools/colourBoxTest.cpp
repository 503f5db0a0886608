// The colour box: its file, sliders and clicks.
#include <gtest/gtest.h>

#include "support/testSupport.h"
#include "tools/colourBox.h"
#include "workspace/hsv.h"

namespace orx {
namespace {

void fillColours(Workspace& ws)
{
    for (int i = 0; i < kSwatches; ++i) ws.paletteSwatches[i] = Rgb{uint8_t(i), uint8_t(10 + i), uint8_t(20 + i)};
    ws.penColour = Rgb{201, 202, 203};
    ws.penDensity = 64;
    for (int s = 0; s < kGradientSets; ++s)
        for (int c = 0; c < 4; ++c) ws.gradientSets[s][c] = Rgb{uint8_t(100 + s), uint8_t(c), uint8_t(s * c)};
    for (int c = 0; c < 4; ++c) ws.gradientCorners[c] = Rgb{uint8_t(240 + c), 7, uint8_t(c)};
}

TEST(ColourBox, FileRoundTripAtItsOffsetsAndBadFilesIgnored)
{
    test::TempDir dir;
    test::TestWorkspace a, b;
    a.ws.webCompanionPath = b.ws.webCompanionPath = dir.path("orx001");
    fillColours(a.ws);
    ASSERT_TRUE(saveColourBox(a.ws));
    std::vector<uint8_t> bytes = test::readFileBytes(dir.path("orx001"));
    ASSERT_EQ(bytes.size(), 166u);
    EXPECT_EQ(bytes[27], 9);    // swatch 9, R
    EXPECT_EQ(bytes[30], 201);  // pen R
    EXPECT_EQ(bytes[33], 64);   // density
    EXPECT_EQ(bytes[34], 100);  // set 0, corner 0, R
    EXPECT_EQ(bytes[34 + 12 * 9 + 3 * 3 + 2], 27);  // set 9, corner 3, B
    EXPECT_EQ(bytes[154], 240);
    EXPECT_EQ(bytes[165], 3);

    ASSERT_TRUE(loadColourBox(b.ws));
    uint8_t again[kColourBoxFileBytes];
    encodeColourBox(b.ws, again);
    EXPECT_EQ(std::vector<uint8_t>(again, again + 166), bytes);

    // Density above 100 reads as 100; other sizes and missing files change nothing.
    bytes[33] = 180;
    test::writeFileBytes(dir.path("orx001"), bytes);
    ASSERT_TRUE(loadColourBox(b.ws));
    EXPECT_EQ(b.ws.penDensity, 100);
    for (size_t size : {165u, 167u, 0u}) {
        test::TestWorkspace c;
        c.ws.webCompanionPath = dir.path("orx001");
        bytes.resize(size, 1);
        test::writeFileBytes(dir.path("orx001"), bytes);
        EXPECT_FALSE(loadColourBox(c.ws)) << size;
        EXPECT_EQ(c.ws.penDensity, 0);
        EXPECT_EQ(c.ws.paletteSwatches[1].g, 0);
    }
    test::TestWorkspace d;
    d.ws.webCompanionPath = dir.path("missing/orx001");
    EXPECT_FALSE(loadColourBox(d.ws));
    EXPECT_FALSE(saveColourBox(d.ws));
    EXPECT_TRUE(d.platform.messages.empty());
}

TEST(ColourBox, SlidersStayInTheirRanges)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    struct Row {
        ColourBoxSlider slider;
        int from, step, expect;
    };
    for (const Row r : {Row{SliderRed, 250, kSliderPage, 255}, Row{SliderGreen, 3, -kSliderPage, 0},
                        Row{SliderBlue, 100, kSliderLine, 101}, Row{SliderDensity, 95, kSliderPage, 100},
                        Row{SliderDensity, 95, -kSliderLine, 94}}) {
        setSliderValue(ws, r.slider, r.from);
        EXPECT_EQ(setSliderValue(ws, r.slider, sliderValue(ws, r.slider) + r.step), r.expect);
        EXPECT_EQ(sliderValue(ws, r.slider), r.expect);
    }
    EXPECT_EQ(ws.penColour.r, 255);
    EXPECT_EQ(ws.penDensity, 94);
}

TEST(ColourBox, ClicksStoreAndTakeSwatchesSetsCornersAndFieldColours)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    fillColours(ws);
    // A right click on set 3, then a left click on set 7, copies set 3 to set 7.
    EXPECT_EQ(colourBoxClick(ws, 3 * 20 + 5, 200, true), uint32_t(CornersChanged));
    EXPECT_EQ(colourBoxClick(ws, 7 * 20 + 5, 200, false), uint32_t(NothingChanged));  // a store starts a row lower
    EXPECT_EQ(colourBoxClick(ws, 7 * 20 + 5, 201, false), uint32_t(SetChanged));
    for (int c = 0; c < 4; ++c) EXPECT_EQ(ws.gradientSets[7][c].r, 103);
    // Swatch 4 takes the pen; the pen takes swatch 2.
    colourBoxClick(ws, 4 * 20 + 19, 19, false);
    EXPECT_EQ(ws.paletteSwatches[4].r, 201);
    colourBoxClick(ws, 2 * 20, 0, true);
    EXPECT_EQ(ws.penColour.g, 12);
    // Corner 3 stores the pen; a right click on corner 1 takes it.
    colourBoxClick(ws, 81, 301, false);
    EXPECT_EQ(ws.gradientCorners[3].g, 12);
    colourBoxClick(ws, 99, 239, true);
    EXPECT_EQ(ws.penColour.r, 103);  // the corners came from set 3
    // The lower field's top row is full value, its bottom row value 7.
    colourBoxClick(ws, kFieldX0, kFieldY0 + kFieldHeight, true);
    EXPECT_EQ(ws.penColour.r, 255);
    EXPECT_EQ(ws.penColour.g, 0);
    colourBoxClick(ws, kFieldX0, kFieldY0 + 2 * kFieldHeight - 1, true);
    EXPECT_EQ(ws.penColour.r, 7);
    // The upper field's top row has no saturation: white.
    colourBoxClick(ws, kFieldX0 + 60, kFieldY0, true);
    EXPECT_EQ(ws.penColour.b, 255);
    EXPECT_EQ(ws.penColour.g, 255);
    // Left clicks on the fields and clicks elsewhere change nothing.
    EXPECT_EQ(colourBoxClick(ws, kFieldX0 + 1, kFieldY0 + 1, false), uint32_t(NothingChanged));
    EXPECT_EQ(colourBoxClick(ws, 250, 150, true), uint32_t(NothingChanged));
}

TEST(ByteHsv, EveryColourTruncatesTheExactFractions)
{
    // The hue in sixths of the circle: n / d with n by the largest channel
    // (red first); H = floor(255 n / 6 d), S = floor(255 d / max), V = max.
    int boundaries = 0;
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; ++g)
            for (int b = 0; b < 256; ++b) {
                const HsvBytes got = rgbToHsvBytes(uint8_t(r), uint8_t(g), uint8_t(b));
                const int mx = std::max({r, g, b}), mn = std::min({r, g, b}), d = mx - mn;
                int64_t num = 0;  // the hue in degrees as num / d
                if (d > 0) {
                    if (mx == r)
                        num = 60 * int64_t(g - b) + (g < b ? 360 * int64_t(d) : 0);
                    else if (mx == g)
                        num = 60 * int64_t(b - r) + 120 * int64_t(d);
                    else
                        num = 60 * int64_t(r - g) + 240 * int64_t(d);
                }
                const int64_t hueFloor = d ? (num * 255) / (360 * int64_t(d)) : 0;
                ASSERT_EQ(got.h, hueFloor) << r << "," << g << "," << b;
                ASSERT_EQ(got.s, mx ? 255 * d / mx : 0) << r << "," << g << "," << b;
                ASSERT_EQ(got.v, mx);
                // Doubles agree except a level low where the fraction is whole.
                const Hsv f = rgbToHsv(uint8_t(r), uint8_t(g), uint8_t(b));
                const int fh = int(f.h / 360 * 255);
                if (fh != got.h) {
                    ASSERT_TRUE(d && (num * 255) % (360 * int64_t(d)) == 0 && fh + 1 == got.h) << r << "," << g << "," << b;
                    ++boundaries;
                }
            }
    EXPECT_GT(boundaries, 0);
    const HsvBytes edge = rgbToHsvBytes(0, 24, 51);
    EXPECT_EQ(edge.h, 150);
    uint8_t rgb[3];
    hsvBytesToRgb(0, 255, 255, rgb);
    EXPECT_EQ(rgb[0], 255);
    EXPECT_EQ(rgb[1], 0);
    hsvBytesToRgb(170, 255, 255, rgb);  // 240 degrees: blue
    EXPECT_EQ(rgb[2], 255);
    EXPECT_EQ(rgb[0], 0);
}

}  // namespace
}  // namespace orx
