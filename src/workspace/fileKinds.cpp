// The file kinds by extension.
#include "fileKinds.h"

#include "bitmapFile.h"
#include "containerFile.h"
#include "nativeFile.h"

namespace orx {

namespace {

bool saveRgbKind(Workspace& ws, const std::string& name) { return saveRGB(ws, name); }
bool saveMskKind(Workspace& ws, const std::string& name)
{
    return saveMSK(ws, name, ws.mask, ws.imageWidth, ws.imageHeight);
}
bool saveMdlKind(Workspace& ws, const std::string& name)
{
    return saveModelFile(ws, name, ws.modelArea[0], ws.modelArea[1], ws.modelArea[2], ws.modelArea[3]);
}
bool saveLinkKind(Workspace& ws, const std::string& name) { return saveLinkFile(ws, name); }
bool saveBmpKind(Workspace& ws, const std::string& name)
{
    return writeBMP(ws, name, ws.image, ws.imageWidth, ws.imageHeight);
}
bool openMdlKind(Workspace& ws, const std::string& name, FileSource& src)
{
    if (!loadModel(ws, name, src)) return false;
    return true;
}

const FileKindInfo kKinds[] = {
    {FileKind::RGB, "RGB", "IPR", false, openRGBImage, saveRgbKind},
    {FileKind::MSK, "MSK", "MPR", false, openMSKFile, saveMskKind},
    {FileKind::MDL, "MDL", nullptr, true, openMdlKind, saveMdlKind},
    {FileKind::CLO, "CLO", nullptr, true, openContainerImage, saveLinkKind},
    {FileKind::PRT, "PRT", nullptr, true, openContainerImage, saveLinkKind},
    {FileKind::NIT, "NIT", nullptr, true, openContainerImage, saveLinkKind},
    {FileKind::EMB, "EMB", nullptr, true, openContainerImage, saveLinkKind},
    {FileKind::MAP, "MAP", nullptr, false, nullptr, nullptr},
    {FileKind::BMP, "BMP", nullptr, false, openBMPImage, saveBmpKind},
    {FileKind::Unknown, "", nullptr, false, nullptr, nullptr},
};

}  // namespace

const FileKindInfo& fileKindOf(const std::string& name)
{
    const std::string ext = upperExtension(name);
    for (const FileKindInfo& k : kKinds)
        if (k.kind != FileKind::Unknown && ext == k.extension) return k;
    return kKinds[sizeof kKinds / sizeof kKinds[0] - 1];
}

const FileKindInfo& fileKindInfo(FileKind kind)
{
    for (const FileKindInfo& k : kKinds)
        if (k.kind == kind) return k;
    return kKinds[sizeof kKinds / sizeof kKinds[0] - 1];
}

const char* fileKindName(FileKind kind) { return fileKindInfo(kind).extension; }

}  // namespace orx
