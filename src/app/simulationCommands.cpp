// The Auto Simulation menu: load a model from the library, then change its
// material, contrast, sharpness or repeat layout; each change dresses the
// model again through resimulate and shows the result.
#include "commandContext.h"
#include "commands.h"
#include "tools/airBrush.h"
#include "engine/shading.h"
#include "engine/simulation.h"
#include "workspace/fileKinds.h"
#include "workspace/undoSnapshot.h"

namespace orx::app {

namespace {

class WaitCursor {
public:
    explicit WaitCursor(Workspace& ws) : ws_(ws) { ws_.platform->waitCursor(true); }
    ~WaitCursor() { ws_.platform->waitCursor(false); }

private:
    Workspace& ws_;
};

// One run of the model's ORX file with the current options, then the
// picture at the current position and scale. The run shows each part as it
// is mapped (Platform::progress and redraw); Esc or the right button stops
// it between parts.
void dressAgain(CommandContext& ctx)
{
    Workspace& ws = ctx.ws();
    {
        WaitCursor wait(ws);
        resimulate(ws, ctx.files());
    }
    ws.platform->progress(0, 0);
    redisplay(ctx);
}

}  // namespace

bool openModel(CommandContext& ctx, const std::string& name)
{
    Workspace& ws = ctx.ws();
    ws.modelPath = name;
    {
        WaitCursor wait(ws);
        if (!loadModelForDressing(ws, name, ctx.files())) {
            showLangMessage(ws, Msg::CantOpenMdl);
            ws.modelLoaded = 0;
            ws.toolMode = ModeNone;
            return false;
        }
        fitWholeImage(ctx);
    }
    dressAgain(ctx);
    resetUndo(ws);
    ws.cloneOffset = kCloneOffsetStart;
    ws.toolMode = ModeNone;
    return true;
}

void loadModel(CommandContext& ctx)
{
    const std::string name = ctx.shell.chooseFromLibrary(ctx.text(Msg::TitleSelectMdl), fileKindName(FileKind::MDL));
    if (!name.empty()) openModel(ctx, name);
}

// "<with Contrast> " and "<with Reflection>": materials one after another
// until the browser is left with "Exit".
void changeMaterial(CommandContext& ctx)
{
    const int32_t reflection = ctx.command.id == IdChangeMaterialReflection ? 1 : 0;
    for (;;) {
        const std::string name = ctx.shell.chooseFromLibrary(ctx.text(Msg::TitleSelectMaterial), fileKindName(FileKind::CLO));
        if (name.empty()) return;
        dressInMaterial(ctx, name, reflection);
    }
}

void dressInMaterial(CommandContext& ctx, const std::string& name, int32_t reflection)
{
    Workspace& ws = ctx.ws();
    ws.materialPath = name;
    ws.reflection = reflection;
    dressAgain(ctx);
}

// The "Contrast Control" dialog again and again: each "Apply" dresses the
// model with the chosen exponent; "Exit" ends.
void changeContrast(CommandContext& ctx)
{
    Workspace& ws = ctx.ws();
    for (;;) {
        const int32_t entry = ctx.shell.chooseContrast(ws.contrastIndex);
        if (entry < 0) return;
        ws.contrastIndex = entry;
        ws.contrastExponent = contrastOfEntry(entry);
        dressAgain(ctx);
    }
}

// The same dialog once, for the shaded tools: the exponent only.
void contrastOnce(CommandContext& ctx)
{
    Workspace& ws = ctx.ws();
    const int32_t entry = ctx.shell.chooseContrast(ws.contrastIndex);
    if (entry < 0) return;
    ws.contrastIndex = entry;
    ws.contrastExponent = contrastOfEntry(entry);
}

void mappingSharpness(CommandContext& ctx)
{
    ctx.ws().softMapping = ctx.command.id == IdSoft ? 1 : 0;
    dressAgain(ctx);
}

void repeatLayout(CommandContext& ctx)
{
    ctx.ws().repeatLayout = ctx.command.id - IdNormalRepeat;
    dressAgain(ctx);
}

}  // namespace orx::app
