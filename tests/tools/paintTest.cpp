// The pen and the shapes: the blend rule, stamps, lines, outlines, filled
// and gradient figures, and freehand strokes.
#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/testSupport.h"
#include "tools/paint.h"
#include "tools/stroke.h"
#include "workspace/undoSnapshot.h"

namespace orx {
namespace {

using Pixels = std::set<std::pair<int, int>>;

uint8_t* px(Workspace& ws, int x, int y) { return ws.image + (uint64_t(y) * ws.imageWidth + x) * 3; }

// A w x h picture of one grey, mask clear.
void greyPicture(Workspace& ws, int w, int h, uint8_t grey = 100)
{
    layoutPlanes(ws, w, h);
    std::fill(ws.image, ws.image + imageBytes(ws), grey);
    clearMask(ws);
}

// The pixels that no longer hold the grey.
Pixels changed(Workspace& ws, uint8_t grey = 100)
{
    Pixels out;
    for (int y = 0; y < ws.imageHeight; ++y)
        for (int x = 0; x < ws.imageWidth; ++x)
            if (px(ws, x, y)[0] != grey || px(ws, x, y)[1] != grey || px(ws, x, y)[2] != grey) out.insert({x, y});
    return out;
}

Pixels fromArt(const std::vector<std::string>& rows)
{
    Pixels out;
    for (int y = 0; y < int(rows.size()); ++y)
        for (int x = 0; x < int(rows[y].size()); ++x)
            if (rows[y][x] == '#') out.insert({x, y});
    return out;
}

constexpr Rgb kInk{0, 50, 250};

TEST(Pen, BlendRuleByDensityMaskStateAndMaskByte)
{
    struct Row {
        int density, maskVisible, maskByte;
        Rgb expect;
        int maskAfter;
    };
    // The pixel is (100, 150, 200); the ink (0, 50, 250).
    const Row rows[] = {
        {100, 0, 0, {0, 50, 250}, 0},        {100, 0, 255, {0, 50, 250}, 255},
        {100, 1, 0, {0, 50, 250}, 0},        {100, 1, 255, {100, 150, 200}, 255},
        {50, 0, 0, {50, 100, 225}, 3},       {50, 0, 255, {50, 100, 225}, 3},
        {50, 1, 0, {50, 100, 225}, 3},       {50, 1, 255, {100, 150, 200}, 255},
        {50, 0, 3, {100, 150, 200}, 3},      {30, 1, 0, {70, 120, 215}, 3},
    };
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    for (const Row& r : rows) {
        layoutPlanes(ws, 4, 4);
        uint8_t* p = px(ws, 2, 1);
        p[0] = 100, p[1] = 150, p[2] = 200;
        ws.mask[4 + 2] = uint8_t(r.maskByte);
        ws.maskVisible = r.maskVisible;
        blendPixel(ws, 2, 1, kInk, r.density);
        const std::string where = "density " + std::to_string(r.density) + " shown " + std::to_string(r.maskVisible) +
                                  " byte " + std::to_string(r.maskByte);
        EXPECT_EQ(p[0], r.expect.r) << where;
        EXPECT_EQ(p[1], r.expect.g) << where;
        EXPECT_EQ(p[2], r.expect.b) << where;
        EXPECT_EQ(ws.mask[6], r.maskAfter) << where;
    }
}

TEST(Pen, CoordinatesFarOffThePictureNeverWrapOntoIt)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    greyPicture(ws, 8, 8);
    // As unsigned 16-bit values these would all be (1, 1) or (2, 3).
    const std::pair<int, int> far[] = {{65537, 1}, {1, 65537}, {-65535, 1}, {65538, 65539},
                                       {INT32_MIN + 1, 1}, {1, INT32_MAX}, {-1, 0}, {0, -1}};
    for (auto [x, y] : far) {
        blendPixel(ws, x, y, kInk, 100);
        stampPen(ws, x, y, kInk, 1, 100);
        stampMask(ws, x, y, 255, 1);
    }
    EXPECT_TRUE(changed(ws).empty());
    EXPECT_EQ(std::count(ws.mask, ws.mask + 64, 255), 0);
}

TEST(Pen, StampsOfEachWidthReachFurtherRightAndDownWhenEven)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    struct Row {
        int width, lo, hi;
    };
    for (const Row r : {Row{1, 0, 0}, Row{2, 0, 1}, Row{3, -1, 1}, Row{4, -1, 2}, Row{5, -2, 2}}) {
        greyPicture(ws, 12, 12);
        stampPen(ws, 5, 6, kInk, r.width, 100);
        stampMask(ws, 5, 6, 255, r.width);
        Pixels box;
        for (int y = 6 + r.lo; y <= 6 + r.hi; ++y)
            for (int x = 5 + r.lo; x <= 5 + r.hi; ++x) box.insert({x, y});
        EXPECT_EQ(changed(ws), box) << "width " << r.width;
        EXPECT_EQ(std::count(ws.mask, ws.mask + 144, 255), int(box.size())) << "width " << r.width;
    }
    for (int width : {0, 6, -1}) {
        greyPicture(ws, 12, 12);
        stampPen(ws, 5, 6, kInk, width, 100);
        drawPenLine(ws, 0, 0, 11, 11, kInk, width, 100);
        EXPECT_TRUE(changed(ws).empty()) << "width " << width;
    }
}

