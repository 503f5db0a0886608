#include <cstdlib>
#include <cstring>

#include <gtest/gtest.h>

#include "support/testSupport.h"
#include "workspace/langText.h"

namespace orx {
namespace {

using test::FakePlatform;
using test::TestWorkspace;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUnderAsan = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kUnderAsan = true;
#else
constexpr bool kUnderAsan = false;
#endif
#else
constexpr bool kUnderAsan = false;
#endif

TEST(ImageBlock, CapacityFollowsTheBlockSize)
{
    TestWorkspace t(80'000'000);
    EXPECT_EQ(t.ws.blockSize, 80'000'000u);
    EXPECT_EQ(t.ws.planeCapacity, 10'000'000u);
    EXPECT_EQ(t.ws.maxRgbBytes, 30'000'000u);
    EXPECT_EQ(t.ws.image, t.ws.block.get());
    EXPECT_EQ(memoryCapacityText(t.ws), "Max VLX file size: 30 MB\n\n(EX: 3162 pixels x 3162 pixels)");
    EXPECT_EQ(memoryRamText(t.ws).substr(0, 5), "RAM: ");
    EXPECT_NE(memoryRamText(t.ws).find("Free RAM: 76 MB"), std::string::npos);
}

TEST(ImageBlock, TooSmallABlockStopsTheStartInTheScreenLanguage)
{
    for (auto [lang, text] : {std::pair{LangEnglish, "Free RAM size is too small, can not run VLX."},
                              {LangKorea, "Free RAM size is too small, can not run VLX."},
                              {LangTaiwan, "可用記憶體太少, 無法執行VLX."}}) {
        FakePlatform platform;
        Workspace ws;
        ws.platform = &platform;
        ws.screenLanguage = lang;
        ::setenv("ORX_BLOCK_BYTES", "15999999", 1);
        EXPECT_FALSE(startWorkspace(ws));
        ::unsetenv("ORX_BLOCK_BYTES");
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0], text);
        EXPECT_EQ(platform.beeps, 1);
    }
    // The smallest block that is allowed.
    TestWorkspace t(16'000'000);
    EXPECT_EQ(t.ws.planeCapacity, 2'000'000u);
    EXPECT_TRUE(t.platform.messages.empty());
}

TEST(ImageBlock, ProbeTakesTotalMemoryLessWholeStepsWithinWhatIsAvailable)
{
    if (kUnderAsan) GTEST_SKIP() << "a block of all free memory is too much for the sanitizer's shadow";
    FakePlatform platform;
    Workspace ws;
    ws.platform = &platform;
    ws.screenLanguage = LangEnglish;
    ::unsetenv("ORX_BLOCK_BYTES");
    ASSERT_TRUE(startWorkspace(ws));
    EXPECT_GT(ws.totalRam, 0u);
    EXPECT_GE(ws.blockSize, kMinBlockBytes);
    EXPECT_LE(ws.blockSize, ws.availableRam);
    EXPECT_EQ((ws.totalRam - ws.blockSize) % kBlockStepBytes, 0u);
    // The next larger trial size would have been above the available memory.
    EXPECT_GT(ws.blockSize + kBlockStepBytes, std::min(ws.availableRam, ws.totalRam));
}

TEST(PlaneLayout, PlanesTouchWithoutGaps)
{
    TestWorkspace t;
    layoutPlanes(t.ws, 1, 1);
    uint8_t* b = t.ws.block.get();
    EXPECT_EQ(t.ws.secondImage - b, 3);
    EXPECT_EQ(t.ws.mask - b, 6);
    EXPECT_EQ(t.ws.maskBackup - b, 7);
    EXPECT_EQ(t.ws.tempImage - b, 8);
    EXPECT_EQ(t.ws.imageRowBytes, 3u);

    layoutPlanes(t.ws, 640, 480);
    const uint64_t n = 640 * 480;
    EXPECT_EQ(uint64_t(t.ws.tempImage - b), 8 * n);
    EXPECT_EQ(t.ws.tempInMemory, 1);
}

TEST(PlaneLayout, TempCopyLeavesTheBlockWhenElevenBytesAPixelDoNotFit)
{
    TestWorkspace t(16'000'000);
    // 1,600,000 pixels: 8N = 12.8 MB fits, 11N = 17.6 MB does not.
    ASSERT_TRUE(imageFits(t.ws, 1600, 1000));
    layoutPlanes(t.ws, 1600, 1000);
    EXPECT_EQ(t.ws.tempInMemory, 0);
    layoutPlanes(t.ws, 1000, 1000);  // 11 MB
    EXPECT_EQ(t.ws.tempInMemory, 1);
    EXPECT_FALSE(imageFits(t.ws, 2001, 1000));
    EXPECT_FALSE(imageFits(t.ws, 0, 10));
    EXPECT_FALSE(imageFits(t.ws, -5, 10));
}

TEST(DisplayBuffer, StrideIsPaddedToFourBytes)
{
    TestWorkspace t;
    setDisplaySize(t.ws, 801, 600);
    EXPECT_EQ(t.ws.displayStride, 2404);
    EXPECT_EQ(t.ws.displayBytes, 1'442'400u);
    EXPECT_EQ(t.ws.displayRowOffset[599], 2404u * 599);
    // A client area larger than the buffer is limited to what fits.
    setDisplaySize(t.ws, 2560, 1600);
    EXPECT_EQ(t.ws.displayStride, 7680);
    EXPECT_LE(t.ws.displayBytes, kDisplayBytes);
    EXPECT_EQ(t.ws.displayHeight, int(kDisplayBytes / 7680));
}

