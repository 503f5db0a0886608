// The mapping benchmark: how long the change-material road takes to dress
// a model, set beside a plain OpenCV pipeline doing comparable work on the
// same picture.
//
//   Dress/NAME        dressLoadedModel, a dress of the loaded model in the
//                     material: the material laid into its area, what the
//                     last dress changed brought back from the photograph,
//                     the ORX run (as a catalogue batch dresses a model
//                     again and again)
//   Unclosed/NAME     the same with the pinhole closing turned off, to
//                     tell what the closing costs
//   MappingRun/NAME   runMapping alone, to split the road in two
//   OpenCV/NAME       per-pixel maps built once (one perspective transform
//                     per cell, part masks applied), then in the timed loop
//                     cv::remap of the material area, the same HSV shading
//                     and a masked copy into the picture
//
// Each is run in contrast and reflection shading, sharp and soft (the
// arguments reflection:0/1 and soft:0/1), on every model of the sample
// library and on the 4000 x 3000 bench model. The inputs are generated once
// into a temporary folder. After the runs a summary gives, per case, the
// best time, the picture megapixels per second, the ratio ours / OpenCV
// (below 1.0: ours is faster) and the closing's share, each beside its goal.
// Give --benchmark_repetitions=N to take the best of N.
#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "samples/sampleLibrary.h"
#include "tempFolder.h"
#include "engine/dressAgain.h"
#include "engine/orxScript.h"
#include "engine/mesh.h"
#include "engine/repeatLayout.h"
#include "engine/simulation.h"
#include "workspace/fileIo.h"
#include "workspace/nativeFile.h"
#include "workspace/workspace.h"

