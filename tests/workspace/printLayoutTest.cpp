// Print placement and the printed rows.
#include <gtest/gtest.h>

#include <vector>

#include "support/testSupport.h"
#include "workspace/printLayout.h"

namespace orx {
namespace {

TEST(PrintLayout, PlacementsOfTheFourTypes)
{
    struct Case {
        int32_t type, w, h, pageW, pageH;
        bool placed;
        PrintPlacement want;
    };
    const Case cases[] = {
        {PrintUpperLeft, 800, 600, 4800, 6600, true, {0, 0, 800, 600}},
        {PrintCentred, 800, 600, 4800, 6600, true, {2000, 3000, 800, 600}},
        {PrintFitted, 800, 600, 4800, 6600, true, {0, 0, 4800, 3600}},
        {PrintFittedCentred, 800, 600, 4800, 6600, true, {0, 1500, 4800, 3600}},
        // Taller than the page is wide: the height decides.
        {PrintFittedCentred, 100, 1000, 4800, 6600, true, {2070, 0, 660, 6600}},
        // sx equal to sy fills the page exactly.
        {PrintFitted, 3, 2, 6, 4, true, {0, 0, 6, 4}},
        // Larger than the page and centred: negative offsets, integer halves.
        {PrintCentred, 5001, 7001, 4800, 6600, true, {-100, -200, 5001, 7001}},
        {0, 800, 600, 4800, 6600, false, {}},
        {3, 800, 600, 4800, 6600, false, {}},
        {PrintUpperLeft, 0, 600, 4800, 6600, false, {}},
    };
    for (const Case& c : cases) {
        PrintPlacement p;
        EXPECT_EQ(placeOnPage(c.type, c.w, c.h, c.pageW, c.pageH, p), c.placed) << c.type << " " << c.w;
        if (!c.placed) continue;
        EXPECT_EQ((std::vector<int32_t>{p.x, p.y, p.width, p.height}),
                  (std::vector<int32_t>{c.want.x, c.want.y, c.want.width, c.want.height}))
            << c.type << " " << c.w << "x" << c.h;
    }
}

// A 3 x 2 image stretched to 6 x 4 takes rows 0, 0, 1, 1 (columns alike); the
// division is in real numbers, so 3 rows shown of 2 take 0, 0, 1.
TEST(PrintLayout, StretchedRowsAndColumns)
{
    std::vector<int32_t> rows;
    for (int32_t i = 0; i < 4; ++i) rows.push_back(sourceIndex(i, 4, 2));
    EXPECT_EQ(rows, (std::vector<int32_t>{0, 0, 1, 1}));
    rows.clear();
    for (int32_t i = 0; i < 3; ++i) rows.push_back(sourceIndex(i, 3, 2));
    EXPECT_EQ(rows, (std::vector<int32_t>{0, 0, 1}));
    rows.clear();
    for (int32_t i = 0; i < 2; ++i) rows.push_back(sourceIndex(i, 2, 5));  // shrunk: 0, 2
    EXPECT_EQ(rows, (std::vector<int32_t>{0, 2}));
}

// The rows a page receives, against the image read pixel by pixel: a
// stretched image with a white first pixel, and a centred one cut by the
// page on all four sides.
TEST(PrintLayout, RowsCarryTheImageAndAMarkedWhiteCorner)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    test::fillPattern(ws, 3, 2);
    ws.image[0] = ws.image[1] = ws.image[2] = 255;
    auto pixel = [&](int32_t x, int32_t y) { return ws.image + (uint64_t(y) * ws.imageRowBytes + uint64_t(x) * 3); };

    PrintPlacement placed;
    ASSERT_TRUE(placeOnPage(PrintFitted, 3, 2, 6, 4, placed));
    PrintArea area = visibleArea(placed, 6, 4);
    std::vector<uint8_t> rows(4 * 18);
    fillPrintRows(ws, placed, area, 0, 4, rows.data(), 18);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 6; ++x) {
            const uint8_t* got = &rows[size_t(y) * 18 + size_t(x) * 3];
            const bool corner = x < 2 && y < 2;
            const uint8_t* want = pixel(x / 2, y / 2);
            const std::vector<uint8_t> expected =
                corner ? std::vector<uint8_t>{253, 254, 255} : std::vector<uint8_t>(want, want + 3);
            EXPECT_EQ(std::vector<uint8_t>(got, got + 3), expected) << x << "," << y;
        }
    // Not quite white: printed as it is.
    ws.image[2] = 254;
    fillPrintRows(ws, placed, area, 0, 1, rows.data(), 18);
    EXPECT_EQ(std::vector<uint8_t>(rows.begin(), rows.begin() + 3), (std::vector<uint8_t>{255, 255, 254}));

    // 7 x 5 centred on a 3 x 3 page: page (0, 0) shows image (2, 1); a band
    // of the middle row alone.
    test::fillPattern(ws, 7, 5);
    ASSERT_TRUE(placeOnPage(PrintCentred, 7, 5, 3, 3, placed));
    area = visibleArea(placed, 3, 3);
    EXPECT_EQ((std::vector<int32_t>{area.x0, area.y0, area.x1, area.y1}), (std::vector<int32_t>{0, 0, 3, 3}));
    std::vector<uint8_t> band(12, 0xEE);
    fillPrintRows(ws, placed, area, 1, 2, band.data(), 12);
    EXPECT_EQ(std::vector<uint8_t>(band.begin(), band.begin() + 9), std::vector<uint8_t>(pixel(2, 2), pixel(5, 2)));
    EXPECT_EQ(band[9], 0xEE) << "nothing beyond the area's width";
}

}  // namespace
}  // namespace orx
