// Pictures from other programs: BMP, TIFF, JPEG, PCX and PNG in; PNG and
// TIFF out (JPEG goes out through the encoder, jpegExport.h).
//
// Which decoder reads a file is decided by its first bytes, never by its
// name: a PNG named .BMP opens as the PNG it is, a PostScript file named
// .TIF is refused. Every picture opens upright (EXIF and TIFF orientation)
// and in sRGB (an embedded ICC profile is converted). Its size is checked
// against the image block before a pixel is decoded, and pixels reach the
// workspace only once the whole picture has decoded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fileIo.h"
#include "workspace.h"

namespace orx {

enum class PictureFormat { Unknown, Bmp, Jpeg, Png, Tiff, Pcx };

// The format the first bytes announce.
PictureFormat pictureFormatOf(const uint8_t* head, size_t n);
// "BMP", "JPG", "PNG", "TIF", "PCX"; "" for Unknown.
const char* pictureFormatName(PictureFormat f);

struct PictureProbe {
    PictureFormat format = PictureFormat::Unknown;
    int32_t width = 0, height = 0;  // as the picture opens: upright
    int orientation = 1;            // as stored, 1..8
};

// What a picture file claims, read without decoding its pixels (the file
// is read, but only its headers are parsed). False with the reason.
bool probePicture(FileSource& src, const std::string& name, PictureProbe& out, std::string& why);

// Decodes a picture into dest as upright R, G, B rows and returns its
// size. Every refusal (unreadable, cut, damaged, beyond the image block)
// explains itself with a message and leaves dest untouched.
bool readPicture(Workspace& ws, const std::string& name, uint8_t* dest, int32_t& w, int32_t& h,
                 FileSource& src = localFiles());

// The working image from a picture file: planes laid out, mask cleared and
// hidden, the file's name taken.
bool openPictureImage(Workspace& ws, const std::string& name, FileSource& src = localFiles());

// The working image from pixels already in memory (a scan), the same way.
// False with "RAM too small to load %s file." when it does not fit.
bool takePicture(Workspace& ws, const uint8_t* rgb, int32_t w, int32_t h, const std::string& name);

// The working image as 8-bit sRGB without a profile; the old file stays
// when the new one cannot be written completely.
bool savePNG(Workspace& ws, const std::string& name);
bool saveTIFF(Workspace& ws, const std::string& name);

// A picture reduced to fit maxW x maxH for a browser: a JPEG's embedded
// EXIF preview when it has one, else the JPEG decoded at 1/8, else the
// whole picture decoded (pictures of more than maxPixels are refused).
// Upright; fullWidth x fullHeight is the size the picture opens at.
struct SmallPicture {
    int32_t width = 0, height = 0;
    int32_t fullWidth = 0, fullHeight = 0;
    std::vector<uint8_t> rgb;
};
bool readPictureThumbnail(FileSource& src, const std::string& name, int32_t maxW, int32_t maxH, uint64_t maxPixels,
                          SmallPicture& out, std::string& why);

// Reduces a w x h picture to fit maxW x maxH (never enlarging) by
// averaging the pixels each cell covers.
void fitPicture(const uint8_t* rgb, int32_t w, int32_t h, int32_t maxW, int32_t maxH, SmallPicture& out);

}  // namespace orx