namespace {

using namespace orx;

constexpr int32_t kBenchWidth = 4000;
constexpr int32_t kBenchHeight = 3000;
// Goals: a dress of the bench model in contrast shading, sharp; every
// dress against the OpenCV pipeline; the pinhole closing's share of a dress.
constexpr double kGoalMs = 35;
constexpr double kGoalRatio = 0.8;
constexpr double kGoalClosingShare = 0.03;
constexpr double kMinTimeSeconds = 0.5;

using bench::TempFolder;

// ---- the OpenCV side

// What the OpenCV pipeline needs of one model: the pictures whole, the maps
// and the mask cut to the bounding box of the pixels it maps.
struct CvScene {
    cv::Mat photo;         // secondImage with the material laid, whole picture, RGB
    cv::Mat out;           // the picture it writes into
    cv::Rect area;         // the material area: remap reads from photo(area)
    cv::Rect roi;          // bounding box of the mapped pixels
    cv::Mat mapX, mapY;    // CV_32FC1, roi-sized, material position relative to area
    cv::Mat mask;          // roi-sized, 255 where a pixel is mapped
    uint64_t pixels = 0;   // mapped pixels
};

// The scratch planes of one pipeline, kept across iterations so that the
// timed loop allocates nothing.
struct CvScratch {
    cv::Mat material, hsv, photoHsv, brightness, light, pow, rootA, rootB;
    std::vector<cv::Mat> photoChannels, hsvChannels, photoHsvChannels;
};

struct CvTables {
    cv::Mat contrast;  // the engine's contrast table
    cv::Mat valuePow;  // 255 pow(i / 255, c), rounded
    cv::Mat root;      // 255 sqrt(i / 255), rounded: sqrt(a b) = root(a) root(b) / 255
};

CvTables makeCvTables(const Workspace& ws)
{
    CvTables t;
    t.contrast = cv::Mat(1, 256, CV_8U);
    t.valuePow = cv::Mat(1, 256, CV_8U);
    t.root = cv::Mat(1, 256, CV_8U);
    const double c = ws.contrastExponent;
    for (int i = 0; i < 256; ++i) {
        t.contrast.at<uint8_t>(i) = ws.contrastTable[i];
        t.valuePow.at<uint8_t>(i) = cv::saturate_cast<uint8_t>(255 * std::pow(i / 255.0, c));
        t.root.at<uint8_t>(i) = cv::saturate_cast<uint8_t>(255 * std::sqrt(i / 255.0));
    }
    return t;
}

// Contrast: the material's value times table[max channel of the
// photograph] / 255, hue and saturation kept.
void shadeContrastCv(const CvScene& s, const CvTables& t, CvScratch& w)
{
    cv::split(s.photo(s.roi), w.photoChannels);
    cv::max(w.photoChannels[0], w.photoChannels[1], w.brightness);
    cv::max(w.brightness, w.photoChannels[2], w.brightness);
    cv::LUT(w.brightness, t.contrast, w.light);
    cv::cvtColor(w.material, w.hsv, cv::COLOR_RGB2HSV);
    cv::split(w.hsv, w.hsvChannels);
    cv::multiply(w.hsvChannels[2], w.light, w.hsvChannels[2], 1.0 / 255);
    cv::merge(w.hsvChannels, w.hsv);
}

// Reflection: V' = pow(Vm, c) Vt and S' = sqrt(St Sm), the material's hue.
void shadeReflectionCv(const CvScene& s, const CvTables& t, CvScratch& w)
{
    cv::cvtColor(s.photo(s.roi), w.photoHsv, cv::COLOR_RGB2HSV);
    cv::split(w.photoHsv, w.photoHsvChannels);
    cv::cvtColor(w.material, w.hsv, cv::COLOR_RGB2HSV);
    cv::split(w.hsv, w.hsvChannels);
    cv::LUT(w.hsvChannels[2], t.valuePow, w.pow);
    cv::multiply(w.pow, w.photoHsvChannels[2], w.hsvChannels[2], 1.0 / 255);
    cv::LUT(w.hsvChannels[1], t.root, w.rootA);
    cv::LUT(w.photoHsvChannels[1], t.root, w.rootB);
    cv::multiply(w.rootA, w.rootB, w.hsvChannels[1], 1.0 / 255);
    cv::merge(w.hsvChannels, w.hsv);
}

void dressCv(CvScene& s, const CvTables& t, CvScratch& w, bool reflection, bool soft)
{
    cv::remap(s.photo(s.area), w.material, s.mapX, s.mapY, soft ? cv::INTER_LINEAR : cv::INTER_NEAREST,
              cv::BORDER_REPLICATE);
    if (reflection)
        shadeReflectionCv(s, t, w);
    else
        shadeContrastCv(s, t, w);
    cv::cvtColor(w.hsv, w.material, cv::COLOR_HSV2RGB);
    w.material.copyTo(s.out(s.roi), s.mask);
}

// ---- the OpenCV maps, built once from the model's own files

struct Part {
    cv::Mat mask;                // W x H, 0 where the part is open
    std::vector<MeshCell> cells; // row-major, as the engine walks them
};

cv::Mat readPartMask(Workspace& ws, const std::string& path)
{
    const size_t rowBytes = size_t(ws.imageWidth + 7) / 8;
    std::vector<uint8_t> packed;
    if (!readWholeFile(localFiles(), path, uint64_t(1) << 32, packed) || packed.size() < rowBytes * ws.imageHeight)
        return {};
    cv::Mat mask(ws.imageHeight, ws.imageWidth, CV_8U);
    for (int y = 0; y < ws.imageHeight; ++y) unpackMaskRow(packed.data() + y * rowBytes, ws.imageWidth, mask.ptr(y));
    return mask;
}

std::vector<MeshCell> readCells(Workspace& ws, const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (!readWholeFile(localFiles(), path, kMapMaxBytes, bytes)) return {};
    if (decodeMap(ws, bytes.data(), bytes.size()) != MapDecode::Ok) return {};
    std::vector<MeshCell> cells;
    for (int n = 0; n < ws.meshColumns * ws.meshRows; ++n) {
        extractCell(ws, n);
        cells.push_back(ws.cell);
    }
    return cells;
}

std::vector<std::string> textLines(const std::vector<uint8_t>& text)
{
    std::vector<std::string> lines(1);
    for (uint8_t ch : text) {
        if (ch == '\n')
            lines.emplace_back();
        else if (ch != '\r')
            lines.back() += char(ch);
    }
    return lines;
}

// The parts of an ORX file: each MAP line with the mask line before it (a
// MAP line before any mask line with a clear mask, as after loading; one
// after a mask that cannot be read is left out, as the run leaves it).
std::vector<Part> readParts(Workspace& ws, const std::string& orxPath)
{
    std::vector<uint8_t> text;
    std::vector<Part> parts;
    if (!readWholeFile(localFiles(), orxPath, 1 << 20, text)) return parts;
    cv::Mat mask = cv::Mat::zeros(ws.imageHeight, ws.imageWidth, CV_8U);
    for (const std::string& line : textLines(text)) {
        const OrxLineInfo info = classifyOrxLine(line);
        if (info.kind == OrxMask) {
            const std::string name = line.substr(0, size_t(info.value));
            mask = readPartMask(ws, resolveNamedFile(localFiles(), orxPath, name));
        } else if (info.kind == OrxMap && !mask.empty()) {
            const std::string name = line.substr(0, line.find(".MAP") + 4);
            parts.push_back({mask, readCells(ws, resolveNamedFile(localFiles(), orxPath, name))});
        }
    }
    return parts;
}

// The cell's transform from the object quadrilateral to the material
// rectangle; none for cells the engine leaves alone (concave, crossed or
// flat ones) and for flat material rectangles.
std::optional<cv::Matx33d> cellTransform(const MeshCell& c)
{
    std::vector<cv::Point2f> obj;
    for (const MeshPoint& p : c.p) obj.emplace_back(float(p.x), float(p.y));
    const std::vector<cv::Point2f> mat = {{float(c.q0.x), float(c.q0.y)}, {float(c.q2.x), float(c.q0.y)},
                                          {float(c.q2.x), float(c.q2.y)}, {float(c.q0.x), float(c.q2.y)}};
    if (!cv::isContourConvex(obj) || cv::contourArea(obj) < 0.5 || c.q0.x == c.q2.x || c.q0.y == c.q2.y)
        return std::nullopt;
    return cv::Matx33d(cv::getPerspectiveTransform(obj, mat));
}

// Fills the whole-picture maps for one part: every pixel of a cell that the
// part's mask leaves open gets the material position of its cell, a later
// cell (and a later part) taking over a pixel an earlier one had, as in
// the engine.
void mapPart(const Part& part, const cv::Rect& area, cv::Mat& mapX, cv::Mat& mapY, cv::Mat& mapped)
{
    cv::Mat labels(part.mask.size(), CV_32S, cv::Scalar(-1));
    std::vector<cv::Matx33d> transforms(part.cells.size());
    for (size_t k = 0; k < part.cells.size(); ++k) {
        const std::optional<cv::Matx33d> t = cellTransform(part.cells[k]);
        if (!t) continue;
        transforms[k] = *t;
        std::vector<cv::Point> quad;
        for (const MeshPoint& p : part.cells[k].p) quad.emplace_back(p.x, p.y);
        cv::fillConvexPoly(labels, quad, cv::Scalar(double(k)));
    }
    const int w = part.mask.cols, h = part.mask.rows;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int k = labels.at<int>(y, x);
            if (k < 0 || part.mask.at<uint8_t>(y, x) != 0) continue;
            const cv::Vec3d m = transforms[k] * cv::Vec3d(x, y, 1);
            const double u = m[0] / m[2], v = m[1] / m[2];
            const int mu = cvRound(u), mv = cvRound(v);
            // The engine maps no pixel whose material position is off the
            // picture or protected by the part's mask.
            if (mu < 0 || mv < 0 || mu >= w || mv >= h || part.mask.at<uint8_t>(mv, mu) != 0) continue;
            mapX.at<float>(y, x) = float(u - area.x);
            mapY.at<float>(y, x) = float(v - area.y);
            mapped.at<uint8_t>(y, x) = 255;
        }
}

