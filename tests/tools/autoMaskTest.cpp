// The automatic mask: levels chosen on the bars decide the mask of a rectangle.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "support/testSupport.h"
#include "tools/autoMask.h"
#include "workspace/display.h"
#include "workspace/hsv.h"

namespace orx {
namespace {

void choose(uint8_t* table, int lo, int hi)
{
    std::memset(table, 0, 256);
    std::memset(table + lo, 255, size_t(hi - lo + 1));
}

// Random colours, a third of them grey.
void randomPicture(Workspace& ws, int w, int h, unsigned seed)
{
    layoutPlanes(ws, w, h);
    std::mt19937 rng(seed);
    for (uint64_t i = 0; i < pixelCount(ws); ++i) {
        uint8_t* p = ws.image + 3 * i;
        p[0] = uint8_t(rng());
        p[1] = rng() % 3 == 0 ? p[0] : uint8_t(rng());
        p[2] = p[1] == p[0] ? p[0] : uint8_t(rng());
    }
    ws.imageLoaded = 1;
}

TEST(AutoMask, ChosenLevelsSetTheRectanglesMaskAndLeaveTheRest)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    randomPicture(ws, 50, 40, 3);
    auto grey = [](const uint8_t* p) { return p[0] == p[1] && p[1] == p[2]; };
    auto light = [](const uint8_t* p) { return std::max({p[0], p[1], p[2]}) >= 200; };
    struct Case {
        const char* what;
        int hue[2], saturation[2], value[2];  // chosen ranges; hue[0] > hue[1] chooses none
        bool (*expected)(const uint8_t*);
    } cases[] = {
        {"light pixels whatever their hue", {0, 255}, {0, 255}, {200, 255}, +light},
        {"grey has hue 0 and saturation 0", {0, 0}, {0, 0}, {0, 255}, +grey},
        {"coloured pixels only", {0, 255}, {1, 255}, {0, 255}, [](const uint8_t* p) { return !(p[0] == p[1] && p[1] == p[2]); }},
        {"nothing chosen clears", {1, 0}, {0, 255}, {0, 255}, [](const uint8_t*) { return false; }},
    };
    for (const Case& c : cases) {
        std::memset(ws.mask, 77, pixelCount(ws));
        if (c.hue[0] <= c.hue[1]) choose(ws.selectedHue, c.hue[0], c.hue[1]);
        else std::memset(ws.selectedHue, 0, 256);
        choose(ws.selectedSaturation, c.saturation[0], c.saturation[1]);
        choose(ws.selectedValue, c.value[0], c.value[1]);
        uint64_t selected = 0, expectedCount = 0;
        // Dragged from the bottom right, and reaching past the picture's right edge.
        ASSERT_TRUE(applyAutoMask(ws, 80, 30, 10, 5, &selected)) << c.what;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 50; ++x) {
                const uint64_t i = uint64_t(y) * 50 + x;
                const bool inside = x >= 10 && y >= 5 && y <= 30;
                const bool in = c.expected(ws.image + 3 * i);
                expectedCount += inside && in;
                ASSERT_EQ(ws.mask[i], !inside ? 77 : in ? 255 : 0) << c.what << " at " << x << "," << y;
            }
        EXPECT_EQ(selected, expectedCount) << c.what;
    }
    // A rectangle off the picture changes nothing.
    EXPECT_FALSE(applyAutoMask(ws, 50, 0, 90, 39));
    EXPECT_EQ(std::count(ws.mask, ws.mask + pixelCount(ws), 77), 50 * 40 - 40 * 26);
}

