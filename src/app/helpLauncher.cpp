// Help: KOVA.HLP and the help program.
#include "helpLauncher.h"

#include <QProcess>
#include <QString>
#include <cstdio>

#include "workspace/fileIo.h"
#include "workspace/filePlaces.h"
#include "workspace/langText.h"

namespace orx::app {

std::string helpPagePath(const Workspace& ws)
{
    return joinPath(joinPath(ws.VLX98DIR, langText(ws, Msg::HelpFolder)), "VLX98.htm");
}

bool writeHelpHandOver(const Workspace& ws)
{
    FILE* f = std::fopen(stateFile(ws, kHelpHandOver).c_str(), "w");
    if (!f) return false;
    const std::string page = helpPagePath(ws);
    const bool ok = std::fwrite(page.data(), 1, page.size(), f) == page.size();
    return std::fclose(f) == 0 && ok;
}

void runHelp(Workspace& ws)
{
    if (!writeHelpHandOver(ws)) return;
    QProcess help;
    help.setProgram(QString::fromStdString(joinPath(ws.VLX98DIR, kHelpProgram)));
    // The hand-over file lies beside the help program unless the program's
    // folder is read-only: name it.
    help.setArguments({QString::fromStdString(stateFile(ws, kHelpHandOver))});
    help.setWorkingDirectory(QString::fromStdString(ws.VLX98DIR));
    help.start();
    if (!help.waitForStarted()) {
        showLangMessage(ws, Msg::HelpCantRun);
        return;
    }
    // The program waits for its help, as it always has: no time limit.
    help.waitForFinished(-1);
}

}  // namespace orx::app