cv::Rect materialArea(const Workspace& ws)
{
    const cv::Rect a(ws.modelArea[0], ws.modelArea[1], ws.modelArea[2] - ws.modelArea[0],
                     ws.modelArea[3] - ws.modelArea[1]);
    return a & cv::Rect(0, 0, ws.imageWidth, ws.imageHeight);
}

// Builds the maps from the model's ORX, mask and MAP files; ws holds the
// model with the material laid in secondImage.
bool buildCvScene(Workspace& ws, const std::string& orxPath, CvScene& s)
{
    const std::vector<Part> parts = readParts(ws, orxPath);
    if (parts.empty()) return false;
    const int w = ws.imageWidth, h = ws.imageHeight;
    s.photo = cv::Mat(h, w, CV_8UC3, ws.secondImage).clone();
    s.out = s.photo.clone();
    s.area = materialArea(ws);
    cv::Mat mapX(h, w, CV_32F, cv::Scalar(-1)), mapY(h, w, CV_32F, cv::Scalar(-1));
    cv::Mat mapped = cv::Mat::zeros(h, w, CV_8U);
    for (const Part& part : parts) mapPart(part, s.area, mapX, mapY, mapped);
    s.pixels = uint64_t(cv::countNonZero(mapped));
    if (s.pixels == 0 || s.area.empty()) return false;
    std::vector<cv::Point> points;
    cv::findNonZero(mapped, points);
    s.roi = cv::boundingRect(points);
    s.mapX = mapX(s.roi).clone();
    s.mapY = mapY(s.roi).clone();
    s.mask = mapped(s.roi).clone();
    return true;
}

