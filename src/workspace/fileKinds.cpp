// The file kinds by extension.
#include "fileKinds.h"

#include <strings.h>

#include <iterator>

#include "bitmapFile.h"
#include "containerFile.h"
#include "jpegExport.h"
#include "pictureFile.h"

namespace orx {

namespace {

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

bool saveJpgKind(Workspace& ws, const std::string& name) { return saveJPG(ws, name); }

SizeRead bmpSize(FileSource& src, const std::string& name, int32_t& w, int32_t& h)
{
    if (!src.open(name)) return SizeRead::Missing;
    return readBMPSize(src, name, w, h) ? SizeRead::Ok : SizeRead::Invalid;
}

// The size a picture opens at: upright.
SizeRead pictureSize(FileSource& src, const std::string& name, int32_t& w, int32_t& h)
{
    if (!src.open(name)) return SizeRead::Missing;
    PictureProbe probe;
    std::string why;
    if (!probePicture(src, name, probe, why)) return SizeRead::Invalid;
    w = probe.width;
    h = probe.height;
    return SizeRead::Ok;
}

constexpr KindFamily Raw = KindFamily::Raw, Container = KindFamily::Container, Picture = KindFamily::Picture,
                     Mesh = KindFamily::Mesh, Text = KindFamily::Text, None = KindFamily::None;

// clang-format off
const FileKindInfo kKinds[] = {
//   kind             ext    companion  family     open                 save          size
    {FileKind::RGB,  "RGB", "IPR",     Raw,       openRGBImage,        saveRGB,      readImageSize},
    {FileKind::MSK,  "MSK", "MPR",     Raw,       openMSKFile,         saveMskKind,  readMaskSize},
    {FileKind::MDL,  "MDL", nullptr,   Container, loadModel,           saveMdlKind,  nullptr},
    {FileKind::CLO,  "CLO", nullptr,   Container, openContainerImage,  saveLinkKind, nullptr},
    {FileKind::PRT,  "PRT", nullptr,   Container, openContainerImage,  saveLinkKind, nullptr},
    {FileKind::NIT,  "NIT", nullptr,   Container, openContainerImage,  saveLinkKind, nullptr},
    {FileKind::EMB,  "EMB", nullptr,   Container, openContainerImage,  saveLinkKind, nullptr},
    {FileKind::MAP,  "MAP", nullptr,   Mesh,      nullptr,             nullptr,      nullptr},
    {FileKind::ORX,  "ORX", nullptr,   Text,      nullptr,             nullptr,      nullptr},
    {FileKind::BMP,  "BMP", nullptr,   Picture,   openPictureImage,    saveBmpKind,  bmpSize},
    {FileKind::TIF,  "TIF", nullptr,   Picture,   openPictureImage,    saveTIFF,     pictureSize},
    {FileKind::TIF,  "TIFF", nullptr,  Picture,   openPictureImage,    saveTIFF,     pictureSize},
    {FileKind::JPG,  "JPG", nullptr,   Picture,   openPictureImage,    saveJpgKind,  pictureSize},
    {FileKind::JPG,  "JPEG", nullptr,  Picture,   openPictureImage,    saveJpgKind,  pictureSize},
    {FileKind::PCX,  "PCX", nullptr,   Picture,   openPictureImage,    nullptr,      pictureSize},
    {FileKind::PNG,  "PNG", nullptr,   Picture,   openPictureImage,    savePNG,      pictureSize},
    {FileKind::Unknown, "", nullptr,   None,      nullptr,             nullptr,      nullptr},
};
// clang-format on

const FileKindInfo& unknownKind() { return kKinds[std::size(kKinds) - 1]; }

template <typename Wanted>
std::string kindList(Wanted wanted)
{
    std::string list;
    for (const FileKindInfo& k : kKinds)
        if (wanted(k)) list += (list.empty() ? "" : ", ") + std::string(k.extension);
    return list;
}

}  // namespace

std::span<const FileKindInfo> fileKinds() { return kKinds; }

const FileKindInfo& fileKindOf(const std::string& name) { return fileKindOfExtension(upperExtension(name)); }

const FileKindInfo& fileKindOfExtension(const std::string& extension)
{
    for (const FileKindInfo& k : kKinds)
        if (k.kind != FileKind::Unknown && ::strcasecmp(extension.c_str(), k.extension) == 0) return k;
    return unknownKind();
}

const FileKindInfo& fileKindInfo(FileKind kind)
{
    for (const FileKindInfo& k : kKinds)
        if (k.kind == kind) return k;
    return unknownKind();
}

const char* fileKindName(FileKind kind) { return fileKindInfo(kind).extension; }

std::string nameOfKind(const std::string& name, FileKind kind) { return companionName(name, fileKindName(kind)); }

std::string companionOf(const std::string& name, FileKind kind)
{
    const char* companion = fileKindInfo(kind).companion;
    return companion ? companionName(name, companion) : std::string();
}

std::string companionOf(const std::string& name) { return companionOf(name, fileKindOf(name).kind); }

std::string openableKinds()
{
    return kindList([](const FileKindInfo& k) { return k.open != nullptr; });
}

std::string savableKinds()
{
    return kindList([](const FileKindInfo& k) { return k.save != nullptr; });
}

}  // namespace orx
