// Pictures from other programs: one road from the file's bytes to upright
// sRGB pixels, for the import commands, the browsers and orxsim.
#include "pictureFile.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>

#include "bitmapFile.h"
#include "colourProfile.h"
#include "exifData.h"
#include "jpegDecoder.h"
#include "langText.h"
#include "magickCodec.h"
#include "orientation.h"

namespace orx {

namespace {

bool announcesBmp(const uint8_t* p, size_t n) { return n >= 2 && p[0] == 'B' && p[1] == 'M'; }
bool announcesJpeg(const uint8_t* p, size_t n) { return n >= 3 && p[0] == 0xFF && p[1] == 0xD8 && p[2] == 0xFF; }
bool announcesPng(const uint8_t* p, size_t n) { return n >= 8 && std::memcmp(p, "\x89PNG\r\n\x1a\n", 8) == 0; }
bool announcesTiff(const uint8_t* p, size_t n)
{
    // Classic TIFF (42) and BigTIFF (43), in either byte order.
    return n >= 4 && ((p[0] == 'I' && p[1] == 'I' && (p[2] == 42 || p[2] == 43) && p[3] == 0) ||
                      (p[0] == 'M' && p[1] == 'M' && p[2] == 0 && (p[3] == 42 || p[3] == 43)));
}
bool announcesPcx(const uint8_t* p, size_t n)
{
    // Maker 10, a known version, run-length encoding, a known sample depth.
    return n >= 128 && p[0] == 0x0A && (p[1] == 0 || (p[1] >= 2 && p[1] <= 5)) && p[2] == 1 &&
           (p[3] == 1 || p[3] == 2 || p[3] == 4 || p[3] == 8);
}

struct Decoder {
    PictureFormat format;
    const char* name;          // the kind as people name it
    const char* magickCoder;   // GraphicsMagick's decoder; nullptr for JPEG, which libjpeg reads
    bool (*announces)(const uint8_t* head, size_t n);
};

const Decoder kDecoders[] = {
    {PictureFormat::Bmp, "BMP", "BMP", announcesBmp},
    {PictureFormat::Jpeg, "JPG", nullptr, announcesJpeg},
    {PictureFormat::Png, "PNG", "PNG", announcesPng},
    {PictureFormat::Tiff, "TIF", "TIFF", announcesTiff},
    {PictureFormat::Pcx, "PCX", "PCX", announcesPcx},
};

const Decoder* decoderFor(PictureFormat f)
{
    for (const Decoder& d : kDecoders)
        if (d.format == f) return &d;
    return nullptr;
}

constexpr size_t kHeadBytes = 128;
// An embedded EXIF block lives in the first 64 KB segment after the start.
constexpr size_t kExifHeadBytes = 70'000;

enum class Outcome { Ok, Unknown, CantOpen, Unreadable, Cut, BadSize, TooLarge, ExifDamaged };

struct Decoded {
    Outcome outcome = Outcome::Ok;
    std::string why;
    int32_t width = 0, height = 0;        // upright
    int32_t fullWidth = 0, fullHeight = 0; // upright, before a JPEG's scaling
    std::unique_ptr<uint8_t[]> own;       // the pixels, when no destination was given
};

// The first n bytes of a file (fewer when it is shorter).
bool readHead(FileSource& src, const std::string& name, size_t n, std::vector<uint8_t>& out)
{
    auto in = src.open(name);
    if (!in) return false;
    out.resize(n);
    out.resize(in->read(out.data(), n));
    return true;
}

Outcome readBytes(FileSource& src, const std::string& name, uint64_t limit, std::vector<uint8_t>& out)
{
    auto in = src.open(name);
    if (!in) return Outcome::CantOpen;
    if (in->size() >= 0 && uint64_t(in->size()) > limit) return Outcome::TooLarge;
    return readWholeFile(src, name, limit, out) ? Outcome::Ok : Outcome::TooLarge;
}

// Puts stored pixels where they belong: turned upright into dest, or into
// a buffer of the picture's own.
void place(std::unique_ptr<uint8_t[]> stored, int32_t w, int32_t h, int orientation, uint8_t* dest, Decoded& out)
{
    uprightSize(orientation, w, h, out.width, out.height);
    if (dest) {
        copyUpright(stored.get(), w, h, orientation, dest);
        return;
    }
    if (orientation == 1) {
        out.own = std::move(stored);
        return;
    }
    out.own.reset(new uint8_t[uint64_t(w) * uint64_t(h) * 3]);
    copyUpright(stored.get(), w, h, orientation, out.own.get());
}

using SizeCheck = std::function<Outcome(int32_t uprightW, int32_t uprightH)>;

Decoded decodeJpegBytes(const uint8_t* data, size_t n, int scale, const SizeCheck& check, uint8_t* dest)
{
    Decoded out;
    JpegHeader header;
    int orientation = 1;
    if (readJpegHeader(data, n, header) && header.exif) {
        ExifInfo exif;
        if (!readExif(header.exif, header.exifBytes, exif)) {
            out.outcome = Outcome::ExifDamaged;
            return out;
        }
        orientation = exif.orientation;
    }
    Outcome refusal = Outcome::Ok;
    auto accept = [&](int32_t w, int32_t h) {
        int32_t uw = 0, uh = 0;
        uprightSize(orientation, w, h, uw, uh);
        refusal = check(uw, uh);
        return refusal == Outcome::Ok;
    };
    DecodedJpeg jpeg;
    switch (decodeJpeg(data, n, scale, accept, jpeg, out.why)) {
    case JpegResult::Ok: break;
    case JpegResult::Cut: out.outcome = Outcome::Cut; return out;
    case JpegResult::Refused: out.outcome = refusal; return out;
    case JpegResult::NotJpeg:
    case JpegResult::Damaged: out.outcome = Outcome::Unreadable; return out;
    }
    if (!jpeg.iccProfile.empty())
        convertToSrgb(jpeg.iccProfile.data(), jpeg.iccProfile.size(), jpeg.rgb.get(),
                      uint64_t(jpeg.width) * uint64_t(jpeg.height));
    place(std::move(jpeg.rgb), jpeg.width, jpeg.height, orientation, dest, out);
    uprightSize(orientation, header.width, header.height, out.fullWidth, out.fullHeight);
    return out;
}

Decoded decodeMagickBytes(const char* coder, const uint8_t* data, size_t n, const SizeCheck& check, uint8_t* dest)
{
    Decoded out;
    int32_t w = 0, h = 0, uw = 0, uh = 0;
    int orientation = 1;
    // The size first, from the headers alone: a file that claims 65000 x
    // 65000 is refused before the library allocates for it.
    if (!pingMagick(coder, data, n, w, h, orientation, out.why)) {
        out.outcome = Outcome::Unreadable;
        return out;
    }
    uprightSize(orientation, w, h, uw, uh);
    if ((out.outcome = check(uw, uh)) != Outcome::Ok) return out;

    MagickPicture picture;
    if (!picture.read(coder, data, n, out.why)) {
        out.outcome = Outcome::Unreadable;
        return out;
    }
    w = picture.width();
    h = picture.height();
    orientation = picture.orientation();
    uprightSize(orientation, w, h, uw, uh);
    if ((out.outcome = check(uw, uh)) != Outcome::Ok) return out;
    size_t iccBytes = 0;
    const uint8_t* icc = picture.iccProfile(iccBytes);
    const uint64_t pixels = uint64_t(w) * uint64_t(h);

    // An upright picture goes straight to its destination: a decoded
    // picture cannot fail to hand over its pixels.
    if (dest && orientation == 1) {
        if (!picture.exportRgb(dest, out.why)) {
            out.outcome = Outcome::Unreadable;
            return out;
        }
        if (icc) convertToSrgb(icc, iccBytes, dest, pixels);
        out.width = w;
        out.height = h;
        return out;
    }
    std::unique_ptr<uint8_t[]> stored(new uint8_t[pixels * 3]);
    if (!picture.exportRgb(stored.get(), out.why)) {
        out.outcome = Outcome::Unreadable;
        return out;
    }
    if (icc) convertToSrgb(icc, iccBytes, stored.get(), pixels);
    place(std::move(stored), w, h, orientation, dest, out);
    return out;
}

Decoded decodeBytes(PictureFormat format, const uint8_t* data, size_t n, int jpegScale, const SizeCheck& check,
                    uint8_t* dest)
{
    const Decoder* d = decoderFor(format);
    Decoded out;
    if (!d) out.outcome = Outcome::Unknown;
    else if (!d->magickCoder) out = decodeJpegBytes(data, n, jpegScale, check, dest);
    else out = decodeMagickBytes(d->magickCoder, data, n, check, dest);
    if (out.fullWidth == 0) {
        out.fullWidth = out.width;
        out.fullHeight = out.height;
    }
    return out;
}

// A picture file may hold at most 8 bytes a pixel (16-bit samples with
// alpha) and what surrounds them.
uint64_t fileLimit(const Workspace& ws) { return ws.planeCapacity * 16 + 16'000'000; }

SizeCheck fitsBlock(const Workspace& ws)
{
    return [&ws](int32_t w, int32_t h) {
        if (w <= 0 || h <= 0) return Outcome::BadSize;
        return imageFits(ws, w, h) ? Outcome::Ok : Outcome::TooLarge;
    };
}

void sayWhy(Workspace& ws, const std::string& name, const Decoded& d)
{
    const char* n = name.c_str();
    switch (d.outcome) {
    case Outcome::Ok: break;
    case Outcome::Unknown: showLangMessage(ws, Msg::PictureUnknown, n); break;
    case Outcome::CantOpen: showLangMessage(ws, Msg::CantOpenFile, n); break;
    case Outcome::Unreadable: showLangMessage(ws, Msg::PictureUnreadable, n, d.why.c_str()); break;
    case Outcome::Cut: showLangMessage(ws, Msg::FileTruncated, n); break;
    case Outcome::BadSize: showLangMessage(ws, Msg::FileBadSize, n); break;
    case Outcome::TooLarge: showLangMessage(ws, Msg::RamTooSmallToLoad, n); break;
    case Outcome::ExifDamaged: showLangMessage(ws, Msg::ExifDamaged, n); break;
    }
}

bool savePictureAs(Workspace& ws, const std::string& name, const char* coder)
{
    std::vector<uint8_t> bytes;
    std::string why;
    if (!encodeMagick(coder, ws.image, ws.imageWidth, ws.imageHeight, bytes, why)) {
        showLangMessage(ws, Msg::FileNotWrittenWhy, name.c_str(), why.c_str());
        return false;
    }
    AtomicFile f(name);
    f.write(bytes.data(), bytes.size());
    if (!f.commit()) {
        showLangMessage(ws, Msg::FileNotWrittenWhy, name.c_str(), std::strerror(f.error()));
        return false;
    }
    return true;
}

// The embedded preview of a camera JPEG, read from the file's head only.
bool readExifPreview(FileSource& src, const std::string& name, int32_t maxW, int32_t maxH, SmallPicture& out)
{
    std::vector<uint8_t> head;
    if (!readHead(src, name, kExifHeadBytes, head)) return false;
    JpegHeader header;
    ExifInfo exif;
    if (!readJpegHeader(head.data(), head.size(), header) || header.width == 0 || !header.exif ||
        !readExif(header.exif, header.exifBytes, exif) || exif.thumbBytes == 0)
        return false;
    const SizeCheck small = [](int32_t w, int32_t h) { return w <= 1024 && h <= 1024 ? Outcome::Ok : Outcome::TooLarge; };
    // The preview is stored as the camera held it too.
    std::string why;
    DecodedJpeg preview;
    auto accept = [&](int32_t w, int32_t h) { return small(w, h) == Outcome::Ok; };
    if (decodeJpeg(header.exif + exif.thumbOffset, exif.thumbBytes, 1, accept, preview, why) != JpegResult::Ok)
        return false;
    Decoded upright;
    place(std::move(preview.rgb), preview.width, preview.height, exif.orientation, nullptr, upright);
    fitPicture(upright.own.get(), upright.width, upright.height, maxW, maxH, out);
    uprightSize(exif.orientation, header.width, header.height, out.fullWidth, out.fullHeight);
    return true;
}

}  // namespace

PictureFormat pictureFormatOf(const uint8_t* head, size_t n)
{
    for (const Decoder& d : kDecoders)
        if (d.announces(head, n)) return d.format;
    return PictureFormat::Unknown;
}

const char* pictureFormatName(PictureFormat f)
{
    const Decoder* d = decoderFor(f);
    return d ? d->name : "";
}

bool probePicture(FileSource& src, const std::string& name, PictureProbe& out, std::string& why)
{
    out = PictureProbe{};
    std::vector<uint8_t> bytes;
    if (!readWholeFile(src, name, UINT32_MAX, bytes)) {
        why = "can not be opened";
        return false;
    }
    out.format = pictureFormatOf(bytes.data(), bytes.size());
    const Decoder* d = decoderFor(out.format);
    if (!d) {
        why = "not a BMP, TIF, JPG, PCX or PNG picture";
        return false;
    }
    int32_t w = 0, h = 0;
    if (out.format == PictureFormat::Jpeg) {
        JpegHeader header;
        ExifInfo exif;
        if (!readJpegHeader(bytes.data(), bytes.size(), header) || header.width == 0) {
            why = "damaged JPEG header";
            return false;
        }
        if (header.exif && !readExif(header.exif, header.exifBytes, exif)) {
            why = "damaged EXIF data";
            return false;
        }
        w = header.width;
        h = header.height;
        out.orientation = exif.orientation;
    } else if (!pingMagick(d->magickCoder, bytes.data(), bytes.size(), w, h, out.orientation, why)) {
        return false;
    }
    uprightSize(out.orientation, w, h, out.width, out.height);
    return true;
}

bool readPicture(Workspace& ws, const std::string& name, uint8_t* dest, int32_t& w, int32_t& h, FileSource& src)
{
    std::vector<uint8_t> head;
    Decoded d;
    if (!readHead(src, name, kHeadBytes, head)) {
        d.outcome = Outcome::CantOpen;
        sayWhy(ws, name, d);
        return false;
    }
    const PictureFormat format = pictureFormatOf(head.data(), head.size());
    // Our own bitmap reader first; what it leaves goes to the general decoder.
    if (format == PictureFormat::Bmp && !bitmapNeedsGeneralDecoder(src, name))
        return readBMP(ws, name, dest, w, h, src);
    if (format == PictureFormat::Unknown) {
        d.outcome = Outcome::Unknown;
        sayWhy(ws, name, d);
        return false;
    }
    std::vector<uint8_t> bytes;
    d.outcome = readBytes(src, name, fileLimit(ws), bytes);
    if (d.outcome == Outcome::Ok) d = decodeBytes(format, bytes.data(), bytes.size(), 1, fitsBlock(ws), dest);
    if (d.outcome != Outcome::Ok) {
        sayWhy(ws, name, d);
        return false;
    }
    w = d.width;
    h = d.height;
    return true;
}

namespace {

// A picture now in ws.image becomes the working image, as every import ends.
void takeImported(Workspace& ws, int32_t w, int32_t h, const std::string& name)
{
    layoutPlanes(ws, w, h);
    clearMask(ws);
    ws.maskVisible = 0;
    ws.imageLoaded = 1;
    ws.currentFileName = name;
}

}  // namespace

bool openPictureImage(Workspace& ws, const std::string& name, FileSource& src)
{
    int32_t w = 0, h = 0;
    if (!readPicture(ws, name, ws.image, w, h, src)) return false;
    takeImported(ws, w, h, name);
    return true;
}

bool takePicture(Workspace& ws, const uint8_t* rgb, int32_t w, int32_t h, const std::string& name)
{
    if (!imageFits(ws, w, h)) {
        showLangMessage(ws, Msg::RamTooSmallToLoad, name.c_str());
        return false;
    }
    std::memmove(ws.image, rgb, uint64_t(w) * uint64_t(h) * 3);
    takeImported(ws, w, h, name);
    return true;
}

bool savePNG(Workspace& ws, const std::string& name) { return savePictureAs(ws, name, "PNG"); }
bool saveTIFF(Workspace& ws, const std::string& name) { return savePictureAs(ws, name, "TIFF"); }

bool readPictureThumbnail(FileSource& src, const std::string& name, int32_t maxW, int32_t maxH, uint64_t maxPixels,
                          SmallPicture& out, std::string& why)
{
    out = SmallPicture{};
    std::vector<uint8_t> head;
    if (!readHead(src, name, kHeadBytes, head)) {
        why = "can not be opened";
        return false;
    }
    const PictureFormat format = pictureFormatOf(head.data(), head.size());
    if (format == PictureFormat::Unknown) {
        why = "not a BMP, TIF, JPG, PCX or PNG picture";
        return false;
    }
    if (format == PictureFormat::Jpeg && readExifPreview(src, name, maxW, maxH, out)) return true;

    std::vector<uint8_t> bytes;
    if (readBytes(src, name, maxPixels * 16 + 16'000'000, bytes) != Outcome::Ok) {
        why = "too large";
        return false;
    }
    const SizeCheck check = [&](int32_t w, int32_t h) {
        if (w <= 0 || h <= 0) return Outcome::BadSize;
        return uint64_t(w) * uint64_t(h) <= maxPixels ? Outcome::Ok : Outcome::TooLarge;
    };
    Decoded d = decodeBytes(format, bytes.data(), bytes.size(), 8, check, nullptr);
    if (d.outcome != Outcome::Ok) {
        why = d.why.empty() ? "can not be decoded" : d.why;
        return false;
    }
    fitPicture(d.own.get(), d.width, d.height, maxW, maxH, out);
    out.fullWidth = d.fullWidth;
    out.fullHeight = d.fullHeight;
    return true;
}

void fitPicture(const uint8_t* rgb, int32_t w, int32_t h, int32_t maxW, int32_t maxH, SmallPicture& out)
{
    const double scale = std::min({double(maxW) / w, double(maxH) / h, 1.0});
    out.width = std::max(1, int32_t(w * scale + 0.5));
    out.height = std::max(1, int32_t(h * scale + 0.5));
    out.rgb.assign(size_t(out.width) * out.height * 3, 0);
    for (int32_t Y = 0; Y < out.height; ++Y) {
        const int32_t y0 = int32_t(int64_t(Y) * h / out.height);
        const int32_t y1 = std::max(y0 + 1, int32_t(int64_t(Y + 1) * h / out.height));
        for (int32_t X = 0; X < out.width; ++X) {
            const int32_t x0 = int32_t(int64_t(X) * w / out.width);
            const int32_t x1 = std::max(x0 + 1, int32_t(int64_t(X + 1) * w / out.width));
            uint64_t sum[3] = {0, 0, 0};
            for (int32_t y = y0; y < y1; ++y) {
                const uint8_t* p = rgb + (uint64_t(y) * w + x0) * 3;
                for (int32_t x = x0; x < x1; ++x, p += 3)
                    for (int c = 0; c < 3; ++c) sum[c] += p[c];
            }
            const uint64_t count = uint64_t(y1 - y0) * uint64_t(x1 - x0);
            for (int c = 0; c < 3; ++c) out.rgb[(size_t(Y) * out.width + X) * 3 + c] = uint8_t((sum[c] + count / 2) / count);
        }
    }
}

}  // namespace orx
