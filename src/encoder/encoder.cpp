// encoder: a 24-bit bitmap in, a JPEG file out.
//
//   encoder [-q QUALITY] [-s 444|420] [--] IN.BMP OUT.JPG
//
// Quality 1..100 (92 when not given); chroma sampling 4:4:4 unless 4:2:0 is
// asked for (fine stripes of a fabric smear at 4:2:0). The JPEG is written
// beside OUT and renamed over it once complete, so a failure leaves any old
// OUT as it was. Exit status 0 only with OUT complete; otherwise one line on
// stderr says why (1 a failure, 2 a command line that cannot be understood).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <turbojpeg.h>
#include <vector>

#include "workspace/fileIo.h"

namespace {

constexpr int kDefaultQuality = 92;

int fail(const std::string& why)
{
    std::fprintf(stderr, "encoder: %s\n", why.c_str());
    return 1;
}

int usage(const std::string& why)
{
    std::fprintf(stderr, "encoder: %s (usage: encoder [-q QUALITY] [-s 444|420] [--] IN.BMP OUT.JPG)\n", why.c_str());
    return 2;
}

uint32_t le32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

struct Bitmap {
    int width = 0, height = 0;
    bool bottomUp = true;
    size_t pixelOffset = 0;
    size_t stride = 0;
};

// The one bitmap form handed over here: 24 bits, uncompressed, either row order.
bool parseBitmap(const std::vector<uint8_t>& f, Bitmap& b, std::string& why)
{
    if (f.size() < 54 || f[0] != 'B' || f[1] != 'M') {
        why = "not a bitmap";
        return false;
    }
    const int32_t w = int32_t(le32(&f[18])), h = int32_t(le32(&f[22]));
    const int bits = f[28] | f[29] << 8;
    if (le32(&f[14]) < 40 || bits != 24 || le32(&f[30]) != 0) {
        why = "not a 24-bit uncompressed bitmap";
        return false;
    }
    if (w <= 0 || h == 0 || h == INT32_MIN || w > 65500 || (h < 0 ? -h : h) > 65500) {
        why = "a size a JPEG can not have";
        return false;
    }
    b.width = w;
    b.height = h < 0 ? -h : h;
    b.bottomUp = h > 0;
    b.stride = (size_t(w) * 3 + 3) / 4 * 4;
    b.pixelOffset = le32(&f[10]);
    if (b.pixelOffset < 54 || b.pixelOffset > f.size() || f.size() - b.pixelOffset < b.stride * size_t(b.height)) {
        why = "the bitmap is incomplete";
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    int quality = kDefaultQuality;
    int sampling = TJSAMP_444;
    std::vector<std::string> files;
    bool optionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (!optionsEnd && a == "--") {
            optionsEnd = true;
        } else if (!optionsEnd && (a == "-q" || a == "-s")) {
            if (i + 1 >= argc) return usage(a + " needs a value");
            const std::string v = argv[++i];
            if (a == "-q") {
                char* end = nullptr;
                const long q = std::strtol(v.c_str(), &end, 10);
                if (v.empty() || *end || q < 1 || q > 100) return usage("quality must be 1 to 100");
                quality = int(q);
            } else if (v == "444" || v == "420") {
                sampling = v == "444" ? TJSAMP_444 : TJSAMP_420;
            } else {
                return usage("sampling must be 444 or 420");
            }
        } else if (!optionsEnd && a.size() > 1 && a[0] == '-') {
            return usage("unknown option " + a);
        } else {
            files.push_back(a);
        }
    }
    if (files.size() != 2) return usage("an input bitmap and an output JPEG are needed");

    std::vector<uint8_t> bmp;
    if (!orx::readWholeFile(orx::localFiles(), files[0], uint64_t(1) << 34, bmp))
        return fail(files[0] + ": can not be read");
    Bitmap b;
    std::string why;
    if (!parseBitmap(bmp, b, why)) return fail(files[0] + ": " + why);

    tjhandle tj = tjInitCompress();
    if (!tj) return fail("the JPEG compressor can not start");
    unsigned char* jpeg = nullptr;
    unsigned long jpegBytes = 0;
    const int flags = TJFLAG_ACCURATEDCT | (b.bottomUp ? TJFLAG_BOTTOMUP : 0);
    const int r = tjCompress2(tj, bmp.data() + b.pixelOffset, b.width, int(b.stride), b.height, TJPF_BGR, &jpeg,
                              &jpegBytes, sampling, quality, flags);
    if (r != 0) {
        why = tjGetErrorStr2(tj);
        tjDestroy(tj);
        return fail(files[0] + ": " + why);
    }
    tjDestroy(tj);
    bmp = {};

    orx::AtomicFile out(files[1]);
    out.write(jpeg, jpegBytes);
    tjFree(jpeg);
    if (!out.commit()) return fail(files[1] + ": " + std::strerror(out.error() ? out.error() : EIO));
    return 0;
}
