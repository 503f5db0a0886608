#include "pictureFixtures.h"

#include <cstdio>
#include <fstream>
#include <random>
#include <sys/wait.h>

#include "testSupport.h"

namespace orx::test {

Pixels seededPicture(int32_t w, int32_t h, uint32_t seed, bool grey)
{
    std::mt19937 rng(seed);
    Pixels p{w, h, std::vector<uint8_t>(size_t(w) * h * 3)};
    for (size_t i = 0; i < p.rgb.size(); i += 3) {
        const uint32_t v = rng();
        p.rgb[i] = uint8_t(v);
        p.rgb[i + 1] = grey ? uint8_t(v) : uint8_t(v >> 8);
        p.rgb[i + 2] = grey ? uint8_t(v) : uint8_t(v >> 16);
    }
    return p;
}

void writePPM(const std::string& path, const Pixels& p)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "P6\n" << p.width << " " << p.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(p.rgb.data()), std::streamsize(p.rgb.size()));
}

Pixels readPPM(const std::vector<uint8_t>& bytes)
{
    Pixels p;
    int w = 0, h = 0, maxval = 0, used = 0;
    const std::string head(bytes.begin(), bytes.begin() + std::min<size_t>(bytes.size(), 64));
    if (std::sscanf(head.c_str(), "P6 %d %d %d%n", &w, &h, &maxval, &used) != 3 || maxval != 255) return p;
    const size_t start = size_t(used) + 1;  // one white-space byte after maxval
    if (bytes.size() < start + size_t(w) * h * 3) return p;
    p.width = w;
    p.height = h;
    p.rgb.assign(bytes.begin() + start, bytes.begin() + start + size_t(w) * h * 3);
    return p;
}

std::vector<uint8_t> runCommand(const std::string& command, bool& ok)
{
    std::vector<uint8_t> out;
    FILE* f = ::popen(command.c_str(), "r");
    if (!f) {
        ok = false;
        return out;
    }
    char buf[65536];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) out.insert(out.end(), buf, buf + n);
    const int status = ::pclose(f);
    ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return out;
}

std::string quoted(const std::string& path) { return "'" + path + "'"; }

Pixels imageMagickPixels(const std::string& source, const std::string& extraOptions)
{
    bool ok = false;
    auto bytes = runCommand("convert " + quoted(source) + " " + extraOptions +
                                " -background white -alpha remove -depth 8 ppm:- 2>/dev/null",
                            ok);
    // A warning (a file-size field that disagrees, say) still shows the picture.
    return readPPM(bytes);
}

namespace {

struct TiffWriter {
    bool big;
    std::vector<uint8_t> b;
    void u16(uint16_t v)
    {
        if (big) b.insert(b.end(), {uint8_t(v >> 8), uint8_t(v)});
        else b.insert(b.end(), {uint8_t(v), uint8_t(v >> 8)});
    }
    void u32(uint32_t v)
    {
        if (big) b.insert(b.end(), {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
        else b.insert(b.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
    }
    void entry(uint16_t tag, uint16_t type, uint32_t value)
    {
        u16(tag);
        u16(type);
        u32(1);
        if (type == 3) {
            u16(uint16_t(value));
            u16(0);
        } else {
            u32(value);
        }
    }
};

}  // namespace

std::vector<uint8_t> exifBlock(int orientation, const std::vector<uint8_t>& preview, bool bigEndian)
{
    TiffWriter t{bigEndian, {}};
    t.b = bigEndian ? std::vector<uint8_t>{'M', 'M'} : std::vector<uint8_t>{'I', 'I'};
    t.u16(42);
    t.u32(8);
    // Directory 0 at 8: the orientation (or a harmless tag), then the link to directory 1.
    t.u16(1);
    t.entry(orientation ? 0x0112 : 0x010F, 3, uint32_t(orientation));
    const uint32_t ifd1 = 8 + 2 + 12 + 4;
    t.u32(preview.empty() ? 0 : ifd1);
    if (!preview.empty()) {
        const uint32_t data = ifd1 + 2 + 2 * 12 + 4;
        t.u16(2);
        t.entry(0x0201, 4, data);
        t.entry(0x0202, 4, uint32_t(preview.size()));
        t.u32(0);
        t.b.insert(t.b.end(), preview.begin(), preview.end());
    }
    return t.b;
}

std::vector<uint8_t> withExif(const std::vector<uint8_t>& jpeg, const std::vector<uint8_t>& block)
{
    const size_t length = 2 + 6 + block.size();
    std::vector<uint8_t> out(jpeg.begin(), jpeg.begin() + 2);
    out.insert(out.end(), {0xFF, 0xE1, uint8_t(length >> 8), uint8_t(length)});
    out.insert(out.end(), {'E', 'x', 'i', 'f', 0, 0});
    out.insert(out.end(), block.begin(), block.end());
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

std::vector<uint8_t> bilevelPcx(int32_t w, int32_t h, const std::vector<uint8_t>& bits01)
{
    std::vector<uint8_t> b(128, 0);
    const int32_t lineBytes = ((w + 7) / 8 + 1) / 2 * 2;
    b[0] = 10;
    b[1] = 5;
    b[2] = 1;
    b[3] = 1;
    b[8] = uint8_t(w - 1);
    b[9] = uint8_t((w - 1) >> 8);
    b[10] = uint8_t(h - 1);
    b[11] = uint8_t((h - 1) >> 8);
    b[12] = b[14] = 72;
    for (int c = 0; c < 3; ++c) b[16 + 3 + c] = 255;  // entry 1 white; entry 0 stays black
    b[65] = 1;
    b[66] = uint8_t(lineBytes);
    b[68] = 1;
    for (int32_t y = 0; y < h; ++y)
        for (int32_t i = 0; i < lineBytes; ++i) {
            uint8_t v = 0;
            for (int bit = 0; bit < 8; ++bit) {
                const int32_t x = i * 8 + bit;
                if (x < w && bits01[size_t(y) * w + x]) v |= uint8_t(0x80 >> bit);
            }
            // Bytes with both top bits set must travel as a run of one.
            if ((v & 0xC0) == 0xC0) b.push_back(0xC1);
            b.push_back(v);
        }
    return b;
}

}  // namespace orx::test
