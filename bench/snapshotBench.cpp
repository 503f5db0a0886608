// Undo snapshots are written before every stroke: a 200 x 200 rectangle of
// a 6000 x 4000 picture must not stall the pointer, and a whole-image
// snapshot (fills, curves) is the worst case.
#include <benchmark/benchmark.h>

#include "benchPicture.h"
#include "workspace/undoSnapshot.h"
#include "workspace/workspace.h"

namespace {

BenchPicture& picture()
{
    static BenchPicture p("orx-snapshot-bench");
    return p;
}

void SnapshotRectangle(benchmark::State& state)
{
    BenchPicture& p = picture();
    int i = 0;
    for (auto _ : state) {
        const int x = 100 + (i * 37) % 5000, y = 100 + (i * 53) % 3000;
        orx::takeSnapshot(p.ws, orx::SnapshotImage, x, y, x + 199, y + 199, 0);
        ++i;
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * 200 * 200 * 3);
}
BENCHMARK(SnapshotRectangle)->Unit(benchmark::kMicrosecond);

void SnapshotWholeImage(benchmark::State& state)
{
    BenchPicture& p = picture();
    for (auto _ : state) orx::takeSnapshot(p.ws, orx::SnapshotWholeImage, 0, 0, 0, 0, 0);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(orx::imageBytes(p.ws)));
}
BENCHMARK(SnapshotWholeImage)->Unit(benchmark::kMillisecond)->Iterations(12);

}  // namespace

BENCHMARK_MAIN();
