// Turning what a scanner sends into an R, G, B picture.
//
// We ask every scanner for colour at 8 bits, but not every scanner obliges:
// the bytes may come as grey, as line art (one bit a pixel, 1 is black), as
// 16-bit samples in the machine's byte order, as three frames of one colour
// each, with lines padded beyond the pixels they carry, and without a
// height known in advance (hand scanners). The assembler takes them in any
// split and builds the picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <sane/sane.h>

namespace orx {

struct ScanImage {
    int32_t width = 0, height = 0;
    std::vector<uint8_t> rgb;
};

class FrameAssembler {
public:
    // maxPixels bounds a picture whose height grows as it comes.
    explicit FrameAssembler(uint64_t maxPixels) : maxPixels_(maxPixels) {}

    // A new frame with the parameters the scanner gave for it. False (with
    // why) for a frame we cannot take.
    bool beginFrame(const SANE_Parameters& p, std::string& why);
    // The next bytes of the frame.
    bool add(const uint8_t* data, size_t n, std::string& why);
    // The frame ended (end of data): false when lines it announced are missing.
    bool endFrame(std::string& why);
    // The picture once the last frame has ended.
    ScanImage finish();

    // The size announced; height -1 while unknown.
    int32_t width() const { return width_; }
    int32_t announcedHeight() const { return announced_; }

private:
    bool takeLine(std::string& why);

    uint64_t maxPixels_;
    SANE_Parameters p_{};
    int32_t width_ = 0, announced_ = -1;
    int32_t lines_ = 0;        // lines of the current frame so far
    int32_t height_ = 0;       // lines of the picture so far
    int frames_ = 0;
    int channel_ = -1;         // 0, 1, 2 for one-colour frames; -1 for grey and colour frames
    std::vector<uint8_t> line_;
    size_t lineFill_ = 0;
    ScanImage image_;
};

// Grey and black-and-white from a colour scan, per pixel in tenths:
// grey = trunc((3R + 6G + B) / 10); white where 3R + 6G + B > 1280.
enum class ScanTone { Colour, Grey, BlackWhite };
void applyScanTone(ScanImage& image, ScanTone tone);

}  // namespace orx
