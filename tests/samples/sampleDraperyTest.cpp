// The sample library's drawing and drapery: polygon coverage and the
// fold-following mesh on fold fields whose answer is known.
#include <cmath>

#include <gtest/gtest.h>

#include "samples/sampleDrapery.h"
#include "samples/samplePaint.h"

namespace orx::sample {
namespace {

double coveredArea(const Coverage& c)
{
    double sum = 0;
    for (int y = c.box().y0; y < c.box().y1; ++y)
        for (int x = c.box().x0; x < c.box().x1; ++x) sum += c.at(x, y) / 255.0;
    return sum;
}

TEST(SampleCoverage, ShapesCoverTheirAreaWithSoftEdges)
{
    Coverage c(200, 100);
    // A rectangle on half pixels: whole pixels inside, half-covered edges.
    c.fill({{10.5, 20.5}, {50.5, 20.5}, {50.5, 60.5}, {10.5, 60.5}});
    EXPECT_NEAR(coveredArea(c), 40.0 * 40.0, 2.0);
    EXPECT_EQ(c.at(30, 40), 255);
    EXPECT_NEAR(c.at(10, 40), 128, 2);
    EXPECT_NEAR(c.at(30, 20), 128, 2);
    EXPECT_EQ(c.at(9, 40), 0);

    // A triangle, wound either way, and a shape partly off the picture.
    c.fill({{100, 10}, {190, 90}, {100, 90}});
    EXPECT_NEAR(coveredArea(c), 90.0 * 80.0 / 2, 40.0);
    c.fill({{100, 90}, {190, 90}, {100, 10}});
    EXPECT_NEAR(coveredArea(c), 90.0 * 80.0 / 2, 40.0);
    c.fill({{-50, -50}, {20, -50}, {20, 20}, {-50, 20}});
    EXPECT_NEAR(coveredArea(c), 400.0, 1.0);
    // Refilling clears the last shape.
    EXPECT_EQ(c.at(150, 80), 0);
}

TEST(SampleCoverage, StrokeOutlineFollowsItsWidths)
{
    Stroke s{{{20, 50}, {180, 50}}, {10, 4}};
    Coverage c(200, 100);
    c.fill(s.outline());
    // A tapering bar with round caps: the trapezoid plus two half discs.
    const double expected = 160 * (20 + 8) / 2.0 + kPi * (100 + 16) / 2;
    EXPECT_NEAR(coveredArea(c), expected, expected * 0.02);
    const Stroke::Place p = s.locate({100, 57});
    EXPECT_NEAR(p.along, 0.5, 0.01);
    EXPECT_NEAR(std::fabs(p.across), 1.0, 0.01);  // 7 pixels off the spine where the half-width is 7
}

ClothPart flatPanel(int columns, int rows)
{
    ClothPart part;
    part.patch = {straight({100, 100}, {500, 100}), straight({100, 400}, {500, 400}), straight({100, 100}, {100, 400}),
                  straight({500, 100}, {500, 400})};
    part.columns = columns;
    part.rows = rows;
    part.overhang = 0;
    return part;
}

TEST(SampleDrapery, FlatClothGivesAnEvenGrid)
{
    const ClothPart part = flatPanel(8, 6);
    const MeshGrid m = foldMesh(part, View{{300, 0}, 3000}, 1.0);
    ASSERT_EQ(m.points.size(), 9u * 7u);
    for (int r = 0; r <= 6; ++r)
        for (int c = 0; c <= 8; ++c) {
            EXPECT_NEAR(m.at(c, r).x, 100 + 50.0 * c, 1e-6);
            EXPECT_NEAR(m.at(c, r).y, 100 + 50.0 * r, 1e-6);
        }
    EXPECT_NEAR(m.clothWidth, 400, 1e-6);
    EXPECT_NEAR(m.clothHeight, 300, 1e-6);
}

TEST(SampleDrapery, CellsCrowdOnTheFlanksOfAFold)
{
    // Vertical folds 80 pixels apart, 10 pixels high: ridges at x = 140,
    // 220, ... (phase 0 at the centre x = 300 is a ridge), valleys between.
    ClothPart part = flatPanel(40, 4);
    part.folds.folds = {waveFolds({300, 250}, {1, 0}, 80, 10, 0, {0, 0}, 1.0, 0)};
    View far{{300, 250}, 1e9};  // no parallax
    const MeshGrid m = foldMesh(part, far, 1.0);

    // More cloth than picture, and each column still straight down.
    EXPECT_GT(m.clothWidth, 410);
    for (int c = 0; c <= 40; ++c) EXPECT_NEAR(m.at(c, 0).x, m.at(c, 4).x, 1e-4);
    // Cells about a ridge or a valley are wider than cells on a flank.
    auto widthAt = [&](double x) {
        for (int c = 0; c < 40; ++c)
            if (m.at(c, 2).x <= x && x < m.at(c + 1, 2).x) return m.at(c + 1, 2).x - m.at(c, 2).x;
        return 0.0;
    };
    const double ridge = widthAt(300), valley = widthAt(340), flank = widthAt(320);
    EXPECT_GT(ridge, flank * 1.1);
    EXPECT_GT(valley, flank * 1.1);
    // The outer columns stay on the patch's sides.
    EXPECT_NEAR(m.at(0, 2).x, 100, 1e-4);
    EXPECT_NEAR(m.at(40, 2).x, 500, 1e-4);
    // Half the relief spaces the cells less unevenly.
    const MeshGrid half = foldMesh(part, far, 0.5);
    const double halfFlank = [&] {
        for (int c = 0; c < 40; ++c)
            if (half.at(c, 2).x <= 320 && 320 < half.at(c + 1, 2).x) return half.at(c + 1, 2).x - half.at(c, 2).x;
        return 0.0;
    }();
    EXPECT_GT(halfFlank, flank);
}

TEST(SampleDrapery, RidgesStandOutAwayFromTheEye)
{
    // Below the eye a ridge is seen lower than the flat cloth, above it higher.
    ClothPart part = flatPanel(40, 6);
    part.folds.folds = {waveFolds({300, 250}, {1, 0}, 80, 10, 0, {0, 0}, 1.0, 0)};
    const View view{{300, 250}, 1000};
    const MeshGrid m = foldMesh(part, view, 1.0);
    const std::vector<Vec2> outline = patchOutline(part, view, 1.0);
    double hemLow = 0, hemHigh = 1e9, topLow = 0, topHigh = 1e9;
    for (int c = 0; c <= 40; ++c) {
        hemLow = std::max(hemLow, m.at(c, 6).y);
        hemHigh = std::min(hemHigh, m.at(c, 6).y);
        topLow = std::max(topLow, m.at(c, 0).y);
        topHigh = std::min(topHigh, m.at(c, 0).y);
    }
    EXPECT_GT(hemLow, 400.5);   // a ridge on the hem hangs below it
    EXPECT_LT(hemHigh, 399.5);  // and a valley rises above it
    EXPECT_LT(topHigh, 99.5);
    EXPECT_GT(topLow, 100.5);
    // The outline carries the same wave.
    double outlineLow = 0;
    for (Vec2 p : outline) outlineLow = std::max(outlineLow, p.y);
    EXPECT_NEAR(outlineLow, hemLow, 1.5);
}

TEST(SampleDrapery, ConvexityCheckRejectsFoldedAndCounterClockwiseCells)
{
    const MeshPoint square[4] = {{0, 0}, {10, 0}, {0, 10}, {10, 10}};  // a 1 x 1 mesh, row-major
    EXPECT_TRUE(cellsConvexClockwise(square, 1, 1));
    const MeshPoint dart[4] = {{0, 0}, {10, 0}, {0, 10}, {3, 3}};  // bottom-right corner pushed inside
    EXPECT_FALSE(cellsConvexClockwise(dart, 1, 1));
    const MeshPoint mirrored[4] = {{10, 0}, {0, 0}, {10, 10}, {0, 10}};  // corners turning the other way
    EXPECT_FALSE(cellsConvexClockwise(mirrored, 1, 1));
    const MeshPoint flat[4] = {{0, 0}, {10, 0}, {0, 0}, {10, 0}};
    EXPECT_FALSE(cellsConvexClockwise(flat, 1, 1));
}

}  // namespace
}  // namespace orx::sample
