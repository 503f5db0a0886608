// Loading and saving the working image by file kind: each command names
// its kind, its dialog title and its filter; one load and one save do the
// rest through the file kinds table.
#include <algorithm>

#include "commandContext.h"
#include "commands.h"
#include "tools/airBrush.h"
#include "workspace/fileKinds.h"
#include "workspace/nativeFile.h"
#include "workspace/undoSnapshot.h"

namespace orx::app {

namespace {

struct FileCommand {
    int32_t id;
    FileKind kind;
    Msg title;
    Msg filter;
};

const FileCommand kFileCommands[] = {
    {IdLoadRgb, FileKind::RGB, Msg::TitleSelectRgb, Msg::FilterRgb},
    {IdOpenImageFile, FileKind::BMP, Msg::TitleSelectBmp, Msg::FilterBmp},
    {IdLoadMsk, FileKind::MSK, Msg::TitleSelectMsk, Msg::FilterMsk},
    {IdLoadClo, FileKind::CLO, Msg::TitleSelectClo, Msg::FilterClo},
    {IdLoadPrt, FileKind::PRT, Msg::TitleSelectPrt, Msg::FilterPrt},
    {IdLoadNit, FileKind::NIT, Msg::TitleSelectNit, Msg::FilterNit},
    {IdLoadEmb, FileKind::EMB, Msg::TitleSelectEmb, Msg::FilterEmb},
    {IdSaveRgb, FileKind::RGB, Msg::TitleSaveRgb, Msg::FilterRgb},
    {IdSaveMsk, FileKind::MSK, Msg::TitleSaveMsk, Msg::FilterMsk},
    {IdSaveBmp, FileKind::BMP, Msg::TitleBmpName, Msg::FilterBmp},
    {IdSaveClo, FileKind::CLO, Msg::TitleNewClo, Msg::FilterClo},
    {IdSavePrt, FileKind::PRT, Msg::TitleNewPrt, Msg::FilterPrt},
    {IdSaveNit, FileKind::NIT, Msg::TitleNewNit, Msg::FilterNit},
    {IdSaveEmb, FileKind::EMB, Msg::TitleNewEmb, Msg::FilterEmb},
};

const FileCommand& fileCommandOf(const CommandContext& ctx)
{
    return *std::find_if(std::begin(kFileCommands), std::end(kFileCommands),
                         [&](const FileCommand& f) { return f.id == ctx.command.id; });
}

void loadKind(CommandContext& ctx)
{
    const FileCommand& f = fileCommandOf(ctx);
    Workspace& ws = ctx.ws();
    const std::string name = ws.platform->chooseOpenFile(ctx.text(f.title), ctx.text(f.filter));
    if (name.empty()) return;
    if (!openWorkingFile(ws, name, localFiles())) return;
    fitWholeImage(ctx);
}

void saveKind(CommandContext& ctx)
{
    const FileCommand& f = fileCommandOf(ctx);
    Workspace& ws = ctx.ws();
    const std::string chosen = ws.platform->chooseSaveFile(ctx.text(f.title), ctx.text(f.filter));
    if (chosen.empty()) return;
    const std::string name = withExtension(chosen, f.kind);
    if (f.kind == FileKind::MSK) {
        if (!saveMSK(ws, name, ws.mask, ws.imageWidth, ws.imageHeight))
            showLangMessage(ws, Msg::CantOpenFile, name.c_str());
        return;
    }
    if (!fileKindInfo(f.kind).save(ws, name)) return;
    // A shown mask goes with its picture, so that opening it brings both.
    if (f.kind == FileKind::RGB && ws.maskVisible == 1) {
        const std::string maskName = nameOfKind(name, FileKind::MSK);
        if (!saveMSK(ws, maskName, ws.mask, ws.imageWidth, ws.imageHeight))
            showLangMessage(ws, Msg::CantOpenFile, maskName.c_str());
    }
}

}  // namespace

std::string withExtension(const std::string& name, FileKind kind)
{
    const char* ext = fileKindName(kind);
    return upperExtension(name) == ext ? name : name + "." + ext;
}

bool openWorkingFile(Workspace& ws, const std::string& name, FileSource& src)
{
    const FileKindInfo& kind = fileKindOf(name);
    // A new picture's layout leaves no model to dress (layoutPlanes).
    if (!kind.open || !kind.open(ws, name, src)) return false;
    // The copy brush takes its pixels beside the pointer again.
    if (kind.kind != FileKind::MSK) ws.cloneOffset = kCloneOffsetStart;
    resetUndo(ws);
    return true;
}

void loadRgb(CommandContext& ctx) { loadKind(ctx); }
void openImageFile(CommandContext& ctx) { loadKind(ctx); }
void loadMsk(CommandContext& ctx) { loadKind(ctx); }
void loadClo(CommandContext& ctx) { loadKind(ctx); }
void loadPrt(CommandContext& ctx) { loadKind(ctx); }
void loadNit(CommandContext& ctx) { loadKind(ctx); }
void loadEmb(CommandContext& ctx) { loadKind(ctx); }
void saveRgb(CommandContext& ctx) { saveKind(ctx); }
void saveMsk(CommandContext& ctx) { saveKind(ctx); }
void saveBmp(CommandContext& ctx) { saveKind(ctx); }
void saveClo(CommandContext& ctx) { saveKind(ctx); }
void savePrt(CommandContext& ctx) { saveKind(ctx); }
void saveNit(CommandContext& ctx) { saveKind(ctx); }
void saveEmb(CommandContext& ctx) { saveKind(ctx); }

}  // namespace orx::app
