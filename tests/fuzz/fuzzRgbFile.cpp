// The colour image reader: the IPR companion's size text, the raw RGB
// bytes, and the mask the open command looks for beside them.
//
// Input: mode, files, the IPR, MPR and MSK parts, then the RGB bytes.
//   mode bit 0      the open command (else loadRGB into a spare plane)
//   mode bits 1-4   the workspace before the run (baselineFrom)
//   mode bit 5      streams that cannot tell their size
//   files bits 0-3  which of IPR, RGB, MPR and MSK exist
#include <cstring>

#include "fuzzSupport.h"
#include "workspace/nativeFile.h"

using namespace orx;
using namespace orx::fuzz;

namespace {

const char kRgb[] = "PIC.RGB";
const char kIpr[] = "PIC.IPR";
const char kMsk[] = "PIC.MSK";
const char kMpr[] = "PIC.MPR";

enum : uint8_t { HasIpr = 1, HasRgb = 2, HasMpr = 4, HasMsk = 8, AllFiles = 15 };
enum : uint8_t { Open = 1, Streaming = 32 };
constexpr uint8_t kLoaded8x6Shown = kBaseline8x6Shown << 1;

struct Input {
    uint8_t mode = 0, files = 0;
    std::string ipr, mpr, msk, rgb;
};

std::string encode(const Input& i)
{
    return InputWriter().byte(i.mode).byte(i.files).part(i.ipr).part(i.mpr).part(i.msk).rest(i.rgb).bytes();
}

std::vector<std::string> seeds()
{
    std::vector<std::string> out;
    auto image = [](int w, int h, uint8_t mode, const char* tail = " 0 0") {
        Input i;
        i.mode = mode;
        i.files = AllFiles;
        i.ipr = companionText(w, h, tail);
        i.mpr = companionText(w, h);
        i.msk = patternBytes(size_t(w + 7) / 8 * h, 3);
        i.rgb = patternBytes(size_t(w) * h * 3, 1);
        return i;
    };
    for (uint8_t mode : {uint8_t(Open), uint8_t(0), uint8_t(Open | kLoaded8x6Shown), uint8_t(Open | Streaming)}) {
        out.push_back(encode(image(4, 3, mode)));
        out.push_back(encode(image(9, 2, mode)));
    }
    out.push_back(encode(image(1, 1, Open)));
    out.push_back(encode(image(70, 10, Open)));
    // No mask beside the image, and a mask of another size.
    Input noMask = image(5, 5, Open);
    noMask.files = HasIpr | HasRgb;
    out.push_back(encode(noMask));
    Input otherMask = image(5, 5, Open);
    otherMask.mpr = companionText(5, 4);
    out.push_back(encode(otherMask));
    // A mask of the right size that cannot be read: missing, or short.
    Input badMask = image(12, 3, Open);
    badMask.files = HasIpr | HasRgb | HasMpr;
    out.push_back(encode(badMask));
    badMask.files = AllFiles;
    badMask.msk.resize(5);
    out.push_back(encode(badMask));
    // Damaged companions and raw files.
    for (const char* text : {"0 4 0 0", "-3 2 0 0", "2147483647 2 0 0", "100000 100000 0 0", "12", "x y"}) {
        Input bad = image(4, 3, Open);
        bad.ipr = std::string(text);
        bad.ipr.resize(30);
        out.push_back(encode(bad));
    }
    Input shortRaw = image(6, 6, Open);
    shortRaw.rgb.resize(shortRaw.rgb.size() - 1);
    out.push_back(encode(shortRaw));
    Input missing = image(3, 3, Open);
    missing.files = HasRgb;
    out.push_back(encode(missing));
    missing.files = HasIpr;
    out.push_back(encode(missing));
    return out;
}

// The mask the open command installed is the file's, bit for bit.
void checkMaskFromFile(const Workspace& ws, const std::string& msk)
{
    for (int32_t y = 0; y < ws.imageHeight; ++y)
        for (int32_t x = 0; x < ws.imageWidth; ++x) {
            const uint8_t want = packedBit(msk, ws.imageWidth, x, y) ? 255 : 0;
            ORX_FUZZ_CHECK(ws.mask[uint64_t(y) * ws.imageWidth + x] == want);
        }
}

void runOpen(Workspace& ws, const Input& in, const Snapshot& before)
{
    if (!openRGBImage(ws, kRgb, fuzzFiles())) {
        // Without its companion the open says so, once, and changes nothing.
        if (!(in.files & HasIpr)) {
            ORX_FUZZ_CHECK(fuzzPlatform().messages == 1);
            ORX_FUZZ_CHECK(unchanged(ws, before));
        } else if (in.mode & Streaming) {
            checkRefusedStreaming(ws, before);
        } else {
            checkRefused(ws, before);
        }
        return;
    }
    checkLoadedPicture(ws);
    ORX_FUZZ_CHECK(ws.currentFileName == kRgb);
    ORX_FUZZ_CHECK(imageBytes(ws) <= in.rgb.size());
    ORX_FUZZ_CHECK(std::memcmp(ws.image, in.rgb.data(), imageBytes(ws)) == 0);
    if (ws.maskVisible) {
        ORX_FUZZ_CHECK(fuzzPlatform().messages == 0);
        checkMaskFromFile(ws, in.msk);
    } else {
        // A damaged mask is dropped with at most its own message.
        ORX_FUZZ_CHECK(fuzzPlatform().messages <= 1);
    }
}

void runLoad(Workspace& ws, const Input& in, const Snapshot& before, SparePlane& spare)
{
    const bool loaded = loadRGB(ws, kRgb, spare.data(), fuzzFiles());
    if (!loaded) {
        if (!(in.files & HasIpr)) {
            ORX_FUZZ_CHECK(fuzzPlatform().messages == 0);
            ORX_FUZZ_CHECK(unchanged(ws, before));
        } else {
            checkRefused(ws, before);
        }
        // A stream that cannot tell its size may have delivered part of the
        // pixels before it came up short.
        if (!(in.mode & Streaming)) ORX_FUZZ_CHECK(spare.untouched(in.rgb.size() + 64));
        spare.refill(in.rgb.size() + 64);
        return;
    }
    const uint64_t bytes = uint64_t(ws.imageWidth) * uint64_t(ws.imageHeight) * 3;
    ORX_FUZZ_CHECK(ws.imageWidth > 0 && ws.imageHeight > 0);
    ORX_FUZZ_CHECK(bytes <= ws.maxRgbBytes && bytes <= in.rgb.size());
    ORX_FUZZ_CHECK(ws.imageRowBytes == uint64_t(ws.imageWidth) * 3);
    ORX_FUZZ_CHECK(std::memcmp(spare.data(), in.rgb.data(), bytes) == 0);
    ORX_FUZZ_CHECK(fuzzPlatform().messages == 0);
    spare.refill(bytes);
}

}  // namespace

ORX_FUZZ_SEEDS(seeds)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t n)
{
    Workspace& ws = fuzzWorkspace();
    static SparePlane spare(ws.maxRgbBytes);

    InputReader reader(data, n);
    Input in;
    in.mode = reader.byte();
    in.files = reader.byte();
    in.ipr = reader.part();
    in.mpr = reader.part();
    in.msk = reader.part();
    in.rgb = reader.rest();

    MemoryFiles& files = fuzzFiles();
    files.clear();
    files.setStreaming(in.mode & Streaming);
    if (in.files & HasIpr) files.put(kIpr, in.ipr);
    if (in.files & HasRgb) files.put(kRgb, in.rgb);
    if (in.files & HasMpr) files.put(kMpr, in.mpr);
    if (in.files & HasMsk) files.put(kMsk, in.msk);

    beginRun(baselineFrom(in.mode >> 1), n);
    const Snapshot before = snapshot(ws);
    if (in.mode & Open)
        runOpen(ws, in, before);
    else
        runLoad(ws, in, before, spare);
    return 0;
}
