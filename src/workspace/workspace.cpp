// The workspace record: start-up buffers, the image block and its planes,
// the display buffer geometry and the memory figures.
#include "workspace.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <new>
#include <unistd.h>

#include "langText.h"

namespace orx {

namespace {

template <typename T>
bool obtain(Workspace& ws, std::unique_ptr<T[]>& buf, size_t count, Msg failure)
{
    buf.reset(new (std::nothrow) T[count]);
    if (buf) return true;
    ws.platform->message(langText(ws, failure), Icon::Stop);
    return false;
}

// Reads "Name:  value kB" from /proc/meminfo; 0 when absent.
uint64_t meminfoBytes(const char* name)
{
    std::ifstream in("/proc/meminfo");
    std::string key;
    uint64_t value = 0;
    std::string unit;
    while (in >> key >> value) {
        std::getline(in, unit);
        if (key == name) return value * 1024;
    }
    return 0;
}

std::string currentDirectory()
{
    char buf[4096];
    return ::getcwd(buf, sizeof buf) ? std::string(buf) : std::string();
}

}  // namespace

bool imageFits(const Workspace& ws, int64_t width, int64_t height)
{
    if (width <= 0 || height <= 0) return false;
    if (width > INT32_MAX || height > INT32_MAX) return false;
    return uint64_t(width) * uint64_t(height) <= ws.planeCapacity;
}

bool reserveDisplay(Workspace& ws, size_t bytes)
{
    bytes = std::max(bytes, kDisplayBytes);
    if (ws.RS && ws.RS1 && bytes <= ws.displayCapacity) return true;
    ws.displayCapacity = 0;
    if (!obtain(ws, ws.RS, bytes, Msg::RsAllocFail)) return false;
    if (!obtain(ws, ws.RS1, bytes, Msg::Rs1AllocFail)) return false;
    ws.displayCapacity = bytes;
    return true;
}

bool startWorkspace(Workspace& ws, size_t displayBufferBytes)
{
    if (!ws.platform) {
        static ConsolePlatform console;
        ws.platform = &console;
    }
    if (!reserveDisplay(ws, displayBufferBytes)) return false;
    if (!obtain(ws, ws.DENSITY, kDensityBytes, Msg::DensityAllocFail)) return false;
    if (!obtain(ws, ws.buf1, kBuf1Bytes, Msg::Buf1AllocFail)) return false;
    ws.thumbBuffer = ws.buf1.get() + kThumbOffset;
    ws.displayRowOffset.reset(new uint64_t[kMaxDisplayRows]());

    if (!obtain(ws, ws.Cpoint0, kMeshMaxPoints, Msg::Cpoint0AllocFail)) return false;
    if (!obtain(ws, ws.Cpoint1, kMeshMaxPoints, Msg::Cpoint1AllocFail)) return false;
    if (!obtain(ws, ws.Cpoint2, kMeshMaxPoints, Msg::Cpoint2AllocFail)) return false;
    if (!obtain(ws, ws.OFSTBUF, kMaxEngineRows, Msg::OfstbufAllocFail)) return false;

    if (!sizeImageBlock(ws)) return false;

    ws.maskOverlayMode = 3;
    ws.maskOverlayColour[0] = 255;
    ws.maskOverlayColour[1] = 0;
    ws.maskOverlayColour[2] = 0;
    ws.maskVisible = 0;
    ws.imageLoaded = 0;

    if (ws.WORKDIR.empty()) {
        ws.WORKDIR = currentDirectory();
        if (ws.WORKDIR.empty()) ws.platform->message(langText(ws, Msg::GetcwdWorkdir), Icon::Stop);
    }
    if (ws.VLX98DIR.empty()) ws.VLX98DIR = currentDirectory();
    return true;
}

BlockBytesSetting blockBytesSetting(uint64_t& bytes, std::string& text)
{
    const char* value = std::getenv("ORX_BLOCK_BYTES");
    if (!value || !*value) return BlockBytesSetting::Unset;
    text = value;
    // Digits only: strtoull would take "-1" for the largest number there is.
    if (text.size() > 19 || text.find_first_not_of("0123456789") != std::string::npos)
        return BlockBytesSetting::Invalid;
    // A number below the minimum is a machine with too little memory, and
    // is told so as such.
    bytes = std::stoull(text);
    return BlockBytesSetting::Valid;
}

bool sizeImageBlock(Workspace& ws)
{
    ws.totalRam = meminfoBytes("MemTotal:");
    ws.availableRam = meminfoBytes("MemAvailable:");
    ws.blockSize = 0;

    // Tests and constrained installations fix the block size; the rule
    // about the 16,000,000-byte minimum still holds.
    uint64_t forced = 0;
    std::string text;
    switch (blockBytesSetting(forced, text)) {
    case BlockBytesSetting::Invalid:
        showLangMessage(ws, Msg::BlockBytesInvalid, text.c_str());
        return false;
    case BlockBytesSetting::Valid: ws.blockSize = forced; break;
    case BlockBytesSetting::Unset:
        // Linux grants almost any allocation on paper, so a trial size is only
        // taken when the kernel also reports that much memory as available.
        for (uint64_t trial = ws.totalRam; trial >= kMinBlockBytes; trial -= kBlockStepBytes) {
            if (trial <= ws.availableRam) {
                ws.blockSize = trial;
                break;
            }
            if (trial < kMinBlockBytes + kBlockStepBytes) break;
        }
        break;
    }

    if (ws.blockSize >= kMinBlockBytes) {
        ws.block.reset(new (std::nothrow) uint8_t[ws.blockSize]);
        if (!ws.block) ws.blockSize = 0;
    }
    if (ws.blockSize < kMinBlockBytes) {
        showLangMessage(ws, Msg::FreeRamTooSmall);
        return false;
    }
    ws.planeCapacity = ws.blockSize / 8;
    ws.maxRgbBytes = ws.planeCapacity * 3;
    ws.image = ws.block.get();
    return true;
}

void layoutPlanes(Workspace& ws, int32_t width, int32_t height)
{
    ws.imageWidth = width;
    ws.imageHeight = height;
    ws.imageRowBytes = uint64_t(width) * 3;
    const uint64_t n = pixelCount(ws);
    ws.image = ws.block.get();
    ws.secondImage = ws.image + 3 * n;
    ws.mask = ws.secondImage + 3 * n;
    ws.maskBackup = ws.mask + n;
    ws.tempImage = ws.maskBackup + n;
    ws.tempInMemory = ws.blockSize >= 11 * n ? 1 : 0;
    takeSecondImage(ws);
}

void takeSecondImage(Workspace& ws, SecondImage what)
{
    ws.secondImageHolds = what;
    ws.modelLoaded = 0;
    ws.modelMapped = 0;
}

bool clipToImage(const Workspace& ws, int32_t& x0, int32_t& y0, int32_t& x1, int32_t& y1)
{
    if (x0 > x1) std::swap(x0, x1);
    if (y0 > y1) std::swap(y0, y1);
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, ws.imageWidth - 1);
    y1 = std::min(y1, ws.imageHeight - 1);
    return x0 <= x1 && y0 <= y1;
}

