// Curves through clicked points.
#include <gtest/gtest.h>

#include <vector>

#include "support/testSupport.h"
#include "tools/curve.h"
#include "workspace/hsv.h"

namespace orx {
namespace {

uint8_t* px(Workspace& ws, int x, int y) { return ws.image + (uint64_t(y) * ws.imageWidth + x) * 3; }

void greyPicture(Workspace& ws, int w, int h, uint8_t grey)
{
    layoutPlanes(ws, w, h);
    std::fill(ws.image, ws.image + imageBytes(ws), grey);
    clearMask(ws);
}

struct Recorder : CurveSink {
    std::vector<std::pair<Point, Point>> pieces;
    std::vector<Point> holes;
    void piece(Point a, Point b) override { pieces.push_back({a, b}); }
    void hole(Point at) override { holes.push_back(at); }
};

// The lengths of the runs of ink along one row, and of the gaps between.
struct Runs {
    std::vector<int> ink, gaps;
};

Runs runsOf(Workspace& ws, int y, uint8_t ink)
{
    Runs out;
    int x = 0;
    while (x < ws.imageWidth && px(ws, x, y)[0] != ink) ++x;
    while (x < ws.imageWidth) {
        const bool on = px(ws, x, y)[0] == ink;
        int n = 0;
        while (x < ws.imageWidth && (px(ws, x, y)[0] == ink) == on) ++x, ++n;
        if (on)
            out.ink.push_back(n);
        else if (x < ws.imageWidth)
            out.gaps.push_back(n);
    }
    return out;
}

const Point kStraight[] = {{0, 10}, {100, 10}, {200, 10}};

TEST(Curve, TwoOrAHundredAndOnePointsDrawNothing)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    greyPicture(ws, 50, 50, 100);
    ws.penWidth = 1;
    std::vector<Point> many(101);
    for (int i = 0; i < 101; ++i) many[size_t(i)] = Point{i % 50, i / 3};
    Recorder rec;
    for (CurveRendering r : {CurvePreview, CurvePen, CurveMask, CurveShaded}) {
        EXPECT_FALSE(drawCurve(ws, many.data(), 101, r, false, Rgb{1, 1, 1}, 100, &rec));
        EXPECT_FALSE(drawCurve(ws, many.data(), 2, r, false, Rgb{1, 1, 1}, 100, &rec));
    }
    EXPECT_FALSE(drawDashedCurve(ws, many.data(), 2, Rgb{1, 1, 1}, 100, 10, 3));
    EXPECT_FALSE(drawHoledCurve(ws, many.data(), 101, Rgb{1, 1, 1}, 100, 10));
    EXPECT_TRUE(rec.pieces.empty());
    EXPECT_TRUE(std::all_of(ws.image, ws.image + imageBytes(ws), [](uint8_t b) { return b == 100; }));
    EXPECT_TRUE(std::all_of(ws.mask, ws.mask + pixelCount(ws), [](uint8_t b) { return b == 0; }));
}

TEST(Curve, AnOpenCurveRunsFromTheFirstPointToTheLastInConnectedPieces)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    const Point pts[] = {{5, 40}, {20, 5}, {45, 30}, {60, 8}, {70, 45}};
    Recorder rec;
    ASSERT_TRUE(drawCurve(ws, pts, 5, CurvePreview, false, Rgb{}, 100, &rec));
    ASSERT_FALSE(rec.pieces.empty());
    EXPECT_EQ(rec.pieces.front().first.x, 5);
    EXPECT_EQ(rec.pieces.front().first.y, 40);
    EXPECT_EQ(rec.pieces.back().second.x, 70);
    EXPECT_EQ(rec.pieces.back().second.y, 45);
    for (size_t i = 1; i < rec.pieces.size(); ++i) {
        EXPECT_EQ(rec.pieces[i].first.x, rec.pieces[i - 1].second.x) << i;
        EXPECT_EQ(rec.pieces[i].first.y, rec.pieces[i - 1].second.y) << i;
        EXPECT_FALSE(rec.pieces[i].first.x == rec.pieces[i].second.x && rec.pieces[i].first.y == rec.pieces[i].second.y);
    }
    // A closed curve ends where it began.
    Recorder closed;
    ASSERT_TRUE(drawCurve(ws, pts, 5, CurvePreview, true, Rgb{}, 100, &closed));
    EXPECT_EQ(closed.pieces.front().first.x, closed.pieces.back().second.x);
    EXPECT_EQ(closed.pieces.front().first.y, closed.pieces.back().second.y);

