#include <cstring>

#include <gtest/gtest.h>

#include "engine/cellMapping.h"
#include "engine/orxScript.h"
#include "engine/mesh.h"
#include "engine/shading.h"
#include "support/testSupport.h"

namespace orx {
namespace {

using test::TestWorkspace;

// A 200 x 100 model: white photograph on the left, and a material whose
// pixel (x, y) is (x, y, 77) on the right (x >= 100). With a white
// photograph and contrast 1.0 the run writes the material sample itself,
// so each output pixel tells which material pixel it came from.
struct Model {
    TestWorkspace t;
    Workspace& ws = t.ws;

    Model()
    {
        layoutPlanes(ws, 200, 100);
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 200; ++x) {
                uint8_t* p = ws.secondImage + (y * 200 + x) * 3;
                if (x < 100) {
                    p[0] = p[1] = p[2] = 255;
                } else {
                    p[0] = uint8_t(x), p[1] = uint8_t(y), p[2] = 77;
                }
            }
        std::memcpy(ws.image, ws.secondImage, imageBytes(ws));
        clearMask(ws);
        ws.imageLoaded = 1;
        ws.contrastExponent = 1.0f;
        buildContrastTable(ws);
    }

    void cell(MeshPoint p0, MeshPoint p1, MeshPoint p2, MeshPoint p3, MeshPoint q0, MeshPoint q2)
    {
        ws.cell.p[0] = p0, ws.cell.p[1] = p1, ws.cell.p[2] = p2, ws.cell.p[3] = p3;
        ws.cell.q0 = q0, ws.cell.q2 = q2;
        mapCell(ws);
    }

    const uint8_t* px(int x, int y) const { return ws.image + (y * 200 + x) * 3; }
    // The material pixel a target came from, or (-1, -1) when untouched.
    std::pair<int, int> from(int x, int y) const
    {
        const uint8_t* p = px(x, y);
        if (p[0] == 255 && p[1] == 255 && p[2] == 255) return {-1, -1};
        EXPECT_EQ(p[2], 77) << x << "," << y;
        return {p[0], p[1]};
    }
};

using From = std::pair<int, int>;
const From kUntouched{-1, -1};

TEST(MappingCell, RectangleScalesTheMaterialRectangle)
{
    Model m;
    // 10 x 5 object pixels from 5 x 5 material pixels: sx = 0.5, sy = 1.
    m.cell({10, 10}, {19, 10}, {19, 14}, {10, 14}, {100, 50}, {104, 54});
    for (int j = 0; j < 5; ++j)
        for (int i = 0; i < 10; ++i) EXPECT_EQ(m.from(10 + i, 10 + j), From(100 + i / 2, 50 + j)) << i << "," << j;
    EXPECT_EQ(m.from(20, 10), kUntouched);
    EXPECT_EQ(m.from(10, 15), kUntouched);
}

// A sheared cell whose opposite sides are equal: the four-edge path. Every
// pixel below is worked out by hand from the crossing, point-along and walk
// rules (the material points land one short when they turn against the
// axes, and a walk never visits its end point).
TEST(MappingCell, NearParallelogramTakesFourEdges)
{
    Model m;
    m.cell({10, 10}, {14, 10}, {15, 12}, {11, 12}, {100, 50}, {104, 52});
    const From row10[5] = {{100, 51}, {100, 51}, {101, 51}, {101, 51}, {102, 51}};
    const From row11[5] = {{100, 52}, {100, 52}, {101, 52}, {101, 52}, {102, 51}};
    const From row12[5] = {{100, 52}, {100, 52}, {101, 52}, {101, 52}, {102, 52}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(m.from(10 + i, 10), row10[i]) << i;
        EXPECT_EQ(m.from(10 + i, 11), row11[i]) << i;
        EXPECT_EQ(m.from(11 + i, 12), row12[i]) << i;
    }
    EXPECT_EQ(m.from(15, 10), kUntouched);
    EXPECT_EQ(m.from(9, 11), kUntouched);
    EXPECT_EQ(m.from(10, 12), kUntouched);
    EXPECT_EQ(m.from(12, 13), kUntouched);
}

// A scan line through a corner where two edges meet counts one crossing:
// the diamond's top and bottom corners form no span.
TEST(MappingCell, SharedCornerGivesOneCrossing)
{
    Model m;
    m.cell({20, 10}, {30, 20}, {20, 30}, {10, 20}, {100, 10}, {120, 30});
    EXPECT_EQ(m.from(20, 10), kUntouched);
    EXPECT_EQ(m.from(20, 30), kUntouched);
    // The middle row runs from the left corner to the right one.
    EXPECT_EQ(m.from(10, 20), From(101, 30));
    EXPECT_EQ(m.from(30, 20), From(118, 12));
    EXPECT_EQ(m.from(9, 20), kUntouched);
    EXPECT_EQ(m.from(31, 20), kUntouched);
    EXPECT_NE(m.from(20, 11), kUntouched);
}

TEST(MappingCell, CrossedAndConcaveCellsAreLeftAlone)
{
    Model m;
    m.cell({10, 10}, {30, 30}, {30, 10}, {10, 30}, {100, 10}, {120, 30});  // bow tie
    m.cell({40, 10}, {60, 10}, {50, 15}, {40, 30}, {100, 10}, {120, 30});  // dart
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) ASSERT_EQ(m.from(x, y), kUntouched) << x << "," << y;
}

