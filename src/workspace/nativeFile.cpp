// The native raw files: RGB + IPR and MSK + MPR.
//
// The raw files have no header; their size lives in the companion's text.
// Everything a companion or a raw file claims is checked against the file's
// length and the image block before a plane is touched.
#include "nativeFile.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fileKinds.h"
#include "langText.h"
#include "thumbnail.h"

namespace orx {

namespace {

// "%d %d" read from the start of a text: leading blanks, an optional sign,
// digits. Values outside int32 count as no value.
bool scanTwoInts(const char* text, int64_t& a, int64_t& b)
{
    const char* p = text;
    for (int64_t* out : {&a, &b}) {
        while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r') ++p;
        char* end = nullptr;
        errno = 0;
        long long v = std::strtoll(p, &end, 10);
        if (end == p || errno == ERANGE || v < INT32_MIN || v > INT32_MAX) return false;
        *out = v;
        p = end;
    }
    return true;
}

// Checks that a raw file holds at least `needed` bytes; a source that cannot
// tell its size is trusted until the read itself comes up short.
bool longEnough(const InStream& in, uint64_t needed)
{
    return in.size() < 0 || uint64_t(in.size()) >= needed;
}

bool writeCompanion(AtomicFile& f, const char* text, const uint8_t* thumb, size_t thumbBytes)
{
    char head[kCompanionTextBytes] = {};
    std::memcpy(head, text, std::min(std::strlen(text), sizeof head - 1));
    f.write(head, sizeof head);
    f.write(thumb, thumbBytes);
    return f.ok();
}

// The size a raw file's companion gives. A companion without a positive size
// is reported; a missing one only when the caller says so (opening an
// image quietly takes a missing mask for no mask), naming the raw file
// when that is missing too and the companion when only it is.
enum class IfMissing { Quiet, Say };

bool companionSize(Workspace& ws, FileSource& src, const std::string& name, FileKind kind, IfMissing missing,
                   int32_t& w, int32_t& h)
{
    const std::string companion = companionOf(name, kind);
    switch (readCompanionSize(src, companion, w, h)) {
    case SizeRead::Ok: return true;
    case SizeRead::Invalid: showLangMessage(ws, Msg::FileBadSize, name.c_str()); return false;
    case SizeRead::Missing:
        if (missing == IfMissing::Say)
            showLangMessage(ws, Msg::CantOpenFile, (src.open(name) ? companion : name).c_str());
        return false;
    }
    return false;
}

// Opens a raw file, or says it cannot.
std::unique_ptr<InStream> openOrSay(Workspace& ws, FileSource& src, const std::string& name)
{
    auto in = src.open(name);
    if (!in) showLangMessage(ws, Msg::CantOpenFile, name.c_str());
    return in;
}

}  // namespace

SizeRead readCompanionSize(FileSource& src, const std::string& companion, int32_t& w, int32_t& h)
{
    auto in = src.open(companion);
    if (!in) return SizeRead::Missing;
    char text[kCompanionTextBytes + 1] = {};
    in->read(text, kCompanionTextBytes);
    int64_t a = 0, b = 0;
    if (!scanTwoInts(text, a, b) || a <= 0 || b <= 0) return SizeRead::Invalid;
    w = int32_t(a);
    h = int32_t(b);
    return SizeRead::Ok;
}

SizeRead readImageSize(FileSource& src, const std::string& rawName, int32_t& w, int32_t& h)
{
    return readCompanionSize(src, companionOf(rawName, FileKind::RGB), w, h);
}

SizeRead readMaskSize(FileSource& src, const std::string& rawName, int32_t& w, int32_t& h)
{
    return readCompanionSize(src, companionOf(rawName, FileKind::MSK), w, h);
}

// ---- colour images

namespace {

bool readRGB(Workspace& ws, const std::string& name, uint8_t* dest, FileSource& src, IfMissing missing)
{
    int32_t w = 0, h = 0;
    if (!companionSize(ws, src, name, FileKind::RGB, missing, w, h)) return false;
    auto in = openOrSay(ws, src, name);
    if (!in) return false;
    const uint64_t bytes = uint64_t(w) * uint64_t(h) * 3;
    if (bytes > ws.maxRgbBytes) {
        showLangMessage(ws, Msg::RamTooSmallToLoad, name.c_str());
        return false;
    }
    if (!longEnough(*in, bytes) || !in->readExact(dest, bytes)) {
        showLangMessage(ws, Msg::FileTruncated, name.c_str());
        return false;
    }
    ws.imageWidth = w;
    ws.imageHeight = h;
    ws.imageRowBytes = uint64_t(w) * 3;
    return true;
}

}  // namespace

bool loadRGB(Workspace& ws, const std::string& name, uint8_t* dest, FileSource& src)
{
    return readRGB(ws, name, dest, src, IfMissing::Quiet);
}

bool saveRGB(Workspace& ws, const std::string& name)
{
    return saveRGBPlane(ws, name, ws.image, ws.imageWidth, ws.imageHeight);
}

bool saveRGBPlane(Workspace& ws, const std::string& name, const uint8_t* rgb, int32_t w, int32_t h)
{
    AtomicFile raw(name);
    AtomicFile companion(companionOf(name, FileKind::RGB));
    // Large images go out a row at a time; the file is the same either way.
    const uint64_t rowBytes = uint64_t(w) * 3;
    const uint64_t bytes = rowBytes * uint64_t(h);
    if (bytes > 64'000'000) {
        for (int32_t y = 0; y < h && raw.ok(); ++y) raw.write(rgb + uint64_t(y) * rowBytes, rowBytes);
    } else {
        raw.write(rgb, bytes);
    }
    char text[kCompanionTextBytes];
    std::snprintf(text, sizeof text, "%d %d 0 0", w, h);
    makeThumbnailOf(rgb, rowBytes, w, h, ws.thumbBuffer);
    writeCompanion(companion, text, ws.thumbBuffer, kThumbBytes);
    if (!commitTogether({&raw, &companion})) {
        const int err = raw.error() ? raw.error() : companion.error();
        showLangMessage(ws, Msg::FileCouldNotBeOpened, std::to_string(err).c_str());
        return false;
    }
    return true;
}

bool openRGBImage(Workspace& ws, const std::string& name, FileSource& src)
{
    // Opening is what the user asked for: a missing companion is said.
    if (!readRGB(ws, name, ws.image, src, IfMissing::Say)) return false;
    ws.imageLoaded = 1;
    layoutPlanes(ws, ws.imageWidth, ws.imageHeight);
    ws.currentFileName = name;

    const std::string maskName = nameOfKind(name, FileKind::MSK);
    int32_t mw = 0, mh = 0;
    if (readMaskSize(src, maskName, mw, mh) != SizeRead::Ok || mw != ws.imageWidth || mh != ws.imageHeight) {
        clearMask(ws);
        ws.maskVisible = 0;
        return true;
    }
    if (loadMSK(ws, maskName, ws.mask, src)) {
        ws.maskVisible = 1;
    } else {
        clearMask(ws);
        ws.maskVisible = 0;
    }
    return true;
}

// ---- masks

void packMaskRow(const uint8_t* mask, int32_t w, uint8_t* packed)
{
    std::memset(packed, 0, size_t(w + 7) / 8);
    for (int32_t x = 0; x < w; ++x)
        if (mask[x] > 254) packed[x >> 3] |= uint8_t(0x80 >> (x & 7));
}

namespace {

// The eight mask bytes of each packed byte, most significant bit first: a
// mapping run installs a whole mask per part, so rows unpack eight pixels
// at a time.
struct UnpackTable {
    uint64_t bytes[256];
    constexpr UnpackTable() : bytes()
    {
        for (int b = 0; b < 256; ++b)
            for (int j = 0; j < 8; ++j)
                if (b & (0x80 >> j)) bytes[b] |= uint64_t(0xFF) << (8 * j);
    }
};
constexpr UnpackTable kUnpack;
static_assert(std::endian::native == std::endian::little, "the unpack table is laid out for little-endian words");

}  // namespace

void unpackMaskRow(const uint8_t* packed, int32_t w, uint8_t* mask)
{
    const int32_t whole = w / 8;
    for (int32_t i = 0; i < whole; ++i) std::memcpy(mask + 8 * size_t(i), &kUnpack.bytes[packed[i]], 8);
    for (int32_t x = whole * 8; x < w; ++x) mask[x] = (packed[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
}

bool loadMSK(Workspace& ws, const std::string& name, uint8_t* dest, FileSource& src)
{
    int32_t w = 0, h = 0;
    if (!companionSize(ws, src, name, FileKind::MSK, IfMissing::Quiet, w, h)) return false;
    auto in = openOrSay(ws, src, name);
    if (!in) return false;
    if (!imageFits(ws, w, h)) {
        showLangMessage(ws, Msg::RamTooSmallToLoad, name.c_str());
        return false;
    }
    const uint64_t rowBytes = uint64_t(w + 7) / 8;
    if (!longEnough(*in, rowBytes * uint64_t(h))) {
        showLangMessage(ws, Msg::FileTruncated, name.c_str());
        return false;
    }
    std::vector<uint8_t> row(rowBytes);
    for (int32_t y = 0; y < h; ++y) {
        if (!in->readExact(row.data(), rowBytes)) {
            showLangMessage(ws, Msg::FileTruncated, name.c_str());
            return false;
        }
        unpackMaskRow(row.data(), w, dest + uint64_t(y) * w);
    }
    return true;
}

bool saveMSK(Workspace& ws, const std::string& name, const uint8_t* mask, int32_t w, int32_t h)
{
    AtomicFile raw(name);
    AtomicFile companion(companionOf(name, FileKind::MSK));
    std::vector<uint8_t> packed(size_t(w + 7) / 8);
    for (int32_t y = 0; y < h && raw.ok(); ++y) {
        packMaskRow(mask + uint64_t(y) * w, w, packed.data());
        raw.write(packed.data(), packed.size());
    }
    char text[kCompanionTextBytes];
    std::snprintf(text, sizeof text, "%d %d", w, h);
    uint8_t thumb[kMaskThumbBytes];
    makeMaskThumbnail(mask, w, h, thumb);
    writeCompanion(companion, text, thumb, sizeof thumb);
    return commitTogether({&raw, &companion});
}

bool openMSKFile(Workspace& ws, const std::string& name, FileSource& src)
{
    int32_t w = 0, h = 0;
    if (!companionSize(ws, src, name, FileKind::MSK, IfMissing::Say, w, h)) return false;
    if (ws.imageLoaded) {
        if (w != ws.imageWidth || h != ws.imageHeight) {
            showLangMessage(ws, Msg::MaskSizeDiffers, name.c_str());
            return false;
        }
        if (!loadMSK(ws, name, ws.maskBackup, src)) return false;
        std::memcpy(ws.mask, ws.maskBackup, pixelCount(ws));
        ws.maskVisible = 1;
        return true;
    }
    // No image yet: the mask's size must fit before any plane is laid out,
    // and the file must be readable before the workspace changes.
    if (!imageFits(ws, w, h)) {
        showLangMessage(ws, Msg::RamTooSmallToLoad, name.c_str());
        return false;
    }
    uint8_t* scratch = ws.block.get() + ws.blockSize - uint64_t(w) * h;
    if (!loadMSK(ws, name, scratch, src)) return false;
    layoutPlanes(ws, w, h);
    fillImageWhite(ws);
    std::memmove(ws.mask, scratch, pixelCount(ws));
    ws.imageLoaded = 1;
    ws.maskVisible = 1;
    ws.currentFileName = name;
    return true;
}

bool loadMSKClipped(Workspace& ws, const std::string& name, uint8_t* dest, FileSource& src)
{
    int32_t w = 0, h = 0;
    if (!companionSize(ws, src, name, FileKind::MSK, IfMissing::Say, w, h)) return false;
    auto in = openOrSay(ws, src, name);
    if (!in) return false;
    const uint64_t rowBytes = (uint64_t(w) + 7) / 8;
    const int32_t rows = std::min(h, ws.imageHeight);
    const int32_t cols = std::min(w, ws.imageWidth);
    if (!longEnough(*in, rowBytes * uint64_t(rows))) {
        showLangMessage(ws, Msg::FileTruncated, name.c_str());
        return false;
    }
    // Only the bytes of the columns that land in the image are read: the
    // companion's width is the file's word, and a stream that cannot tell
    // its size would otherwise have us hold a row of any claimed width.
    const size_t usedBytes = (size_t(cols) + 7) / 8;
    std::vector<uint8_t> packed(usedBytes);
    for (int32_t y = 0; y < rows; ++y) {
        if (!in->seekTo(uint64_t(y) * rowBytes) || !in->readExact(packed.data(), usedBytes)) {
            showLangMessage(ws, Msg::FileTruncated, name.c_str());
            return false;
        }
        unpackMaskRow(packed.data(), cols, dest + uint64_t(y) * ws.imageWidth);
    }
    return true;
}

// ---- placing a file into the image

bool pasteRGBFile(Workspace& ws, const std::string& name, int32_t x, int32_t y, int weight, FileSource& src)
{
    int32_t w = 0, h = 0;
    if (!companionSize(ws, src, name, FileKind::RGB, IfMissing::Say, w, h)) return false;
    auto in = openOrSay(ws, src, name);
    if (!in) return false;
    const uint64_t fileRow = uint64_t(w) * 3;
    if (!longEnough(*in, fileRow * uint64_t(h))) {
        showLangMessage(ws, Msg::FileTruncated, name.c_str());
        return false;
    }
    weight = std::clamp(weight, 0, 255);
    // Only the file rows and columns that land inside the image are used.
    const int64_t c0 = std::max<int64_t>(0, -int64_t(x)), c1 = std::min<int64_t>(w, int64_t(ws.imageWidth) - x);
    const int64_t r0 = std::max<int64_t>(0, -int64_t(y)), r1 = std::min<int64_t>(h, int64_t(ws.imageHeight) - y);
    if (c0 >= c1 || r0 >= r1) return true;
    // Of each row only the pixels that land in the image are read, so the
    // buffer is at most an image row whatever width the companion claims.
    std::vector<uint8_t> row(uint64_t(c1 - c0) * 3);
    for (int64_t r = r0; r < r1; ++r) {
        if (!in->seekTo(uint64_t(r) * fileRow + uint64_t(c0) * 3) || !in->readExact(row.data(), row.size())) {
            showLangMessage(ws, Msg::FileTruncated, name.c_str());
            return false;
        }
        const uint64_t iy = uint64_t(y + r);
        for (int64_t c = c0; c < c1; ++c) {
            const uint64_t ix = uint64_t(x + c);
            const uint64_t p = iy * ws.imageWidth + ix;
            if (ws.maskVisible == 1 && ws.mask[p] != 0) continue;
            uint8_t* d = ws.image + p * 3;
            const uint8_t* s = row.data() + (c - c0) * 3;
            for (int k = 0; k < 3; ++k) d[k] = uint8_t((d[k] * (255 - weight) + s[k] * weight) / 255);
        }
    }
    return true;
}

// ---- temp copy

std::string tempImagePath(const Workspace& ws) { return joinPath(ws.WORKDIR, "VLXTEMP.RGB"); }

bool saveTempImage(Workspace& ws)
{
    if (ws.tempInMemory == 1) {
        std::memcpy(ws.tempImage, ws.image, imageBytes(ws));
        return true;
    }
    return saveRGB(ws, tempImagePath(ws));
}

bool restoreTempImage(Workspace& ws)
{
    if (ws.tempInMemory == 1) {
        std::memcpy(ws.image, ws.tempImage, imageBytes(ws));
        return true;
    }
    // The temp file must hold the current image's size: anything else would
    // move the planes under whoever asked for the restore.
    int32_t w = 0, h = 0;
    if (readImageSize(localFiles(), tempImagePath(ws), w, h) != SizeRead::Ok || w != ws.imageWidth ||
        h != ws.imageHeight) {
        showLangMessage(ws, Msg::CantOpenFile, tempImagePath(ws).c_str());
        return false;
    }
    return loadRGB(ws, tempImagePath(ws), ws.image);
}

}  // namespace orx
