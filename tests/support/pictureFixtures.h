// Foreign picture files for the tests, made by code and by the usual
// command-line tools (ImageMagick's convert, libjpeg's cjpeg and djpeg):
// a seeded picture, its files in every kind, and the pixels another
// decoder shows for them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orx::test {

struct Pixels {
    int32_t width = 0, height = 0;
    std::vector<uint8_t> rgb;
};

// A picture of seeded noise; grey when asked (R = G = B).
Pixels seededPicture(int32_t w, int32_t h, uint32_t seed, bool grey = false);
void writePPM(const std::string& path, const Pixels& p);
// Reads a binary PPM (P6, maxval 255); an empty picture when it is not one.
Pixels readPPM(const std::vector<uint8_t>& bytes);

// Runs a shell command; its standard output, and ok = exit status 0.
std::vector<uint8_t> runCommand(const std::string& command, bool& ok);
std::string quoted(const std::string& path);
// What ImageMagick shows for a picture file: 8-bit R, G, B, any
// transparency laid over white. source may carry a frame ("F.TIF[0]").
Pixels imageMagickPixels(const std::string& source, const std::string& extraOptions = "");

// A TIFF-structured EXIF block with an orientation tag (0 for none) and
// an optional preview JPEG; big-endian when asked.
std::vector<uint8_t> exifBlock(int orientation, const std::vector<uint8_t>& preview = {}, bool bigEndian = false);
// The JPEG with an APP1 segment holding the block, right after its start.
std::vector<uint8_t> withExif(const std::vector<uint8_t>& jpeg, const std::vector<uint8_t>& block);

// A 1-bit PCX with an explicit palette: entry 0 black, entry 1 white; a
// set bit is a white pixel.
std::vector<uint8_t> bilevelPcx(int32_t w, int32_t h, const std::vector<uint8_t>& bits01);

}  // namespace orx::test