// ---- the models

struct Scene {
    std::string label;      // NAME_WxH
    std::string modelPath;
    int32_t width = 0, height = 0;
    uint64_t pixels = 0;    // pixels the engine maps
    cv::Mat engineMapped;   // 255 where the engine maps a pixel
    cv::Mat engineDressed;  // the engine's picture, contrast and sharp
    CvScene cv;
    double megapixels() const { return double(width) * height / 1e6; }
};

struct Bench {
    QuietPlatform platform;
    Workspace ws;
    std::string materialPath;
    std::vector<Scene> scenes;
    const Scene* loaded = nullptr;
    DressTrace trace;  // of the last dress of the loaded scene
    CvTables tables;
};

bool loadScene(Bench& b, const Scene& s)
{
    if (b.loaded == &s) return true;
    b.loaded = nullptr;
    b.trace = {};
    if (!loadModelForDressing(b.ws, s.modelPath)) return false;
    b.ws.modelPath = s.modelPath;
    b.ws.materialPath = b.materialPath;
    if (!buildRepeatedMaterial(b.ws)) return false;
    b.loaded = &s;
    return true;
}

// The pixels a run writes: the picture is cleared to 0 and to 255 before
// two runs; since a run's output depends on secondImage and the masks
// alone, a pixel comes out the same both times exactly when it was written.
bool measureEngine(Bench& b, Scene& s)
{
    Workspace& ws = b.ws;
    const std::string orx = orxPathOf(s.modelPath);
    std::memset(ws.image, 0, imageBytes(ws));
    if (runMapping(ws, orx) != 1) return false;
    const cv::Mat first = cv::Mat(ws.imageHeight, ws.imageWidth, CV_8UC3, ws.image).clone();
    std::memset(ws.image, 255, imageBytes(ws));
    if (runMapping(ws, orx) != 1) return false;
    s.engineDressed = cv::Mat(ws.imageHeight, ws.imageWidth, CV_8UC3, ws.image).clone();
    cv::Mat same;
    cv::compare(first, s.engineDressed, same, cv::CMP_EQ);
    cv::Mat planes[3];
    cv::split(same, planes);
    s.engineMapped = planes[0] & planes[1] & planes[2];
    s.pixels = uint64_t(cv::countNonZero(s.engineMapped));
    return s.pixels > 0;
}

// Null when the scene is ready, else what went wrong.
const char* prepareScene(Bench& b, Scene& s)
{
    if (!loadScene(b, s)) return "the model or the material could not be read";
    b.ws.reflection = 0;
    b.ws.softMapping = 0;
    if (!measureEngine(b, s)) return "the mapping run failed or mapped no pixel";
    b.tables = makeCvTables(b.ws);  // runMapping has built the contrast table
    if (!buildCvScene(b.ws, orxPathOf(s.modelPath), s.cv)) return "the OpenCV maps map no pixel";
    return nullptr;
}

