// The floating piece: taken, moved, shown on the display and applied.
#include <gtest/gtest.h>

#include "engine/piece.h"
#include "support/testSupport.h"
#include "workspace/display.h"

namespace orx {
namespace {

TEST(Piece, AppliedByItsCoverageClippedToThePictureAndKeptOffShownMaskedPixels)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    layoutPlanes(ws, 6, 4);
    std::fill(ws.image, ws.image + imageBytes(ws), 100);
    clearMask(ws);
    // A 3 x 2 piece of (250, 0, 50): coverage 255, 0, 51 on the top row, 255 below.
    std::vector<uint8_t> pixels(18);
    for (int i = 0; i < 6; ++i) pixels[3 * i] = 250, pixels[3 * i + 2] = 50;
    const std::vector<uint8_t> coverage = {255, 0, 51, 255, 255, 255};
    EXPECT_FALSE(setFloatingPiece(ws, 0, 0, 3, 2, pixels, std::vector<uint8_t>(5)));
    EXPECT_EQ(ws.pieceFloating, 0);
    ASSERT_TRUE(setFloatingPiece(ws, 0, 0, 3, 2, pixels, coverage));
    movePiece(ws, 4, 2);  // its last column hangs off the right edge
    Rect b;
    ASSERT_TRUE(pieceBounds(ws, b));
    EXPECT_EQ(b.x0, 4);
    EXPECT_EQ(b.x1, 5);
    ws.mask[3 * 6 + 5] = 255;
    ws.maskVisible = 1;
    ASSERT_TRUE(applyPiece(ws));
    EXPECT_EQ(ws.pieceFloating, 0);
    auto px = [&](int x, int y) { return ws.image + (y * 6 + x) * 3; };
    EXPECT_EQ(px(4, 2)[0], 250);
    EXPECT_EQ(px(5, 2)[0], 100);  // coverage 0
    EXPECT_EQ(px(4, 3)[2], 50);
    EXPECT_EQ(px(5, 3)[0], 100);  // masked
    EXPECT_EQ(px(3, 2)[0], 100);
    EXPECT_FALSE(applyPiece(ws));

    // A piece wholly off the picture changes nothing and is let go.
    const std::vector<uint8_t> before(ws.image, ws.image + imageBytes(ws));
    ASSERT_TRUE(setFloatingPiece(ws, 40, 40, 3, 2, pixels, coverage));
    EXPECT_FALSE(pieceBounds(ws, b));
    EXPECT_TRUE(applyPiece(ws));
    EXPECT_EQ(std::vector<uint8_t>(ws.image, ws.image + imageBytes(ws)), before);
}

TEST(Piece, ShownOnTheDisplayAtTheScaleInDisplayByteOrder)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    layoutPlanes(ws, 40, 30);
    std::fill(ws.image, ws.image + imageBytes(ws), 0);
    clearMask(ws);
    ws.imageLoaded = 1;
    setViewSize(ws, 200, 170);
    ws.displayScale16 = 8;  // twice enlarged
    redisplayAt(ws, 20, 15);
    std::vector<uint8_t> pixels = {10, 20, 30, 10, 20, 30}, coverage = {255, 255};
    ASSERT_TRUE(setFloatingPiece(ws, 5, 6, 2, 1, pixels, coverage));
    Rect shown;
    ASSERT_TRUE(drawPieceOnDisplay(ws, shown));
    EXPECT_EQ(shown.x1 - shown.x0 + 1, 4);
    EXPECT_EQ(shown.y1 - shown.y0 + 1, 2);
    const Point at = imageToWindow(ws, 5, 6);
    EXPECT_EQ(shown.x0, at.x);
    const uint8_t* d = ws.RS.get() + ws.displayRowOffset[at.y + 1] + 3 * (at.x + 3);
    EXPECT_EQ(d[0], 30);  // B, G, R
    EXPECT_EQ(d[2], 10);
    // Image contents are untouched.
    EXPECT_EQ(ws.image[(6 * 40 + 5) * 3], 0);
}

}  // namespace
}  // namespace orx
