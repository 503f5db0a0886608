// The air brush and the copy brush.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/testSupport.h"
#include "tools/airBrush.h"
#include "tools/stroke.h"
#include "workspace/undoSnapshot.h"

namespace orx {
namespace {

uint8_t* px(Workspace& ws, int x, int y) { return ws.image + (uint64_t(y) * ws.imageWidth + x) * 3; }

TEST(AirBrush, TableIsTheStrengthAtTheCentreFallingToZeroAtTheRadius)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    for (int r : {2, 7, 30, 255}) {
        for (int s : {5, 30, 255}) {
            buildBrushTable(ws, r, s);
            ASSERT_EQ(ws.densityRadius, r);
            EXPECT_EQ(brushWeight(ws, r, r), s) << r;
            EXPECT_EQ(brushWeight(ws, r, 0), 0) << r;   // distance r
            EXPECT_EQ(brushWeight(ws, 0, 0), 0) << r;
            // Every weight is the plain formula's.
            for (int i = 0; i < 2 * r; ++i)
                for (int j = 0; j < 2 * r; ++j) {
                    const double d = std::sqrt(double(j - r) * (j - r) + double(i - r) * (i - r));
                    const int w = d <= r ? int((1 - std::sqrt(d / r)) * s) : 0;
                    ASSERT_EQ(brushWeight(ws, i, j), w) << r << " " << s << " at " << i << "," << j;
                }
        }
    }
    buildBrushTable(ws, 900, 900);  // held to 255, 255
    EXPECT_EQ(ws.densityRadius, 255);
    EXPECT_EQ(brushWeight(ws, 255, 255), 255);
}

TEST(AirBrush, FullStrengthCentreTakesThePenAndWeakerDabsAccumulate)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    layoutPlanes(ws, 40, 40);
    std::fill(ws.image, ws.image + imageBytes(ws), 0);
    clearMask(ws);
    buildBrushTable(ws, 10, 255);
    sprayColour(ws, 20, 20, Rgb{200, 100, 50}, 10);
    EXPECT_EQ(px(ws, 20, 20)[0], 200);
    EXPECT_EQ(px(ws, 20, 20)[2], 50);
    EXPECT_EQ(px(ws, 10, 20)[0], 0);  // at the radius
    EXPECT_EQ(px(ws, 30, 20)[0], 0);  // outside the square

    std::fill(ws.image, ws.image + imageBytes(ws), 0);
    buildBrushTable(ws, 10, 30);
    sprayColour(ws, 20, 20, Rgb{255, 255, 255}, 10);
    EXPECT_EQ(px(ws, 20, 20)[0], 30);  // 255 x 30 / 255
    sprayColour(ws, 20, 20, Rgb{255, 255, 255}, 10);
    EXPECT_EQ(px(ws, 20, 20)[0], 56);  // (255 x 30 + 30 x 225) / 255
    // The shown mask protects; a table of another radius sprays nothing.
    ws.mask[20 * 40 + 20] = 255;
    ws.maskVisible = 1;
    const uint8_t beside = px(ws, 21, 20)[0];
    sprayColour(ws, 20, 20, Rgb{255, 255, 255}, 10);
    EXPECT_EQ(px(ws, 20, 20)[0], 56);
    EXPECT_GT(px(ws, 21, 20)[0], beside);
    const uint8_t before = px(ws, 22, 20)[0];
    sprayColour(ws, 20, 20, Rgb{255, 255, 255}, 11);
    EXPECT_EQ(px(ws, 22, 20)[0], before);
}

TEST(AirBrush, CopyReadsTheSourceAsBeforeTheDabAndSkipsSourcesOffThePicture)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {3, -2}, {-4, 5}, {0, 1}}) {
        test::fillPattern(ws, 50, 40);
        const std::vector<uint8_t> before(ws.image, ws.image + imageBytes(ws));
        buildBrushTable(ws, 8, 200);
        sprayCopy(ws, 25, 20, dx, dy, 8);
        for (int y = 12; y < 28; ++y)
            for (int x = 17; x < 33; ++x) {
                const int w = brushWeight(ws, y - 12, x - 17);
                for (int c = 0; c < 3; ++c) {
                    const int old = before[(size_t(y) * 50 + x) * 3 + c];
                    const int src = before[(size_t(y + dy) * 50 + x + dx) * 3 + c];
                    const int expect = w > 0 ? (src * w + old * (255 - w)) / 255 : old;
                    ASSERT_EQ(px(ws, x, y)[c], expect) << dx << "," << dy << " at " << x << "," << y;
                }
            }
    }
    // Near the edge the source leaves the picture: those targets stay.
    test::fillPattern(ws, 50, 40);
    const std::vector<uint8_t> before(ws.image, ws.image + imageBytes(ws));
    buildBrushTable(ws, 8, 255);
    sprayCopy(ws, 45, 20, 100, 0, 8);
    EXPECT_EQ(std::vector<uint8_t>(ws.image, ws.image + imageBytes(ws)), before);
}

TEST(AirBrush, AStrokeOfDabsIsOneUndo)
{
    test::TestWorkspace t;
    test::TempDir dir;
    Workspace& ws = t.ws;
    ws.VLX98DIR = dir.path("");
    test::fillPattern(ws, 60, 60);
    const std::vector<uint8_t> before(ws.image, ws.image + imageBytes(ws));
    ws.brushRadius = 6;
    buildBrushTable(ws, 6, 255);
    ws.penColour = Rgb{255, 0, 0};
    Stroke s;
    beginStroke(ws, s, SnapshotImage, false);
    for (int i = 0; i < 12; ++i) sprayStroke(ws, s, Point{5 + 4 * i, 30}, i % 2 == 1);
    Rect box;
    ASSERT_TRUE(endStroke(ws, s, box));
    EXPECT_EQ(box.x0, 0);
    EXPECT_EQ(box.y0, 24);
    EXPECT_EQ(box.x1, 54);
    EXPECT_EQ(ws.rgbUndoCount, 1);
    EXPECT_NE(std::vector<uint8_t>(ws.image, ws.image + imageBytes(ws)), before);
    undoImage(ws);
    EXPECT_EQ(std::vector<uint8_t>(ws.image, ws.image + imageBytes(ws)), before);
}

}  // namespace
}  // namespace orx
