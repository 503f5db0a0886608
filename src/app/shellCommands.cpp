// The program's own commands: screen language, about boxes, help, memory
// figures, and the two ways out.
#include "aboutBoxes.h"
#include "commandContext.h"
#include "commands.h"
#include "helpLauncher.h"
#include "workspace/undoSnapshot.h"

namespace orx::app {

// The language dialog changes the language as its buttons are clicked; OK
// keeps the choice in ORX10.CFG, anything else puts the old language back.
// The menu is rebuilt either way, and the commands are enabled again even
// when the start could not find the program directory.
void chooseLanguage(CommandContext& ctx)
{
    Workspace& ws = ctx.ws();
    const int32_t remembered = ws.screenLanguage;
    if (ctx.shell.askLanguage()) {
        writeScreenLanguage(ws);  // a file that cannot be written changes only this run
    } else {
        ws.screenLanguage = remembered;
    }
    ws.environmentReady = 1;
    ctx.shell.languageChanged();
}

void aboutWeb(CommandContext& ctx)
{
    ctx.shell.showAbout(aboutBoxOf(ctx.ws().screenLanguage));
}

void about(CommandContext& ctx) { ctx.shell.showAbout(kAboutOfLanguage); }

void help(CommandContext& ctx) { runHelp(ctx.ws()); }

void memoryInformation(CommandContext& ctx)
{
    Workspace& ws = ctx.ws();
    ws.platform->message(memoryRamText(ws), Icon::Information);
    ws.platform->message(memoryCapacityText(ws), Icon::Information);
}

// The web edition's "Exit": the snapshot files go, the library connection
// is closed, and the process ends at once.
void exitProgram(CommandContext& ctx)
{
    deleteSnapshotFiles(ctx.ws());
    ctx.studio.library.library.reset();
    ctx.shell.terminate(0);
}

void applicationExit(CommandContext& ctx) { ctx.shell.closeProgram(); }

}  // namespace orx::app
