// Turning what a scanner sends into an R, G, B picture.
#include "scanFrames.h"

#include <algorithm>
#include <cstring>

#include "workspace/areaFilter.h"

namespace orx {

namespace {

bool isOneColour(SANE_Frame f) { return f == SANE_FRAME_RED || f == SANE_FRAME_GREEN || f == SANE_FRAME_BLUE; }

int samplesOf(SANE_Frame f) { return f == SANE_FRAME_RGB ? 3 : 1; }

// Sample i of a line as 8 bits.
uint8_t sampleAt(const uint8_t* line, int depth, uint64_t i, bool greyBits)
{
    switch (depth) {
    case 1: {
        const bool set = line[i / 8] & (0x80 >> (i % 8));
        return greyBits ? (set ? 0 : 255) : (set ? 255 : 0);  // grey line art: 1 is black
    }
    case 16: {
        uint16_t v;
        std::memcpy(&v, line + 2 * i, 2);  // the machine's own byte order
        return uint8_t((v + 128u) / 257u);
    }
    default: return line[i];
    }
}

}  // namespace

bool FrameAssembler::beginFrame(const SANE_Parameters& p, std::string& why)
{
    const bool known = p.format == SANE_FRAME_GRAY || p.format == SANE_FRAME_RGB || isOneColour(p.format);
    if (!known) {
        why = "the scanner sends a kind of picture we do not read";
        return false;
    }
    if (p.depth != 1 && p.depth != 8 && p.depth != 16) {
        why = "the scanner sends " + std::to_string(p.depth) + "-bit samples";
        return false;
    }
    const uint64_t lineBits = uint64_t(std::max(p.pixels_per_line, 0)) * samplesOf(p.format) * p.depth;
    if (p.pixels_per_line <= 0 || p.bytes_per_line <= 0 || uint64_t(p.bytes_per_line) * 8 < lineBits) {
        why = "the scanner announces lines of no width";
        return false;
    }
    if (frames_++ == 0) {
        width_ = p.pixels_per_line;
        announced_ = p.lines > 0 ? p.lines : -1;
        if (announced_ > 0 && uint64_t(width_) * uint64_t(announced_) > maxPixels_) {
            why = "the scan is larger than the memory for pictures";
            return false;
        }
        if (announced_ > 0) image_.rgb.assign(uint64_t(width_) * uint64_t(announced_) * 3, 0);
    } else if (p.pixels_per_line != width_) {
        why = "the frames of the scan differ in width";
        return false;
    }
    p_ = p;
    channel_ = p.format == SANE_FRAME_RED ? 0 : p.format == SANE_FRAME_GREEN ? 1 : p.format == SANE_FRAME_BLUE ? 2 : -1;
    lines_ = 0;
    line_.assign(size_t(p.bytes_per_line), 0);
    lineFill_ = 0;
    return true;
}

bool FrameAssembler::add(const uint8_t* data, size_t n, std::string& why)
{
    while (n > 0) {
        const size_t take = std::min(n, line_.size() - lineFill_);
        std::memcpy(line_.data() + lineFill_, data, take);
        lineFill_ += take;
        data += take;
        n -= take;
        if (lineFill_ == line_.size()) {
            if (!takeLine(why)) return false;
            lineFill_ = 0;
        }
    }
    return true;
}

bool FrameAssembler::takeLine(std::string& why)
{
    const int32_t y = lines_++;
    if (announced_ > 0 && y >= announced_) return true;  // lines beyond the announced height are dropped
    // Without an announced height the first frame decides it; later
    // one-colour frames fill the lines it made.
    if (announced_ < 0 && frames_ == 1 && uint64_t(y) >= uint64_t(height_)) {
        if (uint64_t(width_) * uint64_t(y + 1) > maxPixels_) {
            why = "the scan is larger than the memory for pictures";
            return false;
        }
        image_.rgb.resize(uint64_t(width_) * uint64_t(y + 1) * 3);
    }
    if (uint64_t(y) * uint64_t(width_) * 3 >= image_.rgb.size()) return true;  // a later colour frame ran longer
    uint8_t* out = image_.rgb.data() + uint64_t(y) * uint64_t(width_) * 3;
    const bool grey = p_.format == SANE_FRAME_GRAY;
    // Padding beyond pixels_per_line is skipped: only the announced pixels are taken.
    for (int32_t x = 0; x < width_; ++x) {
        if (p_.format == SANE_FRAME_RGB) {
            for (int c = 0; c < 3; ++c) out[3 * x + c] = sampleAt(line_.data(), p_.depth, uint64_t(x) * 3 + c, false);
        } else if (grey) {
            std::memset(out + 3 * x, sampleAt(line_.data(), p_.depth, uint64_t(x), true), 3);
        } else {
            out[3 * x + channel_] = sampleAt(line_.data(), p_.depth, uint64_t(x), false);
        }
    }
    height_ = std::max(height_, y + 1);
    return true;
}

bool FrameAssembler::endFrame(std::string& why)
{
    if (lineFill_ != 0 && announced_ < 0) lineFill_ = 0;  // a hand scanner's last partial line is dropped
    if (announced_ > 0 && lines_ < announced_) {
        why = "the scan ended after " + std::to_string(lines_) + " of " + std::to_string(announced_) + " lines";
        return false;
    }
    return true;
}

ScanImage FrameAssembler::finish()
{
    ScanImage out = std::move(image_);
    out.width = width_;
    out.height = announced_ > 0 ? announced_ : height_;
    out.rgb.resize(uint64_t(out.width) * uint64_t(out.height) * 3);
    image_ = ScanImage{};
    frames_ = 0;
    height_ = 0;
    width_ = 0;
    return out;
}

void applyScanTone(ScanImage& image, ScanTone tone)
{
    if (tone == ScanTone::Colour) return;
    uint8_t* p = image.rgb.data();
    for (size_t i = 0, n = image.rgb.size(); i + 2 < n; i += 3) {
        const int tenths = greyTenths(p + i);
        const uint8_t v = tone == ScanTone::Grey ? uint8_t(tenths / 10) : (tenths > 1280 ? 255 : 0);
        std::memset(p + i, v, 3);
    }
}

}  // namespace orx