// How close the OpenCV picture comes to ours, over the pixels both map:
// the mean channel difference and the share within 16 levels. The shading
// is the same (with a plain colour laid the two agree to within a level on
// average); on a check most of the difference is where each side puts the
// check's edges, one walking material lines, the other a perspective.
void printAgreement(Bench& b, Scene& s)
{
    CvScratch w;
    dressCv(s.cv, b.tables, w, false, false);
    cv::Mat both = cv::Mat::zeros(s.engineMapped.size(), CV_8U);
    s.engineMapped(s.cv.roi).copyTo(both(s.cv.roi), s.cv.mask);
    cv::Mat diff, near;
    cv::absdiff(s.engineDressed, s.cv.out, diff);
    const double shared = cv::countNonZero(both);
    const cv::Scalar mean = cv::mean(diff, both);
    cv::Mat planes[3];
    cv::split(diff, planes);
    near = (cv::max(cv::max(planes[0], planes[1]), planes[2]) <= 16) & both;
    std::printf("%-18s engine maps %.2f Mpx (%.0f %% of the picture), OpenCV maps %.2f Mpx; over the %.2f Mpx both "
                "map, mean channel difference %.1f, %.0f %% within 16 levels\n",
                s.label.c_str(), s.pixels / 1e6, 100.0 * s.pixels / (double(s.width) * s.height), s.cv.pixels / 1e6,
                shared / 1e6, (mean[0] + mean[1] + mean[2]) / 3, 100.0 * cv::countNonZero(near) / std::max(shared, 1.0));
    s.cv.photo.copyTo(s.cv.out);
}

// ---- the benchmarks

