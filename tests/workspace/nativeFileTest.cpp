#include <cstring>
#include <fstream>

#include <gtest/gtest.h>

#include "support/testSupport.h"
#include "workspace/langText.h"
#include "workspace/nativeFile.h"
#include "workspace/thumbnail.h"

namespace orx {
namespace {

using test::readFileBytes;
using test::TempDir;
using test::TestWorkspace;
using test::writeFileBytes;

std::vector<uint8_t> imageCopy(const Workspace& ws) { return {ws.image, ws.image + imageBytes(ws)}; }

TEST(RgbFile, OnePixelImageAndItsCompanion)
{
    TestWorkspace t;
    TempDir dir;
    layoutPlanes(t.ws, 1, 1);
    t.ws.image[0] = 10, t.ws.image[1] = 20, t.ws.image[2] = 30;
    ASSERT_TRUE(saveRGB(t.ws, dir.path("A.RGB")));
    EXPECT_EQ(readFileBytes(dir.path("A.RGB")), (std::vector<uint8_t>{10, 20, 30}));
    auto ipr = readFileBytes(dir.path("A.IPR"));
    ASSERT_EQ(ipr.size(), 30u + 12'600u);
    EXPECT_STREQ(reinterpret_cast<const char*>(ipr.data()), "1 1 0 0");
    for (size_t i = 7; i < 30; ++i) EXPECT_EQ(ipr[i], 0) << i;
    EXPECT_EQ(ipr[30], 10);
    EXPECT_EQ(ipr[31], 20);
    EXPECT_EQ(ipr[32], 30);
    for (size_t i = 33; i < ipr.size(); ++i) ASSERT_EQ(ipr[i], 200) << i;
}

TEST(RgbFile, RoundTripAndOpenWithItsMask)
{
    TestWorkspace t;
    TempDir dir;
    test::fillPattern(t.ws, 37, 23);
    auto original = imageCopy(t.ws);
    t.ws.mask[5] = 255;
    ASSERT_TRUE(saveRGB(t.ws, dir.path("P.RGB")));
    ASSERT_TRUE(saveMSK(t.ws, dir.path("P.MSK"), t.ws.mask, 37, 23));

    TestWorkspace u;
    ASSERT_TRUE(openRGBImage(u.ws, dir.path("P.RGB")));
    EXPECT_EQ(u.ws.imageWidth, 37);
    EXPECT_EQ(u.ws.imageHeight, 23);
    EXPECT_EQ(u.ws.imageLoaded, 1);
    EXPECT_EQ(imageCopy(u.ws), original);
    EXPECT_EQ(u.ws.maskVisible, 1);
    EXPECT_EQ(u.ws.mask[5], 255);
    EXPECT_EQ(u.ws.mask[4], 0);
    EXPECT_TRUE(u.platform.messages.empty());
}

TEST(RgbFile, AMaskOfAnotherSizeIsClearedAndHidden)
{
    TestWorkspace t;
    TempDir dir;
    test::fillPattern(t.ws, 8, 8);
    ASSERT_TRUE(saveRGB(t.ws, dir.path("Q.RGB")));
    std::memset(t.ws.mask, 255, 64);
    ASSERT_TRUE(saveMSK(t.ws, dir.path("Q.MSK"), t.ws.mask, 8, 7));
    TestWorkspace u;
    u.ws.maskVisible = 1;
    ASSERT_TRUE(openRGBImage(u.ws, dir.path("Q.RGB")));
    EXPECT_EQ(u.ws.maskVisible, 0);
    for (int i = 0; i < 64; ++i) ASSERT_EQ(u.ws.mask[i], 0);
}

TEST(RgbFile, LargeImagesAreWrittenRowByRowToTheSameBytes)
{
    TestWorkspace t(180'000'000);
    TempDir dir;
    test::fillPattern(t.ws, 4000, 5334);  // 64,008,000 bytes
    ASSERT_GT(imageBytes(t.ws), 64'000'000u);
    ASSERT_TRUE(saveRGB(t.ws, dir.path("BIG.RGB")));
    auto bytes = readFileBytes(dir.path("BIG.RGB"));
    ASSERT_EQ(bytes.size(), imageBytes(t.ws));
    EXPECT_EQ(0, std::memcmp(bytes.data(), t.ws.image, bytes.size()));
}

struct BadRgb {
    const char* what;
    std::string companion;
    size_t rawBytes;
    const char* message;  // nullptr: refused without a message
};

TEST(RgbFile, BadInputIsRefusedAndTheWorkspaceKept)
{
    auto pad = [](std::string s) {
        s.resize(30 + 12'600, '\0');
        return s;
    };
    const BadRgb cases[] = {
        {"companion missing", "", 12, "X.IPR file."},
        {"no numbers", pad("abc"), 12, "gives an invalid image size"},
        {"zero width", pad("0 4 0 0"), 12, "gives an invalid image size"},
        {"negative height", pad("4 -4 0 0"), 12, "gives an invalid image size"},
        {"huge width", pad("99999999999 4 0 0"), 12, "gives an invalid image size"},
        {"raw too short", pad("4 4 0 0"), 47, "incomplete or damaged"},
        {"larger than the block", pad("30000 30000 0 0"), 12, "RAM too small"},
    };
    for (const BadRgb& c : cases) {
        TestWorkspace t;
        TempDir dir;
        test::fillPattern(t.ws, 6, 5);
        auto before = imageCopy(t.ws);
        writeFileBytes(dir.path("X.RGB"), std::vector<uint8_t>(c.rawBytes, 9));
        if (!c.companion.empty())
            writeFileBytes(dir.path("X.IPR"), std::vector<uint8_t>(c.companion.begin(), c.companion.end()));
        EXPECT_FALSE(openRGBImage(t.ws, dir.path("X.RGB"))) << c.what;
        EXPECT_EQ(t.ws.imageWidth, 6) << c.what;
        EXPECT_EQ(imageCopy(t.ws), before) << c.what;
        if (c.message) {
            ASSERT_EQ(t.platform.messages.size(), 1u) << c.what;
            EXPECT_NE(t.platform.messages[0].find(c.message), std::string::npos) << t.platform.messages[0];
        } else {
            EXPECT_TRUE(t.platform.messages.empty()) << c.what;
        }
    }
}

TEST(RgbFile, ARawFileThatCannotBeOpenedIsReported)
{
    TestWorkspace t;
    TempDir dir;
    std::string ipr = "2 2 0 0";
    ipr.resize(30);
    writeFileBytes(dir.path("N.IPR"), std::vector<uint8_t>(ipr.begin(), ipr.end()));
    EXPECT_FALSE(openRGBImage(t.ws, dir.path("N.RGB")));
    ASSERT_EQ(t.platform.messages.size(), 1u);
    EXPECT_EQ(t.platform.messages[0], "Can not open " + dir.path("N.RGB") + " file.");
    EXPECT_EQ(t.platform.beeps, 1);
}

TEST(RgbFile, SaveFailureIsReportedAndLeavesNoFile)
{
    TestWorkspace t;
    TempDir dir;
    test::fillPattern(t.ws, 3, 3);
    EXPECT_FALSE(saveRGB(t.ws, dir.path("no/such/dir/A.RGB")));
    ASSERT_EQ(t.platform.messages.size(), 1u);
    EXPECT_EQ(t.platform.messages[0].rfind("File could not be opened error ", 0), 0u);
    EXPECT_TRUE(std::filesystem::is_empty(dir.dir()));
}

// ---- thumbnails

TEST(Thumbnail, SmallImagesAreCopiedAndLargerOnesSampled)
{
    TestWorkspace t;
    // 70 x 60 copies unchanged.
    test::fillPattern(t.ws, 70, 60);
    makeThumbnail(t.ws);
    EXPECT_EQ(0, std::memcmp(t.ws.thumbBuffer, t.ws.image, kThumbBytes));

    // 71 x 60: width rule (71 * 60 > 60 * 70), factor 2, 35 x 30 top-left samples.
    test::fillPattern(t.ws, 71, 60);
    makeThumbnail(t.ws);
    for (int j = 0; j < 60; ++j)
        for (int i = 0; i < 70; ++i) {
            const uint8_t* cell = t.ws.thumbBuffer + (j * 70 + i) * 3;
            if (i < 35 && j < 30) {
                ASSERT_EQ(0, std::memcmp(cell, t.ws.image + ((2 * j) * 71 + 2 * i) * 3, 3)) << i << "," << j;
            } else {
                ASSERT_EQ(cell[0], 200);
                ASSERT_EQ(cell[2], 200);
            }
        }

    // 700 x 600: equal ratios take the height rule, f = 11, 63 x 54 cells of
    // the 4 x 4 average at each block's top left.
    test::fillPattern(t.ws, 700, 600);
    makeThumbnail(t.ws);
    auto avg = [&](int i, int j, int c) {
        int sum = 0;
        for (int dy = 0; dy < 4; ++dy)
            for (int dx = 0; dx < 4; ++dx) sum += t.ws.image[((j * 11 + dy) * 700 + i * 11 + dx) * 3 + c];
        return sum / 16;
    };
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(t.ws.thumbBuffer[(0 * 70 + 0) * 3 + c], avg(0, 0, c));
        EXPECT_EQ(t.ws.thumbBuffer[(53 * 70 + 62) * 3 + c], avg(62, 53, c));
    }
    EXPECT_EQ(t.ws.thumbBuffer[(53 * 70 + 63) * 3], 200);
    EXPECT_EQ(t.ws.thumbBuffer[(54 * 70 + 0) * 3], 200);
}

TEST(MaskFile, PackingIsMostSignificantBitFirst)
{
    TestWorkspace t;
    TempDir dir;
    test::fillPattern(t.ws, 9, 2);
    t.ws.mask[8] = 255;       // row 0, pixel 8: bit 7 of the second byte
    t.ws.mask[0] = 254;       // not set
    t.ws.mask[9 + 1] = 255;   // row 1, pixel 1: bit 6 of the first byte
    ASSERT_TRUE(saveMSK(t.ws, dir.path("M.MSK"), t.ws.mask, 9, 2));
    EXPECT_EQ(readFileBytes(dir.path("M.MSK")), (std::vector<uint8_t>{0x00, 0x80, 0x40, 0x00}));
    auto mpr = readFileBytes(dir.path("M.MPR"));
    ASSERT_EQ(mpr.size(), 30u + 4'200u);
    EXPECT_STREQ(reinterpret_cast<const char*>(mpr.data()), "9 2");
    // A mask smaller than the thumbnail is sampled pixel for pixel.
    EXPECT_EQ(mpr[30 + 8], 1);
    EXPECT_EQ(mpr[30 + 0], 0);
    EXPECT_EQ(mpr[30 + 70 + 1], 1);

    TestWorkspace u;
    layoutPlanes(u.ws, 9, 2);
    ASSERT_TRUE(loadMSK(u.ws, dir.path("M.MSK"), u.ws.mask));
    std::vector<uint8_t> want(18, 0);
    want[8] = 255;
    want[10] = 255;
    EXPECT_EQ(std::vector<uint8_t>(u.ws.mask, u.ws.mask + 18), want);
}

TEST(MaskFile, ThumbnailUsesThePlainRatioWithoutOverflowing)
{
    std::vector<uint8_t> mask(140 * 30, 0), thumb(kMaskThumbBytes);
    mask[0] = 255;
    mask[2] = 255;                // sampled: f = max(2, 0) = 2, cell 1
    mask[140 * 2 + 4] = 255;      // cell (2, 1)
    makeMaskThumbnail(mask.data(), 140, 30, thumb.data());
    EXPECT_EQ(thumb[0], 1);
    EXPECT_EQ(thumb[1], 1);
    EXPECT_EQ(thumb[70 + 2], 1);
    EXPECT_EQ(std::count(thumb.begin(), thumb.end(), 1), 3);
    // 139 x 300: f = max(1, 5) = 5 gives 27 x 60 cells; no cell beyond 70 x 60.
    std::vector<uint8_t> tall(139 * 300, 255);
    makeMaskThumbnail(tall.data(), 139, 300, thumb.data());
    EXPECT_EQ(thumb[59 * 70 + 26], 1);
    EXPECT_EQ(thumb[59 * 70 + 27], 0);
}

TEST(MaskFile, OpeningAMaskWithoutAnImageMakesAWhiteImage)
{
    TestWorkspace t;
    TempDir dir;
    test::fillPattern(t.ws, 10, 4);
    t.ws.mask[13] = 255;
    ASSERT_TRUE(saveMSK(t.ws, dir.path("S.MSK"), t.ws.mask, 10, 4));

    TestWorkspace u;
    ASSERT_TRUE(openMSKFile(u.ws, dir.path("S.MSK")));
    EXPECT_EQ(u.ws.imageWidth, 10);
    EXPECT_EQ(u.ws.maskVisible, 1);
    for (uint64_t i = 0; i < imageBytes(u.ws); ++i) ASSERT_EQ(u.ws.image[i], 255);
    EXPECT_EQ(u.ws.mask[13], 255);
    EXPECT_EQ(u.ws.mask[12], 0);

    // With an image of another size the mask is refused and nothing changes.
    test::fillPattern(u.ws, 11, 4);
    EXPECT_FALSE(openMSKFile(u.ws, dir.path("S.MSK")));
    EXPECT_EQ(u.ws.imageWidth, 11);
    EXPECT_EQ(u.ws.mask[13], 0);
}

TEST(MaskFile, TooLargeOrTruncatedMasksAreRefusedBeforeAnyLayout)
{
    TestWorkspace t(16'000'000);
    TempDir dir;
    test::fillPattern(t.ws, 5, 5);
    std::string mpr = "3000 3000";
    mpr.resize(30 + 4200);
    writeFileBytes(dir.path("L.MPR"), std::vector<uint8_t>(mpr.begin(), mpr.end()));
    writeFileBytes(dir.path("L.MSK"), std::vector<uint8_t>(375 * 3000, 0xff));
    t.ws.imageLoaded = 0;
    EXPECT_FALSE(openMSKFile(t.ws, dir.path("L.MSK")));
    EXPECT_EQ(t.ws.imageWidth, 5);
    EXPECT_TRUE(t.platform.said("RAM too small"));

    mpr = "16 4";
    mpr.resize(30 + 4200);
    writeFileBytes(dir.path("T.MPR"), std::vector<uint8_t>(mpr.begin(), mpr.end()));
    writeFileBytes(dir.path("T.MSK"), std::vector<uint8_t>(7, 0xff));  // needs 8
    EXPECT_FALSE(openMSKFile(t.ws, dir.path("T.MSK")));
    EXPECT_EQ(t.ws.imageWidth, 5);
    EXPECT_TRUE(t.platform.said("incomplete or damaged"));
}

TEST(MaskFile, ClippedLoadCutsOrFillsTheTopLeft)
{
    TestWorkspace t;
    TempDir dir;
    // A 12 x 3 mask, every pixel set.
    test::fillPattern(t.ws, 12, 3);
    std::memset(t.ws.mask, 255, 36);
    ASSERT_TRUE(saveMSK(t.ws, dir.path("W.MSK"), t.ws.mask, 12, 3));

    // Into a 5 x 6 image: rows 0..2 columns 0..4 set, the rest unchanged (7).
    test::fillPattern(t.ws, 5, 6);
    std::memset(t.ws.mask, 7, 30);
    ASSERT_TRUE(loadMSKClipped(t.ws, dir.path("W.MSK"), t.ws.mask));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 5; ++x) ASSERT_EQ(t.ws.mask[y * 5 + x], y < 3 ? 255 : 7) << x << "," << y;

    // Into a 20 x 2 image: the first 12 columns of 2 rows.
    test::fillPattern(t.ws, 20, 2);
    ASSERT_TRUE(loadMSKClipped(t.ws, dir.path("W.MSK"), t.ws.mask));
    for (int x = 0; x < 20; ++x) EXPECT_EQ(t.ws.mask[20 + x], x < 12 ? 255 : 0);
    EXPECT_FALSE(loadMSKClipped(t.ws, dir.path("none.MSK"), t.ws.mask));
    EXPECT_TRUE(t.platform.said("Can not open"));
}

TEST(PasteFile, WeightedBlendClippedToTheImageAndTheMask)
{
    TestWorkspace t;
    TempDir dir;
    layoutPlanes(t.ws, 4, 4);
    std::memset(t.ws.image, 200, imageBytes(t.ws));
    ASSERT_TRUE(saveRGB(t.ws, dir.path("B.RGB")));  // a 4 x 4 file of 200

    layoutPlanes(t.ws, 5, 5);
    std::memset(t.ws.image, 10, imageBytes(t.ws));
    clearMask(t.ws);
    t.ws.mask[4 * 5 + 4] = 255;
    t.ws.maskVisible = 1;
    // Placed at (2, 2): only the 3 x 3 that lands inside changes.
    ASSERT_TRUE(pasteRGBFile(t.ws, dir.path("B.RGB"), 2, 2, 128));
    const int blended = (10 * 127 + 200 * 128) / 255;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            int want = (x >= 2 && y >= 2 && !(x == 4 && y == 4)) ? blended : 10;
            ASSERT_EQ(t.ws.image[(y * 5 + x) * 3 + 1], want) << x << "," << y;
        }
    // Negative positions clip at the top-left; wholly outside does nothing.
    ASSERT_TRUE(pasteRGBFile(t.ws, dir.path("B.RGB"), -3, -3, 255));
    EXPECT_EQ(t.ws.image[0], 200);
    EXPECT_EQ(t.ws.image[3], 10);
    ASSERT_TRUE(pasteRGBFile(t.ws, dir.path("B.RGB"), 9, 0, 255));
    ASSERT_TRUE(pasteRGBFile(t.ws, dir.path("B.RGB"), 0, -4, 255));
    EXPECT_EQ(t.ws.image[3], 10);
}

TEST(TempImage, GoesToAFileWhenTheBlockHasNoRoom)
{
    TestWorkspace t(16'000'000);
    TempDir dir;
    t.ws.WORKDIR = dir.dir().string();
    test::fillPattern(t.ws, 1600, 1000);
    ASSERT_EQ(t.ws.tempInMemory, 0);
    auto original = imageCopy(t.ws);
    ASSERT_TRUE(saveTempImage(t.ws));
    EXPECT_TRUE(fileExists(dir.path("VLXTEMP.RGB")));
    EXPECT_TRUE(fileExists(dir.path("VLXTEMP.IPR")));
    std::memset(t.ws.image, 0, imageBytes(t.ws));
    ASSERT_TRUE(restoreTempImage(t.ws));
    EXPECT_EQ(imageCopy(t.ws), original);

    TestWorkspace m;
    test::fillPattern(m.ws, 50, 40);
    ASSERT_EQ(m.ws.tempInMemory, 1);
    original = imageCopy(m.ws);
    saveTempImage(m.ws);
    std::memset(m.ws.image, 0, imageBytes(m.ws));
    restoreTempImage(m.ws);
    EXPECT_EQ(imageCopy(m.ws), original);
}

}  // namespace
}  // namespace orx
