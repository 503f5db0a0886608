// JPEG out through the encoder program.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "support/pictureFixtures.h"
#include "support/testSupport.h"
#include "workspace/bitmapFile.h"
#include "workspace/jpegExport.h"

namespace orx {
namespace {

using test::Pixels;
using test::TempDir;
using test::TestWorkspace;

// A photo-like picture: smooth shading with a little grain.
Pixels photoLike(int32_t w, int32_t h)
{
    Pixels p = test::seededPicture(w, h, 9);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* px = &p.rgb[(size_t(y) * w + x) * 3];
            const double shade = 0.5 + 0.5 * std::sin(x * 0.05) * std::cos(y * 0.07);
            for (int c = 0; c < 3; ++c) px[c] = uint8_t(40 + 160 * shade + c * 20 + px[c] % 4);
        }
    return p;
}

double psnr(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i) sum += double(a[i] - b[i]) * (a[i] - b[i]);
    return sum == 0 ? 99 : 10 * std::log10(255.0 * 255.0 * double(a.size()) / sum);
}

struct Result {
    bool ok;
    int status;
    std::string err;
};

Result runEncoder(const std::string& args, const TempDir& dir)
{
    bool ok = false;
    const std::string errFile = dir.path("stderr.txt");
    auto out = test::runCommand("cd " + test::quoted(dir.dir().string()) + " && " + test::quoted(encoderPath()) +
                                    " " + args + " 2>" + test::quoted(errFile) + "; echo $?",
                                ok);
    out.push_back(0);
    const auto err = test::readFileBytes(errFile);
    return {ok, std::atoi(reinterpret_cast<const char*>(out.data())), std::string(err.begin(), err.end())};
}

TEST(JpegEncoder, FormsExitCodesAndQuality)
{
    TempDir dir;
    TestWorkspace t;
    const Pixels p = photoLike(120, 80);
    layoutPlanes(t.ws, p.width, p.height);
    std::memcpy(t.ws.image, p.rgb.data(), p.rgb.size());
    ASSERT_TRUE(writeBMP(t.ws, dir.path("in.bmp"), t.ws.image, p.width, p.height));
    test::writeFileBytes(dir.path("old.jpg"), {'o', 'l', 'd'});
    test::writeFileBytes(dir.path("text.bmp"), {'h', 'i'});

    struct Case {
        const char* args;
        int status;
        const char* output;   // the file written, or kept as it was
        const char* says;     // in the one line on stderr
    } cases[] = {
        {"in.bmp two.jpg", 0, "two.jpg", ""},
        {"-q 40 -s 420 -- in.bmp small.jpg", 0, "small.jpg", ""},
        {"-- -q x", 1, nullptr, "can not be read"},
        {"in.bmp", 2, nullptr, "usage"},
        {"-q 0 in.bmp a.jpg", 2, nullptr, "quality"},
        {"-s 422 in.bmp a.jpg", 2, nullptr, "sampling"},
        {"text.bmp old.jpg", 1, "old.jpg", "not a bitmap"},
        {"missing.bmp old.jpg", 1, "old.jpg", "can not be read"},
        {"in.bmp nofolder/a.jpg", 1, nullptr, "nofolder"},
    };
    for (const Case& c : cases) {
        const Result r = runEncoder(c.args, dir);
        EXPECT_EQ(r.status, c.status) << c.args;
        if (c.status == 0) {
            EXPECT_TRUE(r.err.empty()) << c.args << ": " << r.err;
        } else {
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << c.args << ": " << r.err;
            EXPECT_NE(r.err.find(c.says), std::string::npos) << c.args << ": " << r.err;
        }
    }
    EXPECT_EQ(test::readFileBytes(dir.path("old.jpg")), (std::vector<uint8_t>{'o', 'l', 'd'}));

    // Decoded back: the defaults keep the picture (at least 40 dB); quality
    // 40 at 4:2:0 is smaller and worse.
    bool ok = false;
    const Pixels fine = test::readPPM(test::runCommand("djpeg -ppm " + test::quoted(dir.path("two.jpg")), ok));
    const Pixels rough = test::readPPM(test::runCommand("djpeg -ppm " + test::quoted(dir.path("small.jpg")), ok));
    ASSERT_EQ(fine.rgb.size(), p.rgb.size());
    ASSERT_EQ(rough.rgb.size(), p.rgb.size());
    EXPECT_GE(psnr(fine.rgb, p.rgb), 40.0);
    EXPECT_LT(psnr(rough.rgb, p.rgb), psnr(fine.rgb, p.rgb));
    EXPECT_LT(test::readFileBytes(dir.path("small.jpg")).size(), test::readFileBytes(dir.path("two.jpg")).size());
    bool ok2 = false;
    const auto sampling = test::runCommand("identify -format %[jpeg:sampling-factor] " + test::quoted(dir.path("two.jpg")), ok2);
    EXPECT_EQ(std::string(sampling.begin(), sampling.end()), "1x1,1x1,1x1");
}

