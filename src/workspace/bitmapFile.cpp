// Windows bitmaps.
//
// The writer makes the one form other programs all read: 24 bits, no
// compression, rows bottom-up padded to four bytes. The reader takes the
// uncompressed, run-length and bit-field forms; other compressions (JPEG
// or PNG inside a bitmap, OS/2's Huffman) are refused with a message, and
// the import hands them to the general decoder instead.
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

// One colour channel of a bit-field pixel: where its bits lie and how many.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t top = 0;  // the largest value, (1 << bits) - 1

    void set(uint32_t m)
    {
        mask = m;
        shift = m ? __builtin_ctz(m) : 0;
        top = m >> shift;
    }
    // Spread over 0..255 with rounding: 5 bits of 31 give 255, not 248.
    uint8_t expand(uint32_t pixel) const
    {
        if (!top) return 0;
        return uint8_t((uint64_t((pixel & mask) >> shift) * 255 + top / 2) / top);
    }
};

struct BmpInfo {
    uint32_t pixelOffset = 0;
    uint32_t infoSize = 0;
    int32_t width = 0;
    int32_t height = 0;  // always positive here
    bool topDown = false;
    int bits = 0;
    uint32_t compression = 0;
    uint32_t coloursUsed = 0;
    uint32_t paletteEntryBytes = 4;  // 3 in the old OS/2 form
    uint64_t rowBytes = 0;
    Channel red, green, blue;
};

enum class Parse { Ok, NotBitmap, Unsupported, BadSize };

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;
constexpr uint32_t kCoreHeader = 12, kOs2Header = 64;

// The channel masks of a bit-field bitmap follow the 40-byte header, or lie
// inside the larger headers of later versions.
bool readMasks(const uint8_t* h, size_t n, BmpInfo& bi)
{
    if (n < kFileHeader + 40 + 12) return false;
    bi.red.set(le32(h + 54));
    bi.green.set(le32(h + 58));
    bi.blue.set(le32(h + 62));
    for (const Channel* c : {&bi.red, &bi.green, &bi.blue})
        if (c->mask && (c->top & (c->top + 1)) != 0) return false;  // bits not side by side
    return true;
}

