// The 256-byte container: model (MDL), material (CLO), parts (PRT), NIT and
// EMB files.
//
// Files written here keep the pixels right behind the header; files of the
// online library put the thumbnail first. Every reader takes the pixel
// offset from header byte 74, so both orders read the same.
#include "containerFile.h"

#include <algorithm>
#include <cstring>

#include "langText.h"
#include "thumbnail.h"

namespace orx {

namespace {

const char kLinkMagic[] = "KOVA IMAGING SYSTEMS CO., LTD. DynamicLinkImage";  // 47 characters
const char kModelMagic[] = "KOVA IMAGING SYSTEMS CO., LTD. MDL file";         // 39 characters
static_assert(sizeof kLinkMagic - 1 == 47 && sizeof kModelMagic - 1 == 39);

void put16(uint8_t* p, int32_t v)
{
    p[0] = uint8_t(v & 0xff);
    p[1] = uint8_t((v >> 8) & 0xff);
}

void put32(uint8_t* p, int64_t v)
{
    for (int i = 0; i < 4; ++i) p[i] = uint8_t((v >> (8 * i)) & 0xff);
}

int16_t get16(const uint8_t* p) { return int16_t(uint16_t(p[0] | (p[1] << 8))); }

uint32_t get32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

void fillCommonHeader(uint8_t* h, int32_t w, int32_t ht, int32_t value100)
{
    const int64_t pixels = int64_t(w) * ht * 3;
    put16(h + 64, 1);
    put32(h + 66, w);
    put32(h + 70, ht);
    put32(h + 74, int64_t(kHeaderBytes));
    put32(h + 78, pixels);
    put16(h + 82, value100);
    put16(h + 84, value100);
    put16(h + 86, kThumbWidth);
    put16(h + 88, kThumbHeight);
    put32(h + 90, int64_t(kHeaderBytes) + pixels);
    put32(h + 94, int64_t(kThumbBytes));
    put32(h + 98, int64_t(kHeaderBytes) + pixels + int64_t(kThumbBytes));
    h[105] = 1;
    h[106] = 1;
}

// The container's size fields are 32-bit.
bool fitsContainer(int64_t w, int64_t h) { return int64_t(kHeaderBytes) + w * h * 3 + int64_t(kThumbBytes) <= INT32_MAX; }

// Writes the header buffer, the rows of the inclusive rectangle and the
// thumbnail made for it.
bool writeContainer(Workspace& ws, const std::string& name, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                    const uint8_t* thumb)
{
    AtomicFile f(name);
    if (!f.ok()) {
        showLangMessage(ws, Msg::CantOpenFile, name.c_str());
        return false;
    }
    f.write(ws.fileHeader.raw, kHeaderBytes);
    const uint64_t rowBytes = uint64_t(x1 - x0 + 1) * 3;
    if (x0 == 0 && x1 == ws.imageWidth - 1) {
        f.write(ws.image + uint64_t(y0) * ws.imageRowBytes, rowBytes * uint64_t(y1 - y0 + 1));
    } else {
        for (int32_t y = y0; y <= y1 && f.ok(); ++y)
            f.write(ws.image + uint64_t(y) * ws.imageRowBytes + uint64_t(x0) * 3, rowBytes);
    }
    f.write(thumb, kThumbBytes);
    if (!f.commit()) {
        showLangMessage(ws, Msg::FileNotWritten, name.c_str());
        return false;
    }
    return true;
}

bool checkSavable(Workspace& ws, const std::string& name, int64_t w, int64_t h)
{
    if (w > 0 && h > 0 && fitsContainer(w, h)) return true;
    showLangMessage(ws, Msg::FileNotWritten, name.c_str());
    return false;
}

}  // namespace

void makeLinkHeader(Workspace& ws, int32_t w, int32_t h, int32_t value100)
{
    uint8_t* raw = ws.fileHeader.raw;
    std::memset(raw, 0, kHeaderBytes);
    std::memcpy(raw, kLinkMagic, 47);
    fillCommonHeader(raw, w, h, value100);
}

void makeModelHeader(Workspace& ws, int32_t w, int32_t h, int32_t value100, int16_t x0, int16_t y0, int16_t x1,
                     int16_t y1, int16_t wx0, int16_t wy0, int16_t wx1, int16_t wy1)
{
    uint8_t* raw = ws.fileHeader.raw;
    std::memset(raw, 0, kHeaderBytes);
    std::memcpy(raw, kModelMagic, 39);
    const int16_t values[8] = {x0, y0, x1, y1, wx0, wy0, wx1, wy1};
    for (int i = 0; i < 8; ++i) put16(raw + 41 + 2 * i, values[i]);
    fillCommonHeader(raw, w, h, value100);
}

void parseContainerHeader(FileHeader& fh)
{
    const uint8_t* r = fh.raw;
    std::memcpy(fh.magic, r, 64);
    fh.magic[64] = 0;
    fh.one = get16(r + 64);
    fh.width = int32_t(get32(r + 66));
    fh.height = int32_t(get32(r + 70));
    fh.pixelOffset = get32(r + 74);
    fh.pixelBytes = get32(r + 78);
    fh.value82 = get16(r + 82);
    fh.value84 = get16(r + 84);
    fh.thumbWidth = get16(r + 86);
    fh.thumbHeight = get16(r + 88);
    fh.thumbOffset = get32(r + 90);
    fh.thumbBytes = get32(r + 94);
    fh.thumbEnd = get32(r + 98);
    std::memcpy(fh.flags102, r + 102, 8);
    for (int i = 0; i < 4; ++i) {
        fh.area[i] = get16(r + 41 + 2 * i);
        fh.whole[i] = get16(r + 49 + 2 * i);
    }
    std::memcpy(fh.text110, r + 110, 60);
    std::memcpy(fh.text170, r + 170, 40);
    fh.byte210 = r[210];
    std::memcpy(fh.text211, r + 211, 40);
    std::memcpy(fh.bytes251, r + 251, 5);
}

void readModelHeader(Workspace& ws) { parseContainerHeader(ws.fileHeader); }
void readLinkHeader(Workspace& ws) { parseContainerHeader(ws.fileHeader); }

bool saveLinkFile(Workspace& ws, const std::string& name)
{
    const int32_t w = ws.imageWidth, h = ws.imageHeight;
    if (!checkSavable(ws, name, w, h)) return false;
    makeLinkHeader(ws, w, h, 100);
    makeThumbnail(ws);
    return writeContainer(ws, name, 0, 0, w - 1, h - 1, ws.thumbBuffer);
}

bool saveModelFile(Workspace& ws, const std::string& name, int16_t x0, int16_t y0, int16_t x1, int16_t y1)
{
    const int32_t w = ws.imageWidth, h = ws.imageHeight;
    if (!checkSavable(ws, name, w, h)) return false;
    makeModelHeader(ws, w, h, 100, x0, y0, x1, y1, 0, 0, int16_t(w - 1), int16_t(h - 1));
    makeThumbnail(ws);
    return writeContainer(ws, name, 0, 0, w - 1, h - 1, ws.thumbBuffer);
}

bool saveLinkRegion(Workspace& ws, const std::string& name, int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    // A rectangle dragged either way, and partly outside, saves what it
    // covers of the image.
    if (!clipToImage(ws, x0, y0, x1, y1)) {
        showLangMessage(ws, Msg::FileNotWritten, name.c_str());
        return false;
    }
    const int64_t w = int64_t(x1) - x0 + 1, h = int64_t(y1) - y0 + 1;
    if (!checkSavable(ws, name, w, h)) return false;
    makeLinkHeader(ws, int32_t(w), int32_t(h), 100);
    makeRegionThumbnail(ws, x0, y0, x1, y1);
    // The region thumbnail sits in buf1; keep a copy while writing.
    uint8_t thumb[kThumbBytes];
    std::memcpy(thumb, ws.buf1.get(), kThumbBytes);
    return writeContainer(ws, name, x0, y0, x1, y1, thumb);
}

std::optional<Msg> containerHeaderFault(const FileHeader& fh, int64_t fileSize)
{
    if (fh.width <= 0 || fh.height <= 0) return Msg::FileBadSize;
    if (fh.pixelOffset < kHeaderBytes) return Msg::FileBadHeader;
    const uint64_t pixels = uint64_t(fh.width) * uint64_t(fh.height) * 3;
    if (fileSize >= 0 && uint64_t(fh.pixelOffset) + pixels > uint64_t(fileSize)) {
        const bool ours = std::memcmp(fh.raw, kLinkMagic, 47) == 0 || std::memcmp(fh.raw, kModelMagic, 39) == 0;
        return ours ? Msg::FileTruncated : Msg::FileBadHeader;
    }
    return std::nullopt;
}

bool readContainerHeader(Workspace& ws, InStream& in, const std::string& name)
{
    FileHeader fh;
    if (!in.readExact(fh.raw, kHeaderBytes)) {
        showLangMessage(ws, Msg::FileTruncated, name.c_str());
        return false;
    }
    parseContainerHeader(fh);
    // The file is checked against itself before the image block is asked,
    // so that a file of another kind is not taken for a picture too large.
    if (const std::optional<Msg> fault = containerHeaderFault(fh, in.size())) {
        showLangMessage(ws, *fault, name.c_str());
        return false;
    }
    if (!imageFits(ws, fh.width, fh.height)) {
        showLangMessage(ws, Msg::RamTooSmallToLoad, name.c_str());
        return false;
    }
    ws.fileHeader = fh;
    return true;
}

static bool readContainerPixels(Workspace& ws, const std::string& name, FileSource& src)
{
    auto in = src.open(name);
    if (!in) {
        showLangMessage(ws, Msg::CantOpenFile, name.c_str());
        return false;
    }
    if (!readContainerHeader(ws, *in, name)) return false;
    const FileHeader& fh = ws.fileHeader;
    const uint64_t pixels = uint64_t(fh.width) * uint64_t(fh.height) * 3;
    if (!in->seekTo(fh.pixelOffset) || !in->readExact(ws.image, pixels)) {
        showLangMessage(ws, Msg::FileTruncated, name.c_str());
        return false;
    }
    layoutPlanes(ws, fh.width, fh.height);
    ws.imageLoaded = 1;
    ws.currentFileName = name;
    return true;
}

bool openContainerImage(Workspace& ws, const std::string& name, FileSource& src)
{
    if (!readContainerPixels(ws, name, src)) return false;
    clearMask(ws);
    ws.maskVisible = 0;
    return true;
}

bool loadModel(Workspace& ws, const std::string& name, FileSource& src)
{
    if (!readContainerPixels(ws, name, src)) return false;
    // A new layout leaves stale bytes where the mask now lies.
    clearMask(ws);
    std::memcpy(ws.modelArea, ws.fileHeader.area, sizeof ws.modelArea);
    ws.modelPath = name;
    std::memcpy(ws.secondImage, ws.image, imageBytes(ws));
    ws.secondImageHolds = SecondImage::Photograph;
    fillOffsetTable(ws);
    return true;
}

}  // namespace orx
