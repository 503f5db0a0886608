#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

#include "support/pictureFixtures.h"
#include "support/testSupport.h"
#include "workspace/bitmapFile.h"

namespace orx {
namespace {

using test::readFileBytes;
using test::TempDir;
using test::TestWorkspace;
using test::writeFileBytes;

void put32(std::vector<uint8_t>& b, size_t o, uint32_t v)
{
    for (int i = 0; i < 4; ++i) b[o + i] = uint8_t(v >> (8 * i));
}

// A bitmap header for the reader tests; pixel bytes are appended by the caller.
std::vector<uint8_t> bmpHeader(int32_t w, int32_t h, int bits, uint32_t paletteEntries, uint32_t compression = 0)
{
    std::vector<uint8_t> b(54 + paletteEntries * 4, 0);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 10, uint32_t(b.size()));
    put32(b, 14, 40);
    put32(b, 18, uint32_t(w));
    put32(b, 22, uint32_t(h));
    b[26] = 1;
    b[28] = uint8_t(bits);
    put32(b, 30, compression);
    put32(b, 46, paletteEntries);
    return b;
}

TEST(Bitmap, ThreeByTwoIsSeventyEightBytesBottomRowFirst)
{
    TestWorkspace t;
    TempDir dir;
    test::fillPattern(t.ws, 3, 2);
    ASSERT_TRUE(writeBMP(t.ws, dir.path("A.BMP"), t.ws.image, 3, 2));
    auto f = readFileBytes(dir.path("A.BMP"));
    ASSERT_EQ(f.size(), 78u);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[2], 78);
    EXPECT_EQ(f[10], 54);
    EXPECT_EQ(f[14], 40);
    EXPECT_EQ(f[28], 24);
    EXPECT_EQ(f[34], 24);
    EXPECT_EQ(f[38] | f[39] << 8, 3780);
    // Stored row 0 is image row 1, bytes reversed, then three zero bytes.
    const uint8_t* bottom = t.ws.image + 3 * 3;
    EXPECT_EQ(f[54], bottom[2]);
    EXPECT_EQ(f[55], bottom[1]);
    EXPECT_EQ(f[56], bottom[0]);
    EXPECT_EQ(f[63], 0);
    EXPECT_EQ(f[65], 0);

    TestWorkspace u;
    ASSERT_TRUE(openBMPImage(u.ws, dir.path("A.BMP")));
    EXPECT_EQ(u.ws.imageWidth, 3);
    EXPECT_EQ(u.ws.imageHeight, 2);
    EXPECT_EQ(0, std::memcmp(u.ws.image, t.ws.image, 18));
}

TEST(Bitmap, RegionWriteTakesTheRectangle)
{
    TestWorkspace t;
    TempDir dir;
    test::fillPattern(t.ws, 20, 10);
    ASSERT_TRUE(writeBMPRegion(t.ws, dir.path("R.BMP"), t.ws.image, 12, 7, 3, 2));
    TestWorkspace u;
    ASSERT_TRUE(openBMPImage(u.ws, dir.path("R.BMP")));
    ASSERT_EQ(u.ws.imageWidth, 10);
    ASSERT_EQ(u.ws.imageHeight, 6);
    for (int y = 0; y < 6; ++y)
        EXPECT_EQ(0, std::memcmp(u.ws.image + y * 30, t.ws.image + ((2 + y) * 20 + 3) * 3, 30)) << y;
}

TEST(Bitmap, PaletteBitmapsReadTheirTable)
{
    TestWorkspace t;
    TempDir dir;
    // 8 bits, width 5: rows of 8 bytes, only the first 5 used.
    auto b = bmpHeader(5, 2, 8, 3);
    const uint8_t table[] = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0};  // red, green, blue as B, G, R
    std::memcpy(b.data() + 54, table, sizeof table);
    const uint8_t rows[] = {0, 1, 2, 0, 1, 9, 9, 9,  /* bottom row */ 2, 2, 2, 2, 7, 9, 9, 9};
    b.insert(b.end(), rows, rows + sizeof rows);
    writeFileBytes(dir.path("P.BMP"), b);
    ASSERT_TRUE(openBMPImage(t.ws, dir.path("P.BMP")));
    ASSERT_EQ(t.ws.imageWidth, 5);
    const uint8_t* top = t.ws.image;
    const uint8_t* bottom = t.ws.image + 15;
    EXPECT_EQ(top[0], 0);
    EXPECT_EQ(top[2], 255);       // index 2: blue
    EXPECT_EQ(top[12 + 0], 0);    // index 7: beyond the table, black
    EXPECT_EQ(bottom[0], 255);    // index 0: red
    EXPECT_EQ(bottom[4], 255);    // index 1: green
    EXPECT_EQ(bottom[8], 255);    // index 2: blue

    // 1 bit, width 10, top-down: the high bit is the leftmost pixel.
    auto m = bmpHeader(10, -1, 1, 2);
    const uint8_t bw[] = {0, 0, 0, 0, 255, 255, 255, 0};
    std::memcpy(m.data() + 54, bw, sizeof bw);
    const uint8_t row[] = {0b10100000, 0b01000000, 0, 0};
    m.insert(m.end(), row, row + 4);
    writeFileBytes(dir.path("M.BMP"), m);
    ASSERT_TRUE(openBMPImage(t.ws, dir.path("M.BMP")));
    ASSERT_EQ(t.ws.imageHeight, 1);
    const int want[10] = {255, 0, 255, 0, 0, 0, 0, 0, 0, 255};
    for (int x = 0; x < 10; ++x) EXPECT_EQ(t.ws.image[3 * x], want[x]) << x;
}