// A strongly tapered cell goes through the 8 x 8 perspective grid: it is
// filled without holes, the material runs in order across and down, and the
// perspective centre (the diagonals' crossing) takes the material's centre.
TEST(MappingCell, TaperedCellThroughThePerspectiveGrid)
{
    Model m;
    m.cell({20, 20}, {60, 20}, {50, 60}, {30, 60}, {100, 10}, {180, 90});
    for (int y = 21; y < 60; ++y) {
        // Inside the trapezoid, one pixel in from its slanted sides.
        const int left = 20 + (y - 20) * 10 / 40 + 1, right = 60 - (y - 20) * 10 / 40 - 1;
        int lastU = -1;
        for (int x = left; x <= right; ++x) {
            const From f = m.from(x, y);
            ASSERT_NE(f, kUntouched) << x << "," << y;
            ASSERT_GE(f.first, 100);
            ASSERT_LE(f.first, 180);
            ASSERT_GE(f.first, lastU) << x << "," << y;
            lastU = f.first;
        }
    }
    int lastV = -1;
    for (int y = 21; y < 60; ++y) {
        const From f = m.from(40, y);
        ASSERT_GE(f.second, lastV) << y;
        lastV = f.second;
    }
    // Grid column 4 runs down x = 40 and grid row 4 through y = 47: the
    // material's middle column starts right of x = 40, its middle row is
    // reached on row 47.
    const From centre = m.from(40, 47);
    EXPECT_LT(centre.first, 140);
    EXPECT_GE(m.from(41, 47).first, 140);
    EXPECT_NEAR(centre.second, 50, 1);
    // An affine fill would put the material's middle row at the cell's
    // middle row (y = 40); perspective moves it well down.
    EXPECT_LT(m.from(40, 40).second, 45);
    EXPECT_EQ(m.from(19, 20), kUntouched);
    EXPECT_EQ(m.from(28, 59), kUntouched);
    EXPECT_EQ(m.from(52, 59), kUntouched);
}

// A sliver a few pixels wide through the perspective grid stays within its
// own box: its tiny sub-quadrilaterals must not send edges across the row.
TEST(MappingCell, AThinTaperedCellStaysInItsBox)
{
    Model m;
    m.cell({69, 25}, {72, 24}, {73, 55}, {69, 56}, {120, 20}, {160, 80});
    int written = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            if (m.from(x, y) == kUntouched) continue;
            ++written;
            EXPECT_TRUE(x >= 68 && x <= 74 && y >= 24 && y <= 56) << x << "," << y;
        }
    EXPECT_GT(written, 60);
}

