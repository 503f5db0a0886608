// The paint tools on the 6000 x 4000 picture, one thread. Goals:
//   fill of the whole picture 60 ms, of a serpentine region (1,500 walls)
//   200 ms, each within 1.1 of cv::floodFill (4-connected, exact colour);
//   a fill click with its whole-image snapshot and backup 300 ms;
//   replaceColour 40 ms; gradient rectangle over the picture 80 ms opaque,
//   120 ms translucent, gradient ellipse 80 ms; shaded fill of the picture
//   250 ms; a 1,000-pixel width-5 pen segment 50 us; a stroke's start and
//   end 30 ms; an air-brush dab of radius 30 20 us, of 255 1 ms;
//   buildBrushTable(255) 2 ms; a 100-point curve 5 ms.
#include <cstring>

#include <benchmark/benchmark.h>
#include <opencv2/imgproc.hpp>

#include "benchPicture.h"
#include "tools/airBrush.h"
#include "tools/curve.h"
#include "tools/fill.h"
#include "tools/paint.h"
#include "tools/stroke.h"
#include "workspace/undoSnapshot.h"

namespace {

constexpr int kW = 6000, kH = 4000;

BenchPicture& picture()
{
    static BenchPicture p("orx-paint-bench");
    return p;
}

// Every pixel one colour.
void plain(orx::Workspace& ws, uint8_t v)
{
    std::memset(ws.image, v, orx::imageBytes(ws));
    orx::clearMask(ws);
}

// Walls every fourth column, open at the top and the bottom by turns: the
// region between them runs up and down the picture 1,500 times.
void serpentine(orx::Workspace& ws)
{
    plain(ws, 200);
    for (int x = 3; x < kW; x += 4) {
        const int gap = (x / 4) % 2 ? 0 : kH - 1;
        for (int y = 0; y < kH; ++y)
            if (y != gap) std::memset(ws.image + (uint64_t(y) * kW + x) * 3, 0, 3);
    }
}

// Fills by turns with two colours, so that every pass has the whole region to fill.
template <typename FillOnce>
void alternateFills(benchmark::State& state, FillOnce&& fill)
{
    int i = 0;
    for (auto _ : state) fill(i++ % 2 ? orx::Rgb{200, 200, 200} : orx::Rgb{10, 20, 30});
}

void FillWholePicture(benchmark::State& state)
{
    orx::Workspace& ws = picture().ws;
    plain(ws, 200);
    alternateFills(state, [&](orx::Rgb c) {
        ws.penColour = c;
        benchmark::DoNotOptimize(orx::floodFill(ws, 3000, 2000));
    });
}
BENCHMARK(FillWholePicture)->Unit(benchmark::kMillisecond);

void FillSerpentine(benchmark::State& state)
{
    orx::Workspace& ws = picture().ws;
    serpentine(ws);
    alternateFills(state, [&](orx::Rgb c) {
        ws.penColour = c;
        benchmark::DoNotOptimize(orx::floodFill(ws, 0, 0));
    });
}
BENCHMARK(FillSerpentine)->Unit(benchmark::kMillisecond);

void OpenCvFill(benchmark::State& state, bool walls)
{
    orx::Workspace& ws = picture().ws;
    walls ? serpentine(ws) : plain(ws, 200);
    cv::Mat image(kH, kW, CV_8UC3, ws.image);
    alternateFills(state, [&](orx::Rgb c) {
        benchmark::DoNotOptimize(cv::floodFill(image, cv::Point(0, 0), cv::Scalar(c.r, c.g, c.b), nullptr,
                                               cv::Scalar(), cv::Scalar(), 4));
    });
}
void OpenCvFillWholePicture(benchmark::State& state) { OpenCvFill(state, false); }
void OpenCvFillSerpentine(benchmark::State& state) { OpenCvFill(state, true); }
BENCHMARK(OpenCvFillWholePicture)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenCvFillSerpentine)->Unit(benchmark::kMillisecond);

// The left button up of the fill mode, without the redisplay.
void FillClick(benchmark::State& state)
{
    orx::Workspace& ws = picture().ws;
    plain(ws, 200);
    alternateFills(state, [&](orx::Rgb c) {
        orx::takeSnapshot(ws, orx::SnapshotImage, 0, 0, kW - 1, kH - 1, 0);
        std::memcpy(ws.secondImage, ws.image, orx::imageBytes(ws));
        ws.penColour = c;
        orx::floodFill(ws, 3000, 2000);
    });
}
BENCHMARK(FillClick)->Unit(benchmark::kMillisecond);

