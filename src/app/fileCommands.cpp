// Loading and saving the working image by file kind: each command names
// its kind, its dialog title and its filter; one load and one save do the
// rest through the file kinds table.
#include <algorithm>

#include "commandContext.h"
#include "commands.h"
#include "imageFileBrowser.h"
#include "workspace/jpegExport.h"
#include "workspace/pictureFile.h"
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
    {IdSavePng, FileKind::PNG, Msg::TitlePngName, Msg::FilterPng},
    {IdSaveTiff, FileKind::TIF, Msg::TitleTifName, Msg::FilterTif},
};

// The image-file browser's commands and the type each opens it on.
struct ImageRequest {
    int32_t id;
    int32_t imageType;
};

const ImageRequest kImageRequests[] = {
    {IdOpenImageFile, ImageBmp},
    {IdOpenImageFile3, ImageTif},
    {IdOpenImageFile4, ImageJpg},
    {IdOpenImageFile5, ImagePcx},
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
    // Any spelling of the kind's extension stays (a.jpeg, b.tiff, c.png).
    if (!upperExtension(name).empty() && fileKindOf(name).kind == kind) return name;
    return name + "." + fileKindName(kind);
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

// The browser hands over the file it showed; it is decoded once more,
// whole, straight into the working image (no bitmap in between).
void openImageFile(CommandContext& ctx)
{
    const auto* request = std::find_if(std::begin(kImageRequests), std::end(kImageRequests),
                                       [&](const ImageRequest& r) { return r.id == ctx.command.id; });
    const std::string name = ctx.shell.chooseImageFile(request->imageType);
    if (name.empty()) return;
    if (!openWorkingFile(ctx.ws(), name, localFiles())) return;
    fitWholeImage(ctx);
}

void saveJpg(CommandContext& ctx)
{
    Workspace& ws = ctx.ws();
    int32_t quality = ws.jpegQuality;
    const std::string chosen = ctx.shell.chooseJpegFile(ctx.text(Msg::TitleJpgName), ctx.text(Msg::FilterJpg), quality);
    if (chosen.empty()) return;
    ws.jpegQuality = std::clamp(quality, 1, 100);
    saveJPG(ws, withExtension(chosen, FileKind::JPG));
}

// A scan handed over by "To Screen" ends like every import.
void scan(CommandContext& ctx)
{
    ScannedPicture scan;
    if (!ctx.shell.scanPicture(scan)) return;
    if (!takePicture(ctx.ws(), scan.rgb.data(), scan.width, scan.height, scan.device)) return;
    resetUndo(ctx.ws());
    fitWholeImage(ctx);
}

void loadRgb(CommandContext& ctx) { loadKind(ctx); }
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
void savePng(CommandContext& ctx) { saveKind(ctx); }
void saveTiff(CommandContext& ctx) { saveKind(ctx); }

}  // namespace orx::app
