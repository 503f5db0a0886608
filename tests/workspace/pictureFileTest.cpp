// Pictures from other programs, checked against what other decoders show
// for the same files.
#include <cstring>
#include <functional>

#include <gtest/gtest.h>

#include "support/pictureFixtures.h"
#include "support/testSupport.h"
#include "workspace/exifData.h"
#include "workspace/pictureFile.h"

namespace orx {
namespace {

using test::Pixels;
using test::TempDir;
using test::TestWorkspace;

std::vector<uint8_t> planeOf(const Workspace& ws) { return {ws.image, ws.image + imageBytes(ws)}; }

void expectOpensAs(const std::string& path, const Pixels& want, const std::string& what)
{
    ASSERT_GT(want.width, 0) << what << ": no expected picture";
    TestWorkspace t;
    ASSERT_TRUE(openPictureImage(t.ws, path)) << what << ": " << (t.platform.messages.empty() ? "" : t.platform.messages[0]);
    EXPECT_EQ(t.ws.imageWidth, want.width) << what;
    EXPECT_EQ(t.ws.imageHeight, want.height) << what;
    EXPECT_TRUE(t.platform.messages.empty()) << what;
    EXPECT_EQ(t.ws.maskVisible, 0);
    EXPECT_EQ(t.ws.currentFileName, path);
    if (t.ws.imageWidth == want.width && t.ws.imageHeight == want.height)
        EXPECT_EQ(planeOf(t.ws), want.rgb) << what;
}

bool make(const std::string& command)
{
    bool ok = false;
    test::runCommand(command + " 2>&1", ok);
    return ok;
}

TEST(Pictures, LosslessKindsOpenAsImageMagickShowsThem)
{
    TempDir dir;
    const Pixels colour = test::seededPicture(40, 30, 1);
    const Pixels grey = test::seededPicture(40, 30, 2, true);
    const std::string seed = dir.path("seed.ppm"), greySeed = dir.path("grey.ppm");
    test::writePPM(seed, colour);
    test::writePPM(greySeed, grey);
    const std::string s = test::quoted(seed), g = test::quoted(greySeed);
    // The seed laid over white with one of its own channels as alpha.
    auto overWhite = [&](int alphaChannel) {
        Pixels p = colour;
        for (size_t i = 0; i < p.rgb.size(); i += 3) {
            const unsigned a = colour.rgb[i + alphaChannel];
            for (int c = 0; c < 3; ++c) p.rgb[i + c] = uint8_t((colour.rgb[i + c] * a + 255 * (255 - a) + 127) / 255);
        }
        return p;
    };
    const Pixels overWhiteR = overWhite(0), overWhiteG = overWhite(1);
    struct Case {
        const char* file;
        std::string convert;      // options and output of ImageMagick's convert
        const Pixels* exact;      // what it must show, where that is known without another decoder
        bool byImageMagick = true;  // and ImageMagick shows the same
    } cases[] = {
        {"lzw.tif", s + " -compress lzw", &colour},
        {"deep.tif", s + " -depth 16", &colour},
        {"grey.tif", g + " -colorspace gray -type grayscale", &grey},
        {"bilevel.tif", s + " -threshold 50% -type bilevel", nullptr},
        {"palette.tif", s + " -colors 50 -type palette", nullptr},
        {"alpha.tif", s + " \\( " + s + " -channel R -separate \\) -alpha off -compose copyopacity -composite", &overWhiteR, false},
        {"pages.tif", s + " " + g, &colour},
        {"p24.pcx", s, &colour},
        {"p8.pcx", s + " -colors 60", nullptr},
        {"plain.png", s, &colour},
        {"alpha.png", s + " \\( " + s + " -channel G -separate \\) -alpha off -compose copyopacity -composite", &overWhiteG, false},
        {"rle8.bmp", s + " -colors 40 -compress RLE bmp3:", nullptr},
        {"png-named.bmp", s + " png:", &colour},
    };
    for (const Case& c : cases) {
        const std::string path = dir.path(c.file);
        std::string out = test::quoted(path);
        std::string cmd = "convert " + c.convert;
        if (cmd.back() == ':') cmd += out; else cmd += " " + out;
        ASSERT_TRUE(make(cmd)) << cmd;
        // ImageMagick rounds its own way when it lays transparency over white.
        const Pixels shown = c.byImageMagick ? test::imageMagickPixels(path + "[0]") : *c.exact;
        expectOpensAs(path, shown, c.file);
        if (c.exact && c.byImageMagick) EXPECT_EQ(shown.rgb, c.exact->rgb) << c.file << ": ImageMagick's own view differs from the seed";
    }

    // 1-bit PCX with an explicit palette: a set bit is white.
    std::vector<uint8_t> bits(13 * 3);
    for (size_t i = 0; i < bits.size(); ++i) bits[i] = (i * 7 + i / 5) % 3 == 0;
    test::writeFileBytes(dir.path("b1.pcx"), test::bilevelPcx(13, 3, bits));
    Pixels want{13, 3, {}};
    for (uint8_t b : bits) want.rgb.insert(want.rgb.end(), 3, b ? 255 : 0);
    expectOpensAs(dir.path("b1.pcx"), want, "1-bit PCX");
}

TEST(Pictures, JpegDecodesAsDjpegAndTurnsUpright)
{
    TempDir dir;
    const std::string seed = dir.path("seed.ppm");
    test::writePPM(seed, test::seededPicture(33, 17, 3));
    for (const char* options : {"-quality 92 -sample 1x1", "-quality 75 -progressive"}) {
        const std::string jpg = dir.path("a.jpg");
        ASSERT_TRUE(make(std::string("cjpeg ") + options + " " + test::quoted(seed) + " > " + test::quoted(jpg)));
        bool ok = false;
        const Pixels want = test::readPPM(test::runCommand("djpeg -ppm " + test::quoted(jpg), ok));
        expectOpensAs(jpg, want, options);
    }

    // A 3 x 2 picture in every orientation, in JPEG's EXIF (both byte
    // orders) and in TIFF's own tag, against ImageMagick's -auto-orient.
    const std::string small = dir.path("small.ppm");
    test::writePPM(small, test::seededPicture(3, 2, 4));
    const std::string plain = dir.path("small.jpg");
    ASSERT_TRUE(make("cjpeg -quality 100 -sample 1x1 " + test::quoted(small) + " > " + test::quoted(plain)));
    const char* tiffNames[] = {"", "TopLeft", "TopRight", "BottomRight", "BottomLeft",
                               "LeftTop", "RightTop", "RightBottom", "LeftBottom"};
    for (int o = 1; o <= 8; ++o) {
        const std::string jpg = dir.path("o" + std::to_string(o) + ".jpg");
        test::writeFileBytes(jpg, test::withExif(test::readFileBytes(plain), test::exifBlock(o, {}, o % 2 == 0)));
        const std::string tif = dir.path("o" + std::to_string(o) + ".tif");
        ASSERT_TRUE(make("convert " + test::quoted(small) + " -orient " + tiffNames[o] + " " + test::quoted(tif)));
        for (const std::string& path : {jpg, tif}) {
            const Pixels want = test::imageMagickPixels(path, "-auto-orient");
            EXPECT_EQ(want.width, o >= 5 ? 2 : 3) << path;
            expectOpensAs(path, want, path);
            PictureProbe probe;
            std::string why;
            ASSERT_TRUE(probePicture(localFiles(), path, probe, why)) << why;
            EXPECT_EQ(probe.orientation, o) << path;
            EXPECT_EQ(probe.width, want.width) << path;
        }
    }
}

TEST(Pictures, BadFilesAreRefusedAndChangeNothing)
{
    TempDir dir;
    const std::string seed = dir.path("seed.ppm");
    test::writePPM(seed, test::seededPicture(64, 48, 5));
    const std::string s = test::quoted(seed);
    ASSERT_TRUE(make("cjpeg -quality 90 " + s + " > " + test::quoted(dir.path("good.jpg"))));
    ASSERT_TRUE(make("convert " + s + " -compress none -define tiff:rows-per-strip=48 " + test::quoted(dir.path("good.tif"))));
    ASSERT_TRUE(make("convert " + s + " " + test::quoted(dir.path("good.pcx"))));
    ASSERT_TRUE(make("convert " + s + " " + test::quoted(dir.path("good.png"))));
    const auto jpg = test::readFileBytes(dir.path("good.jpg"));
    const auto tif = test::readFileBytes(dir.path("good.tif"));
    const auto pcx = test::readFileBytes(dir.path("good.pcx"));
    const auto png = test::readFileBytes(dir.path("good.png"));
    auto cut = [](std::vector<uint8_t> b, size_t keep) {
        b.resize(keep);
        return b;
    };
    // A JPEG whose frame header claims 65000 x 65000.
    auto hugeJpg = jpg;
    for (size_t i = 2; i + 9 < hugeJpg.size(); ++i)
        if (hugeJpg[i] == 0xFF && hugeJpg[i + 1] == 0xC0) {
            hugeJpg[i + 5] = hugeJpg[i + 7] = 0xFD;
            hugeJpg[i + 6] = hugeJpg[i + 8] = 0xE8;
            break;
        }
    auto hugePcx = pcx;
    hugePcx[8] = hugePcx[10] = 0xE7;
    hugePcx[9] = hugePcx[11] = 0xFD;
    hugePcx[66] = 0xE8;  // bytes per line to match
    hugePcx[67] = 0xFD;
    auto zeroPcx = pcx;
    zeroPcx[8] = zeroPcx[9] = 0;
    zeroPcx[4] = 5;  // xmax below xmin
    // Stray bytes before a marker: libjpeg warns and the picture is whole.
    auto stray = jpg;
    for (size_t i = 2; i + 1 < stray.size(); ++i)
        if (stray[i] == 0xFF && stray[i + 1] == 0xDB) {
            stray.insert(stray.begin() + long(i), {0x00, 0x11});
            break;
        }
    // A TIFF whose one strip runs past the end of the file.
    auto cutStrip = tif;
    {
        auto u16 = [&](size_t o) { return unsigned(cutStrip[o] | cutStrip[o + 1] << 8); };
        const size_t ifd = u16(4) | u16(6) << 16;
        for (unsigned i = 0, n = u16(ifd); i < n; ++i) {
            const size_t e = ifd + 2 + 12 * i;
            if (u16(e) != 273) continue;  // the strip offsets
            const uint32_t late = uint32_t(cutStrip.size() - 100);
            for (int k = 0; k < 4; ++k) cutStrip[e + 8 + k] = uint8_t(late >> (8 * k));
        }
    }
    // EXIF whose first directory lies beyond the block.
    auto badExif = test::exifBlock(6);
    badExif[4] = 0xF0;
    const std::string postscript = "%!PS-Adobe-3.0\n/Times findfont 12 scalefont setfont\nshowpage\n";

    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        const char* message;   // nullptr: the picture opens
        const char* file = "x.pic";
    } cases[] = {
        {"JPEG cut in its data", cut(jpg, jpg.size() * 2 / 3), "incomplete"},
        {"JPEG cut in its header", cut(jpg, 40), "incomplete"},
        {"JPEG with stray bytes", stray, nullptr},
        {"JPEG claiming 65000 x 65000", hugeJpg, "RAM too small"},
        {"JPEG with damaged EXIF", test::withExif(jpg, badExif), "damaged EXIF"},
        {"TIFF cut", cut(tif, tif.size() / 2), "can not be read"},
        {"TIFF strip past the end", cutStrip, "can not be read"},
        {"PCX cut", cut(pcx, pcx.size() / 2), "can not be read"},
        {"PCX claiming 65000 x 65000", hugePcx, "RAM too small"},
        {"PCX of no width", zeroPcx, "can not be read"},
        {"PNG cut", cut(png, png.size() / 2), "can not be read"},
        {"PostScript named .TIF", {postscript.begin(), postscript.end()}, "not a BMP, TIF", "ps.TIF"},
        {"empty", {}, "not a BMP, TIF"},
    };
    for (const Case& c : cases) {
        TestWorkspace t;
        test::fillPattern(t.ws, 6, 5);
        const auto before = planeOf(t.ws);
        const std::string path = dir.path(c.file);
        test::writeFileBytes(path, c.bytes);
        const bool opened = openPictureImage(t.ws, path);
        if (!c.message) {
            EXPECT_TRUE(opened) << c.what;
            EXPECT_EQ(t.ws.imageWidth, 64) << c.what;
            continue;
        }
        EXPECT_FALSE(opened) << c.what;
        EXPECT_EQ(t.ws.imageWidth, 6) << c.what;
        EXPECT_EQ(planeOf(t.ws), before) << c.what;
        ASSERT_EQ(t.platform.messages.size(), 1u) << c.what;
        EXPECT_NE(t.platform.messages[0].find(c.message), std::string::npos) << c.what << ": " << t.platform.messages[0];
        EXPECT_NE(t.platform.messages[0].find(path), std::string::npos) << c.what << " names the file";
    }