TEST(MappingCell, ProtectedPixelsOnBothSides)
{
    // Quadrilateral path in mask mode: a protected target keeps its pixel,
    // and a target whose material pixel is protected is skipped too.
    Model m;
    m.ws.maskMode = 1;
    m.ws.mask[11 * 200 + 12] = 255;   // target (12, 11)
    m.ws.mask[52 * 200 + 100] = 255;  // material (100, 52): used by (10, 11), (11, 11), (11, 12), (12, 12)
    m.cell({10, 10}, {14, 10}, {15, 12}, {11, 12}, {100, 50}, {104, 52});
    EXPECT_EQ(m.from(12, 11), kUntouched);
    EXPECT_EQ(m.from(10, 11), kUntouched);
    EXPECT_EQ(m.from(11, 12), kUntouched);
    EXPECT_EQ(m.from(13, 11), From(101, 52));
    EXPECT_EQ(m.from(10, 10), From(100, 51));

    // Without a mask line the quadrilateral path ignores the mask plane...
    Model n;
    n.ws.mask[11 * 200 + 12] = 255;
    n.cell({10, 10}, {14, 10}, {15, 12}, {11, 12}, {100, 50}, {104, 52});
    EXPECT_EQ(n.from(12, 11), From(101, 52));
    // ...while rectangles always respect it, on the target and the material.
    n.ws.mask[30 * 200 + 31] = 255;
    n.ws.mask[60 * 200 + 100] = 255;  // material row 60, column 100: feeds (30, 30)
    n.cell({30, 30}, {33, 30}, {33, 33}, {30, 33}, {100, 60}, {103, 63});
    EXPECT_EQ(n.from(31, 30), kUntouched);
    EXPECT_EQ(n.from(30, 30), kUntouched);
    EXPECT_EQ(n.from(32, 30), From(102, 60));
}

TEST(MappingCell, SoftSamplesAverageFivePoints)
{
    Model m;
    m.ws.softMapping = 1;
    m.cell({10, 10}, {10, 10}, {10, 10}, {10, 10}, {150, 50}, {150, 50});
    // A one-pixel rectangle; the five-point average of (x, y, 77) around
    // (150, 50) is the centre itself.
    EXPECT_EQ(m.from(10, 10), From(150, 50));
    // On the top row the average is taken about (100, 1): (100, 0), the
    // white photograph pixel (99, 1), (100, 1), (101, 1) and (100, 2).
    m.cell({0, 0}, {0, 0}, {0, 0}, {0, 0}, {100, 0}, {100, 0});
    const uint8_t* p = m.px(0, 0);
    EXPECT_EQ(p[0], (100 + 255 + 100 + 101 + 100) / 5);
    EXPECT_EQ(p[1], (0 + 255 + 1 + 1 + 2) / 5);
    EXPECT_EQ(p[2], (77 + 255 + 77 + 77 + 77) / 5);
}

// A 6 x 4 mesh with cells of every kind: rectangles (the top left three),
// sheared, tapered, crossed; and a sprinkled mask in mask mode.
void mixedMesh(Model& m)
{
    m.ws.maskMode = 1;
    for (int i = 0; i < 200 * 100; i += 37) m.ws.mask[i] = 255;
    m.ws.meshColumns = 6;
    m.ws.meshRows = 4;
    for (int r = 0; r <= 4; ++r)
        for (int c = 0; c <= 6; ++c) {
            const int i = r * 7 + c;
            const int wobble = r < 2 && c < 4 ? 0 : (c * 7 + r * 3) % 5 - 2;
            m.ws.Cpoint1[i] = {c * 15 + (r % 2 ? wobble : 0), r * 22 + (c % 3 == 1 ? wobble * 2 : 0)};
            m.ws.Cpoint2[i] = {102 + c * 14, 4 + r * 20};
        }
}

std::vector<uint8_t> picture(const Model& m) { return {m.ws.image, m.ws.image + imageBytes(m.ws)}; }

TEST(MappingCell, WorkersWriteTheSameBytesAsOneWalk)
{
    auto runWith = [](int threads) {
        Model m;
        m.ws.mappingThreads = threads;
        mixedMesh(m);
        mapAllCells(m.ws);
        return picture(m);
    };
    const auto one = runWith(1);
    EXPECT_EQ(runWith(2), one);
    EXPECT_EQ(runWith(3), one);
    EXPECT_EQ(runWith(7), one);
    Model untouched;
    const std::vector<uint8_t> before = picture(untouched);
    size_t changed = 0;
    for (size_t i = 0; i < one.size(); ++i) changed += one[i] != before[i];
    EXPECT_GT(changed, 10000u);
}

