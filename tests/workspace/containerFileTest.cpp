#include <cstring>

#include <gtest/gtest.h>

#include "support/testSupport.h"
#include "workspace/containerFile.h"
#include "workspace/thumbnail.h"

namespace orx {
namespace {

using test::readFileBytes;
using test::TempDir;
using test::TestWorkspace;
using test::writeFileBytes;

uint32_t le32(const std::vector<uint8_t>& b, size_t o)
{
    return uint32_t(b[o]) | uint32_t(b[o + 1]) << 8 | uint32_t(b[o + 2]) << 16 | uint32_t(b[o + 3]) << 24;
}
int16_t le16(const std::vector<uint8_t>& b, size_t o) { return int16_t(b[o] | b[o + 1] << 8); }

std::vector<uint8_t> imageCopy(const Workspace& ws) { return {ws.image, ws.image + imageBytes(ws)}; }

TEST(ContainerFile, MaterialHeaderByteByByte)
{
    TestWorkspace t;
    TempDir dir;
    test::fillPattern(t.ws, 100, 50);
    ASSERT_TRUE(saveLinkFile(t.ws, dir.path("M.CLO")));
    auto f = readFileBytes(dir.path("M.CLO"));
    ASSERT_EQ(f.size(), 27'856u);
    EXPECT_EQ(std::string(f.begin(), f.begin() + 47), "KOVA IMAGING SYSTEMS CO., LTD. DynamicLinkImage");
    EXPECT_EQ(f[47], 0);
    EXPECT_EQ(le16(f, 64), 1);
    EXPECT_EQ(le32(f, 66), 100u);
    EXPECT_EQ(le32(f, 70), 50u);
    EXPECT_EQ(le32(f, 74), 256u);
    EXPECT_EQ(le32(f, 78), 15'000u);
    EXPECT_EQ(le16(f, 82), 100);
    EXPECT_EQ(le16(f, 84), 100);
    EXPECT_EQ(le16(f, 86), 70);
    EXPECT_EQ(le16(f, 88), 60);
    EXPECT_EQ(le32(f, 90), 15'256u);
    EXPECT_EQ(le32(f, 94), 12'600u);
    EXPECT_EQ(le32(f, 98), 27'856u);
    EXPECT_EQ(f[105], 1);
    EXPECT_EQ(f[106], 1);
    for (size_t i : {48u, 102u, 104u, 107u, 109u, 110u, 200u, 255u}) EXPECT_EQ(f[i], 0) << i;
    EXPECT_EQ(0, std::memcmp(f.data() + 256, t.ws.image, 15'000));
    makeThumbnail(t.ws);
    EXPECT_EQ(0, std::memcmp(f.data() + 15'256, t.ws.thumbBuffer, kThumbBytes));
}

TEST(ContainerFile, ModelCarriesItsAreaAndTheWholeImage)
{
    TestWorkspace t;
    TempDir dir;
    test::fillPattern(t.ws, 800, 600);
    ASSERT_TRUE(saveModelFile(t.ws, dir.path("A.MDL"), 10, 20, 300, 400));
    auto f = readFileBytes(dir.path("A.MDL"));
    EXPECT_EQ(std::string(f.begin(), f.begin() + 39), "KOVA IMAGING SYSTEMS CO., LTD. MDL file");
    EXPECT_EQ(f[39], 0);
    const int16_t want[8] = {10, 20, 300, 400, 0, 0, 799, 599};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(le16(f, 41 + 2 * i), want[i]) << i;

    TestWorkspace u;
    ASSERT_TRUE(loadModel(u.ws, dir.path("A.MDL")));
    EXPECT_EQ(u.ws.imageWidth, 800);
    EXPECT_EQ(u.ws.modelArea[2], 300);
    EXPECT_EQ(u.ws.modelPath, dir.path("A.MDL"));
    EXPECT_EQ(imageCopy(u.ws), imageCopy(t.ws));
    EXPECT_EQ(0, std::memcmp(u.ws.secondImage, u.ws.image, imageBytes(u.ws)));
    EXPECT_EQ(u.ws.OFSTBUF[599], 599u * 2400);
}

TEST(ContainerFile, RegionSaveHoldsTheRectangleAndItsThumbnail)
{
    TestWorkspace t;
    TempDir dir;
    test::fillPattern(t.ws, 40, 30);
    // Dragged from bottom-right to top-left: the same rectangle.
    ASSERT_TRUE(saveLinkRegion(t.ws, dir.path("R.PRT"), 14, 9, 5, 5));
    auto f = readFileBytes(dir.path("R.PRT"));
    ASSERT_EQ(f.size(), 256u + 150u + 12'600u);
    EXPECT_EQ(le32(f, 66), 10u);
    EXPECT_EQ(le32(f, 70), 5u);
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(0, std::memcmp(f.data() + 256 + r * 30, t.ws.image + ((5 + r) * 40 + 5) * 3, 30)) << r;
    const uint8_t* thumb = f.data() + 256 + 150;
    EXPECT_EQ(0, std::memcmp(thumb, t.ws.image + (5 * 40 + 5) * 3, 30));  // first row copied
    EXPECT_EQ(thumb[30], 200);                                              // grey beside it
    EXPECT_EQ(thumb[5 * 210], 200);                                         // grey below it
}

// A file in the library's order: header, thumbnail, then the pixels.
std::vector<uint8_t> libraryOrder(const std::vector<uint8_t>& local, uint32_t w, uint32_t h)
{
    const size_t pixels = size_t(w) * h * 3;
    std::vector<uint8_t> out(local.begin(), local.begin() + 256);
    out.insert(out.end(), local.begin() + 256 + pixels, local.end());
    out.insert(out.end(), local.begin() + 256, local.begin() + 256 + pixels);
    auto put = [&](size_t o, uint32_t v) {
        for (int i = 0; i < 4; ++i) out[o + i] = uint8_t(v >> (8 * i));
    };
    put(74, 256 + 12'600);
    put(90, 256);
    return out;
}

TEST(ContainerFile, BothPixelOrdersReadTheSamePicture)
{
    TestWorkspace t;
    TempDir dir;
    test::fillPattern(t.ws, 33, 21);
    ASSERT_TRUE(saveLinkFile(t.ws, dir.path("L.CLO")));
    writeFileBytes(dir.path("W.CLO"), libraryOrder(readFileBytes(dir.path("L.CLO")), 33, 21));
    for (const char* name : {"L.CLO", "W.CLO"}) {
        TestWorkspace u;
        ASSERT_TRUE(openContainerImage(u.ws, dir.path(name))) << name;
        EXPECT_EQ(imageCopy(u.ws), imageCopy(t.ws)) << name;
        EXPECT_EQ(u.ws.maskVisible, 0);
    }
}

TEST(ContainerFile, DamagedHeadersAreRefusedAndTheWorkspaceKept)
{
    TempDir dir;
    TestWorkspace maker;
    test::fillPattern(maker.ws, 20, 10);
    ASSERT_TRUE(saveLinkFile(maker.ws, dir.path("G.CLO")));
    const auto good = readFileBytes(dir.path("G.CLO"));
    auto with32 = [&](size_t o, uint32_t v) {
        auto b = good;
        for (int i = 0; i < 4; ++i) b[o + i] = uint8_t(v >> (8 * i));
        return b;
    };
    // A whole file of 2000 x 1001 pixels: more than a 16 MB block holds.
    auto tooLarge = with32(66, 2000);
    for (int i = 0; i < 4; ++i) tooLarge[70 + i] = uint8_t(1001 >> (8 * i));
    tooLarge.resize(256 + 2000 * 1001 * 3 + 12'600);
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        const char* message;
    } cases[] = {
        {"short header", std::vector<uint8_t>(good.begin(), good.begin() + 100), "incomplete"},
        {"zero width", with32(66, 0), "invalid image size"},
        {"negative height", with32(70, uint32_t(-3)), "invalid image size"},
        {"pixels beyond the end", with32(74, 20'000), "incomplete"},
        {"offset inside the header", with32(74, 10), "damaged header"},
        {"truncated pixels", std::vector<uint8_t>(good.begin(), good.begin() + 700), "incomplete"},
        {"larger than the block", tooLarge, "RAM too small"},
        // Text that is no container: its "sizes" do not fit the file.
        {"not a container", std::vector<uint8_t>(4000, 'x'), "damaged header"},
    };
    for (auto& c : cases) {
        TestWorkspace t(16'000'000);
        test::fillPattern(t.ws, 7, 3);
        auto before = imageCopy(t.ws);
        writeFileBytes(dir.path("B.CLO"), c.bytes);
        EXPECT_FALSE(openContainerImage(t.ws, dir.path("B.CLO"))) << c.what;
        EXPECT_FALSE(loadModel(t.ws, dir.path("B.CLO"))) << c.what;
        EXPECT_EQ(t.ws.imageWidth, 7) << c.what;
        EXPECT_EQ(imageCopy(t.ws), before) << c.what;
        ASSERT_FALSE(t.platform.messages.empty()) << c.what;
        EXPECT_NE(t.platform.messages[0].find(c.message), std::string::npos) << c.what << ": " << t.platform.messages[0];
    }
}

TEST(ContainerFile, ASaveThatCannotBeCreatedSaysSo)
{
    TestWorkspace t;
    test::fillPattern(t.ws, 5, 5);
    EXPECT_FALSE(saveLinkFile(t.ws, "/nonexistent-dir/X.CLO"));
    EXPECT_TRUE(t.platform.said("Can not open /nonexistent-dir/X.CLO file."));
    EXPECT_EQ(t.platform.beeps, 1);
}

}  // namespace
}  // namespace orx
