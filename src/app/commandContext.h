// What a command handler works with: the studio (and through it the
// workspace and the library), the window around it, and its own row of the
// command table.
#pragma once

#include "commandTable.h"
#include "shell.h"
#include "studio.h"
#include "workspace/langText.h"

namespace orx::app {

class CommandContext {
public:
    CommandContext(Studio& studio, Shell& shell, const Command& command)
        : studio(studio), shell(shell), command(command) {}

    Workspace& ws() const { return studio.ws; }
    FileSource& files() const { return studio.files; }
    const char* text(Msg id) const;

    Studio& studio;
    Shell& shell;
    const Command& command;
};

// Runs a command as a menu item or a tool-window button does: nothing
// happens when the id is unknown, the command is disabled, another command
// is running or its handler is not built yet. Otherwise the tool it
// selects is set (mode, cursor, paint plane) and the handler runs. True
// when the handler ran.
bool runCommand(Studio& studio, Shell& shell, int32_t id);

// The view at its current position and scale, after the client size is
// read again (the "Redraw" command and every change of the picture).
void redisplay(CommandContext& ctx);
// The whole image fitted into the view (the "All" command and every load).
void fitWholeImage(CommandContext& ctx);

}  // namespace orx::app
