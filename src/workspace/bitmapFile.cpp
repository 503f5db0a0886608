// Windows bitmaps.
//
// The writer makes the one form other programs all read: 24 bits, no
// compression, rows bottom-up padded to four bytes. The reader takes the
// uncompressed forms; compressed and bit-field bitmaps are refused with a
// message so that the import can hand them to the general decoder.
#include "bitmapFile.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "langText.h"

namespace orx {

namespace {

constexpr int kFileHeader = 14;

uint32_t le32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

void put32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

struct BmpInfo {
    uint32_t pixelOffset = 0;
    uint32_t infoSize = 0;
    int32_t width = 0;
    int32_t height = 0;  // always positive here
    bool topDown = false;
    int bits = 0;
    uint32_t compression = 0;
    uint32_t coloursUsed = 0;
    uint64_t rowBytes = 0;
};

enum class Parse { Ok, NotBitmap, Unsupported, BadSize };

Parse parseHeaders(const uint8_t* h, BmpInfo& bi, const char** why)
{
    if (h[0] != 'B' || h[1] != 'M') {
        *why = "no BM signature";
        return Parse::NotBitmap;
    }
    bi.pixelOffset = le32(h + 10);
    bi.infoSize = le32(h + 14);
    if (bi.infoSize < 40) {
        *why = "OS/2 bitmap header";
        return Parse::Unsupported;
    }
    bi.width = int32_t(le32(h + 18));
    int32_t height = int32_t(le32(h + 22));
    bi.bits = le16(h + 28);
    bi.compression = le32(h + 30);
    bi.coloursUsed = le32(h + 46);
    if (height == INT32_MIN || bi.width <= 0 || height == 0) {
        *why = "size";
        return Parse::BadSize;
    }
    bi.topDown = height < 0;
    bi.height = height < 0 ? -height : height;
    switch (bi.bits) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: *why = "bits per pixel"; return Parse::Unsupported;
    }
    if (bi.compression != 0) {
        *why = "compressed";
        return Parse::Unsupported;
    }
    if (bi.bits <= 8 && bi.coloursUsed > (1u << bi.bits)) {
        *why = "colour table";
        return Parse::Unsupported;
    }
    bi.rowBytes = (uint64_t(bi.width) * bi.bits + 31) / 32 * 4;
    return Parse::Ok;
}

void decodeRow(const BmpInfo& bi, const uint8_t* in, const uint8_t (*palette)[3], uint8_t* out)
{
    const int32_t w = bi.width;
    switch (bi.bits) {
    case 24:
        for (int32_t x = 0; x < w; ++x) {
            out[3 * x] = in[3 * x + 2];
            out[3 * x + 1] = in[3 * x + 1];
            out[3 * x + 2] = in[3 * x];
        }
        break;
    case 32:
        for (int32_t x = 0; x < w; ++x) {
            out[3 * x] = in[4 * x + 2];
            out[3 * x + 1] = in[4 * x + 1];
            out[3 * x + 2] = in[4 * x];
        }
        break;
    case 16:  // 5-5-5, the uncompressed 16-bit form
        for (int32_t x = 0; x < w; ++x) {
            const unsigned v = le16(in + 2 * x);
            const unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
            out[3 * x] = uint8_t(r << 3 | r >> 2);
            out[3 * x + 1] = uint8_t(g << 3 | g >> 2);
            out[3 * x + 2] = uint8_t(b << 3 | b >> 2);
        }
        break;
    default: {  // 1, 4 or 8 bits of palette index, leftmost pixel in the high bits
        const int bits = bi.bits;
        const int perByte = 8 / bits;
        const unsigned maskBits = (1u << bits) - 1;
        for (int32_t x = 0; x < w; ++x) {
            const int shift = 8 - bits * (x % perByte + 1);
            const unsigned index = (in[x / perByte] >> shift) & maskBits;
            std::memcpy(out + 3 * x, palette[index], 3);
        }
    }
    }
}

// The rows of a w x h picture from plane rows, bottom-up, as 24-bit BGR.
// Display rows are already B, G, R; colour planes are R, G, B.
enum class RowOrder { Rgb, Bgr };

bool writeBitmap(Workspace& ws, const std::string& name, const uint8_t* origin, uint64_t planeRowBytes, int32_t w,
                 int32_t h, RowOrder order = RowOrder::Rgb)
{
    const uint64_t stride = (uint64_t(w) * 3 + 3) / 4 * 4;
    const uint64_t pixelBytes = stride * uint64_t(h);
    if (w <= 0 || h <= 0 || pixelBytes + 54 > UINT32_MAX) {
        showLangMessage(ws, Msg::FileNotWritten, name.c_str());
        return false;
    }
    AtomicFile f(name);
    if (!f.ok()) {
        showLangMessage(ws, Msg::CantOpenFile, name.c_str());
        return false;
    }
    uint8_t head[54] = {'B', 'M'};
    put32(head + 2, uint32_t(pixelBytes + 54));
    put32(head + 10, 54);
    put32(head + 14, 40);
    put32(head + 18, uint32_t(w));
    put32(head + 22, uint32_t(h));
    head[26] = 1;
    head[28] = 24;
    put32(head + 34, uint32_t(pixelBytes));
    put32(head + 38, 3780);
    put32(head + 42, 3780);
    f.write(head, sizeof head);
    std::vector<uint8_t> row(stride, 0);
    for (int32_t y = h - 1; y >= 0 && f.ok(); --y) {
        const uint8_t* s = origin + uint64_t(y) * planeRowBytes;
        if (order == RowOrder::Bgr) {
            std::memcpy(row.data(), s, size_t(w) * 3);
            f.write(row.data(), stride);
            continue;
        }
        for (int32_t x = 0; x < w; ++x) {
            row[3 * x] = s[3 * x + 2];
            row[3 * x + 1] = s[3 * x + 1];
            row[3 * x + 2] = s[3 * x];
        }
        f.write(row.data(), stride);
    }
    if (!f.commit()) {
        showLangMessage(ws, Msg::FileNotWritten, name.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool readBMPSize(FileSource& src, const std::string& name, int32_t& w, int32_t& h)
{
    auto in = src.open(name);
    uint8_t head[kFileHeader + 40];
    if (!in || !in->readExact(head, sizeof head)) return false;
    BmpInfo bi;
    const char* why = "";
    if (parseHeaders(head, bi, &why) == Parse::NotBitmap) return false;
    w = bi.width;
    h = bi.height;
    return bi.width > 0 && bi.height > 0;
}

bool readBMP(Workspace& ws, const std::string& name, uint8_t* dest, int32_t& w, int32_t& h, FileSource& src)
{
    auto in = src.open(name);
    if (!in) {
        showLangMessage(ws, Msg::CantOpenFile, name.c_str());
        return false;
    }
    uint8_t head[kFileHeader + 40];
    if (!in->readExact(head, sizeof head)) {
        showLangMessage(ws, Msg::FileTruncated, name.c_str());
        return false;
    }
    BmpInfo bi;
    const char* why = "";
    switch (parseHeaders(head, bi, &why)) {
    case Parse::Ok: break;
    case Parse::NotBitmap: showLangMessage(ws, Msg::FileBadHeader, name.c_str()); return false;
    case Parse::BadSize: showLangMessage(ws, Msg::FileBadSize, name.c_str()); return false;
    case Parse::Unsupported: showLangMessage(ws, Msg::BmpUnsupported, name.c_str(), why); return false;
    }
    if (!imageFits(ws, bi.width, bi.height)) {
        showLangMessage(ws, Msg::RamTooSmallToLoad, name.c_str());
        return false;
    }

    // The colour table follows the information header; unused entries stay black.
    uint8_t palette[256][3] = {};
    if (bi.bits <= 8) {
        const uint32_t entries = bi.coloursUsed ? bi.coloursUsed : (1u << bi.bits);
        std::vector<uint8_t> table(size_t(entries) * 4);
        if (!in->seekTo(kFileHeader + uint64_t(bi.infoSize)) || !in->readExact(table.data(), table.size())) {
            showLangMessage(ws, Msg::FileTruncated, name.c_str());
            return false;
        }
        for (uint32_t i = 0; i < entries; ++i) {
            palette[i][0] = table[4 * i + 2];
            palette[i][1] = table[4 * i + 1];
            palette[i][2] = table[4 * i];
        }
    }

    // Every row must be in the file (the last row's padding may be missing)
    // before the first pixel is written.
    const uint64_t needed = uint64_t(bi.pixelOffset) + bi.rowBytes * uint64_t(bi.height - 1) +
                            (uint64_t(bi.width) * bi.bits + 7) / 8;
    if (bi.pixelOffset < kFileHeader + 40 || (in->size() >= 0 && needed > uint64_t(in->size()))) {
        showLangMessage(ws, Msg::FileTruncated, name.c_str());
        return false;
    }
    if (!in->seekTo(bi.pixelOffset)) {
        showLangMessage(ws, Msg::FileTruncated, name.c_str());
        return false;
    }
    std::vector<uint8_t> row(bi.rowBytes, 0);
    const uint64_t outRow = uint64_t(bi.width) * 3;
    for (int32_t i = 0; i < bi.height; ++i) {
        const size_t got = in->read(row.data(), bi.rowBytes);
        if (got < (uint64_t(bi.width) * bi.bits + 7) / 8) {
            showLangMessage(ws, Msg::FileTruncated, name.c_str());
            return false;
        }
        const int32_t y = bi.topDown ? i : bi.height - 1 - i;
        decodeRow(bi, row.data(), palette, dest + uint64_t(y) * outRow);
    }
    w = bi.width;
    h = bi.height;
    return true;
}

bool writeBMP(Workspace& ws, const std::string& name, const uint8_t* plane, int32_t w, int32_t h)
{
    return writeBitmap(ws, name, plane, uint64_t(w) * 3, w, h);
}

bool writeDisplayBMP(Workspace& ws, const std::string& name)
{
    return writeBitmap(ws, name, ws.RS.get(), uint64_t(ws.displayStride), ws.displayWidth, ws.displayHeight,
                       RowOrder::Bgr);
}

bool writeBMPRegion(Workspace& ws, const std::string& name, const uint8_t* plane, int32_t x0, int32_t y0, int32_t x1,
                    int32_t y1)
{
    if (!clipToImage(ws, x0, y0, x1, y1)) {
        showLangMessage(ws, Msg::FileNotWritten, name.c_str());
        return false;
    }
    const uint64_t rowBytes = uint64_t(ws.imageWidth) * 3;
    const uint8_t* origin = plane + uint64_t(y0) * rowBytes + uint64_t(x0) * 3;
    return writeBitmap(ws, name, origin, rowBytes, x1 - x0 + 1, y1 - y0 + 1);
}

bool openBMPImage(Workspace& ws, const std::string& name, FileSource& src)
{
    int32_t w = 0, h = 0;
    if (!readBMP(ws, name, ws.image, w, h, src)) return false;
    layoutPlanes(ws, w, h);
    clearMask(ws);
    ws.maskVisible = 0;
    ws.imageLoaded = 1;
    ws.currentFileName = name;
    return true;
}

}  // namespace orx