TEST(Pen, LinesInEveryOctantTruncateFromTheirLeftOrTopEnd)
{
    struct Row {
        int x2, y2;
        Pixels expect;
    };
    const Row rows[] = {
        {13, 11, {{10, 10}, {11, 10}, {12, 10}, {13, 11}}}, {13, 9, {{10, 10}, {11, 9}, {12, 9}, {13, 9}}},
        {7, 11, {{7, 11}, {8, 10}, {9, 10}, {10, 10}}},     {7, 9, {{7, 9}, {8, 9}, {9, 9}, {10, 10}}},
        {11, 13, {{10, 10}, {10, 11}, {10, 12}, {11, 13}}}, {9, 13, {{10, 10}, {9, 11}, {9, 12}, {9, 13}}},
        {11, 7, {{11, 7}, {10, 8}, {10, 9}, {10, 10}}},     {9, 7, {{9, 7}, {9, 8}, {9, 9}, {10, 10}}},
        {10, 13, {{10, 10}, {10, 11}, {10, 12}, {10, 13}}}, {7, 10, {{7, 10}, {8, 10}, {9, 10}, {10, 10}}},
    };
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    for (const Row& r : rows) {
        greyPicture(ws, 20, 20);
        drawPenLine(ws, 10, 10, r.x2, r.y2, kInk, 1, 100);
        EXPECT_EQ(changed(ws), r.expect) << "to " << r.x2 << "," << r.y2;
        // The same line drawn from its other end covers the same pixels.
        greyPicture(ws, 20, 20);
        drawPenLine(ws, r.x2, r.y2, 10, 10, kInk, 1, 100);
        EXPECT_EQ(changed(ws), r.expect) << "from " << r.x2 << "," << r.y2;
    }
}

TEST(Shapes, TenByTenCircleAndFilledCircle)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    greyPicture(ws, 10, 10);
    drawEllipse(ws, 0, 0, 9, 9, kInk, 1, 100);
    EXPECT_EQ(changed(ws), fromArt({"....#.....",
                                    "..##..##..",
                                    ".#......#.",
                                    ".#......#.",
                                    "##......##",
                                    ".#......#.",
                                    ".#......#.",
                                    ".#......#.",
                                    "..##..##..",
                                    "....#....."}));
    greyPicture(ws, 10, 10);
    fillEllipse(ws, 9, 9, 0, 0, kInk, 100);  // corners in either order
    const Pixels filled = fromArt({"..........",
                                   "..######..",
                                   ".########.",
                                   ".########.",
                                   ".########.",
                                   ".########.",
                                   ".########.",
                                   ".########.",
                                   "..######..",
                                   ".........."});
    EXPECT_EQ(changed(ws), filled);
    // The gradient ellipse and the mask ellipse cover the same pixels.
    greyPicture(ws, 10, 10);
    const Rgb corners[4] = {kInk, kInk, kInk, kInk};
    fillEllipseGradient(ws, 0, 0, 9, 9, corners, 100);
    EXPECT_EQ(changed(ws), filled);
    fillMaskEllipse(ws, 0, 0, 9, 9, 255);
    EXPECT_EQ(std::count(ws.mask, ws.mask + 100, 255), int(filled.size()));
}