TEST(DisplayBuffer, SaveAndRestoreARectangle)
{
    TestWorkspace t;
    setDisplaySize(t.ws, 10, 10);
    fillDisplay(t.ws, 7);
    saveDisplay(t.ws);
    fillDisplay(t.ws, 0);
    restoreDisplayRect(t.ws, {8, 2, 12, 3});  // clipped at the right edge
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const uint8_t want = (x >= 8 && y >= 2 && y <= 3) ? 7 : 0;
            ASSERT_EQ(t.ws.RS[t.ws.displayRowOffset[y] + 3 * x], want) << x << "," << y;
        }
    restoreDisplay(t.ws);
    EXPECT_EQ(t.ws.RS[0], 7);
}

TEST(MaskPlane, ClearAndInvert)
{
    TestWorkspace t;
    test::fillPattern(t.ws, 4, 3);
    t.ws.mask[0] = 255;
    t.ws.mask[5] = 10;
    invertMask(t.ws);
    EXPECT_EQ(t.ws.mask[0], 0);
    EXPECT_EQ(t.ws.mask[5], 245);
    EXPECT_EQ(t.ws.mask[11], 255);
    clearMask(t.ws);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(t.ws.mask[i], 0);
}

TEST(NewImage, WhiteAndLaidOut)
{
    TestWorkspace t;
    ASSERT_TRUE(newImage(t.ws, 30, 20));
    EXPECT_EQ(t.ws.imageWidth, 30);
    for (uint64_t i = 0; i < imageBytes(t.ws); ++i) ASSERT_EQ(t.ws.image[i], 255);
    EXPECT_FALSE(newImage(t.ws, 100000, 100000));
    EXPECT_EQ(t.ws.imageWidth, 30);
}

const uint8_t* px(const Workspace& ws, int x, int y) { return ws.image + (uint64_t(y) * ws.imageWidth + x) * 3; }

TEST(HalveImage, AveragesTwoByTwoAndDropsTheOddEdge)
{
    TestWorkspace t;
    test::fillPattern(t.ws, 5, 3);
    std::vector<uint8_t> before(t.ws.image, t.ws.image + imageBytes(t.ws));
    auto old = [&](int x, int y, int c) { return before[(y * 5 + x) * 3 + c]; };
    // Mask: one 255 in the first block (sum 255, selected); 100 + 100 in the
    // second (sum 200, not selected).
    t.ws.mask[0] = 255;
    t.ws.mask[2] = 100;
    t.ws.mask[8] = 100;
    halveImage(t.ws);
    ASSERT_EQ(t.ws.imageWidth, 2);
    ASSERT_EQ(t.ws.imageHeight, 1);
    for (int x = 0; x < 2; ++x)
        for (int c = 0; c < 3; ++c) {
            int sum = old(2 * x, 0, c) + old(2 * x + 1, 0, c) + old(2 * x, 1, c) + old(2 * x + 1, 1, c);
            EXPECT_EQ(px(t.ws, x, 0)[c], sum / 4);
        }
    EXPECT_EQ(t.ws.mask[0], 255);
    EXPECT_EQ(t.ws.mask[1], 0);
    EXPECT_EQ(t.ws.secondImage, t.ws.image + 6);

    // A one-pixel-high image has nothing to halve into and stays.
    test::fillPattern(t.ws, 7, 1);
    halveImage(t.ws);
    EXPECT_EQ(t.ws.imageWidth, 7);
}

TEST(RotateImage, QuarterTurnsMoveEveryPixelAndItsMask)
{
    TestWorkspace t;
    test::fillPattern(t.ws, 4, 3);
    t.ws.mask[1] = 255;  // old pixel (1, 0)
    std::vector<uint8_t> before(t.ws.image, t.ws.image + imageBytes(t.ws));
    rotateImage(t.ws, true);
    ASSERT_EQ(t.ws.imageWidth, 3);
    ASSERT_EQ(t.ws.imageHeight, 4);
    // Clockwise: new (x, y) = old (y, H - 1 - x) with the old H = 3.
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 3; ++x)
            ASSERT_EQ(0, std::memcmp(px(t.ws, x, y), &before[((2 - x) * 4 + y) * 3], 3)) << x << "," << y;
    EXPECT_EQ(t.ws.mask[1 * 3 + 2], 255);  // old (1, 0) is new (2, 1)
    rotateImage(t.ws, false);
    ASSERT_EQ(t.ws.imageWidth, 4);
    EXPECT_EQ(0, std::memcmp(t.ws.image, before.data(), before.size()));
    EXPECT_EQ(t.ws.mask[1], 255);
}

TEST(MirrorImage, BothWaysAndBackAgain)
{
    TestWorkspace t;
    test::fillPattern(t.ws, 5, 4);
    t.ws.mask[0] = 255;
    std::vector<uint8_t> before(t.ws.image, t.ws.image + imageBytes(t.ws));
    mirrorImage(t.ws, true);
    EXPECT_EQ(0, std::memcmp(px(t.ws, 4, 2), &before[(2 * 5 + 0) * 3], 3));
    EXPECT_EQ(t.ws.mask[4], 255);
    mirrorImage(t.ws, true);
    mirrorImage(t.ws, false);
    EXPECT_EQ(0, std::memcmp(px(t.ws, 1, 3), &before[(0 * 5 + 1) * 3], 3));
    EXPECT_EQ(t.ws.mask[15], 255);
    mirrorImage(t.ws, false);
    EXPECT_EQ(0, std::memcmp(t.ws.image, before.data(), before.size()));
}

}  // namespace
}  // namespace orx
