// JPEG header segments and the EXIF block.
#include "exifData.h"

#include <cstring>

namespace orx {

namespace {

uint16_t be16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }

bool isFrameMarker(uint8_t m)
{
    // SOF0..SOF15 except DHT (C4), JPG (C8) and DAC (CC).
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

// A TIFF-structured block: byte order from its first two bytes.
class TiffBlock {
public:
    TiffBlock(const uint8_t* data, size_t n) : p_(data), n_(n) {}

    bool readOrder()
    {
        if (n_ < 8) return false;
        if (p_[0] == 'I' && p_[1] == 'I') little_ = true;
        else if (p_[0] == 'M' && p_[1] == 'M') little_ = false;
        else return false;
        return u16(2) == 42;
    }
    bool holds(uint64_t offset, uint64_t bytes) const { return offset <= n_ && bytes <= n_ - offset; }
    uint16_t u16(size_t o) const { return little_ ? uint16_t(p_[o] | p_[o + 1] << 8) : be16(p_ + o); }
    uint32_t u32(size_t o) const
    {
        return little_ ? uint32_t(p_[o]) | uint32_t(p_[o + 1]) << 8 | uint32_t(p_[o + 2]) << 16 | uint32_t(p_[o + 3]) << 24
                       : uint32_t(p_[o]) << 24 | uint32_t(p_[o + 1]) << 16 | uint32_t(p_[o + 2]) << 8 | p_[o + 3];
    }

private:
    const uint8_t* p_;
    size_t n_;
    bool little_ = true;
};

constexpr uint16_t kTagOrientation = 0x0112;
constexpr uint16_t kTagThumbOffset = 0x0201;
constexpr uint16_t kTagThumbBytes = 0x0202;
constexpr uint16_t kTypeShort = 3;
constexpr uint16_t kTypeLong = 4;

// An entry's single SHORT or LONG value (held in the entry itself).
bool entryNumber(const TiffBlock& t, size_t entry, uint32_t& value)
{
    const uint16_t type = t.u16(entry + 2);
    if (t.u32(entry + 4) != 1) return false;
    if (type == kTypeShort) value = t.u16(entry + 8);
    else if (type == kTypeLong) value = t.u32(entry + 8);
    else return false;
    return true;
}

}  // namespace

bool readJpegHeader(const uint8_t* data, size_t n, JpegHeader& out)
{
    out = JpegHeader{};
    if (n < 3 || data[0] != 0xFF || data[1] != 0xD8) return false;
    size_t pos = 2;
    for (;;) {
        if (pos >= n) return true;  // the head given ends here
        if (data[pos] != 0xFF) return false;
        while (pos < n && data[pos] == 0xFF) ++pos;  // fill bytes
        if (pos >= n) return true;
        const uint8_t marker = data[pos++];
        if (marker == 0xD8 || marker == 0x00) return false;
        if (marker == 0xD9) return out.width > 0;            // an end before any picture data
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
        if (pos + 2 > n) return true;
        const uint16_t length = be16(data + pos);
        if (length < 2) return false;
        const uint8_t* body = data + pos + 2;
        const size_t bodyBytes = length - 2;
        const bool whole = pos + length <= n;
        if (marker == 0xDA) return out.width > 0;
        if (isFrameMarker(marker) && whole) {
            if (bodyBytes < 6 || out.width > 0) return false;
            out.height = be16(body + 1);
            out.width = be16(body + 3);
            out.components = body[5];
            // A height of 0 is announced later by a DNL marker; we take no such files.
            if (out.width == 0 || out.height == 0) return false;
        }
        if (marker == 0xE1 && whole && !out.exif && bodyBytes >= 6 && std::memcmp(body, "Exif\0\0", 6) == 0) {
            out.exif = body + 6;
            out.exifBytes = bodyBytes - 6;
        }
        pos += length;
    }
}

bool readExif(const uint8_t* data, size_t n, ExifInfo& out)
{
    out = ExifInfo{};
    TiffBlock t(data, n);
    if (!t.readOrder()) return false;

    // Directory 0: the main picture's tags; directory 1: the preview's.
    uint32_t ifd = t.u32(4);
    uint32_t thumbOffset = 0, thumbBytes = 0;
    for (int directory = 0; directory < 2 && ifd != 0; ++directory) {
        if (!t.holds(ifd, 2)) return directory > 0;
        const uint16_t count = t.u16(ifd);
        if (!t.holds(uint64_t(ifd) + 2, uint64_t(count) * 12 + 4)) return directory > 0;
        for (uint16_t i = 0; i < count; ++i) {
            const size_t entry = size_t(ifd) + 2 + size_t(i) * 12;
            const uint16_t tag = t.u16(entry);
            uint32_t value = 0;
            if (directory == 0 && tag == kTagOrientation) {
                if (!entryNumber(t, entry, value) || value > 8) return false;
                out.orientation = value == 0 ? 1 : int(value);
            } else if (directory == 1 && tag == kTagThumbOffset && entryNumber(t, entry, value)) {
                thumbOffset = value;
            } else if (directory == 1 && tag == kTagThumbBytes && entryNumber(t, entry, value)) {
                thumbBytes = value;
            }
        }
        const uint32_t next = t.u32(size_t(ifd) + 2 + size_t(count) * 12);
        if (next == ifd) break;
        ifd = next;
    }
    if (thumbOffset > 0 && thumbBytes > 0 && t.holds(thumbOffset, thumbBytes)) {
        out.thumbOffset = thumbOffset;
        out.thumbBytes = thumbBytes;
    }
    return true;
}

}  // namespace orx