void setCounters(benchmark::State& state, const Scene& s)
{
    state.counters["MPix/s"] = benchmark::Counter(s.megapixels(), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["mapped_px"] = benchmark::Counter(double(s.pixels));
}

bool enterScene(benchmark::State& state, Bench& b, const Scene& s)
{
    if (loadScene(b, s)) {
        b.ws.reflection = int32_t(state.range(0));
        b.ws.softMapping = int32_t(state.range(1));
        return true;
    }
    state.SkipWithError("the model could not be loaded");
    return false;
}

void dressBench(benchmark::State& state, Bench& b, const Scene& s, int32_t closing)
{
    if (!enterScene(state, b, s)) return;
    b.ws.pinholeClosing = closing;
    for (auto _ : state) {
        if (dressLoadedModel(b.ws, b.trace) != 1) {
            state.SkipWithError("the run failed");
            break;
        }
    }
    b.ws.pinholeClosing = 1;
    setCounters(state, s);
}

void mappingRunBench(benchmark::State& state, Bench& b, const Scene& s)
{
    if (!enterScene(state, b, s)) return;
    const std::string orx = orxPathOf(s.modelPath);
    RunOptions options;
    options.maskPlaneUntouched = true;  // as the dress runs it
    for (auto _ : state) {
        if (runMapping(b.ws, orx, localFiles(), options) != 1) {
            state.SkipWithError("the run failed");
            break;
        }
    }
    setCounters(state, s);
}

void openCvBench(benchmark::State& state, Bench& b, Scene& s)
{
    const bool reflection = state.range(0) != 0, soft = state.range(1) != 0;
    CvScratch w;
    for (auto _ : state) dressCv(s.cv, b.tables, w, reflection, soft);
    state.counters["MPix/s"] = benchmark::Counter(s.megapixels(), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["mapped_px"] = benchmark::Counter(double(s.cv.pixels));
}

void registerScene(Bench& b, Scene& s)
{
    auto shape = [](benchmark::internal::Benchmark* bm) {
        bm->ArgsProduct({{0, 1}, {0, 1}})
            ->ArgNames({"reflection", "soft"})
            ->Unit(benchmark::kMillisecond)
            ->MinTime(kMinTimeSeconds)
            // Both sides run worker threads: the time is the wall clock's,
            // and the CPU column holds every thread's, which other work on a
            // shared machine disturbs less.
            ->UseRealTime()
            ->MeasureProcessCPUTime();
    };
    shape(benchmark::RegisterBenchmark(("Dress/" + s.label).c_str(),
                                       [&b, &s](benchmark::State& st) { dressBench(st, b, s, 1); }));
    shape(benchmark::RegisterBenchmark(("Unclosed/" + s.label).c_str(),
                                       [&b, &s](benchmark::State& st) { dressBench(st, b, s, 0); }));
    shape(benchmark::RegisterBenchmark(("MappingRun/" + s.label).c_str(),
                                       [&b, &s](benchmark::State& st) { mappingRunBench(st, b, s); }));
    shape(benchmark::RegisterBenchmark(("OpenCV/" + s.label).c_str(),
                                       [&b, &s](benchmark::State& st) { openCvBench(st, b, s); }));
}

// ---- the summary

struct Best {
    double wall = 0, cpu = 0;  // seconds per iteration
    int runs = 0;
};

// The console report, keeping the best times of every case (over
// repetitions) for the summary.
class BestTimes : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal, as the library's own console report does.
    BestTimes() : ConsoleReporter(::isatty(::fileno(stdout)) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs) {
            if (r.run_type != Run::RT_Iteration || r.error_occurred) continue;
            const double unit = benchmark::GetTimeUnitMultiplier(r.time_unit);
            const double wall = r.GetAdjustedRealTime() / unit, cpu = r.GetAdjustedCPUTime() / unit;
            Best& b = best_[r.run_name.function_name + "/" + r.run_name.args];
            b.wall = b.runs ? std::min(b.wall, wall) : wall;
            b.cpu = b.runs ? std::min(b.cpu, cpu) : cpu;
            ++b.runs;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // Zero times when the case did not run.
    Best of(const std::string& key) const
    {
        const auto it = best_.find(key);
        return it == best_.end() ? Best{} : it->second;
    }
    // The most repetitions any case ran.
    int repetitions() const
    {
        int most = 0;
        for (const auto& [key, b] : best_) most = std::max(most, b.runs);
        return most;
    }

private:
    std::map<std::string, Best> best_;
};

struct CaseName {
    const char* args;
    const char* text;
};

const CaseName kCases[] = {{"reflection:0/soft:0", "contrast, sharp"},
                           {"reflection:0/soft:1", "contrast, soft"},
                           {"reflection:1/soft:0", "reflection, sharp"},
                           {"reflection:1/soft:1", "reflection, soft"}};

const char* verdict(bool met) { return met ? "met" : "NOT met"; }

void printCase(const BestTimes& t, const Scene& s, const CaseName& c)
{
    const Best ours = t.of("Dress/" + s.label + "/" + c.args);
    const Best unclosed = t.of("Unclosed/" + s.label + "/" + c.args);
    const Best run = t.of("MappingRun/" + s.label + "/" + c.args);
    const Best cv = t.of("OpenCV/" + s.label + "/" + c.args);
    if (ours.wall <= 0 || cv.wall <= 0) return;
    std::printf("%-16s %-17s dress %6.1f ms %6.1f MPix/s (cpu %6.1f) | run alone %6.1f (cpu %6.1f) | OpenCV %6.1f ms "
                "(cpu %6.1f) | ours / OpenCV %.2f (goal <= %.1f: %s)",
                s.label.c_str(), c.text, ours.wall * 1e3, s.megapixels() / ours.wall, ours.cpu * 1e3, run.wall * 1e3,
                run.cpu * 1e3, cv.wall * 1e3, cv.cpu * 1e3, ours.wall / cv.wall, kGoalRatio,
                verdict(ours.wall <= kGoalRatio * cv.wall));
    if (unclosed.wall > 0) {
        const double share = ours.wall / unclosed.wall - 1;
        std::printf(" | without closing %6.1f ms, closing %+.1f %% (goal <= %.0f %%: %s)", unclosed.wall * 1e3,
                    share * 100, kGoalClosingShare * 100, verdict(share <= kGoalClosingShare));
    }
    std::printf("\n");
}

void printSummary(const BestTimes& t, const Bench& b)
{
    if (t.repetitions() == 0) return;
    std::printf("\nBest of %d; ms per dress (dress = dressLoadedModel: material, restore, run), cpu = ms of all threads; "
                "a ratio below 1.0: ours is faster\n",
                t.repetitions());
    for (const Scene& s : b.scenes)
        for (const CaseName& c : kCases) printCase(t, s, c);
    const Scene& bench = b.scenes.back();
    const double ms = t.of("Dress/" + bench.label + "/" + kCases[0].args).wall * 1e3;
    if (ms > 0)
        std::printf("Goal for %s, contrast, sharp: <= %.0f ms: %.1f ms -> %s\n", bench.label.c_str(), kGoalMs, ms,
                    verdict(ms <= kGoalMs));
}

// ---- the inputs

// A check if the library has one, else a stripe: materials with hard edges
// show every sampling error.
const SampleMaterialRecipe* patternedMaterial()
{
    for (SampleWeave weave : {SampleWeave::Gingham, SampleWeave::Stripe})
        for (const SampleMaterialRecipe& r : sampleMaterialRecipes())
            if (r.weave == weave) return &r;
    return nullptr;
}

// The image block holds the picture's 11 bytes per pixel (two colour
// planes, mask, mask copy and the temp copy), rounded up to a megabyte.
// A size given from outside wins.
void sizeBlockFor(int64_t pixels)
{
    const int64_t mb = 1 << 20;
    const int64_t bytes = (pixels * 11 + mb - 1) / mb * mb;
    ::setenv("ORX_BLOCK_BYTES", std::to_string(bytes).c_str(), 0);
}

Scene sceneOf(const std::string& dir, const std::string& name, int32_t w, int32_t h)
{
    Scene s;
    s.label = name + "_" + std::to_string(w) + "x" + std::to_string(h);
    s.modelPath = joinPath(dir, name + ".MDL");
    s.width = w;
    s.height = h;
    return s;
}

bool makeInputs(Bench& b, const std::string& dir)
{
    const SampleMaterialRecipe* material = patternedMaterial();
    if (!material) return false;
    int64_t most = int64_t(kBenchWidth) * kBenchHeight;
    for (const SampleModelRecipe& r : sampleModelRecipes()) most = std::max<int64_t>(most, int64_t(r.width) * r.height);
    sizeBlockFor(most);
    b.ws.platform = &b.platform;
    if (!startWorkspace(b.ws)) return false;
    // Only the files the runs read: the same recipes as the whole library's.
    for (const SampleModelRecipe& r : sampleModelRecipes()) {
        if (!writeSampleModel(b.ws, dir, r.name, r.scene, r.width, r.height)) return false;
        b.scenes.push_back(sceneOf(dir, r.name, r.width, r.height));
    }
    if (!writeSampleMaterial(b.ws, dir, *material) || !writeBenchModel(b.ws, dir, kBenchWidth, kBenchHeight))
        return false;
    b.materialPath = joinPath(dir, std::string(material->name) + ".CLO");
    b.scenes.push_back(sceneOf(dir, "BENCH", kBenchWidth, kBenchHeight));
    std::printf("material %s (%d x %d), %u hardware threads, OpenCV %s with %d threads\n", material->name,
                material->width, material->height, std::thread::hardware_concurrency(), CV_VERSION,
                cv::getNumThreads());
    for (Scene& s : b.scenes) {
        if (const char* failure = prepareScene(b, s)) {
            std::fprintf(stderr, "bench_mapping: %s: %s\n", s.modelPath.c_str(), failure);
            return false;
        }
        printAgreement(b, s);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TempFolder dir("orxbench");
    if (dir.path().empty()) {
        std::fprintf(stderr, "bench_mapping: no temporary folder\n");
        return 1;
    }
    Bench b;
    if (!makeInputs(b, dir.path())) {
        std::fprintf(stderr, "bench_mapping: the inputs could not be generated in %s (%s)\n", dir.path().c_str(),
                     b.platform.lastMessage.c_str());
        return 1;
    }
    for (Scene& s : b.scenes) registerScene(b, s);
    BestTimes times;
    benchmark::RunSpecifiedBenchmarks(&times);
    printSummary(times, b);
    benchmark::Shutdown();
    return 0;
}