size_t leftBitmaps()
{
    size_t n = 0;
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::temp_directory_path()))
        if (e.path().filename().string().rfind("orxweb-jpeg-", 0) == 0) ++n;
    return n;
}

TEST(JpegEncoder, SaveJpgRunsTheEncoderBesideUsAndSaysWhyItFailed)
{
    TempDir dir;
    TestWorkspace t;
    const Pixels p = photoLike(64, 40);
    layoutPlanes(t.ws, p.width, p.height);
    std::memcpy(t.ws.image, p.rgb.data(), p.rgb.size());
    const size_t leftBefore = leftBitmaps();

    // Names with spaces reach the encoder whole.
    std::filesystem::create_directory(dir.path("with space"));
    const std::string name = dir.path("with space/my picture.jpg");
    t.ws.jpegQuality = 95;
    ASSERT_TRUE(saveJPG(t.ws, name)) << (t.platform.messages.empty() ? "" : t.platform.messages[0]);
    const auto best = test::readFileBytes(name);
    t.ws.jpegQuality = 30;
    ASSERT_TRUE(saveJPG(t.ws, name));
    EXPECT_LT(test::readFileBytes(name).size(), best.size());
    EXPECT_TRUE(t.platform.messages.empty());
    const auto saved = test::readFileBytes(name);

    // Stand-ins for an encoder that is missing, fails, or never ends.
    const std::string failing = dir.path("failing"), silent = dir.path("silent");
    std::ofstream(failing) << "#!/bin/sh\necho 'disk full, and more' >&2\necho second line >&2\nexit 3\n";
    std::ofstream(silent) << "#!/bin/sh\nexec sleep 30\n";
    std::filesystem::permissions(failing, std::filesystem::perms::owner_all);
    std::filesystem::permissions(silent, std::filesystem::perms::owner_all);
    struct Case {
        const char* what;
        std::string encoder;
        const char* says;
    } cases[] = {
        {"missing", dir.path("no-encoder"), "No such file"},
        {"failing", failing, "disk full, and more"},
        {"silent", silent, "did not finish within 1 seconds"},
    };
    for (const Case& c : cases) {
        t.platform.messages.clear();
        EXPECT_FALSE(saveJPG(t.ws, name, c.encoder, 1)) << c.what;
        ASSERT_EQ(t.platform.messages.size(), 1u) << c.what;
        EXPECT_TRUE(t.platform.said("Can not write " + name + " file.")) << c.what << ": " << t.platform.messages[0];
        EXPECT_TRUE(t.platform.said(c.says)) << c.what << ": " << t.platform.messages[0];
        EXPECT_EQ(test::readFileBytes(name), saved) << c.what << ": the old JPEG stays";
    }
    EXPECT_EQ(leftBitmaps(), leftBefore) << "the temporary bitmap is removed on every path";
}

}  // namespace
}  // namespace orx
