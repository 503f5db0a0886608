// The mask readers: the MPR companion's size text and the packed MSK rows,
// read whole (loadMSK), by the open-mask command, and clipped to the image.
//
// Input: mode, files, the MPR part, then the MSK bytes.
//   mode bits 0-1   0 loadMSK into a spare plane, 1 and 3 the open-mask
//                   command, 2 loadMSKClipped into the mask plane
//   mode bits 2-5   the workspace before the run (baselineFrom)
//   mode bit 6      streams that cannot tell their size
//   files bits 0-1  which of MPR and MSK exist
#include <algorithm>
#include <cstring>

#include "fuzzSupport.h"
#include "workspace/nativeFile.h"

using namespace orx;
using namespace orx::fuzz;

namespace {

const char kMsk[] = "PIC.MSK";
const char kMpr[] = "PIC.MPR";

enum : uint8_t { HasMpr = 1, HasMsk = 2 };
enum : uint8_t { Load = 0, OpenCommand = 1, Clipped = 2 };
constexpr uint8_t kStreaming = 64;

struct Input {
    uint8_t mode = 0, files = 0;
    std::string mpr, msk;
};

std::string encode(const Input& i) { return InputWriter().byte(i.mode).byte(i.files).part(i.mpr).rest(i.msk).bytes(); }

uint8_t modeOf(uint8_t op, uint8_t baseline, bool streaming = false)
{
    return uint8_t(op | baseline << 2 | (streaming ? kStreaming : 0));
}

std::vector<std::string> seeds()
{
    std::vector<std::string> out;
    auto mask = [](int w, int h, uint8_t mode) {
        Input i;
        i.mode = mode;
        i.files = HasMpr | HasMsk;
        i.mpr = companionText(w, h);
        i.msk = patternBytes(size_t(w + 7) / 8 * h, 5);
        return i;
    };
    for (uint8_t op : {Load, OpenCommand, Clipped})
        for (uint8_t base : {kBaselineNone, kBaseline8x6, kBaseline8x6Shown, kBaseline70x60}) {
            out.push_back(encode(mask(8, 6, modeOf(op, base))));
            out.push_back(encode(mask(13, 9, modeOf(op, base))));
        }
    out.push_back(encode(mask(9, 2, modeOf(OpenCommand, kBaselineNone, true))));
    out.push_back(encode(mask(100, 3, modeOf(Clipped, kBaseline70x60, true))));
    out.push_back(encode(mask(1, 1, modeOf(Load, kBaselineNone))));
    for (const char* text : {"0 3", "5 -1", "2147483647 1", "2147483640 1", "9000 9000", "1 2147483647", ""}) {
        for (uint8_t op : {Load, OpenCommand, Clipped}) {
            Input bad = mask(8, 6, modeOf(op, kBaseline8x6));
            bad.mpr = std::string(text);
            bad.mpr.resize(30);
            out.push_back(encode(bad));
        }
    }
    Input truncated = mask(16, 4, modeOf(OpenCommand, kBaselineNone));
    truncated.msk.resize(7);
    out.push_back(encode(truncated));
    Input noRaw = mask(8, 6, modeOf(Clipped, kBaseline8x6));
    noRaw.files = HasMpr;
    out.push_back(encode(noRaw));
    return out;
}

void checkMaskBits(const uint8_t* plane, int32_t stride, const std::string& msk, int32_t w, int32_t cols,
                   int32_t rows)
{
    for (int32_t y = 0; y < rows; ++y)
        for (int32_t x = 0; x < cols; ++x)
            ORX_FUZZ_CHECK(plane[uint64_t(y) * stride + x] == (packedBit(msk, w, x, y) ? 255 : 0));
}

bool sizeOf(int32_t& w, int32_t& h) { return readMaskSize(fuzzFiles(), kMsk, w, h) == SizeRead::Ok; }

void runLoad(Workspace& ws, const Input& in, const Snapshot& before, SparePlane& spare)
{
    if (!loadMSK(ws, kMsk, spare.data(), fuzzFiles())) {
        if (!(in.files & HasMpr)) {
            ORX_FUZZ_CHECK(fuzzPlatform().messages == 0);
            ORX_FUZZ_CHECK(unchanged(ws, before));
        } else {
            checkRefused(ws, before);
        }
        if (!(in.mode & kStreaming)) ORX_FUZZ_CHECK(spare.untouched(8 * in.msk.size() + 64));
        spare.refill(8 * in.msk.size() + 64);
        return;
    }
    int32_t w = 0, h = 0;
    ORX_FUZZ_CHECK(sizeOf(w, h));
    const uint64_t pixels = uint64_t(w) * uint64_t(h);
    ORX_FUZZ_CHECK(pixels <= ws.planeCapacity);
    ORX_FUZZ_CHECK((uint64_t(w) + 7) / 8 * uint64_t(h) <= in.msk.size());
    checkMaskBits(spare.data(), w, in.msk, w, w, h);
    ORX_FUZZ_CHECK(fuzzPlatform().messages == 0);
    ORX_FUZZ_CHECK(unchanged(ws, before));
    spare.refill(pixels);
}

void runOpen(Workspace& ws, const Input& in, const Snapshot& before)
{
    if (!openMSKFile(ws, kMsk, fuzzFiles())) {
        checkRefused(ws, before);
        return;
    }
    checkLoadedPicture(ws);
    ORX_FUZZ_CHECK(ws.maskVisible == 1);
    ORX_FUZZ_CHECK(fuzzPlatform().messages == 0);
    int32_t w = 0, h = 0;
    ORX_FUZZ_CHECK(sizeOf(w, h) && w == ws.imageWidth && h == ws.imageHeight);
    checkMaskBits(ws.mask, w, in.msk, w, w, h);
    if (before.imageLoaded) {
        // A mask joins the image as it is.
        ORX_FUZZ_CHECK(w == before.width && h == before.height);
        ORX_FUZZ_CHECK(std::memcmp(ws.image, before.imageBytes.data(), before.imageBytes.size()) == 0);
        ORX_FUZZ_CHECK(ws.currentFileName == before.fileName);
    } else {
        // Without an image the mask comes with a white one of its size.
        for (uint64_t i = 0; i < imageBytes(ws); ++i) ORX_FUZZ_CHECK(ws.image[i] == 255);
        ORX_FUZZ_CHECK(ws.currentFileName == kMsk);
    }
}

void runClipped(Workspace& ws, const Input& in, const Snapshot& before)
{
    if (!loadMSKClipped(ws, kMsk, ws.mask, fuzzFiles())) {
        if (in.mode & kStreaming)
            checkRefusedStreaming(ws, before);
        else
            checkRefused(ws, before);
        return;
    }
    ORX_FUZZ_CHECK(fuzzPlatform().messages == 0);
    ORX_FUZZ_CHECK(ws.imageWidth == before.width && ws.imageHeight == before.height);
    if (!before.imageLoaded) return;
    ORX_FUZZ_CHECK(std::memcmp(ws.image, before.imageBytes.data(), before.imageBytes.size()) == 0);
    int32_t w = 0, h = 0;
    ORX_FUZZ_CHECK(sizeOf(w, h));
    const int32_t cols = std::min(w, ws.imageWidth), rows = std::min(h, ws.imageHeight);
    checkMaskBits(ws.mask, ws.imageWidth, in.msk, w, cols, rows);
    // Outside the file's rectangle the mask stays as it was.
    for (int32_t y = 0; y < ws.imageHeight; ++y)
        for (int32_t x = 0; x < ws.imageWidth; ++x) {
            const uint64_t i = uint64_t(y) * ws.imageWidth + x;
            if (x >= cols || y >= rows) ORX_FUZZ_CHECK(ws.mask[i] == before.maskBytes[i]);
        }
}

}  // namespace

ORX_FUZZ_SEEDS(seeds)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t n)
{
    Workspace& ws = fuzzWorkspace();
    static SparePlane spare(ws.planeCapacity);

    InputReader reader(data, n);
    Input in;
    in.mode = reader.byte();
    in.files = reader.byte();
    in.mpr = reader.part();
    in.msk = reader.rest();

    MemoryFiles& files = fuzzFiles();
    files.clear();
    files.setStreaming(in.mode & kStreaming);
    if (in.files & HasMpr) files.put(kMpr, in.mpr);
    if (in.files & HasMsk) files.put(kMsk, in.msk);

    beginRun(baselineFrom(in.mode >> 2), n);
    const Snapshot before = snapshot(ws);
    switch (in.mode & 3) {
    case Load: runLoad(ws, in, before, spare); break;
    case Clipped: runClipped(ws, in, before); break;
    default: runOpen(ws, in, before); break;
    }
    return 0;
}