// h holds the first n bytes of the file (at least the 14 + 40 header bytes,
// and the masks when they follow).
Parse parseHeaders(const uint8_t* h, size_t n, BmpInfo& bi, const char** why)
{
    if (h[0] != 'B' || h[1] != 'M') {
        *why = "no BM signature";
        return Parse::NotBitmap;
    }
    bi.pixelOffset = le32(h + 10);
    bi.infoSize = le32(h + 14);
    int32_t height = 0;
    if (bi.infoSize == kCoreHeader) {
        // The old OS/2 form: 16-bit sizes, colour table entries of B, G, R.
        bi.width = le16(h + 18);
        height = int16_t(le16(h + 20));
        bi.bits = le16(h + 24);
        bi.paletteEntryBytes = 3;
    } else if (bi.infoSize >= 40) {
        bi.width = int32_t(le32(h + 18));
        height = int32_t(le32(h + 22));
        bi.bits = le16(h + 28);
        bi.compression = le32(h + 30);
        bi.coloursUsed = le32(h + 46);
    } else {
        *why = "header size";
        return Parse::Unsupported;
    }
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
    // OS/2's later header numbers its compressions otherwise (3 is Huffman).
    const bool bitFields = (bi.compression == kBitFields || bi.compression == kAlphaBitFields) &&
                           bi.infoSize != kOs2Header && (bi.bits == 16 || bi.bits == 32);
    const bool runLength = (bi.compression == kRle8 && bi.bits == 8) || (bi.compression == kRle4 && bi.bits == 4);
    if (bi.compression != kRgb && !bitFields && !runLength) {
        *why = "compressed";
        return Parse::Unsupported;
    }
    if (runLength && bi.topDown) {  // run-length rows always go bottom-up
        *why = "top-down compressed";
        return Parse::Unsupported;
    }
    if (bitFields && !readMasks(h, n, bi)) {
        *why = "bit fields";
        return Parse::Unsupported;
    }
    if (!bitFields && bi.bits == 16) {  // 5-5-5
        bi.red.set(0x7C00);
        bi.green.set(0x03E0);
        bi.blue.set(0x001F);
    }
    if (!bitFields && bi.bits == 32) {
        bi.red.set(0xFF0000);
        bi.green.set(0x00FF00);
        bi.blue.set(0x0000FF);
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
            const uint32_t v = le32(in + 4 * x);
            out[3 * x] = bi.red.expand(v);
            out[3 * x + 1] = bi.green.expand(v);
            out[3 * x + 2] = bi.blue.expand(v);
        }
        break;
    case 16:
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t v = le16(in + 2 * x);
            out[3 * x] = bi.red.expand(v);
            out[3 * x + 1] = bi.green.expand(v);
            out[3 * x + 2] = bi.blue.expand(v);
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

// Run-length rows (RLE8 and RLE4) into one palette index a pixel, top row
// first. Pixels the runs skip (by a jump, an early end of line or of the
// bitmap) keep index 0, as other programs show them. False when the data
// ends before the bitmap does.
bool decodeRunLength(const uint8_t* p, size_t n, int bits, int32_t w, int32_t h, uint8_t* indices)
{
    std::memset(indices, 0, uint64_t(w) * uint64_t(h));
    int64_t x = 0, y = 0;  // y counts from the bottom row
    auto put = [&](unsigned index) {
        if (x < w && y < h) indices[uint64_t(h - 1 - y) * uint64_t(w) + uint64_t(x)] = uint8_t(index);
        ++x;
    };
    // The i-th pixel of a byte pair: RLE4 alternates the high and low nibble.
    auto pixelOf = [bits](uint8_t v, int64_t i) { return bits == 8 ? v : (i % 2 == 0 ? v >> 4 : v & 15u); };
    size_t i = 0;
    while (y < h) {
        if (i + 2 > n) return false;
        const uint8_t count = p[i], value = p[i + 1];
        i += 2;
        if (count > 0) {
            for (int k = 0; k < count; ++k) put(pixelOf(value, k));
        } else if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of bitmap
            return true;
        } else if (value == 2) {  // jump right and up
            if (i + 2 > n) return false;
            x += p[i];
            y += p[i + 1];
            i += 2;
        } else {  // value pixels as they are, padded to a 16-bit boundary
            const size_t bytes = bits == 8 ? value : (value + 1u) / 2;
            if (i + bytes > n) return false;
            for (int k = 0; k < value; ++k) put(bits == 8 ? p[i + k] : pixelOf(p[i + k / 2], k));
            i += (bytes + 1) & ~size_t(1);
        }
    }
    return true;
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

namespace {

constexpr size_t kLargestHeader = kFileHeader + 124 + 12;

// The runs are decoded whole into indices before a pixel reaches dest.
bool readRunLength(Workspace& ws, const std::string& name, InStream& in, const BmpInfo& bi,
                   const uint8_t (*palette)[3], uint8_t* dest, int32_t& w, int32_t& h)
{
    // Runs cannot take more than two bytes a pixel and four a row.
    const uint64_t most = uint64_t(bi.width) * uint64_t(bi.height) * 2 + uint64_t(bi.height) * 4 + 2;
    std::vector<uint8_t> data;
    if (bi.pixelOffset < kFileHeader + bi.infoSize || !in.seekTo(bi.pixelOffset)) {
        showLangMessage(ws, Msg::FileTruncated, name.c_str());
        return false;
    }
    uint8_t chunk[65536];
    for (size_t got; data.size() < most && (got = in.read(chunk, sizeof chunk)) > 0;)
        data.insert(data.end(), chunk, chunk + std::min<uint64_t>(got, most - data.size()));
    std::vector<uint8_t> indices(uint64_t(bi.width) * uint64_t(bi.height));
    if (!decodeRunLength(data.data(), data.size(), bi.bits, bi.width, bi.height, indices.data())) {
        showLangMessage(ws, Msg::FileTruncated, name.c_str());
        return false;
    }
    for (uint64_t i = 0; i < indices.size(); ++i) std::memcpy(dest + 3 * i, palette[indices[i]], 3);
    w = bi.width;
    h = bi.height;
    return true;
}

// Reads the headers front to back (a library stream only seeks forward):
// the file header and the information header's size, the rest of that
// header, and the channel masks where they follow a 40-byte header.
Parse readHeaders(InStream& in, BmpInfo& bi, const char** why, bool& truncated)
{
    uint8_t head[kLargestHeader] = {};
    truncated = !in.readExact(head, kFileHeader + 4);
    if (truncated) return Parse::BadSize;
    const uint32_t infoSize = le32(head + 14);
    size_t want = kFileHeader + (infoSize == kCoreHeader ? kCoreHeader : std::clamp<uint32_t>(infoSize, 4, 124));
    if (infoSize >= 40) want = std::max<size_t>(want, kFileHeader + 40);
    size_t n = kFileHeader + 4 + in.read(head + kFileHeader + 4, want - kFileHeader - 4);
    truncated = n < want;
    if (truncated) return Parse::BadSize;
    const uint32_t compression = le32(head + 30);
    if (infoSize == 40 && (compression == kBitFields || compression == kAlphaBitFields))
        n += in.read(head + n, compression == kAlphaBitFields ? 16 : 12);
    if (infoSize > 124 && !in.seekTo(kFileHeader + uint64_t(infoSize))) {
        truncated = true;
        return Parse::BadSize;
    }
    return parseHeaders(head, n, bi, why);
}

}  // namespace

bool bitmapNeedsGeneralDecoder(FileSource& src, const std::string& name)
{
    auto in = src.open(name);
    if (!in) return false;
    BmpInfo bi;
    const char* why = "";
    bool truncated = false;
    return readHeaders(*in, bi, &why, truncated) == Parse::Unsupported;
}

bool readBMPSize(FileSource& src, const std::string& name, int32_t& w, int32_t& h)
{
    auto in = src.open(name);
    if (!in) return false;
    BmpInfo bi;
    const char* why = "";
    bool truncated = false;
    if (readHeaders(*in, bi, &why, truncated) == Parse::NotBitmap || truncated) return false;
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
    BmpInfo bi;
    const char* why = "";
    bool truncated = false;
    const Parse parse = readHeaders(*in, bi, &why, truncated);
    if (truncated) {
        showLangMessage(ws, Msg::FileTruncated, name.c_str());
        return false;
    }
    switch (parse) {
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
        const uint32_t e = bi.paletteEntryBytes;
        std::vector<uint8_t> table(size_t(entries) * e);
        if (!in->seekTo(kFileHeader + uint64_t(bi.infoSize)) || !in->readExact(table.data(), table.size())) {
            showLangMessage(ws, Msg::FileTruncated, name.c_str());
            return false;
        }
        for (uint32_t i = 0; i < entries; ++i) {
            palette[i][0] = table[e * i + 2];
            palette[i][1] = table[e * i + 1];
            palette[i][2] = table[e * i];
        }
    }

    if (bi.compression == kRle8 || bi.compression == kRle4) return readRunLength(ws, name, *in, bi, palette, dest, w, h);

    // Every row must be in the file (the last row's padding may be missing)
    // before the first pixel is written.
    const uint64_t needed = uint64_t(bi.pixelOffset) + bi.rowBytes * uint64_t(bi.height - 1) +
                            (uint64_t(bi.width) * bi.bits + 7) / 8;
    if (bi.pixelOffset < kFileHeader + bi.infoSize || (in->size() >= 0 && needed > uint64_t(in->size()))) {
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
