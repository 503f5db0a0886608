// The desktop program's test fixture.
#include "studioFixture.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include <gtest/gtest.h>

#include "app/macroPlayer.h"
#include "app/qtPlatform.h"
#include "app/view.h"
#include "workspace/display.h"
#include "library/libraryConfig.h"

namespace orx::test {

bool ScriptedFrame::askLanguage()
{
    const auto [clicked, ok] = pop(languageAnswers, std::pair<int32_t, bool>(0, false));
    // The dialog's buttons change the language at once, as the real one does.
    if (clicked != 0) studio().ws.screenLanguage = clicked;
    return ok;
}

std::string sampleLibraryDir() { return ORX_SAMPLE_LIBRARY_DIR; }
std::string orxsimPath() { return ORXSIM_PATH; }
std::string orxwebPath() { return ORXWEB_PATH; }
std::string kovahelpPath() { return KOVAHELP_PATH; }

bool openSampleLibrary(app::Studio& studio)
{
    LibraryConfig cfg;
    cfg.location = sampleLibraryDir();
    return openLibrary(studio.ws, cfg, studio.library) == 1;
}

StudioFixture::StudioFixture(int32_t language, bool withLibrary)
    : t(200'000'000, language), ws(t.ws), studio(ws)
{
    ws.VLX98DIR = dir.dir().string();
    ws.WORKDIR = ws.VLX98DIR;
    ws.environmentReady = 1;
    if (withLibrary) {
        EXPECT_TRUE(openSampleLibrary(studio));
    }
    frame = std::make_unique<ScriptedFrame>(studio, cursors, nullptr);
    frame->resize(1000, 800);
}

MacroFixture::MacroFixture(int w, int h) : view(*s.frame->view())
{
    s.frame->show();
    s.frame->setGeometry(0, 0, w, h);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(s.frame.get()));
    fillPattern(ws, 240, 180);
    setViewSize(ws, view.width(), view.height());
    showWholeImage(ws);
    s.frame->refreshCommandStates();
}

std::string MacroFixture::play(const std::string& text, std::string* stderrText)
{
    app::Macro m;
    std::string error;
    if (!app::parseMacro(text, s.dir.path("m.mac"), "", m, error)) return error;
    app::MacroPlayer player(*s.frame, m);
    ::testing::internal::CaptureStderr();
    player.play();
    const std::string err = ::testing::internal::GetCapturedStderr();
    if (stderrText) *stderrText = err;
    return player.error();
}

std::vector<uint8_t> MacroFixture::image() const { return {ws.image, ws.image + imageBytes(ws)}; }

QPoint MacroFixture::win(int x, int y) const
{
    const Point p = imageToWindow(ws, x, y);
    return QPoint(p.x, p.y);
}

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::pair<std::string, std::string>>& env, const std::string& workDir,
                         int timeoutMs)
{
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    for (const auto& [k, v] : env) e.insert(QString::fromStdString(k), QString::fromStdString(v));
    p.setProcessEnvironment(e);
    p.setWorkingDirectory(QString::fromStdString(workDir));
    QStringList list;
    for (const std::string& a : args) list << QString::fromStdString(a);
    p.start(QString::fromStdString(program), list);
    ProcessResult r;
    if (!p.waitForStarted() || !p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
}

}  // namespace orx::test
