// What one click of a mouse tool costs on a 6000 x 4000 picture: an area
// filter of a 200 x 200 rectangle with its snapshot and the whole-image
// backup the right button takes it back from, and the mask region under a
// click of the mask-edge save on a clear mask (the worst case: the region
// is the whole picture).
#include <cstring>

#include <benchmark/benchmark.h>

#include "benchPicture.h"
#include "workspace/areaFilter.h"
#include "workspace/regionSave.h"
#include "workspace/undoSnapshot.h"
#include "workspace/workspace.h"

namespace {

BenchPicture& picture()
{
    static BenchPicture p("orx-tool-bench");
    return p;
}

// The left button up of a filter mode, without the redisplay.
void FilterClick(benchmark::State& state)
{
    BenchPicture& p = picture();
    int i = 0;
    for (auto _ : state) {
        const int x = 100 + (i * 37) % 5000, y = 100 + (i * 53) % 3000;
        orx::takeSnapshot(p.ws, orx::SnapshotImage, x, y, x + 199, y + 199, 0);
        std::memcpy(p.ws.secondImage, p.ws.image, orx::imageBytes(p.ws));
        orx::applyAreaFilter(p.ws, x, y, x + 199, y + 199, orx::FilterBlur);
        ++i;
    }
}
BENCHMARK(FilterClick)->Unit(benchmark::kMillisecond);

void MaskRegionOfTheWholePicture(benchmark::State& state)
{
    BenchPicture& p = picture();
    orx::Rect r;
    for (auto _ : state) benchmark::DoNotOptimize(orx::maskRegionBounds(p.ws, 3000, 2000, r));
    state.SetItemsProcessed(int64_t(state.iterations()) * 6000 * 4000);
}
BENCHMARK(MaskRegionOfTheWholePicture)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
