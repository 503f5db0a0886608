// The tone curves of the natural colour change.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "support/testSupport.h"
#include "tools/toneCurves.h"
#include "workspace/hsv.h"

namespace orx {
namespace {

void randomPicture(Workspace& ws, int w, int h)
{
    layoutPlanes(ws, w, h);
    std::mt19937 rng(5);
    for (uint64_t i = 0; i < imageBytes(ws); ++i) ws.image[i] = uint8_t(rng());
    clearMask(ws);
    ws.imageLoaded = 1;
}

// Exe as the program does it: the picture to secondImage, then the curves.
void exe(Workspace& ws, bool hsv)
{
    takeSecondImage(ws);
    std::memcpy(ws.secondImage, ws.image, imageBytes(ws));
    ASSERT_TRUE(applyToneCurves(ws, 0, 0, ws.imageWidth - 1, ws.imageHeight - 1, hsv));
}

TEST(ToneCurves, FileRoundTripAndRefusals)
{
    test::TestWorkspace t;
    test::TempDir dir;
    Workspace& ws = t.ws;
    std::mt19937 rng(1);
    for (auto& curve : ws.toneCurves.level)
        for (uint8_t& v : curve) v = uint8_t(rng());
    for (auto& row : ws.toneSamples)
        for (uint8_t& v : row) v = rng() % 2 ? 255 : 0;
    ws.currentCurve = CurveSaturation;
    const std::string path = dir.path("VLX98.LUT");
    ASSERT_TRUE(saveToneFile(ws, path));
    std::vector<uint8_t> bytes = test::readFileBytes(path);
    ASSERT_EQ(bytes.size(), kToneFileBytes);
    EXPECT_EQ(bytes[256 * 4 + 17], ws.toneCurves[4][17]);  // the S curve at 1024
    EXPECT_EQ(bytes[1536 + 256 * 2 + 9], ws.toneSamples[2][9]);  // B samples at 2048
    EXPECT_EQ(bytes[3072], CurveSaturation);

    Workspace back;
    ASSERT_TRUE(loadToneFile(back, path));
    EXPECT_EQ(std::memcmp(back.toneCurves.level, ws.toneCurves.level, sizeof ws.toneCurves.level), 0);
    EXPECT_EQ(std::memcmp(back.toneSamples, ws.toneSamples, sizeof ws.toneSamples), 0);
    EXPECT_EQ(back.currentCurve, CurveSaturation);

    // Another size, or a current curve outside 1..6, changes nothing.
    Workspace fresh;
    const uint8_t identity40 = fresh.toneCurves[0][40];
    auto refused = [&](std::vector<uint8_t> file, const char* what) {
        test::writeFileBytes(path, file);
        EXPECT_FALSE(loadToneFile(fresh, path)) << what;
        EXPECT_EQ(fresh.toneCurves[0][40], identity40) << what;
        EXPECT_EQ(fresh.currentCurve, CurveHue) << what;
    };
    refused(std::vector<uint8_t>(bytes.begin(), bytes.end() - 1), "short");
    std::vector<uint8_t> longer = bytes;
    longer.push_back(1);
    refused(longer, "long");
    bytes[3072] = 0;
    refused(bytes, "curve 0");
    bytes[3072] = 7;
    refused(bytes, "curve 7");
    EXPECT_FALSE(loadToneFile(fresh, dir.path("missing.LUT")));
}

TEST(ToneCurves, IdentityKeepsEveryByteAndTheMaskProtects)
{
    test::TestWorkspace t;
    Workspace& ws = t.ws;
    randomPicture(ws, 64, 64);
    const std::vector<uint8_t> original(ws.image, ws.image + imageBytes(ws));
    for (bool hsv : {false, true}) {
        exe(ws, hsv);
        EXPECT_EQ(std::memcmp(ws.image, original.data(), original.size()), 0) << "identity, hsv " << hsv;
    }

    // Every level through the curves, bent: the HSV way agrees with the byte
    // forms pixel by pixel, and shown masked pixels keep their bytes.
    for (int c = 0; c < 6; ++c) curveOfExponent(0.3 + 0.4 * c, ws.toneCurves[c]);
    for (uint64_t i = 0; i < pixelCount(ws); i += 3) ws.mask[i] = 255;
    ws.maskVisible = 1;
    for (bool hsv : {false, true}) {
        std::memcpy(ws.image, original.data(), original.size());
        exe(ws, hsv);
        for (uint64_t i = 0; i < pixelCount(ws); ++i) {
            const uint8_t* p = original.data() + 3 * i;
            uint8_t want[3];
            if (ws.mask[i]) {
                std::memcpy(want, p, 3);
            } else if (hsv) {
                const HsvBytes b = rgbToHsvBytes(p[0], p[1], p[2]);
                hsvBytesToRgb(ws.toneCurves[3][b.h], ws.toneCurves[4][b.s], ws.toneCurves[5][b.v], want);
            } else {
                for (int c = 0; c < 3; ++c) want[c] = ws.toneCurves[c][p[c]];
            }
            ASSERT_EQ(std::memcmp(ws.image + 3 * i, want, 3), 0) << "pixel " << i << " hsv " << hsv;
        }
    }
    EXPECT_FALSE(applyToneCurves(ws, -50, -50, -1, 10, false));
}

TEST(ToneCurves, DrawingInTheGraph)
{
    Workspace ws;
    ws.currentCurve = CurveGreen;
    CurveGesture g;
    int from = 0, to = 0;
    auto at = [](int column, int level) { return std::pair{kGraphLeft + column, kGraphBottom - level}; };
    // From column 200 at level 100 to column 100 at level 0: a straight line.
    auto [x0, y0] = at(200, 100);
    ASSERT_TRUE(pressCurve(ws, g, x0, y0, from, to));
    auto [x1, y1] = at(100, 0);
    ASSERT_TRUE(dragCurve(ws, g, x1, y1, from, to));
    EXPECT_EQ(std::make_pair(from, to), std::make_pair(100, 200));
    const uint8_t* curve = ws.toneCurves[CurveGreen - 1];
    for (int k = 100; k <= 200; ++k) EXPECT_EQ(curve[k], k - 100) << k;
    EXPECT_EQ(curve[99], 99);
    EXPECT_EQ(curve[201], 201);
    // A drag within one column takes the new level (no division by zero).
    auto [x2, y2] = at(100, 250);
    ASSERT_TRUE(dragCurve(ws, g, x2, y2, from, to));
    EXPECT_EQ(curve[100], 250);
    // A drag past the graph is held to it; a press outside does nothing.
    ASSERT_TRUE(dragCurve(ws, g, kGraphLeft - 40, kGraphBottom + 40, from, to));
    EXPECT_EQ(curve[0], 0);
    EXPECT_EQ(from, 0);
    EXPECT_FALSE(pressCurve(ws, g, kGraphLeft + 256, kGraphBottom - 3, from, to));
    EXPECT_FALSE(pressCurve(ws, g, kGraphLeft + 3, kGraphBottom - 256, from, to));
    EXPECT_EQ(ws.toneCurves[0][7], 7);  // other curves untouched
}

TEST(ToneCurves, ExponentButtonsStepWholeTenthsAndNeverReachZero)
{
    Workspace ws;
    ws.currentCurve = CurveValue;
    for (int i = 0; i < 10; ++i) bendCurve(ws, +1);
    EXPECT_EQ(ws.curveExponents[5], 2.0);
    EXPECT_EQ(ws.toneCurves[5][128], 192);
    straightenCurve(ws);
    EXPECT_EQ(ws.curveExponents[5], 1.0);
    EXPECT_EQ(ws.toneCurves[5][128], 128);
    for (int i = 0; i < 15; ++i) bendCurve(ws, -1);
    EXPECT_EQ(ws.curveExponents[5], 0.1);
    const uint8_t* curve = ws.toneCurves[5];
    EXPECT_EQ(curve[0], 0);
    EXPECT_EQ(curve[255], 255);
    for (int i = 1; i < 256; ++i) ASSERT_GE(curve[i], curve[i - 1]) << i;
    // Below 1 the middle tones go down.
    EXPECT_LT(curve[128], 128);
    EXPECT_EQ(ws.curveExponents[0], 1.0);  // the other curves keep theirs
}

TEST(ToneCurves, SamplesMarkTheCurrentCurvesLevel)
{
    Workspace ws;
    const Rgb colour{0, 24, 51};  // H 150, S 255, V 51
    const int expected[6] = {0, 24, 51, 150, 255, 51};
    for (int c = CurveRed; c <= CurveValue; ++c) {
        ws.currentCurve = c;
        sampleTone(ws, colour);
        EXPECT_EQ(ws.toneSamples[c - 1][expected[c - 1]], 255) << c;
        EXPECT_EQ(std::count(ws.toneSamples[c - 1], ws.toneSamples[c - 1] + 256, 255), 1) << c;
    }
    ws.currentCurve = CurveHue;
    clearToneSamples(ws);
    EXPECT_EQ(std::count(ws.toneSamples[3], ws.toneSamples[3] + 256, 255), 0);
    EXPECT_EQ(ws.toneSamples[4][255], 255);
}

}  // namespace
}  // namespace orx
