// The colour tools on the 6000 x 4000 picture, one thread. Goals:
//   applyAutoMask over the picture 100 ms (beside OpenCV's cvtColor and
//   inRange); applyToneCurves by R, G, B 60 ms (beside cv::LUT), through
//   H, S, V changing every pixel 250 ms, identity curves through H, S, V
//   100 ms; a 101 x 101 preview box 2 ms; a 4 x 4 colour-way page on
//   1920 x 1080 100 ms, all 30 pages of five colours at 2 x 2 2 s; a 4 x 4
//   repeat test 100 ms; makeColourWay of a five-colour design 100 ms.
#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include "benchPicture.h"
#include "tools/autoMask.h"
#include "tools/colourWays.h"
#include "tools/toneCurves.h"
#include "workspace/display.h"

namespace {

constexpr int kW = 6000, kH = 4000;

BenchPicture& picture()
{
    static BenchPicture p("orx-colour-bench");
    return p;
}

// The bench picture's own bytes (a dense mix of colours).
void photograph(orx::Workspace& ws)
{
    for (uint64_t i = 0; i < orx::imageBytes(ws); ++i) ws.image[i] = uint8_t(i * 31);
    orx::clearMask(ws);
    ws.maskVisible = 0;
}

const orx::Rgb kFive[5] = {{200, 30, 30}, {30, 160, 40}, {20, 40, 190}, {240, 220, 60}, {250, 250, 250}};

// Five flat colours in stripes and blocks.
void design(orx::Workspace& ws)
{
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const orx::Rgb c = kFive[((x / 150) + (y / 200) * 2) % 5];
            uint8_t* p = ws.image + (uint64_t(y) * kW + x) * 3;
            p[0] = c.r, p[1] = c.g, p[2] = c.b;
        }
    for (int i = 0; i < 5; ++i) ws.paletteSwatches[i] = kFive[i];
    ws.colourWayCount = 5;
    ws.imageLoaded = 1;
}

void AutoMaskPicture(benchmark::State& state)
{
    orx::Workspace& ws = picture().ws;
    photograph(ws);
    std::memset(ws.selectedHue, 255, 256);
    std::memset(ws.selectedSaturation, 255, 256);
    std::memset(ws.selectedValue, 0, 256);
    std::memset(ws.selectedValue + 100, 255, 156);
    for (auto _ : state) orx::applyAutoMask(ws, 0, 0, kW - 1, kH - 1);
}
BENCHMARK(AutoMaskPicture)->Unit(benchmark::kMillisecond);

void OpenCvHsvInRange(benchmark::State& state)
{
    orx::Workspace& ws = picture().ws;
    photograph(ws);
    cv::Mat rgb(kH, kW, CV_8UC3, ws.image), hsv, mask;
    for (auto _ : state) {
        cv::cvtColor(rgb, hsv, cv::COLOR_RGB2HSV_FULL);
        cv::inRange(hsv, cv::Scalar(0, 0, 100), cv::Scalar(255, 255, 255), mask);
    }
}
BENCHMARK(OpenCvHsvInRange)->Unit(benchmark::kMillisecond);

// Exe's work after its snapshot: the picture to secondImage and the curves.
void ToneCurves(benchmark::State& state)
{
    orx::Workspace& ws = picture().ws;
    photograph(ws);
    const bool hsv = state.range(0) != 0, identity = state.range(1) != 0;
    ws.toneCurves = orx::ToneCurveTables();
    if (!identity)
        for (int c = 0; c < 6; ++c) orx::curveOfExponent(1.6, ws.toneCurves[c]);
    orx::takeSecondImage(ws);
    for (auto _ : state) {
        std::memcpy(ws.secondImage, ws.image, orx::imageBytes(ws));
        orx::applyToneCurves(ws, 0, 0, kW - 1, kH - 1, hsv);
    }
}
BENCHMARK(ToneCurves)->ArgNames({"hsv", "identity"})->Args({0, 0})->Args({1, 0})->Args({1, 1})->Unit(benchmark::kMillisecond);

void OpenCvLut(benchmark::State& state)
{
    orx::Workspace& ws = picture().ws;
    photograph(ws);
    cv::Mat rgb(kH, kW, CV_8UC3, ws.image), out;
    cv::Mat table(1, 256, CV_8UC3);
    orx::ToneCurveTables t;
    for (int c = 0; c < 3; ++c) orx::curveOfExponent(1.6, t[c]);
    for (int i = 0; i < 256; ++i) table.at<cv::Vec3b>(i) = cv::Vec3b(t[0][i], t[1][i], t[2][i]);
    for (auto _ : state) {
        cv::Mat copy = rgb.clone();
        cv::LUT(copy, table, out);
        benchmark::DoNotOptimize(out.data);
    }
}
BENCHMARK(OpenCvLut)->Unit(benchmark::kMillisecond);

// The preview box at 1:1 on a 1920 x 1080 view, through H, S, V.
void PreviewBox(benchmark::State& state)
{
    orx::Workspace& ws = picture().ws;
    photograph(ws);
    ws.imageLoaded = 1;
    for (int c = 0; c < 6; ++c) orx::curveOfExponent(1.6, ws.toneCurves[c]);
    orx::setViewSize(ws, 1920, 1080 + orx::kStatusBandHeight);
    ws.displayScale16 = 16;
    orx::redisplayAt(ws, 3000, 2000);
    orx::saveDisplay(ws);
    for (auto _ : state) {
        orx::restoreDisplayRect(ws, orx::Rect{800, 400, 900, 500});
        orx::previewToneCurves(ws, orx::Rect{800, 400, 900, 500}, true);
    }
}
BENCHMARK(PreviewBox)->Unit(benchmark::kMicrosecond);

// The full-screen window's pages on a 1920 x 1080 screen: `pages` pages
// (from page `first`) of the five-colour design at `grid` x `grid`, or the
// repeat test.
void composeScreens(benchmark::State& state, int grid, int first, int pages, bool repeat)
{
    orx::Workspace& ws = picture().ws;
    design(ws);
    ws.picturesAcross = ws.picturesDown = grid;
    std::vector<uint8_t> pixels(size_t(1920) * 1080 * 3);
    const orx::Canvas canvas{pixels.data(), 1920, 1080, 1920 * 3};
    for (auto _ : state)
        for (int page = first; page < first + pages; ++page)
            repeat ? orx::composeRepeatTest(ws, canvas) : orx::composeColourWayPage(ws, page, canvas);
}

void ColourWayPage(benchmark::State& state) { composeScreens(state, 4, 2, 1, false); }
void AllPagesFiveColoursTwoByTwo(benchmark::State& state) { composeScreens(state, 2, 1, 30, false); }
void RepeatTest(benchmark::State& state) { composeScreens(state, 4, 1, 1, true); }
BENCHMARK(ColourWayPage)->Unit(benchmark::kMillisecond);
BENCHMARK(AllPagesFiveColoursTwoByTwo)->Unit(benchmark::kMillisecond);
BENCHMARK(RepeatTest)->Unit(benchmark::kMillisecond);

void MakeColourWay(benchmark::State& state)
{
    orx::Workspace& ws = picture().ws;
    design(ws);
    orx::takeSecondImage(ws);
    for (auto _ : state) orx::makeColourWay(ws, 119, ws.secondImage);
}
BENCHMARK(MakeColourWay)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