void clearMask(Workspace& ws) { std::memset(ws.mask, 0, pixelCount(ws)); }

void invertMask(Workspace& ws)
{
    uint8_t* m = ws.mask;
    for (uint64_t i = 0, n = pixelCount(ws); i < n; ++i) m[i] = uint8_t(255 - m[i]);
}

void fillImageWhite(Workspace& ws) { std::memset(ws.image, 255, imageBytes(ws)); }

bool newImage(Workspace& ws, int32_t width, int32_t height)
{
    if (!imageFits(ws, width, height)) return false;
    layoutPlanes(ws, width, height);
    fillImageWhite(ws);
    clearMask(ws);
    ws.imageLoaded = 1;
    return true;
}

void fillOffsetTable(Workspace& ws)
{
    const int rows = std::min<int32_t>(ws.imageHeight, kMaxEngineRows);
    for (int y = 0; y < rows; ++y) ws.OFSTBUF[y] = uint64_t(y) * ws.imageRowBytes;
}

void setDisplaySize(Workspace& ws, int32_t width, int32_t height)
{
    // The display buffers hold displayCapacity bytes: a client area larger
    // than that is shown in the part that fits.
    width = std::max(width, 0);
    height = std::clamp(height, 0, kMaxDisplayRows);
    int32_t stride = (width * 3 + 3) / 4 * 4;
    if (stride > 0 && uint64_t(stride) * uint64_t(height) > ws.displayCapacity)
        height = int32_t(ws.displayCapacity / uint64_t(stride));
    ws.displayWidth = width;
    ws.displayHeight = height;
    ws.displayStride = stride;
    ws.displayBytes = uint64_t(stride) * uint64_t(height);
    for (int y = 0; y < height; ++y) ws.displayRowOffset[y] = uint64_t(stride) * uint64_t(y);
}

void fillDisplay(Workspace& ws, uint8_t grey) { std::memset(ws.RS.get(), grey, ws.displayBytes); }

void saveDisplay(Workspace& ws) { std::memcpy(ws.RS1.get(), ws.RS.get(), ws.displayBytes); }

void restoreDisplay(Workspace& ws) { std::memcpy(ws.RS.get(), ws.RS1.get(), ws.displayBytes); }

void restoreDisplayRect(Workspace& ws, Rect r)
{
    int x0 = std::max(std::min(r.x0, r.x1), 0);
    int x1 = std::min(std::max(r.x0, r.x1), ws.displayWidth - 1);
    int y0 = std::max(std::min(r.y0, r.y1), 0);
    int y1 = std::min(std::max(r.y0, r.y1), ws.displayHeight - 1);
    if (x0 > x1 || y0 > y1) return;
    for (int y = y0; y <= y1; ++y) {
        uint64_t off = ws.displayRowOffset[y] + uint64_t(x0) * 3;
        std::memcpy(ws.RS.get() + off, ws.RS1.get() + off, size_t(x1 - x0 + 1) * 3);
    }
}

std::string memoryRamText(const Workspace& ws)
{
    return langFormat(ws, Msg::MemoryRam, int(ws.totalRam / 1'048'576), int(ws.blockSize / 1'048'576));
}

std::string memoryCapacityText(const Workspace& ws)
{
    int side = int(std::sqrt(double(ws.maxRgbBytes / 3)));
    return langFormat(ws, Msg::MemoryCapacity, int(ws.maxRgbBytes / 1'000'000), side, side);
}

}  // namespace orx