    // On the picture: both ends painted, translucent pieces blended once.
    greyPicture(ws, 80, 50, 100);
    ws.penWidth = 1;
    ASSERT_TRUE(drawCurve(ws, pts, 5, CurvePen, false, Rgb{200, 200, 200}, 50, nullptr));
    EXPECT_EQ(px(ws, 5, 40)[0], 150);
    EXPECT_EQ(px(ws, 70, 45)[0], 150);
    for (uint64_t i = 0; i < imageBytes(ws); ++i) ASSERT_TRUE(ws.image[i] == 100 || ws.image[i] == 150) << i;
    EXPECT_TRUE(std::all_of(ws.mask, ws.mask + pixelCount(ws), [](uint8_t b) { return b == 0; }));
    ASSERT_TRUE(drawCurve(ws, pts, 5, CurveMask, false, Rgb{}, 100, nullptr));
    EXPECT_EQ(ws.mask[40 * 80 + 5], 255);
    EXPECT_EQ(ws.mask[45 * 80 + 70], 255);
}

TEST(Curve, DashesAndGapsOnAStraightCurve)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    struct Row {
        int pitch, gap, width;
    };
    for (const Row r : {Row{10, 3, 1}, Row{20, 5, 1}, Row{7, 2, 1}}) {
        greyPicture(ws, 220, 20, 100);
        ws.penWidth = r.width;
        ASSERT_TRUE(drawDashedCurve(ws, kStraight, 3, Rgb{0, 0, 0}, 100, r.pitch, r.gap));
        // A dash ends pitch - width from its start; the next starts once the
        // distance passes gap + width.
        const Runs found = runsOf(ws, 10, 0);
        const std::vector<int>&dashes = found.ink, &gaps = found.gaps;
        ASSERT_GE(dashes.size(), 5u) << r.pitch;
        for (size_t i = 0; i + 1 < dashes.size(); ++i) EXPECT_EQ(dashes[i], r.pitch - r.width + 1) << r.pitch << " dash " << i;
        for (size_t i = 0; i + 1 < gaps.size(); ++i) EXPECT_EQ(gaps[i], r.gap + r.width) << r.pitch << " gap " << i;
        const int period = r.pitch - r.width + 1 + r.gap + r.width;
        EXPECT_NEAR(int(dashes.size()), 201 / period, 1) << r.pitch;
    }
}

TEST(Curve, HolesInSwatchTenEveryPitchOverTheLines)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    greyPicture(ws, 220, 20, 100);
    ws.penWidth = 1;
    ws.paletteSwatches[9] = Rgb{250, 250, 250};
    ASSERT_TRUE(drawHoledCurve(ws, kStraight, 3, Rgb{0, 0, 0}, 100, 10));
    std::vector<int> holes, lines;
    for (int x = 0; x < 220; ++x) {
        if (px(ws, x, 10)[0] == 250) holes.push_back(x);
        if (px(ws, x, 10)[0] == 0) lines.push_back(x);
    }
    ASSERT_EQ(holes.size(), 20u);
    for (size_t i = 0; i < holes.size(); ++i) EXPECT_EQ(holes[i], 10 * int(i + 1));
    EXPECT_EQ(lines.size(), 201u - holes.size());
    // The preview marks the same places.
    Recorder rec;
    ASSERT_TRUE(drawHoledCurve(ws, kStraight, 3, Rgb{}, 100, 10, &rec));
    ASSERT_EQ(rec.holes.size(), 20u);
    EXPECT_EQ(rec.holes[3].x, 40);
}

TEST(Curve, ShadedSeamChangesEachPixelOnceByItsRowsFactor)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    layoutPlanes(ws, 220, 20);
    for (uint64_t i = 0; i < pixelCount(ws); ++i) ws.image[3 * i] = 120, ws.image[3 * i + 1] = 90, ws.image[3 * i + 2] = 60;
    clearMask(ws);
    ASSERT_TRUE(drawCurve(ws, kStraight, 3, CurveShaded, false, Rgb{}, 100, nullptr));
    const Hsv base = rgbToHsv(120, 90, 60);
    struct Row {
        int y;
        double factor;
    };
    for (const Row r : {Row{12, 1.05}, Row{11, 1.10}, Row{10, 0.90}, Row{9, 0.95}}) {
        uint8_t expect[3];
        hsvToBytes(base.h, std::min(base.s / r.factor, 1.0), std::min(base.v * r.factor, 1.0), expect);
        for (int x = 0; x <= 200; ++x) {
            const uint8_t* p = px(ws, x, r.y);
            ASSERT_EQ(p[0], expect[0]) << x << "," << r.y;
            ASSERT_EQ(p[1], expect[1]) << x << "," << r.y;
            ASSERT_EQ(p[2], expect[2]) << x << "," << r.y;
        }
    }
    EXPECT_EQ(px(ws, 50, 13)[0], 120);
    EXPECT_EQ(px(ws, 50, 8)[0], 120);
    EXPECT_TRUE(std::all_of(ws.mask, ws.mask + pixelCount(ws), [](uint8_t b) { return b == 0; }));
}

}  // namespace
}  // namespace orx
