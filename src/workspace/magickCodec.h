// Pictures read and written through GraphicsMagick: TIFF, PCX, PNG and the
// bitmaps our own reader leaves to it.
//
// The decoder is always named ("TIFF", "PCX", ...): left to itself the
// library guesses the kind from the bytes and would hand a PostScript file
// named .TIF to an outside interpreter.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orx {

// The size and orientation a picture claims, read without decoding it.
bool pingMagick(const char* decoder, const uint8_t* data, size_t n, int32_t& w, int32_t& h, int& orientation,
                std::string& why);

// The first page of a picture, decoded.
class MagickPicture {
public:
    MagickPicture() = default;
    ~MagickPicture();
    MagickPicture(const MagickPicture&) = delete;
    MagickPicture& operator=(const MagickPicture&) = delete;

    // False with the library's reason when the bytes are damaged or cut.
    bool read(const char* decoder, const uint8_t* data, size_t n, std::string& why);
    int32_t width() const;
    int32_t height() const;
    int orientation() const;  // 1..8
    // The embedded ICC profile; nullptr when there is none.
    const uint8_t* iccProfile(size_t& bytes) const;
    // R, G, B rows into dest as stored; 16-bit samples round to 8, grey,
    // bilevel and palette pictures become R, G, B, and a transparent
    // picture is laid over white.
    bool exportRgb(uint8_t* dest, std::string& why) const;

private:
    void* image_ = nullptr;
};

// Writes a w x h R, G, B picture with the named encoder ("PNG", "TIFF") as
// 8-bit sRGB without a profile. PNG is compressed quickly (zlib level 1):
// a picture of 24 megapixels takes several seconds at the usual level and
// is only a little smaller.
bool encodeMagick(const char* encoder, const uint8_t* rgb, int32_t w, int32_t h, std::vector<uint8_t>& out,
                  std::string& why);

}  // namespace orx