// What a live edit relies on: the listed cells map as they would one by
// one; a clipped mapping writes nothing outside its rectangle; and a region
// restored from the photograph and mapped again, clipped two pixels wider,
// comes back byte for byte, pinholes closed as before.
TEST(MappingCell, SelectedCellsAndAClip)
{
    Model whole;
    mixedMesh(whole);
    mapAllCells(whole.ws);
    const std::vector<uint8_t> full = picture(whole);

    Model listed, single;
    for (Model* m : {&listed, &single}) {
        mixedMesh(*m);
        m->ws.pinholeClosing = 0;  // one cell at a time leaves the holes between them
    }
    const int32_t cells[] = {3, 7, 8, 20};
    mapCells(listed.ws, {cells, std::nullopt});
    for (int32_t n : cells) {
        extractCell(single.ws, n);
        mapCell(single.ws);
    }
    EXPECT_EQ(picture(listed), picture(single));
    EXPECT_NE(picture(listed), full);

    const Rect regions[] = {{17, 9, 52, 40}, {52, 40, 17, 9}, {0, 0, 199, 99}, {88, 70, 120, 130}, {30, 50, 30, 50}};
    for (const Rect& r : regions)
        for (int threads : {1, 3}) {
            const int x0 = std::min(r.x0, r.x1), x1 = std::max(r.x0, r.x1);
            const int y0 = std::min(r.y0, r.y1), y1 = std::max(r.y0, r.y1);
            Model m;
            mixedMesh(m);
            m.ws.mappingThreads = threads;
            const std::vector<uint8_t> photo = picture(m);
            mapCells(m.ws, {{}, r});
            for (int y = 0; y < 100; ++y)
                for (int x = 0; x < 200; ++x) {
                    if (x >= x0 && x <= x1 && y >= y0 && y <= y1) continue;
                    ASSERT_EQ(0, std::memcmp(m.ws.image + (y * 200 + x) * 3, photo.data() + (y * 200 + x) * 3, 3))
                        << x << "," << y << " outside " << r.x0 << "," << r.y0;
                }

            std::memcpy(m.ws.image, full.data(), full.size());
            for (int y = std::max(y0, 0); y <= std::min(y1, 99); ++y)
                std::memcpy(m.ws.image + (y * 200 + x0) * 3, photo.data() + (y * 200 + x0) * 3,
                            size_t(std::min(x1, 199) - x0 + 1) * 3);
            mapCells(m.ws, {{}, Rect{x0 - 2, y0 - 2, x1 + 2, y1 + 2}});
            ASSERT_EQ(picture(m), full) << "region " << r.x0 << "," << r.y0 << " threads " << threads;
        }
}

TEST(OrxLines, EveryKindIsRecognised)
{
    EXPECT_EQ(classifyOrxLine("PART1.MSK").kind, OrxMask);
    EXPECT_EQ(classifyOrxLine("PART1.MSK").value, 9);
    EXPECT_EQ(classifyOrxLine("sub/PART1.MAP").kind, OrxMap);
    OrxLineInfo rgb = classifyOrxLine("PHOTO.RGB 2 10 20");
    EXPECT_EQ(rgb.kind, OrxImage);
    EXPECT_EQ(rgb.imageIndex, 1);
    EXPECT_EQ(rgb.imageB, 20);
    EXPECT_EQ(classifyOrxLine("PHOTO.RGB 3 10 20").kind, OrxOther);  // first number must be 1 or 2
    EXPECT_EQ(classifyOrxLine("PHOTO.RGB").kind, OrxImageAlt);
    EXPECT_EQ(classifyOrxLine("DELAY 4").value, 4);
    EXPECT_EQ(classifyOrxLine("REPEAT").kind, OrxRepeat);
    EXPECT_EQ(classifyOrxLine("COLOR 12").value, 12);
    OrxLineInfo zoom = classifyOrxLine("ZOOM 16 30 40");
    EXPECT_EQ(zoom.kind, OrxZoom);
    EXPECT_EQ(zoom.zoom, 16.0f);
    EXPECT_EQ(zoom.zoomY, 40);
    EXPECT_EQ(classifyOrxLine("ZOOM 9 1 1").zoom, 0.0f);
    EXPECT_EQ(classifyOrxLine("part1.msk").kind, OrxOther);
    EXPECT_EQ(classifyOrxLine("").kind, OrxOther);
}

}  // namespace
}  // namespace orx
