// Shows and printing in the desktop program, on Qt's offscreen platform.
//
//   MaterialLine   a show's material line on the 4000 x 3000 bench model:
//                  the repeated material, the mapping run and the paint of
//                  the view (goal 300 ms)
//   ShiftStep      one SHIFT step in a 1920 x 1080 picture area: the picture
//                  composed at the new position and painted (goal 15 ms)
//   Pdf            a 6000 x 4000 image to a PDF, A4, "Fit Paper XY Same
//                  Scale", in bands (goal 2 s)
//   Preview        the same page in the print preview (goal 1 s)
#include <QApplication>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>

#include "app/cursors.h"
#include "app/mainFrame.h"
#include "app/printing.h"
#include "app/qtPlatform.h"
#include "app/view.h"
#include "samples/sampleLibrary.h"
#include "workspace/display.h"
#include "workspace/fileIo.h"
#include "workspace/printLayout.h"

namespace {

using namespace orx;
using namespace orx::app;

struct Program {
    Workspace ws;
    QtPlatform platform{ws, true};
    Studio studio{ws};
    CursorTable cursors;
    std::unique_ptr<CMainFrame> frame;
    std::filesystem::path dir;

    Program()
    {
        ws.platform = &platform;
        ::setenv("ORX_BLOCK_BYTES", "400000000", 1);
        dir = std::filesystem::temp_directory_path() / ("orx-show-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        ws.VLX98DIR = ws.WORKDIR = dir.string();
        startWorkspace(ws);
        ws.environmentReady = 1;
        const auto materials = sampleMaterialRecipes();
        if (!writeBenchModel(ws, dir.string(), 4000, 3000) || !writeSampleMaterial(ws, dir.string(), materials[0]) ||
            !writeSampleMaterial(ws, dir.string(), materials[1]))
            std::abort();
        script("model.MMP", "BENCH.MDL\r\n");
        script("first.MMP", std::string(materials[0].name) + ".CLO\r\n");
        script("second.MMP", std::string(materials[1].name) + ".CLO\r\n");
        frame = std::make_unique<CMainFrame>(studio, cursors, &platform);
        frame->show();
        QApplication::processEvents();
    }
    ~Program() { std::filesystem::remove_all(dir); }

    std::string script(const std::string& name, const std::string& text = {})
    {
        const std::string path = (dir / name).string();
        if (!text.empty()) writeFileAtomically(path, text.data(), text.size());
        return path;
    }
    // The view's picture area made w x h.
    void pictureArea(int32_t w, int32_t h)
    {
        CVLX98View& view = *frame->view();
        frame->resize(frame->width() - view.width() + w, frame->height() - view.height() + h + kStatusBandHeight);
        QApplication::processEvents();
    }
    // A 6000 x 4000 picture in place of the model.
    void bigPicture()
    {
        layoutPlanes(ws, 6000, 4000);
        for (uint64_t i = 0; i < imageBytes(ws); ++i) ws.image[i] = uint8_t(i * 31 + (i >> 12));
        ws.imageLoaded = 1;
        ws.modelLoaded = 0;
    }
};

Program& program()
{
    static Program p;
    return p;
}

void BM_MaterialLine(benchmark::State& state)
{
    Program& p = program();
    p.pictureArea(1280, 1024);
    p.frame->playShowFile(p.script("model.MMP"));
    if (p.ws.modelLoaded != 1) state.SkipWithError("the bench model did not load");
    const std::string scripts[] = {p.script("first.MMP"), p.script("second.MMP")};
    size_t next = 0;
    for (auto _ : state) p.frame->playShowFile(scripts[next++ % 2]);
    state.counters["pixels"] = double(pixelCount(p.ws));
}

void BM_ShiftStep(benchmark::State& state)
{
    Program& p = program();
    p.pictureArea(1920, 1080);
    p.bigPicture();
    setViewSize(p.ws, p.frame->view()->width(), p.frame->view()->height());
    redisplayAt(p.ws, 3000, 2000);
    int32_t dx = 4;
    for (auto _ : state) {
        if (p.ws.viewCentreX > 5000 || p.ws.viewCentreX < 1000) dx = -dx;
        redisplayAt(p.ws, p.ws.viewCentreX + dx, p.ws.viewCentreY);
        p.platform.redraw(nullptr);
        p.frame->view()->repaint();
    }
    state.counters["area"] = double(p.ws.displayWidth) * p.ws.displayHeight;
}

void BM_Pdf(benchmark::State& state)
{
    Program& p = program();
    p.bigPicture();
    const std::string pdf = p.script("page.pdf");
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        setPdfPrinter(printer, pdf, "a4");
        if (!printImagePage(p.ws, printer, PrintFitted)) state.SkipWithError("no PDF");
    }
    state.counters["bytes"] = double(std::filesystem::file_size(pdf));
}

void BM_Preview(benchmark::State& state)
{
    Program& p = program();
    p.bigPicture();
    QPrinter printer(QPrinter::HighResolution);
    setPdfPrinter(printer, p.script("preview.pdf"), "a4");
    PrintPreviewDialog dialog(p.ws, PrintFitted, printer);
    dialog.show();
    QApplication::processEvents();
    for (auto _ : state) {
        dialog.preview()->updatePreview();
        dialog.repaint();
    }
}

BENCHMARK(BM_MaterialLine)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ShiftStep)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Pdf)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Preview)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
