// What scanners send, turned into R, G, B pictures.
#include <cstring>

#include <gtest/gtest.h>

#include "scan/scanFrames.h"
#include "support/pictureFixtures.h"

namespace orx {
namespace {

constexpr int32_t W = 5, H = 3;

struct Frame {
    SANE_Parameters p;
    std::vector<uint8_t> bytes;
};

SANE_Parameters params(SANE_Frame format, int depth, int bytesPerLine, int lines, bool last = true)
{
    SANE_Parameters p{};
    p.format = format;
    p.last_frame = last ? SANE_TRUE : SANE_FALSE;
    p.bytes_per_line = bytesPerLine;
    p.pixels_per_line = W;
    p.lines = lines;
    p.depth = depth;
    return p;
}

// Lines of a frame from a per-pixel sample writer, padded to bytesPerLine.
std::vector<uint8_t> lines(int bytesPerLine, const std::function<void(int32_t x, int32_t y, uint8_t* line)>& put)
{
    std::vector<uint8_t> out;
    for (int32_t y = 0; y < H; ++y) {
        std::vector<uint8_t> line(size_t(bytesPerLine), 0xAA);  // padding shows up if it is taken
        for (int32_t x = 0; x < W; ++x) put(x, y, line.data());
        out.insert(out.end(), line.begin(), line.end());
    }
    return out;
}

ScanImage assemble(const std::vector<Frame>& frames, size_t chunk, uint64_t maxPixels, std::string& why, bool& ok)
{
    FrameAssembler a(maxPixels);
    ok = false;
    for (const Frame& f : frames) {
        if (!a.beginFrame(f.p, why)) return {};
        for (size_t i = 0; i < f.bytes.size(); i += chunk)
            if (!a.add(f.bytes.data() + i, std::min(chunk, f.bytes.size() - i), why)) return {};
        if (!a.endFrame(why)) return {};
    }
    ok = true;
    return a.finish();
}

TEST(ScanFrames, EveryFormTheScannerSendsBecomesTheSamePicture)
{
    const test::Pixels src = test::seededPicture(W, H, 21);
    auto at = [&](int32_t x, int32_t y, int c) { return src.rgb[(size_t(y) * W + x) * 3 + c]; };
    auto host16 = [](uint8_t* p, uint16_t v) { std::memcpy(p, &v, 2); };
    // Expected pictures: the source, its grey channel (red) and its line art.
    std::vector<uint8_t> grey, art;
    for (int32_t y = 0; y < H; ++y)
        for (int32_t x = 0; x < W; ++x) {
            grey.insert(grey.end(), 3, at(x, y, 0));
            art.insert(art.end(), 3, at(x, y, 0) < 128 ? 0 : 255);
        }
    auto oneColour = [&](SANE_Frame f, int c, bool last) {
        return Frame{params(f, 8, W + 3, H, last), lines(W + 3, [&](int32_t x, int32_t y, uint8_t* l) { l[x] = at(x, y, c); })};
    };
    struct Case {
        const char* what;
        std::vector<Frame> frames;
        const std::vector<uint8_t>* want;
    } cases[] = {
        {"colour, 8 bits", {{params(SANE_FRAME_RGB, 8, 3 * W, H),
                             lines(3 * W, [&](int32_t x, int32_t y, uint8_t* l) { for (int c = 0; c < 3; ++c) l[3 * x + c] = at(x, y, c); })}},
         &src.rgb},
        {"colour, padded lines", {{params(SANE_FRAME_RGB, 8, 3 * W + 7, H),
                                   lines(3 * W + 7, [&](int32_t x, int32_t y, uint8_t* l) { for (int c = 0; c < 3; ++c) l[3 * x + c] = at(x, y, c); })}},
         &src.rgb},
        {"colour, 16 bits", {{params(SANE_FRAME_RGB, 16, 6 * W, H),
                              lines(6 * W, [&](int32_t x, int32_t y, uint8_t* l) { for (int c = 0; c < 3; ++c) host16(l + 2 * (3 * x + c), uint16_t(at(x, y, c) * 257 + (at(x, y, c) < 255 ? 100 : 0))); })}},
         &src.rgb},
        {"colour, height unknown", {{params(SANE_FRAME_RGB, 8, 3 * W, -1),
                                     lines(3 * W, [&](int32_t x, int32_t y, uint8_t* l) { for (int c = 0; c < 3; ++c) l[3 * x + c] = at(x, y, c); })}},
         &src.rgb},
        {"grey, 8 bits", {{params(SANE_FRAME_GRAY, 8, W, H), lines(W, [&](int32_t x, int32_t y, uint8_t* l) { l[x] = at(x, y, 0); })}},
         &grey},
        {"grey, 16 bits", {{params(SANE_FRAME_GRAY, 16, 2 * W, H),
                            lines(2 * W, [&](int32_t x, int32_t y, uint8_t* l) { host16(l + 2 * x, uint16_t(at(x, y, 0) * 257 - (at(x, y, 0) ? 128 : 0))); })}},
         &grey},
        {"line art, 1 is black", {{params(SANE_FRAME_GRAY, 1, 2, H), lines(2, [&](int32_t x, int32_t y, uint8_t* l) {
                                       if (x == 0) l[0] = l[1] = 0;
                                       if (at(x, y, 0) < 128) l[x / 8] |= uint8_t(0x80 >> (x % 8));
                                   })}},
         &art},
        {"three frames", {oneColour(SANE_FRAME_RED, 0, false), oneColour(SANE_FRAME_GREEN, 1, false), oneColour(SANE_FRAME_BLUE, 2, true)},
         &src.rgb},
        {"three frames, blue first", {oneColour(SANE_FRAME_BLUE, 2, false), oneColour(SANE_FRAME_RED, 0, false), oneColour(SANE_FRAME_GREEN, 1, true)},
         &src.rgb},
    };
    for (const Case& c : cases)
        for (size_t chunk : {size_t(1), size_t(7), size_t(1 << 20)}) {
            std::string why;
            bool ok = false;
            const ScanImage image = assemble(c.frames, chunk, 1000, why, ok);
            ASSERT_TRUE(ok) << c.what << ": " << why;
            EXPECT_EQ(image.width, W) << c.what;
            EXPECT_EQ(image.height, H) << c.what;
            EXPECT_EQ(image.rgb, *c.want) << c.what << " in pieces of " << chunk;
        }
}

TEST(ScanFrames, ScansThatCannotBeTakenSayWhy)
{
    auto colour = [](int lines, size_t rows) {
        return Frame{params(SANE_FRAME_RGB, 8, 3 * W, lines), std::vector<uint8_t>(rows * 3 * W, 9)};
    };
    struct Case {
        const char* what;
        std::vector<Frame> frames;
        uint64_t maxPixels;
        const char* says;
    } cases[] = {
        {"lines missing", {colour(H, H - 1)}, 1000, "ended after 2 of 3 lines"},
        {"announced beyond the memory", {colour(H, H)}, W * H - 1, "larger than the memory"},
        {"growing beyond the memory", {colour(-1, 40)}, W * 20, "larger than the memory"},
        {"12-bit samples", {Frame{params(SANE_FRAME_RGB, 12, 9 * W, H), {}}}, 1000, "12-bit"},
        {"frames of two widths", {colour(H, H), Frame{params(SANE_FRAME_GRAY, 8, W + 1, H), {}}}, 1000, "differ in width"},
    };
    cases[4].frames[1].p.pixels_per_line = W + 1;
    for (const Case& c : cases) {
        std::string why;
        bool ok = true;
        assemble(c.frames, 64, c.maxPixels, why, ok);
        EXPECT_FALSE(ok) << c.what;
        EXPECT_NE(why.find(c.says), std::string::npos) << c.what << ": " << why;
    }
}

TEST(ScanFrames, GreyAndBlackAndWhiteCountInTenths)
{
    struct Case {
        uint8_t r, g, b;
        uint8_t grey, bw;
    } cases[] = {
        {0, 3, 2, 2, 0},          // exactly 2.0: no floating-point 1.999...
        {128, 128, 128, 128, 0},  // 1280 tenths: not above 128, black
        {129, 128, 127, 128, 255},  // 1282 tenths
        {255, 255, 255, 255, 255},
        {10, 0, 0, 3, 0},
    };
    for (const Case& c : cases) {
        for (ScanTone tone : {ScanTone::Grey, ScanTone::BlackWhite, ScanTone::Colour}) {
            ScanImage image{1, 1, {c.r, c.g, c.b}};
            applyScanTone(image, tone);
            const std::vector<uint8_t> want = tone == ScanTone::Colour ? std::vector<uint8_t>{c.r, c.g, c.b}
                                            : std::vector<uint8_t>(3, tone == ScanTone::Grey ? c.grey : c.bw);
            EXPECT_EQ(image.rgb, want) << int(c.r) << "," << int(c.g) << "," << int(c.b);
        }
    }
}

}  // namespace
}  // namespace orx
