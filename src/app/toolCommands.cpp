// The commands that select a mouse tool needing more than its mode (the
// table has already set the mode and its cursor): an area save asks for its
// file before the user drags the area, the area tools show their prompt,
// and adding a colour file asks for the file and checks that it fits.
#include <algorithm>
#include <iterator>

#include "commandContext.h"
#include "commands.h"
#include "workspace/nativeFile.h"
#include "workspace/regionSave.h"

namespace orx::app {

namespace {

struct AreaSaveCommand {
    int32_t id;
    int32_t request;
    FileKind kind;
    Msg title, filter, prompt;
};

const AreaSaveCommand kAreaSaves[] = {
    {IdSavePartialRgb, SaveAreaRgb, FileKind::RGB, Msg::TitleSaveRgb, Msg::FilterRgb, Msg::PromptAreaToSave},
    {IdSaveAreaClo, SaveAreaClo, FileKind::CLO, Msg::TitleNewClo, Msg::FilterClo, Msg::PromptAreaToSave},
    {IdSaveAreaPrt, SaveAreaPrt, FileKind::PRT, Msg::TitleNewPrt, Msg::FilterPrt, Msg::PromptAreaToSave},
    {IdSaveAreaBmp, SaveAreaBmp, FileKind::BMP, Msg::TitleBmpName, Msg::FilterBmp, Msg::PromptAreaToSave},
    {IdSaveMaterialArea, SaveAreaModel, FileKind::MDL, Msg::TitleNewMdl, Msg::FilterMdl, Msg::PromptMaterialArea},
    {IdSaveAreaEmb, SaveAreaEmb, FileKind::EMB, Msg::TitleNewEmb, Msg::FilterEmb, Msg::PromptAreaToSave},
    // The mask-edge save writes a parts file of the clicked mask region.
    {IdSavePrtFromMaskEdge, SaveAreaPrt, FileKind::PRT, Msg::TitleNewPrt, Msg::FilterPrt, Msg::PromptMaskEdge},
};

struct AreaToolCommand {
    int32_t id;
    Msg prompt;
};

const AreaToolCommand kAreaTools[] = {
    {IdSharpen, Msg::PromptSelectArea},
    {IdBlur, Msg::PromptSelectArea},
    {IdSaturation, Msg::PromptSelectArea},
    {IdContrastBoost, Msg::PromptSelectArea},
    {IdWhiteBalance, Msg::PromptSamplingArea},
    {IdBlackWhite, Msg::PromptSelectArea},
    {IdGrey, Msg::PromptSelectArea},
    {IdNegative, Msg::PromptSelectArea},
    {IdMirroredBlock, Msg::PromptSelectArea},
    {IdFlippedBlock, Msg::PromptSelectArea},
    {IdDivideAtRow, Msg::PromptSeparateLine},
    {IdDivideAtColumn, Msg::PromptSeparateLine},
};

template <typename Row, size_t N>
const Row& rowOf(const Row (&rows)[N], int32_t id)
{
    return *std::find_if(std::begin(rows), std::end(rows), [id](const Row& r) { return r.id == id; });
}

// Prompts stand on a red band until the next redisplay.
void showPrompt(CommandContext& ctx, Msg prompt) { ctx.ws().platform->status(ctx.text(prompt), Rgb{255, 0, 0}); }

// The tool the table selected has nothing to work on: no tool.
void noTool(CommandContext& ctx)
{
    ctx.ws().toolMode = ModeNone;
    ctx.shell.setViewCursor(kCursorArrow);
}

}  // namespace

void areaSave(CommandContext& ctx)
{
    const AreaSaveCommand& a = rowOf(kAreaSaves, ctx.command.id);
    Workspace& ws = ctx.ws();
    const std::string chosen = ws.platform->chooseSaveFile(ctx.text(a.title), ctx.text(a.filter));
    if (chosen.empty()) {
        noTool(ctx);
        return;
    }
    ws.areaSaveRequest = a.request;
    ws.areaSaveName = withExtension(chosen, a.kind);
    showPrompt(ctx, a.prompt);
}

void areaTool(CommandContext& ctx) { showPrompt(ctx, rowOf(kAreaTools, ctx.command.id).prompt); }

void addRgbFile(CommandContext& ctx)
{
    Workspace& ws = ctx.ws();
    const std::string name = ws.platform->chooseOpenFile(ctx.text(Msg::TitleSelectRgb), ctx.text(Msg::FilterRgb));
    if (name.empty()) {
        noTool(ctx);
        return;
    }
    int32_t w = 0, h = 0;
    switch (readImageSize(localFiles(), name, w, h)) {
    case SizeRead::Missing: showLangMessage(ws, Msg::CantOpenFile, name.c_str()); break;
    case SizeRead::Invalid: showLangMessage(ws, Msg::FileBadSize, name.c_str()); break;
    case SizeRead::Ok:
        if (w <= ws.imageWidth && h <= ws.imageHeight) {
            ws.pasteFileName = name;
            ws.pasteWidth = w;
            ws.pasteHeight = h;
            return;
        }
        showLangMessage(ws, Msg::AddRgbTooBig);
        break;
    }
    noTool(ctx);
}

}  // namespace orx::app
