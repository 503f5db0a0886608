// Undo snapshots are written before every stroke: a 200 x 200 rectangle of
// a 6000 x 4000 picture must not stall the pointer, and a whole-image
// snapshot (fills, curves) is the worst case.
#include <cstdlib>
#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

#include "workspace/undoSnapshot.h"
#include "workspace/workspace.h"

namespace {

struct Picture {
    orx::QuietPlatform platform;
    orx::Workspace ws;
    std::filesystem::path dir;

    Picture()
    {
        ::setenv("ORX_BLOCK_BYTES", "200000000", 0);
        ws.platform = &platform;
        ws.screenLanguage = orx::LangEnglish;
        dir = std::filesystem::temp_directory_path() / ("orx-snapshot-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        ws.VLX98DIR = dir.string();
        ws.WORKDIR = dir.string();
        orx::startWorkspace(ws);
        orx::layoutPlanes(ws, 6000, 4000);
        for (uint64_t i = 0; i < orx::imageBytes(ws); ++i) ws.image[i] = uint8_t(i * 31);
    }
    ~Picture()
    {
        orx::deleteSnapshotFiles(ws);
        std::filesystem::remove_all(dir);
    }
};

Picture& picture()
{
    static Picture p;
    return p;
}

void SnapshotRectangle(benchmark::State& state)
{
    Picture& p = picture();
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
    Picture& p = picture();
    for (auto _ : state) orx::takeSnapshot(p.ws, orx::SnapshotWholeImage, 0, 0, 0, 0, 0);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(orx::imageBytes(p.ws)));
}
BENCHMARK(SnapshotWholeImage)->Unit(benchmark::kMillisecond)->Iterations(12);

}  // namespace

BENCHMARK_MAIN();
