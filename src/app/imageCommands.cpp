// Whole-image and mask commands, and the display commands.
#include <algorithm>

#include "commandContext.h"
#include "commands.h"
#include "workspace/maskOps.h"
#include "workspace/undoSnapshot.h"

namespace orx::app {

namespace {

struct Overlay {
    int32_t id;
    int32_t mode;
    uint8_t colour[3];  // display order B, G, R
};

const Overlay kOverlays[] = {
    {IdOverlayBlue, 3, {255, 0, 0}},
    {IdOverlayRed, 1, {0, 0, 255}},
    {IdOverlayGreen, 2, {0, 255, 0}},
    {IdOverlayClear, 0, {0, 0, 0}},
};

void setOverlay(Workspace& ws, const Overlay& o)
{
    ws.maskOverlayMode = o.mode;
    if (o.mode != 0) std::copy(std::begin(o.colour), std::end(o.colour), ws.maskOverlayColour);
}

struct UndoStep {
    int32_t id;
    UndoResult (*run)(Workspace&);
};

const UndoStep kUndoSteps[] = {
    {IdRgbUndo, undoImage},
    {IdRgbRedo, redoImage},
    {IdMskUndo, undoMask},
    {IdMskRedo, redoMask},
};

}  // namespace

void newImage(CommandContext& ctx)
{
    Workspace& ws = ctx.ws();
    int32_t w = std::max(ws.imageWidth, 1), h = std::max(ws.imageHeight, 1);
    if (!ctx.shell.askNewImageSize(w, h)) return;
    if (!orx::newImage(ws, w, h)) {
        showLangMessage(ws, Msg::RamTooSmallToLoad, "RGB");
        return;
    }
    resetUndo(ws);
    fitWholeImage(ctx);
}

void whiteImage(CommandContext& ctx)
{
    fillImageWhite(ctx.ws());
    redisplay(ctx);
}

void maskOn(CommandContext& ctx)
{
    ctx.ws().maskVisible = 1;
    redisplay(ctx);
}

void maskOff(CommandContext& ctx)
{
    ctx.ws().maskVisible = 0;
    redisplay(ctx);
}

void maskOverlay(CommandContext& ctx)
{
    for (const Overlay& o : kOverlays)
        if (o.id == ctx.command.id) setOverlay(ctx.ws(), o);
    redisplay(ctx);
}

void invertMask(CommandContext& ctx)
{
    orx::invertMask(ctx.ws());
    redisplay(ctx);
}

void clearMask(CommandContext& ctx)
{
    orx::clearMask(ctx.ws());
    redisplay(ctx);
}

void blackToMask(CommandContext& ctx)
{
    Workspace& ws = ctx.ws();
    orx::blackToMask(ws);
    // The new mask is shown in green, so it stands out from black line art.
    ws.maskVisible = 1;
    setOverlay(ws, kOverlays[2]);
    redisplay(ctx);
}

void maskedToBlack(CommandContext& ctx)
{
    orx::maskedToBlack(ctx.ws());
    redisplay(ctx);
}

void rotate(CommandContext& ctx)
{
    rotateImage(ctx.ws(), ctx.command.id == IdRotateClockwise);
    fitWholeImage(ctx);
}

void mirror(CommandContext& ctx)
{
    mirrorImage(ctx.ws(), ctx.command.id == IdMirrorLeftRight);
    redisplay(ctx);
}

void halve(CommandContext& ctx)
{
    halveImage(ctx.ws());
    fitWholeImage(ctx);
}

void redraw(CommandContext& ctx) { redisplay(ctx); }

void showAll(CommandContext& ctx) { fitWholeImage(ctx); }

void undoRedo(CommandContext& ctx)
{
    for (const UndoStep& s : kUndoSteps) {
        if (s.id != ctx.command.id) continue;
        // A whole-image snapshot may bring back another size: fit it.
        const UndoResult r = s.run(ctx.ws());
        if (r == UndoResult::WholeImage) fitWholeImage(ctx);
        if (r == UndoResult::Rectangle) redisplay(ctx);
    }
}

}  // namespace orx::app
