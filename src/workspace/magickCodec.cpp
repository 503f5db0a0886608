// Pictures read and written through GraphicsMagick's C interface, which
// lets us name the decoder (the C++ interface still guesses from the bytes).
#include "magickCodec.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include <magick/api.h>

namespace orx {

namespace {

void startMagick()
{
    static std::once_flag once;
    std::call_once(once, [] { InitializeMagick(nullptr); });
}

// An ImageInfo that names the coder and takes the first page only.
struct NamedInfo {
    ImageInfo* info;
    explicit NamedInfo(const char* coder)
    {
        startMagick();
        info = CloneImageInfo(nullptr);
        std::snprintf(info->magick, sizeof info->magick, "%s", coder);
        std::snprintf(info->filename, sizeof info->filename, "%s:", coder);
        info->affirm = MagickTrue;
        info->subimage = 0;
        info->subrange = 1;
    }
    ~NamedInfo() { DestroyImageInfo(info); }
};

struct Exception {
    ExceptionInfo e;
    Exception() { GetExceptionInfo(&e); }
    ~Exception() { DestroyExceptionInfo(&e); }
    std::string text() const
    {
        std::string t = e.reason ? e.reason : "unknown error";
        if (e.description && *e.description) t += std::string(" (") + e.description + ")";
        return t;
    }
    // Warnings about a cut or corrupt picture count as failures: the pixels
    // the library made up for the missing part are not the picture.
    bool failed() const { return e.severity >= ErrorException || e.severity == CorruptImageWarning; }
};

void destroyFrames(Image* image)
{
    if (image) DestroyImageList(image);
}

}  // namespace

bool pingMagick(const char* decoder, const uint8_t* data, size_t n, int32_t& w, int32_t& h, int& orientation,
                std::string& why)
{
    NamedInfo named(decoder);
    Exception ex;
    Image* image = PingBlob(named.info, data, n, &ex.e);
    if (!image || ex.failed()) {
        why = ex.text();
        destroyFrames(image);
        return false;
    }
    w = image->columns > uint64_t(INT32_MAX) ? INT32_MAX : int32_t(image->columns);
    h = image->rows > uint64_t(INT32_MAX) ? INT32_MAX : int32_t(image->rows);
    orientation = std::clamp(int(image->orientation), 1, 8);
    destroyFrames(image);
    return true;
}

MagickPicture::~MagickPicture() { destroyFrames(static_cast<Image*>(image_)); }

bool MagickPicture::read(const char* decoder, const uint8_t* data, size_t n, std::string& why)
{
    NamedInfo named(decoder);
    Exception ex;
    Image* image = BlobToImage(named.info, data, n, &ex.e);
    if (!image || ex.failed() || image->columns == 0 || image->rows == 0) {
        why = ex.text();
        destroyFrames(image);
        return false;
    }
    destroyFrames(image->next);  // a first page only, should the coder have read on
    image->next = nullptr;
    image_ = image;
    return true;
}

int32_t MagickPicture::width() const { return int32_t(static_cast<const Image*>(image_)->columns); }
int32_t MagickPicture::height() const { return int32_t(static_cast<const Image*>(image_)->rows); }
int MagickPicture::orientation() const { return std::clamp(int(static_cast<const Image*>(image_)->orientation), 1, 8); }

const uint8_t* MagickPicture::iccProfile(size_t& bytes) const
{
    bytes = 0;
    const unsigned char* p = GetImageProfile(static_cast<const Image*>(image_), "ICM", &bytes);
    return bytes ? p : nullptr;
}

bool MagickPicture::exportRgb(uint8_t* dest, std::string& why) const
{
    const Image* image = static_cast<const Image*>(image_);
    const int32_t w = width(), h = height();
    Exception ex;
    if (!image->matte) {
        if (!DispatchImage(image, 0, 0, w, h, "RGB", CharPixel, dest, &ex.e)) {
            why = ex.text();
            return false;
        }
        return true;
    }
    // Transparent pictures a band of rows at a time, laid over white.
    constexpr int32_t kBand = 64;
    std::vector<uint8_t> rgba(size_t(w) * 4 * kBand);
    for (int32_t y = 0; y < h; y += kBand) {
        const int32_t rows = std::min(kBand, h - y);
        if (!DispatchImage(image, 0, y, w, rows, "RGBA", CharPixel, rgba.data(), &ex.e)) {
            why = ex.text();
            return false;
        }
        uint8_t* out = dest + uint64_t(y) * uint64_t(w) * 3;
        for (size_t i = 0, n = size_t(w) * rows; i < n; ++i) {
            const unsigned a = rgba[4 * i + 3];
            for (int c = 0; c < 3; ++c) out[3 * i + c] = uint8_t((rgba[4 * i + c] * a + 255 * (255 - a) + 127) / 255);
        }
    }
    return true;
}

bool encodeMagick(const char* encoder, const uint8_t* rgb, int32_t w, int32_t h, std::vector<uint8_t>& out,
                  std::string& why)
{
    NamedInfo named(encoder);
    Exception ex;
    Image* image = ConstituteImage(w, h, "RGB", CharPixel, rgb, &ex.e);
    if (!image) {
        why = ex.text();
        return false;
    }
    image->depth = 8;
    if (std::strcmp(encoder, "PNG") == 0) named.info->quality = 15;  // zlib level 1, adaptive filters
    if (std::strcmp(encoder, "TIFF") == 0) image->compression = named.info->compression = LZWCompression;
    std::snprintf(image->magick, sizeof image->magick, "%s", encoder);
    size_t bytes = 0;
    void* blob = ImageToBlob(named.info, image, &bytes, &ex.e);
    DestroyImage(image);
    if (!blob || ex.e.severity >= ErrorException) {
        why = ex.text();
        if (blob) MagickFree(blob);
        return false;
    }
    const uint8_t* p = static_cast<const uint8_t*>(blob);
    out.assign(p, p + bytes);
    MagickFree(blob);
    return true;
}

}  // namespace orx
