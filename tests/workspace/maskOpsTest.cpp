// Black line art to a mask and a mask back to black.
#include <gtest/gtest.h>

#include "support/testSupport.h"
#include "workspace/maskOps.h"

namespace orx {
namespace {

uint8_t* px(Workspace& ws, int x, int y) { return ws.image + (uint64_t(y) * ws.imageWidth + x) * 3; }

TEST(MaskOps, BlackToMaskSelectsExactlyTheBlackPixels)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    test::fillPattern(ws, 5, 4);  // pixel (0, 0) is black in the pattern
    uint8_t* p = px(ws, 3, 2);
    p[0] = p[1] = p[2] = 0;
    px(ws, 4, 3)[0] = 1, px(ws, 4, 3)[1] = 0, px(ws, 4, 3)[2] = 0;  // nearly black stays out
    std::fill(ws.mask, ws.mask + 20, uint8_t(77));

    blackToMask(ws);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
            const uint8_t* q = px(ws, x, y);
            const bool black = q[0] == 0 && q[1] == 0 && q[2] == 0;
            EXPECT_EQ(ws.mask[y * 5 + x], black ? 255 : 0) << x << "," << y;
        }
    EXPECT_EQ(ws.mask[0], 255);
    EXPECT_EQ(ws.mask[2 * 5 + 3], 255);
    EXPECT_EQ(ws.mask[3 * 5 + 4], 0);
}

TEST(MaskOps, MaskedToBlackPaintsOnlyBytesAbove254)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    test::fillPattern(ws, 4, 3);
    std::vector<uint8_t> before(ws.image, ws.image + 36);
    ws.mask[1] = 255;
    ws.mask[6] = 254;  // not set
    ws.mask[11] = 255;

    maskedToBlack(ws);
    for (int i = 0; i < 12; ++i) {
        const bool set = i == 1 || i == 11;
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(ws.image[i * 3 + c], set ? 0 : before[size_t(i) * 3 + c]) << "pixel " << i;
    }
    EXPECT_EQ(ws.mask[1], 255);  // the mask itself is left as it was
}

}  // namespace
}  // namespace orx
