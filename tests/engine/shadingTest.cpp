#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>

#include <gtest/gtest.h>

#include "engine/shading.h"
#include "support/testSupport.h"

namespace orx {
namespace {

using test::TestWorkspace;

TEST(ContrastControl, TwentyEntriesFromBrightToDark)
{
    EXPECT_EQ(contrastOfEntry(0), 0.1f);
    EXPECT_EQ(contrastOfEntry(9), 1.0f);
    EXPECT_EQ(contrastOfEntry(12), 1.3f);
    EXPECT_EQ(contrastOfEntry(19), 2.0f);
    EXPECT_EQ(contrastEntryText(LangEnglish, 0), "0.1<Bright>");
    EXPECT_EQ(contrastEntryText(LangEnglish, 9), "1.0<Normal>");
    EXPECT_EQ(contrastEntryText(LangEnglish, 12), "1.3");
    EXPECT_EQ(contrastEntryText(LangEnglish, 19), "2.0<Dark>");
    EXPECT_EQ(contrastEntryText(LangTaiwan, 0), "0.1<亮>");
    EXPECT_EQ(contrastEntryText(LangTaiwan, 9), "1.0<正常>");
    EXPECT_EQ(contrastEntryText(LangTaiwan, 19), "2.0<暗>");
}

TEST(ContrastTable, IdentityAtOneAndAPowerElsewhere)
{
    Workspace ws;
    ws.contrastExponent = 1.0f;
    buildContrastTable(ws);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(ws.contrastTable[i], i);
    ws.contrastExponent = 2.0f;
    buildContrastTable(ws);
    EXPECT_EQ(ws.contrastTable[128], 64);  // 255 * (128/255)^2 = 64.25
    EXPECT_EQ(ws.contrastTable[255], 255);
    EXPECT_EQ(ws.contrastTable[0], 0);
    ws.contrastExponent = 0.1f;
    buildContrastTable(ws);
    EXPECT_EQ(ws.contrastTable[1], int(255 * std::pow(1 / 255.0, double(0.1f))));
}

TEST(Hsv, HexconeBothWays)
{
    Hsv h = rgbToHsv(255, 0, 0);
    EXPECT_DOUBLE_EQ(h.h, 0);
    EXPECT_DOUBLE_EQ(h.s, 1);
    h = rgbToHsv(0, 0, 255);
    EXPECT_DOUBLE_EQ(h.h, 240);
    h = rgbToHsv(255, 0, 128);  // magenta side: negative before the wrap
    EXPECT_NEAR(h.h, 360 - 60 * 128 / 255.0, 1e-9);
    h = rgbToHsv(90, 90, 90);
    EXPECT_EQ(h.h, 0);
    EXPECT_EQ(h.s, 0);
    EXPECT_NEAR(h.v, 90 / 255.0, 1e-12);
    EXPECT_EQ(rgbToHsv(0, 0, 0).s, 0);

    std::mt19937 rng(7);
    for (int i = 0; i < 20000; ++i) {
        const uint8_t r = rng() & 255, g = rng() & 255, b = rng() & 255;
        const Hsv x = rgbToHsv(r, g, b);
        uint8_t out[3];
        hsvToBytes(x.h, x.s, x.v, out);
        ASSERT_LE(std::abs(out[0] - r), 1) << int(r) << " " << int(g) << " " << int(b);
        ASSERT_LE(std::abs(out[1] - g), 1);
        ASSERT_LE(std::abs(out[2] - b), 1);
    }
}

TEST(Shading, FormulasAtTheirEdges)
{
    Workspace ws;
    ws.contrastExponent = 1.0f;
    buildContrastTable(ws);
    const uint8_t black[3] = {0, 0, 0}, white[3] = {255, 255, 255}, grey[3] = {120, 120, 120};
    const uint8_t material[3] = {200, 100, 50};
    uint8_t out[3];

    // A black photograph gives black in both shadings.
    shadeContrast(ws, black, material, out);
    EXPECT_EQ(out[0] + out[1] + out[2], 0);
    shadeReflection(ws, black, material, out);
    EXPECT_EQ(out[0] + out[1] + out[2], 0);

    // Contrast 1.0: the material's value times the photograph's max / 255.
    const uint8_t half[3] = {40, 128, 90};
    shadeContrast(ws, half, material, out);
    EXPECT_NEAR(out[0], 200 * 128 / 255.0, 1.0);
    EXPECT_NEAR(out[1], 100 * 128 / 255.0, 1.0);
    EXPECT_NEAR(out[2], 50 * 128 / 255.0, 1.0);

    // A grey material stays grey in both.
    shadeContrast(ws, half, grey, out);
    EXPECT_TRUE(out[0] == out[1] && out[1] == out[2]);
    shadeReflection(ws, half, grey, out);
    EXPECT_TRUE(out[0] == out[1] && out[1] == out[2]);

    // Reflection on a white photograph with c = 2: V' = Vm^2 and no saturation
    // left (the photograph's is 0).
    ws.contrastExponent = 2.0f;
    buildContrastTable(ws);
    shadeReflection(ws, white, material, out);
    const int v = int(255 * std::pow(200 / 255.0, 2.0));
    EXPECT_EQ(out[0], v);
    EXPECT_EQ(out[1], v);
    EXPECT_EQ(out[2], v);
}

// The run's fast shadings against the formulas as written.
TEST(Shading, FastFormsStayWithinOneUnit)
{
    std::mt19937 rng(11);
    for (float c : {0.1f, 0.7f, 1.0f, 1.3f, 2.0f}) {
        Workspace ws;
        ws.contrastExponent = c;
        buildContrastTable(ws);
        ShadeTables tables;
        buildShadeTables(ws, tables);
        for (int i = 0; i < 50000; ++i) {
            const uint8_t t[3] = {uint8_t(rng()), uint8_t(rng()), uint8_t(rng())};
            const uint8_t m[3] = {uint8_t(rng()), uint8_t(rng()), uint8_t(rng())};
            uint8_t slow[3], fast[3];
            shadeContrast(ws, t, m, slow);
            shadeContrastFast(tables, t, m, fast);
            for (int k = 0; k < 3; ++k) ASSERT_LE(std::abs(slow[k] - fast[k]), 1) << c;
            shadeReflection(ws, t, m, slow);
            shadeReflectionFast(tables, t, m, fast);
            for (int k = 0; k < 3; ++k) ASSERT_EQ(slow[k], fast[k]) << c;
        }
    }
}

TEST(Sampling, SharpClampsAndSoftAveragesOneStepInside)
{
    TestWorkspace t;
    test::fillPattern(t.ws, 6, 5);
    std::memcpy(t.ws.secondImage, t.ws.image, imageBytes(t.ws));
    auto at = [&](int x, int y, int c) { return int(t.ws.secondImage[(y * 6 + x) * 3 + c]); };
    uint8_t s[3];
    sampleMaterial(t.ws, -4, 9, s);
    EXPECT_EQ(s[0], at(0, 4, 0));
    EXPECT_EQ(s[2], at(0, 4, 2));

    t.ws.softMapping = 1;
    sampleMaterial(t.ws, 3, 2, s);
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(s[c], (at(3, 1, c) + at(2, 2, c) + at(3, 2, c) + at(4, 2, c) + at(3, 3, c)) / 5);
    // The corner takes the neighbours of (1, 1).
    sampleMaterial(t.ws, 0, 0, s);
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(s[c], (at(1, 0, c) + at(0, 1, c) + at(1, 1, c) + at(2, 1, c) + at(1, 2, c)) / 5);
}

}  // namespace
}  // namespace orx