TEST(Shapes, LineAndPointBoxes)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    struct Row {
        int x1, y1, x2, y2;
        Pixels expect;
    };
    const Row rows[] = {
        {5, 2, 5, 8, {{5, 2}, {5, 3}, {5, 4}, {5, 5}, {5, 6}, {5, 7}, {5, 8}}},
        {2, 5, 8, 5, {{2, 5}, {3, 5}, {4, 5}, {5, 5}, {6, 5}, {7, 5}, {8, 5}}},
        {4, 4, 4, 4, {{4, 4}}},
    };
    for (const Row& r : rows) {
        greyPicture(ws, 12, 12);
        drawEllipse(ws, r.x1, r.y1, r.x2, r.y2, kInk, 1, 100);
        EXPECT_EQ(changed(ws), r.expect) << "ellipse " << r.x1 << "," << r.y1;
        greyPicture(ws, 12, 12);
        drawRectangle(ws, r.x1, r.y1, r.x2, r.y2, kInk, 1, 100);
        EXPECT_EQ(changed(ws), r.expect) << "rectangle " << r.x1 << "," << r.y1;
        greyPicture(ws, 12, 12);
        fillEllipse(ws, r.x1, r.y1, r.x2, r.y2, kInk, 100);
        EXPECT_EQ(changed(ws), r.expect) << "filled " << r.x1 << "," << r.y1;
    }
}

TEST(Shapes, PartlyAndWhollyOutsideAndAnywhereIn32Bits)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    Pixels corner;
    for (int y = 0; y <= 3; ++y)
        for (int x = 0; x <= 3; ++x) corner.insert({x, y});
    greyPicture(ws, 10, 10);
    fillRectangle(ws, -5, -5, 3, 3, kInk, 100);
    EXPECT_EQ(changed(ws), corner);

    greyPicture(ws, 10, 10);
    fillRectangle(ws, 20, 20, 30, 30, kInk, 100);
    drawRectangle(ws, 20, 20, 30, 30, kInk, 5, 100);
    drawEllipse(ws, 20, 20, 30, 30, kInk, 5, 100);
    fillEllipse(ws, 20, -30, 30, -20, kInk, 100);
    EXPECT_TRUE(changed(ws).empty());

    // Figures spanning the whole 32-bit plane end at once and clip.
    greyPicture(ws, 10, 10);
    drawPenLine(ws, INT32_MIN, 5, INT32_MAX, 5, kInk, 1, 100);
    Pixels row5;
    for (int x = 0; x < 10; ++x) row5.insert({x, 5});
    EXPECT_EQ(changed(ws), row5);
    greyPicture(ws, 10, 10);
    drawEllipse(ws, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, kInk, 5, 100);
    drawRectangle(ws, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, kInk, 5, 50);
    EXPECT_TRUE(changed(ws).empty());
    fillEllipse(ws, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, kInk, 100);
    EXPECT_EQ(changed(ws).size(), 100u);
    // Clipping keeps the figure: the part of a large ellipse on a small
    // picture equals that window of the same ellipse drawn on a large one.
    greyPicture(ws, 10, 10);
    drawEllipse(ws, -1000, 4, 1000, 2000, kInk, 3, 100);
    const Pixels small = changed(ws);
    greyPicture(ws, 2010, 2010);
    drawEllipse(ws, 0, 4, 2000, 2000, kInk, 3, 100);
    Pixels window;
    for (auto [x, y] : changed(ws))
        if (x >= 1000 && x < 1010 && y < 10) window.insert({x - 1000, y});
    EXPECT_EQ(small, window);
    EXPECT_FALSE(small.empty());
}

TEST(Shapes, GradientCornersInnerPixelTranslucencyAndShownMask)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    const Rgb corners[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    greyPicture(ws, 10, 10);
    ws.mask[3 * 10 + 3] = 255;
    ws.maskVisible = 1;
    fillRectangleGradient(ws, 0, 0, 9, 9, corners, 100);
    struct Row {
        int x, y;
        Rgb expect;
    };
    // s and t run over (x - xmin) / 10: the last column mixes 0.9 of its right corner.
    for (const Row r : {Row{0, 0, {255, 0, 0}}, Row{9, 0, {25, 229, 0}}, Row{0, 9, {25, 0, 229}},
                        Row{5, 5, {127, 127, 127}}, Row{3, 3, {100, 100, 100}}}) {
        const uint8_t* p = px(ws, r.x, r.y);
        EXPECT_EQ(p[0], r.expect.r) << r.x << "," << r.y;
        EXPECT_EQ(p[1], r.expect.g) << r.x << "," << r.y;
        EXPECT_EQ(p[2], r.expect.b) << r.x << "," << r.y;
    }
    // Half density over grey 100 mixes the untruncated 127.5: 113.75.
    greyPicture(ws, 10, 10);
    fillRectangleGradient(ws, 0, 0, 9, 9, corners, 50);
    EXPECT_EQ(px(ws, 5, 5)[0], 113);
    // The gradient spans the whole box even where it leaves the picture.
    greyPicture(ws, 10, 10);
    fillRectangleGradient(ws, -10, 0, 9, 9, corners, 100);
    EXPECT_EQ(px(ws, 0, 0)[0], 127);  // s = 0.5 between red and green
    EXPECT_EQ(px(ws, 0, 0)[1], 127);
}