void ReplaceColour(benchmark::State& state)
{
    orx::Workspace& ws = picture().ws;
    serpentine(ws);
    int i = 0;
    for (auto _ : state) {
        const uint8_t a = i % 2 ? 90 : 200, b = i % 2 ? 200 : 90;
        orx::replaceColour(ws, orx::Rgb{a, a, a}, orx::Rgb{b, b, b});
        ++i;
    }
}
BENCHMARK(ReplaceColour)->Unit(benchmark::kMillisecond);

const orx::Rgb kCorners[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};

void GradientRectangle(benchmark::State& state)
{
    orx::Workspace& ws = picture().ws;
    plain(ws, 100);
    const int density = int(state.range(0));
    for (auto _ : state) orx::fillRectangleGradient(ws, 0, 0, kW - 1, kH - 1, kCorners, density);
}
BENCHMARK(GradientRectangle)->Arg(100)->Arg(50)->Unit(benchmark::kMillisecond);

void GradientEllipse(benchmark::State& state)
{
    orx::Workspace& ws = picture().ws;
    plain(ws, 100);
    for (auto _ : state) orx::fillEllipseGradient(ws, 0, 0, kW - 1, kH - 1, kCorners, 100);
}
BENCHMARK(GradientEllipse)->Unit(benchmark::kMillisecond);

void ShadedFillWholePicture(benchmark::State& state)
{
    BenchPicture& p = picture();
    orx::Workspace& ws = p.ws;
    for (uint64_t i = 0; i < orx::imageBytes(ws); ++i) ws.image[i] = uint8_t(i * 31);
    orx::clearMask(ws);
    ws.contrastExponent = 1.3f;
    for (auto _ : state) benchmark::DoNotOptimize(orx::shadedFill(ws, 3000, 2000, orx::Rgb{180, 40, 90}));
}
BENCHMARK(ShadedFillWholePicture)->Unit(benchmark::kMillisecond);

void PenSegment(benchmark::State& state)
{
    orx::Workspace& ws = picture().ws;
    plain(ws, 100);
    int i = 0;
    for (auto _ : state) {
        const int y = 100 + (i++ % 3000);
        orx::drawPenLine(ws, 1000, y, 2000, y + 300, orx::Rgb{9, 9, 9}, 5, 100);
    }
}
BENCHMARK(PenSegment)->Unit(benchmark::kMicrosecond);

// What a stroke costs beside its stamps: the plane copies when the button
// goes down, the snapshot and the mark clearing when it comes up.
void StrokeStartAndEnd(benchmark::State& state)
{
    orx::Workspace& ws = picture().ws;
    plain(ws, 100);
    ws.penColour = orx::Rgb{200, 10, 10};
    ws.penDensity = 50;
    ws.penWidth = 5;
    orx::Stroke stroke;
    orx::Rect box;
    int i = 0;
    for (auto _ : state) {
        const int x = 100 + (i++ * 37) % 5000;
        orx::startPenStroke(ws, stroke, orx::Point{x, 1000}, orx::SnapshotImage);
        orx::continuePenStroke(ws, stroke, orx::Point{x + 150, 1150});
        orx::endStroke(ws, stroke, box);
    }
}
BENCHMARK(StrokeStartAndEnd)->Unit(benchmark::kMillisecond);

void AirBrushDab(benchmark::State& state)
{
    orx::Workspace& ws = picture().ws;
    plain(ws, 100);
    const int r = int(state.range(0));
    orx::buildBrushTable(ws, r, 120);
    int i = 0;
    for (auto _ : state) {
        orx::sprayColour(ws, 300 + (i * 7) % 5000, 300 + (i * 3) % 3000, orx::Rgb{250, 10, 10}, r);
        ++i;
    }
}
BENCHMARK(AirBrushDab)->Arg(30)->Arg(255)->Unit(benchmark::kMicrosecond);

void BuildBrushTable(benchmark::State& state)
{
    orx::Workspace& ws = picture().ws;
    for (auto _ : state) orx::buildBrushTable(ws, 255, 200);
}
BENCHMARK(BuildBrushTable)->Unit(benchmark::kMillisecond);

void HundredPointCurve(benchmark::State& state)
{
    orx::Workspace& ws = picture().ws;
    plain(ws, 100);
    ws.penWidth = 3;
    orx::Point points[100];
    for (int i = 0; i < 100; ++i) points[i] = orx::Point{200 + 50 * i, 1000 + (i % 2 ? 400 : -300)};
    for (auto _ : state) orx::drawCurve(ws, points, 100, orx::CurvePen, false, orx::Rgb{1, 2, 3}, 60);
}
BENCHMARK(HundredPointCurve)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
