// Running a command: the enable rule, the tool it selects, its handler.
#include "commandContext.h"

#include <new>

#include "workspace/display.h"

namespace orx::app {

namespace {

// Selecting a tool: the mode and cursor of the table, the plane a paint
// tool draws on; a mask tool shows the mask first.
void selectTool(CommandContext& ctx)
{
    const Command& c = ctx.command;
    Workspace& ws = ctx.ws();
    if (c.toolMode != kModeUnchanged) ws.toolMode = c.toolMode;
    if (c.cursor != kCursorUnchanged) ctx.shell.setViewCursor(c.cursor);
    if (c.paintTarget == 0) return;
    ws.paintTarget = c.paintTarget;
    if (c.paintTarget == PaintMask && ws.maskVisible != 1) {
        ws.maskVisible = 1;
        redisplay(ctx);
    }
}

}  // namespace

const char* CommandContext::text(Msg id) const { return langText(studio.ws, id); }

bool runCommand(Studio& studio, Shell& shell, int32_t id)
{
    const Command* c = findCommand(id);
    if (!c || studio.busy || !isEnabled(*c, studio.ws)) return false;
    CommandContext ctx(studio, shell, *c);
    // A long command lets pending events through (the Esc poll of a mapping
    // run); a menu chosen meanwhile must not start a second command.
    studio.busy = true;
    try {
        selectTool(ctx);
        c->handler(ctx);
    } catch (const std::bad_alloc&) {
        // The command stops where it ran out; the buffers sized at start-up
        // are whole, so the program goes on.
        showLangMessage(studio.ws, Msg::OutOfMemory);
    }
    studio.busy = false;
    return true;
}

void redisplay(CommandContext& ctx)
{
    Workspace& ws = ctx.ws();
    setViewSize(ws, ctx.shell.viewWidth(), ctx.shell.viewHeight());
    if (ws.imageLoaded == 1) redisplayAt(ws, ws.viewCentreX, ws.viewCentreY);
}

void fitWholeImage(CommandContext& ctx)
{
    Workspace& ws = ctx.ws();
    setViewSize(ws, ctx.shell.viewWidth(), ctx.shell.viewHeight());
    showWholeImage(ws);
}

}  // namespace orx::app