TEST(Stroke, TranslucentSelfCrossingStrokeBlendsOnceKeepsTheMaskAndIsOneUndo)
{
    test::TestWorkspace t;
    test::TempDir dir;
    Workspace& ws = t.ws;
    ws.VLX98DIR = dir.path("");
    for (int shown : {0, 1}) {
        greyPicture(ws, 30, 30);
        resetUndo(ws);
        // Set mask bytes across the stroke's path; the hidden mask must keep them.
        for (int x = 0; x < 30; ++x) ws.mask[15 * 30 + x] = 255;
        const std::vector<uint8_t> maskBefore(ws.mask, ws.mask + 900);
        ws.maskVisible = shown;
        ws.penColour = Rgb{200, 200, 200};
        ws.penDensity = 50;
        ws.penWidth = 3;
        Stroke s;
        startPenStroke(ws, s, Point{5, 5}, SnapshotImage);
        for (Point p : {Point{25, 25}, Point{25, 5}, Point{5, 25}, Point{5, 5}, Point{25, 25}}) continuePenStroke(ws, s, p);
        Rect box;
        ASSERT_TRUE(endStroke(ws, s, box));
        EXPECT_EQ(box.x0, 4);
        EXPECT_EQ(box.y1, 26);
        int blended = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 30; ++x) {
                const uint8_t v = px(ws, x, y)[0];
                if (v != 100) {
                    EXPECT_EQ(v, 150) << x << "," << y;  // (50 * 200 + 50 * 100) / 100, once
                    ++blended;
                }
                if (shown && y == 15) {
                    EXPECT_EQ(v, 100) << "protected " << x;
                }
            }
        EXPECT_GT(blended, 100);
        EXPECT_EQ(std::vector<uint8_t>(ws.mask, ws.mask + 900), maskBefore) << "shown " << shown;
        EXPECT_EQ(ws.rgbUndoCount, 1);

        // A later stroke over the same pixels blends them again.
        startPenStroke(ws, s, Point{5, 5}, SnapshotImage);
        ASSERT_TRUE(endStroke(ws, s, box));
        EXPECT_EQ(px(ws, 5, 5)[0], 175);
        // Two undos bring the picture back as it was.
        undoImage(ws);
        undoImage(ws);
        EXPECT_TRUE(changed(ws).empty());
    }
}

TEST(Stroke, MaskPenWritesItsValueAndAStrokeOffThePictureLeavesNoUndo)
{
    test::TestWorkspace t;
    test::TempDir dir;
    Workspace& ws = t.ws;
    ws.VLX98DIR = dir.path("");
    greyPicture(ws, 20, 20);
    std::fill(ws.mask, ws.mask + 400, 255);
    ws.penWidth = 1;
    Stroke s;
    startPenStroke(ws, s, Point{2, 3}, SnapshotMask, 0);
    continuePenStroke(ws, s, Point{12, 3});
    Rect box;
    ASSERT_TRUE(endStroke(ws, s, box));
    EXPECT_EQ(std::count(ws.mask, ws.mask + 400, 0), 11);
    EXPECT_EQ(ws.mskUndoCount, 1);
    undoMask(ws);
    EXPECT_EQ(std::count(ws.mask, ws.mask + 400, 255), 400);

    startPenStroke(ws, s, Point{-50, -50}, SnapshotMask, 0);
    continuePenStroke(ws, s, Point{-10, -60});
    EXPECT_FALSE(endStroke(ws, s, box));
    EXPECT_EQ(ws.mskUndoCount, 0);
}

}  // namespace
}  // namespace orx
