// The desktop program's test fixture.
#include "studioFixture.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include "app/qtPlatform.h"
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