TEST(Bitmap, TopDownAnd32BitAnd16Bit)
{
    TestWorkspace t;
    TempDir dir;
    auto b = bmpHeader(2, -2, 32, 0);
    const uint8_t px[] = {1, 2, 3, 0, 4, 5, 6, 0, /* row 1 */ 7, 8, 9, 0, 10, 11, 12, 0};
    b.insert(b.end(), px, px + sizeof px);
    writeFileBytes(dir.path("T.BMP"), b);
    ASSERT_TRUE(openBMPImage(t.ws, dir.path("T.BMP")));
    const uint8_t want[] = {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10};
    EXPECT_EQ(0, std::memcmp(t.ws.image, want, sizeof want));

    auto s = bmpHeader(1, 1, 16, 0);
    const uint8_t v[] = {0x1f, 0x7c, 0, 0};  // 0x7c1f: red 31, green 0, blue 31
    s.insert(s.end(), v, v + 4);
    writeFileBytes(dir.path("S.BMP"), s);
    ASSERT_TRUE(openBMPImage(t.ws, dir.path("S.BMP")));
    EXPECT_EQ(t.ws.image[0], 255);
    EXPECT_EQ(t.ws.image[1], 0);
    EXPECT_EQ(t.ws.image[2], 255);
}

// Every variant other programs write opens as ImageMagick shows it: the
// headers of each version, and runs with jumps and early ends. Bit fields
// of any mask spread each channel over 0..255 with rounding (5 bits of 31
// give 255, not 248; ImageMagick repeats the top bits instead, which is
// off by one for some values).
TEST(Bitmap, VariantsOpenAsImageMagickShowsThem)
{
    TempDir dir;
    const std::string seed = dir.path("seed.ppm");
    test::writePPM(seed, test::seededPicture(21, 9, 11));
    const std::string s = test::quoted(seed);
    struct Written {
        const char* file;
        std::string options;  // then the output
    } written[] = {
        {"core.bmp", s + " bmp2:"},
        {"v3.bmp", s + " bmp3:"},
        {"v5.bmp", s + " bmp:"},
        {"rle8.bmp", s + " -colors 30 -compress RLE bmp3:"},
    };
    std::vector<std::string> files;
    for (const Written& w : written) {
        bool ok = false;
        test::runCommand("convert " + w.options + test::quoted(dir.path(w.file)), ok);
        ASSERT_TRUE(ok) << w.file;
        files.push_back(dir.path(w.file));
    }

    // Bit fields by code, one row of seeded pixels, against the rounding rule.
    struct Fields {
        const char* what;
        int bits;
        uint32_t masks[3];
    } fields[] = {
        {"5-6-5", 16, {0xF800, 0x07E0, 0x001F}},
        {"5-5-5", 16, {0x7C00, 0x03E0, 0x001F}},
        {"4-4-4", 16, {0x0F00, 0x00F0, 0x000F}},
        {"8-8-8", 32, {0xFF0000, 0x00FF00, 0x0000FF}},
        {"10-10-10", 32, {0x3FF00000, 0x000FFC00, 0x000003FF}},
    };
    for (const Fields& f : fields) {
        constexpr int w = 7;
        auto b = bmpHeader(w, 1, f.bits, 0, 3);
        b.resize(54 + 12);
        for (int c = 0; c < 3; ++c) put32(b, 54 + 4 * c, f.masks[c]);
        put32(b, 10, 66);
        std::vector<uint8_t> want;
        for (int x = 0; x < w; ++x) {
            const uint32_t v = x == 0 ? 0xFFFFFFFF >> (32 - f.bits) : uint32_t(x * 2654435761u) >> (32 - f.bits);
            for (int k = 0; k < f.bits / 8; ++k) b.push_back(uint8_t(v >> (8 * k)));
            for (uint32_t m : f.masks) {
                const uint32_t top = m >> __builtin_ctz(m);
                want.push_back(uint8_t(std::lround(double((v & m) >> __builtin_ctz(m)) * 255 / top)));
            }
        }
        b.resize(66 + (w * f.bits / 8 + 3) / 4 * 4);
        writeFileBytes(dir.path("fields.bmp"), b);
        TestWorkspace t;
        ASSERT_TRUE(openBMPImage(t.ws, dir.path("fields.bmp"))) << f.what;
        EXPECT_EQ(std::vector<uint8_t>(t.ws.image, t.ws.image + 3 * w), want) << f.what;
        EXPECT_EQ(t.ws.image[0], 255) << f.what << ": all bits set is white";
    }

    // Runs by code: RLE8 with a jump and an early end of the bitmap, RLE4
    // with a jump, a short literal and an early end of a line.
    std::vector<uint8_t> palette(16 * 4);
    for (int i = 0; i < 64; ++i) palette[i] = uint8_t(i * 29 + 7);
    auto rle8 = bmpHeader(6, 4, 8, 16, 1);
    std::copy(palette.begin(), palette.end(), rle8.begin() + 54);
    rle8.insert(rle8.end(), {3, 1, 0, 3, 2, 3, 4, 0, 0, 0, 0, 2, 2, 1, 2, 5, 0, 0, 1, 7, 0, 1});
    writeFileBytes(dir.path("rle8code.bmp"), rle8);
    auto rle4 = bmpHeader(7, 3, 4, 16, 2);
    std::copy(palette.begin(), palette.end(), rle4.begin() + 54);
    rle4.insert(rle4.end(), {4, 0x12, 0, 3, 0x34, 0x50, 0, 0, 0, 2, 1, 0, 3, 0x67, 0, 0, 0, 1});
    writeFileBytes(dir.path("rle4code.bmp"), rle4);
    files.push_back(dir.path("rle8code.bmp"));
    files.push_back(dir.path("rle4code.bmp"));

    for (const std::string& path : files) {
        const test::Pixels shown = test::imageMagickPixels(path);
        ASSERT_GT(shown.width, 0) << path;
        TestWorkspace t;
        ASSERT_TRUE(openBMPImage(t.ws, path)) << path << ": " << (t.platform.messages.empty() ? "" : t.platform.messages[0]);
        ASSERT_EQ(t.ws.imageWidth, shown.width) << path;
        ASSERT_EQ(t.ws.imageHeight, shown.height) << path;
        EXPECT_EQ(std::vector<uint8_t>(t.ws.image, t.ws.image + imageBytes(t.ws)), shown.rgb) << path;
    }
}

