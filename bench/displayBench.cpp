// Composing a 1920 x 1080 picture: every zoom step about the centre of a
// 6000 x 4000 photograph and of a 640 x 480 one, the fit to the picture
// (showWholeImage), and a brush-sized redrawRect; each with the mask tinted in
// and without. The goal is at most 10 ms per composition at any step.
//
//   bench_display --benchmark_filter=6000x4000
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "platform/platform.h"
#include "workspace/display.h"
#include "workspace/workspace.h"

namespace {

using namespace orx;

constexpr int32_t kClientWidth = 1920;
constexpr int32_t kClientHeight = 1080 + kStatusBandHeight;
// RS for a 1920 x 1080 picture: rows of 5760 bytes.
constexpr size_t kDisplayBytesFor1080 = size_t(1920) * 3 * 1080;

constexpr int32_t kZoomSteps[] = {1,   2,   4,   8,   16,  32,  48,  64,  80,  96,
                                  112, 128, 144, 160, 176, 192, 208, 224, 240};

struct Photograph {
    ConsolePlatform platform{true};
    Workspace ws;
    std::string name;

    Photograph(int32_t width, int32_t height)
    {
        name = std::to_string(width) + "x" + std::to_string(height);
        ws.platform = &platform;
        const uint64_t block = std::max<uint64_t>(uint64_t(width) * height * 8, kMinBlockBytes);
        ::setenv("ORX_BLOCK_BYTES", std::to_string(block).c_str(), 1);
        const bool started = startWorkspace(ws, kDisplayBytesFor1080);
        ::unsetenv("ORX_BLOCK_BYTES");
        if (!started) std::abort();
        layoutPlanes(ws, width, height);
        paint(width, height);
        ws.imageLoaded = 1;
        setViewSize(ws, kClientWidth, kClientHeight);
        if (ws.displayWidth != 1920 || ws.displayHeight != 1080) std::abort();
    }

    // Smooth gradients with some texture, and a mask of 64-pixel squares so
    // that the tint goes on and off along every row.
    void paint(int32_t width, int32_t height)
    {
        for (int32_t y = 0; y < height; ++y) {
            uint8_t* p = ws.image + uint64_t(y) * ws.imageRowBytes;
            uint8_t* m = ws.mask + uint64_t(y) * uint64_t(width);
            for (int32_t x = 0; x < width; ++x, p += 3) {
                p[0] = uint8_t(x * 255 / width);
                p[1] = uint8_t(y * 255 / height);
                p[2] = uint8_t((x * 7) ^ (y * 3));
                m[x] = ((x / 64 + y / 64) & 1) ? 255 : 0;
            }
        }
    }

    void tint(bool on) { ws.maskVisible = on ? 1 : 0; }
};

void redisplayAtScale(benchmark::State& state, Photograph& photo, int32_t scale16, bool tinted)
{
    photo.tint(tinted);
    photo.ws.displayScale16 = scale16;
    for (auto _ : state) {
        redisplayAt(photo.ws, photo.ws.imageWidth / 2, photo.ws.imageHeight / 2);
        benchmark::DoNotOptimize(photo.ws.RS.get()[photo.ws.displayBytes / 2]);
    }
    state.counters["scale16"] = scale16;
}

void fitWholeImage(benchmark::State& state, Photograph& photo, bool tinted)
{
    photo.tint(tinted);
    for (auto _ : state) {
        showWholeImage(photo.ws);
        benchmark::DoNotOptimize(photo.ws.RS.get()[photo.ws.displayBytes / 2]);
    }
    state.counters["scale16"] = photo.ws.displayScale16;
}

// A 40-pixel brush stroke's rectangle at 1:1, the paint tools' common redraw.
void redrawBrushRect(benchmark::State& state, Photograph& photo, bool tinted)
{
    photo.tint(tinted);
    photo.ws.displayScale16 = 16;
    redisplayAt(photo.ws, photo.ws.imageWidth / 2, photo.ws.imageHeight / 2);
    for (auto _ : state) {
        redrawRect(photo.ws, Point{900, 500}, Point{1000, 560}, 20);
        benchmark::DoNotOptimize(photo.ws.RS.get()[photo.ws.displayBytes / 2]);
    }
}

void registerFor(Photograph& photo)
{
    for (bool tinted : {false, true}) {
        const std::string tint = tinted ? "/tint" : "/plain";
        for (int32_t s : kZoomSteps)
            benchmark::RegisterBenchmark(("redisplayAt/" + photo.name + "/s" + std::to_string(s) + tint).c_str(),
                                         redisplayAtScale, std::ref(photo), s, tinted)
                ->Unit(benchmark::kMillisecond)
                ->MinTime(0.1);
        benchmark::RegisterBenchmark(("showWholeImage/" + photo.name + tint).c_str(), fitWholeImage, std::ref(photo),
                                     tinted)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.1);
        benchmark::RegisterBenchmark(("redrawRect/" + photo.name + tint).c_str(), redrawBrushRect, std::ref(photo),
                                     tinted)
            ->Unit(benchmark::kMicrosecond)
            ->MinTime(0.1);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    // Both photographs live for the whole run; the benchmarks hold references.
    auto large = std::make_unique<Photograph>(6000, 4000);
    auto small = std::make_unique<Photograph>(640, 480);
    registerFor(*large);
    registerFor(*small);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
