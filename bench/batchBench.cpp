// The catalogue batch: SOFA of the sample library dressed in every sample
// material, contrast and reflection, sharp and soft, by two workers, each
// picture written as a BMP, as `orxsim batch --jobs 2` makes them.
// Goal: at least 40 dresses per second on the 2-core machine.
//
//   Catalogue/workers:N   one batch of the manifest's lines; the counter
//                         dresses/s is the figure set beside the goal
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "engine/catalogueBatch.h"
#include "engine/catalogueManifest.h"
#include "samples/sampleLibrary.h"
#include "tempFolder.h"
#include "workspace/fileIo.h"
#include "workspace/workspace.h"

namespace {

using namespace orx;

constexpr double kGoalDressesPerSecond = 40;
const char* const kShadings[] = {"contrast+sharp", "contrast+soft", "reflection+sharp", "reflection+soft"};

struct Inputs {
    bench::TempFolder dir{"orxbatch"};
    std::vector<CatalogueLine> lines;
    std::string out;
};

// SOFA and the sample materials; a manifest of SOFA in every material and
// shading.
bool makeInputs(Inputs& in)
{
    if (in.dir.path().empty()) return false;
    QuietPlatform platform;
    Workspace ws;
    ws.platform = &platform;
    if (!startWorkspace(ws)) return false;
    bool sofa = false;
    for (const SampleModelRecipe& r : sampleModelRecipes())
        if (r.scene == SampleScene::Sofa)
            sofa = writeSampleModel(ws, in.dir.path(), r.name, r.scene, r.width, r.height);
    if (!sofa) return false;
    std::string manifest;
    for (const SampleMaterialRecipe& m : sampleMaterialRecipes()) {
        if (!writeSampleMaterial(ws, in.dir.path(), m)) return false;
        for (const char* shading : kShadings) manifest += std::string("SOFA.MDL,") + m.name + ".CLO,,," + shading + "\n";
    }
    in.lines = parseCatalogueManifest(manifest, in.dir.path(), CatalogueFormat::Bmp);
    in.out = joinPath(in.dir.path(), "out");
    std::error_code ec;
    return std::filesystem::create_directory(in.out, ec);
}

Inputs* inputs = nullptr;

void catalogueBench(benchmark::State& state)
{
    std::vector<const CatalogueLine*> lines;
    for (const CatalogueLine& l : inputs->lines) lines.push_back(&l);
    for (auto _ : state) {
        CatalogueProgress progress;
        if (!runCatalogue(lines, inputs->out, int(state.range(0)), LangEnglish, progress).empty()) {
            state.SkipWithError("a line failed");
            break;
        }
    }
    state.counters["dresses/s"] =
        benchmark::Counter(double(lines.size()), benchmark::Counter::kIsIterationInvariantRate);
}

class GoalReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.error_occurred || r.run_type != Run::RT_Iteration) continue;
            const double seconds = r.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(r.time_unit);
            const double rate = double(inputs->lines.size()) / seconds;
            std::printf("%s: %.1f SOFA dresses per second (goal >= %.0f on 2 cores: %s)\n",
                        r.benchmark_name().c_str(), rate, kGoalDressesPerSecond,
                        rate >= kGoalDressesPerSecond ? "met" : "NOT met");
        }
    }
};

}  // namespace

BENCHMARK(catalogueBench)->ArgName("workers")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->MeasureProcessCPUTime()->MinTime(2.0);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    Inputs in;
    if (!makeInputs(in)) {
        std::fprintf(stderr, "bench_batch: the sample inputs could not be written\n");
        return 1;
    }
    inputs = &in;
    GoalReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
