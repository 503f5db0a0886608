// A material change in the desktop program, on the largest sample model:
// the browser's choice (answered at once), the repeated material, the
// mapping run with each part composed and shown, and the final redraw of
// the view, on Qt's offscreen platform. Goal: at most 0.5 s a change.
#include <QApplication>
#include <benchmark/benchmark.h>
#include <deque>

#include "app/commandTable.h"
#include "app/cursors.h"
#include "app/mainFrame.h"
#include "app/qtPlatform.h"
#include "app/view.h"
#include "library/libraryConfig.h"

namespace {

using namespace orx;
using namespace orx::app;

// The frame with a browser that answers from a queue.
class AnsweringFrame : public CMainFrame {
public:
    using CMainFrame::CMainFrame;
    std::deque<std::string> answers;
    std::string chooseFromLibrary(const std::string&, const std::string&) override
    {
        if (answers.empty()) return {};
        std::string a = answers.front();
        answers.pop_front();
        return a;
    }
};

struct Program {
    Workspace ws;
    QtPlatform platform{ws, true};
    Studio studio{ws};
    CursorTable cursors;
    std::unique_ptr<AnsweringFrame> frame;

    Program()
    {
        ws.platform = &platform;
        ::setenv("ORX_BLOCK_BYTES", "200000000", 1);
        startWorkspace(ws);
        ws.environmentReady = 1;
        LibraryConfig cfg;
        cfg.location = ORX_SAMPLE_LIBRARY_DIR;
        openLibrary(ws, cfg, studio.library);
        frame = std::make_unique<AnsweringFrame>(studio, cursors, &platform);
        frame->resize(1280, 1024);
        frame->show();
        QApplication::processEvents();
    }
};

Program& program()
{
    static Program p;
    return p;
}

void BM_ChangeMaterial(benchmark::State& state, const char* model)
{
    Program& p = program();
    p.frame->answers = {model};
    p.frame->execute(IdLoadModel);
    const char* materials[] = {"DENIM.CLO", "TARTAN.CLO", "FLORAL.CLO", "STRIPE.CLO"};
    size_t next = 0;
    for (auto _ : state) {
        // One material, then "Exit": the command's loop runs once.
        p.frame->answers = {materials[next++ % 4], ""};
        p.frame->execute(IdChangeMaterial);
        p.frame->view()->repaint();
        QApplication::processEvents();
    }
    state.counters["pixels"] = double(pixelCount(p.ws));
}

BENCHMARK_CAPTURE(BM_ChangeMaterial, sofa_1600x1200, "SOFA.MDL")->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(BM_ChangeMaterial, dress_1000x1280, "DRESS.MDL")->Unit(benchmark::kMillisecond)->MinTime(2.0);

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
