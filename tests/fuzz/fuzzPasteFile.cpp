// Placing a colour file into the image: any position, any weight, the
// file's own size from its IPR companion, clipped to the image and kept off
// the shown mask.
//
// Input: mode, files, x, y, weight (32-bit each), the IPR part, then the
// RGB bytes.
//   mode bits 0-3   the workspace before the run (baselineFrom)
//   mode bit 4      streams that cannot tell their size
//   files bits 0-1  which of IPR and RGB exist
#include <algorithm>
#include <cstring>

#include "fuzzSupport.h"
#include "workspace/nativeFile.h"

using namespace orx;
using namespace orx::fuzz;

namespace {

const char kRgb[] = "PART.RGB";
const char kIpr[] = "PART.IPR";

enum : uint8_t { HasIpr = 1, HasRgb = 2 };
constexpr uint8_t kStreaming = 16;

struct Input {
    uint8_t mode = 0, files = 0;
    int32_t x = 0, y = 0, weight = 0;
    std::string ipr, rgb;
};

std::string encode(const Input& i)
{
    return InputWriter().byte(i.mode).byte(i.files).int32(i.x).int32(i.y).int32(i.weight).part(i.ipr).rest(i.rgb).bytes();
}

std::vector<std::string> seeds()
{
    std::vector<std::string> out;
    auto paste = [](int w, int h, int32_t x, int32_t y, int32_t weight, uint8_t baseline) {
        Input i;
        i.mode = baseline;
        i.files = HasIpr | HasRgb;
        i.x = x, i.y = y, i.weight = weight;
        i.ipr = companionText(w, h, " 0 0");
        i.rgb = patternBytes(size_t(w) * h * 3, 7);
        return i;
    };
    for (uint8_t base : {kBaseline8x6, kBaseline8x6Shown, kBaseline70x60, kBaselineNone}) {
        out.push_back(encode(paste(4, 4, 2, 2, 128, base)));
        out.push_back(encode(paste(10, 3, -3, -1, 255, base)));
        out.push_back(encode(paste(3, 9, 6, 4, 0, base)));
    }
    out.push_back(encode(paste(2, 2, INT32_MAX, INT32_MIN, 300, kBaseline8x6)));
    out.push_back(encode(paste(2, 2, INT32_MIN, 0, -5, kBaseline8x6)));
    out.push_back(encode(paste(5, 5, 1, 1, 77, kBaseline8x6Shown | kStreaming)));
    for (const char* text : {"0 1 0 0", "1 -1 0 0", "2147483647 1 0 0", "1 2147483647 0 0", "700000000 3"}) {
        Input bad = paste(2, 2, 0, 0, 200, kBaseline8x6);
        bad.ipr = std::string(text);
        bad.ipr.resize(30);
        out.push_back(encode(bad));
        bad.mode |= kStreaming;
        out.push_back(encode(bad));
    }
    Input noRaw = paste(2, 2, 0, 0, 200, kBaseline8x6);
    noRaw.files = HasIpr;
    out.push_back(encode(noRaw));
    return out;
}

// Every image pixel: untouched outside the file's rectangle and under the
// shown mask; inside, each channel lies between the image's value and the
// file's, and takes the file's at full weight.
void checkPasted(const Workspace& ws, const Input& in, const Snapshot& before, int32_t w, int32_t h)
{
    const int weight = std::clamp(in.weight, 0, 255);
    for (int32_t iy = 0; iy < ws.imageHeight; ++iy)
        for (int32_t ix = 0; ix < ws.imageWidth; ++ix) {
            const uint64_t p = uint64_t(iy) * ws.imageWidth + ix;
            const int64_t c = int64_t(ix) - in.x, r = int64_t(iy) - in.y;
            const bool inside = c >= 0 && c < w && r >= 0 && r < h;
            const bool kept = !inside || (before.maskVisible == 1 && before.maskBytes[p] != 0);
            for (int k = 0; k < 3; ++k) {
                const uint8_t old = before.imageBytes[3 * p + k], now = ws.image[3 * p + k];
                if (kept) {
                    ORX_FUZZ_CHECK(now == old);
                    continue;
                }
                const uint64_t at = (uint64_t(r) * uint64_t(w) + uint64_t(c)) * 3 + k;
                ORX_FUZZ_CHECK(at < in.rgb.size());
                const uint8_t file = uint8_t(in.rgb[at]);
                ORX_FUZZ_CHECK(now >= std::min(old, file) && now <= std::max(old, file));
                if (weight == 255) ORX_FUZZ_CHECK(now == file);
                if (weight == 0) ORX_FUZZ_CHECK(now == old);
            }
        }
}

}  // namespace

ORX_FUZZ_SEEDS(seeds)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t n)
{
    Workspace& ws = fuzzWorkspace();

    InputReader reader(data, n);
    Input in;
    in.mode = reader.byte();
    in.files = reader.byte();
    in.x = reader.int32();
    in.y = reader.int32();
    in.weight = reader.int32();
    in.ipr = reader.part();
    in.rgb = reader.rest();

    MemoryFiles& files = fuzzFiles();
    files.clear();
    files.setStreaming(in.mode & kStreaming);
    if (in.files & HasIpr) files.put(kIpr, in.ipr);
    if (in.files & HasRgb) files.put(kRgb, in.rgb);

    beginRun(baselineFrom(in.mode), n);
    const Snapshot before = snapshot(ws);
    if (!pasteRGBFile(ws, kRgb, in.x, in.y, in.weight, files)) {
        if (in.mode & kStreaming)
            checkRefusedStreaming(ws, before);
        else
            checkRefused(ws, before);
        return 0;
    }
    ORX_FUZZ_CHECK(fuzzPlatform().messages == 0);
    ORX_FUZZ_CHECK(ws.imageWidth == before.width && ws.imageHeight == before.height);
    if (!before.maskBytes.empty())
        ORX_FUZZ_CHECK(std::memcmp(ws.mask, before.maskBytes.data(), before.maskBytes.size()) == 0);
    int32_t w = 0, h = 0;
    ORX_FUZZ_CHECK(readImageSize(files, kRgb, w, h) == SizeRead::Ok);
    checkPasted(ws, in, before, w, h);
    return 0;
}