TEST(AutoMask, BarPressesAndDragsSetAndClearLevels)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    BarGesture g;
    int from = 0, to = 0;
    // A left press on the saturation band's selection row, dragged left.
    ASSERT_TRUE(pressBar(ws, g, kBarLeft + 20, 65, true, from, to));
    EXPECT_EQ(g.bar, BarSaturation);
    ASSERT_TRUE(dragBar(ws, g, kBarLeft + 5, true, from, to));
    EXPECT_EQ(std::make_pair(from, to), std::make_pair(5, 20));
    for (int i = 0; i < 256; ++i) EXPECT_EQ(ws.selectedSaturation[i], i >= 5 && i <= 20 ? 255 : 0) << i;
    // A right press and a right drag past the bar's end clear, the drag held to 255.
    ASSERT_TRUE(pressBar(ws, g, kBarLeft + 12, 45, false, from, to));
    ASSERT_TRUE(dragBar(ws, g, kBarLeft + 400, false, from, to));
    EXPECT_EQ(std::make_pair(from, to), std::make_pair(12, 255));
    for (int i = 0; i < 256; ++i) EXPECT_EQ(ws.selectedSaturation[i], i >= 5 && i <= 11 ? 255 : 0) << i;
    // Presses beside the bars or between the bands do nothing.
    const int outside[][2] = {{kBarLeft - 1, 30}, {kBarLeft + 256, 30}, {kBarLeft + 3, 39}, {kBarLeft + 3, 44}, {kBarLeft + 3, 109}};
    for (const auto& p : outside) EXPECT_FALSE(pressBar(ws, g, p[0], p[1], true, from, to)) << p[0] << "," << p[1];
    EXPECT_EQ(std::count(ws.selectedHue, ws.selectedHue + 256, 255) + std::count(ws.selectedValue, ws.selectedValue + 256, 255), 0);
    // The hue band reaches from the ramp to the selection row; the value band likewise.
    EXPECT_TRUE(pressBar(ws, g, kBarLeft, 38, true, from, to));
    EXPECT_EQ(ws.selectedHue[0], 255);
    EXPECT_TRUE(pressBar(ws, g, kBarLeft + 255, 108, true, from, to));
    EXPECT_EQ(ws.selectedValue[255], 255);

    // Sampling marks the sample rows only; clearing empties all six tables.
    sampleColour(ws, Rgb{0, 24, 51});  // hue 150 exactly
    EXPECT_EQ(ws.sampledHue[150], 255);
    EXPECT_EQ(ws.sampledSaturation[255], 255);
    EXPECT_EQ(ws.sampledValue[51], 255);
    clearAutoMask(ws);
    for (int bar = BarHue; bar <= BarValue; ++bar) {
        EXPECT_EQ(std::count(sampledLevels(ws, bar), sampledLevels(ws, bar) + 256, 0), 256);
        EXPECT_EQ(std::count(selectedLevels(ws, bar), selectedLevels(ws, bar) + 256, 0), 256);
    }
}

// The preview inverts the shown colour where the image pixel a display
// pixel stands for (the top-left of its block) is chosen.
TEST(AutoMask, PreviewInvertsTheDisplayWhereTheShownPixelIsChosen)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    randomPicture(ws, 60, 40, 9);
    setViewSize(ws, 30, 20 + kStatusBandHeight);
    showWholeImage(ws);
    ASSERT_EQ(ws.displayScale16, 32);
    choose(ws.selectedHue, 0, 255);
    choose(ws.selectedSaturation, 0, 255);
    choose(ws.selectedValue, 128, 255);
    const std::vector<uint8_t> before(ws.RS.get(), ws.RS.get() + ws.displayBytes);
    previewAutoMask(ws, Rect{29, 19, 5, 0});
    int inverted = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) {
            const uint64_t at = ws.displayRowOffset[y] + uint64_t(x) * 3;
            const uint8_t* p = ws.image + (uint64_t(2 * y) * 60 + 2 * x) * 3;
            const bool flip = x >= 5 && std::max({p[0], p[1], p[2]}) >= 128;
            inverted += flip;
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(ws.RS[at + c], flip ? 255 - before[at + c] : before[at + c]) << x << "," << y;
        }
    EXPECT_GT(inverted, 100);
}

}  // namespace
}  // namespace orx