TEST(Bitmap, UnreadableBitmapsAreRefusedWithoutTakingTheirSize)
{
    TempDir dir;
    auto truncated = bmpHeader(4, 4, 24, 0);
    truncated.resize(truncated.size() + 40);  // needs 4 rows of 12 bytes
    auto jpegInside = bmpHeader(4, 4, 24, 0, 4);
    jpegInside.resize(jpegInside.size() + 64);
    auto cutRuns = bmpHeader(4, 4, 8, 2, 1);
    cutRuns.insert(cutRuns.end(), {4, 1, 0, 0, 4, 1});  // two rows of four, then nothing
    auto bits2 = bmpHeader(4, 4, 2, 0);
    bits2.resize(bits2.size() + 64);
    auto zero = bmpHeader(0, 4, 24, 0);
    auto huge = bmpHeader(30000, 30000, 24, 0);
    auto notBmp = bmpHeader(4, 4, 24, 0);
    notBmp[0] = 'X';
    auto bigTable = bmpHeader(4, 4, 8, 300);
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        const char* message;
    } cases[] = {
        {"truncated", truncated, "incomplete"},
        {"JPEG inside", jpegInside, "compressed"},
        {"runs cut short", cutRuns, "incomplete"},
        {"2 bits", bits2, "bits per pixel"},
        {"zero width", zero, "invalid image size"},
        {"too large", huge, "RAM too small"},
        {"not a bitmap", notBmp, "damaged header"},
        {"colour table", bigTable, "colour table"},
        {"empty", {}, "incomplete"},
    };
    for (auto& c : cases) {
        TestWorkspace t;
        test::fillPattern(t.ws, 6, 6);
        std::vector<uint8_t> before(t.ws.image, t.ws.image + imageBytes(t.ws));
        writeFileBytes(dir.path("X.BMP"), c.bytes);
        EXPECT_FALSE(openBMPImage(t.ws, dir.path("X.BMP"))) << c.what;
        EXPECT_EQ(t.ws.imageWidth, 6) << c.what;
        EXPECT_EQ(0, std::memcmp(t.ws.image, before.data(), before.size())) << c.what;
        ASSERT_EQ(t.platform.messages.size(), 1u) << c.what;
        EXPECT_NE(t.platform.messages[0].find(c.message), std::string::npos) << c.what << ": " << t.platform.messages[0];
    }
    TestWorkspace t;
    EXPECT_FALSE(openBMPImage(t.ws, dir.path("missing.BMP")));
    EXPECT_TRUE(t.platform.said("Can not open"));
}

}  // namespace
}  // namespace orx