    // A sound picture beyond a small image block (2,000,000 pixels).
    ASSERT_TRUE(make("convert -size 2000x1100 xc:red " + test::quoted(dir.path("big.png"))));
    TestWorkspace small(16'000'000);
    test::fillPattern(small.ws, 6, 5);
    EXPECT_FALSE(openPictureImage(small.ws, dir.path("big.png")));
    EXPECT_TRUE(small.platform.said("RAM too small"));
    EXPECT_EQ(small.ws.imageWidth, 6);
}

TEST(Pictures, PngAndTiffSavesReadBackExactly)
{
    TempDir dir;
    TestWorkspace t;
    const Pixels p = test::seededPicture(37, 21, 6);
    layoutPlanes(t.ws, p.width, p.height);
    std::memcpy(t.ws.image, p.rgb.data(), p.rgb.size());
    for (auto save : {savePNG, saveTIFF}) {
        const std::string path = dir.path(save == savePNG ? "out.png" : "out.tif");
        ASSERT_TRUE(save(t.ws, path));
        EXPECT_EQ(test::imageMagickPixels(path).rgb, p.rgb) << path;
        bool ok = false;
        const auto depth = test::runCommand("identify -format '%z %[colorspace]' " + test::quoted(path), ok);
        EXPECT_EQ(std::string(depth.begin(), depth.end()), "8 sRGB") << path;
        // A folder that does not exist: said, and nothing left behind.
        EXPECT_FALSE(save(t.ws, dir.path("none/out.png")));
        EXPECT_TRUE(t.platform.said("Can not write"));
        EXPECT_FALSE(std::filesystem::exists(dir.path("none")));
    }
}

TEST(Pictures, ExifReaderTakesOrientationAndPreviewAndRefusesDamage)
{
    const std::vector<uint8_t> preview = {0xFF, 0xD8, 0xFF, 0xD9};
    for (bool big : {false, true}) {
        ExifInfo info;
        auto block = test::exifBlock(6, preview, big);
        ASSERT_TRUE(readExif(block.data(), block.size(), info));
        EXPECT_EQ(info.orientation, 6);
        ASSERT_EQ(info.thumbBytes, preview.size());
        EXPECT_EQ(0, std::memcmp(block.data() + info.thumbOffset, preview.data(), preview.size()));
        // A preview reaching past the block is dropped; the orientation stays.
        block.resize(block.size() - 1);
        ASSERT_TRUE(readExif(block.data(), block.size(), info));
        EXPECT_EQ(info.thumbBytes, 0u);
        EXPECT_EQ(info.orientation, 6);
    }
    struct Damage {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> apply;
    } damages[] = {
        {"byte order", [](auto& b) { b[0] = 'X'; }},
        {"directory beyond the block", [](auto& b) { b[4] = 200; }},
        {"entries beyond the block", [](auto& b) { b[8] = 40; }},
        {"orientation 9", [](auto& b) { b[18] = 9; }},
        {"orientation as text", [](auto& b) { b[12] = 2; }},
    };
    for (const Damage& d : damages) {
        auto block = test::exifBlock(3);
        d.apply(block);
        ExifInfo info;
        EXPECT_FALSE(readExif(block.data(), block.size(), info)) << d.what;
    }
}

TEST(Pictures, ThumbnailsTakeTheCameraPreviewOrAReducedDecode)
{
    TempDir dir;
    const std::string red = dir.path("red.ppm"), blue = dir.path("blue.ppm");
    ASSERT_TRUE(make("convert -size 600x400 xc:'rgb(200,30,30)' " + test::quoted(red)));
    ASSERT_TRUE(make("convert -size 160x120 xc:'rgb(20,40,220)' " + test::quoted(blue)));
    bool ok = false;
    const auto mainJpg = test::runCommand("cjpeg -quality 90 " + test::quoted(red), ok);
    const auto previewJpg = test::runCommand("cjpeg -quality 90 " + test::quoted(blue), ok);
    // Orientation 6: the preview and the picture both turn.
    test::writeFileBytes(dir.path("camera.jpg"), test::withExif(mainJpg, test::exifBlock(6, previewJpg)));
    test::writeFileBytes(dir.path("plain.jpg"), mainJpg);

    struct Case {
        const char* file;
        int32_t w, h, fullW, fullH;
        uint8_t r, b;   // the colour it shows (roughly)
    } cases[] = {
        {"camera.jpg", 45, 60, 400, 600, 20, 220},
        {"plain.jpg", 70, 47, 600, 400, 200, 30},
    };
    for (const Case& c : cases) {
        SmallPicture small;
        std::string why;
        ASSERT_TRUE(readPictureThumbnail(localFiles(), dir.path(c.file), 70, 60, 1'000'000, small, why)) << why;
        EXPECT_EQ(small.width, c.w) << c.file;
        EXPECT_EQ(small.height, c.h) << c.file;
        EXPECT_EQ(small.fullWidth, c.fullW) << c.file;
        EXPECT_EQ(small.fullHeight, c.fullH) << c.file;
        EXPECT_NEAR(small.rgb[0], c.r, 6) << c.file;
        EXPECT_NEAR(small.rgb[2], c.b, 6) << c.file;
    }
    // Pictures beyond the limit are not decoded for a thumbnail.
    SmallPicture small;
    std::string why;
    EXPECT_FALSE(readPictureThumbnail(localFiles(), dir.path("plain.jpg"), 70, 60, 1'000, small, why));
    ASSERT_TRUE(make("convert " + test::quoted(red) + " " + test::quoted(dir.path("red.png"))));
    EXPECT_FALSE(readPictureThumbnail(localFiles(), dir.path("red.png"), 70, 60, 100'000, small, why));

    // Reducing averages what each cell covers.
    const uint8_t four[] = {0, 0, 0, 100, 100, 100, 10, 20, 30, 30, 40, 50};
    fitPicture(four, 4, 1, 2, 2, small);
    ASSERT_EQ(small.width, 2);
    ASSERT_EQ(small.height, 1);
    const std::vector<uint8_t> want = {50, 50, 50, 20, 30, 40};
    EXPECT_EQ(small.rgb, want);
}

}  // namespace
}  // namespace orx
