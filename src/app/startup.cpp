// The program's start.
#include "startup.h"

#include <unistd.h>

#include "library/libraryConfig.h"
#include "workspace/fileIo.h"
#include "workspace/filePlaces.h"
#include "workspace/langText.h"

namespace orx::app {

namespace {

std::string currentDirectory()
{
    char buf[4096];
    return ::getcwd(buf, sizeof buf) ? std::string(buf) : std::string();
}

}  // namespace

StartPaths processStartPaths()
{
    StartPaths p;
    p.programDir = programDirectory();
    p.workDir = currentDirectory();
    return p;
}

std::string languageFilePath(const Workspace& ws, const StartPaths& paths)
{
    const std::string kept = configFile(ws, kLanguageFile);
    const std::string here = joinPath(paths.workDir, kLanguageFile);
    return !fileExists(kept) && fileExists(here) ? here : kept;
}

void setToolDefaults(Workspace& ws)
{
    ws.imageLoaded = 0;
    ws.materialChosen = 0;
    ws.pieceFloating = 0;
    ws.modelLoaded = 0;
    ws.modelMapped = 0;
    ws.contrastExponent = 1.0f;
    ws.contrastIndex = 9;
}

void setProgramPaths(Workspace& ws, const StartPaths& paths)
{
    ws.VLX98DIR = paths.programDir;
    ws.webExePath = joinPath(paths.programDir, paths.programName);
    // The colour-box palette: the program's name with "001" as its last
    // three characters, kept among the settings.
    ws.webCompanionPath = configFile(ws, companionName(paths.programName, "001"));
    ws.environmentReady = 1;
}

bool startEnvironment(Studio& studio, const StartPaths& paths)
{
    Workspace& ws = studio.ws;
    setFilePlaces(ws, paths.programDir);
    readScreenLanguage(ws, languageFilePath(ws, paths));
    setToolDefaults(ws);
    if (!startWorkspace(ws, paths.displayBytes)) {
        showLibraryStartFailure(ws);
        return false;
    }
    ws.WORKDIR = paths.workDir;
    if (ws.WORKDIR.empty()) showLangMessage(ws, Msg::GetcwdWorkdir);

    LibraryConfig cfg;
    if (!readLibraryConfig(ws, paths.programDir, cfg)) {
        showLibraryStartFailure(ws);
        return false;
    }
    if (!startLibrary(ws, cfg, studio.library)) return false;

    if (paths.programDir.empty()) {
        // Without the program directory there is nowhere for the language
        // file and the snapshots: the commands stay disabled until the
        // language dialog sets environmentReady.
        showLangMessage(ws, Msg::GetcwdVlx98dir);
        return true;
    }
    setProgramPaths(ws, paths);
    return true;
}

}  // namespace orx::app
