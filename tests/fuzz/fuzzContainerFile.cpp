// The container readers: a 256-byte header, then pixels and thumbnail in
// either order (pixels first as this system writes them, thumbnail first as
// the online library keeps them), read as a picture (CLO, PRT, NIT, EMB) or
// as a model (MDL).
//
// Input: mode, files, then the file's bytes.
//   mode bit 0      loadModel (else openContainerImage)
//   mode bits 1-4   the workspace before the run (baselineFrom)
//   mode bit 5      streams that cannot tell their size
//   files bit 0     the file exists
#include <cstring>

#include "fuzzSupport.h"
#include "workspace/containerFile.h"

using namespace orx;
using namespace orx::fuzz;

namespace {

const char kModel[] = "FIGURE.MDL";
const char kMaterial[] = "CLOTH.CLO";

enum : uint8_t { Model = 1, Streaming = 32 };
constexpr uint8_t kExists = 1;

struct Input {
    uint8_t mode = 0, files = 0;
    std::string file;
};

std::string encode(const Input& i) { return InputWriter().byte(i.mode).byte(i.files).rest(i.file).bytes(); }

void put32(std::string& s, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i) s[at + i] = char(uint8_t(v >> (8 * i)));
}

// A container made by the system's own header writers, in either order.
std::string container(bool model, int32_t w, int32_t h, bool thumbnailFirst)
{
    Workspace scratch;
    if (model)
        makeModelHeader(scratch, w, h, 100, 1, 1, int16_t(w - 2), int16_t(h - 2), 0, 0, int16_t(w - 1),
                        int16_t(h - 1));
    else
        makeLinkHeader(scratch, w, h, 100);
    std::string head(reinterpret_cast<const char*>(scratch.fileHeader.raw), kHeaderBytes);
    const std::string pixels = patternBytes(size_t(w) * h * 3, 9);
    const std::string thumb = patternBytes(kThumbBytes, 4);
    if (!thumbnailFirst) return head + pixels + thumb;
    put32(head, 74, uint32_t(kHeaderBytes + kThumbBytes));
    put32(head, 90, uint32_t(kHeaderBytes));
    return head + thumb + pixels;
}

std::vector<std::string> seeds()
{
    std::vector<std::string> out;
    auto input = [](uint8_t mode, std::string file) {
        Input i;
        i.mode = mode;
        i.files = kExists;
        i.file = std::move(file);
        return encode(i);
    };
    for (uint8_t mode : {uint8_t(0), uint8_t(Model), uint8_t(Model | kBaseline8x6Shown << 1),
                         uint8_t(Streaming | kBaseline70x60 << 1)}) {
        const bool model = mode & Model;
        out.push_back(input(mode, container(model, 5, 4, false)));
        out.push_back(input(mode, container(model, 3, 7, true)));
    }
    out.push_back(input(Model, container(true, 1, 1, false)));
    // Damaged headers: sizes, offsets, a short file.
    std::string bad = container(false, 4, 4, false);
    for (auto [at, value] : {std::pair<size_t, uint32_t>{66, 0}, {70, 0x80000000u}, {66, 0xffffffffu},
                             {74, 10}, {74, 0xfffffff0u}, {70, 3000}}) {
        std::string b = bad;
        put32(b, at, value);
        out.push_back(input(0, b));
        out.push_back(input(Model | Streaming, b));
    }
    out.push_back(input(0, bad.substr(0, 200)));
    out.push_back(input(Model, bad.substr(0, 256 + 40)));
    Input missing;
    missing.mode = Model;
    out.push_back(encode(missing));
    return out;
}

void checkRead(const Workspace& ws, const Input& in, const char* name)
{
    checkLoadedPicture(ws);
    ORX_FUZZ_CHECK(fuzzPlatform().messages == 0);
    ORX_FUZZ_CHECK(ws.currentFileName == name);
    ORX_FUZZ_CHECK(in.file.size() >= kHeaderBytes);
    ORX_FUZZ_CHECK(std::memcmp(ws.fileHeader.raw, in.file.data(), kHeaderBytes) == 0);
    ORX_FUZZ_CHECK(uint32_t(ws.imageWidth) == le32At(in.file, 66) && uint32_t(ws.imageHeight) == le32At(in.file, 70));
    // The pixels come from where header byte 74 says, whatever the order.
    const uint64_t offset = le32At(in.file, 74);
    ORX_FUZZ_CHECK(offset >= kHeaderBytes && offset + imageBytes(ws) <= in.file.size());
    ORX_FUZZ_CHECK(std::memcmp(ws.image, in.file.data() + offset, imageBytes(ws)) == 0);
    for (uint64_t i = 0; i < pixelCount(ws); ++i) ORX_FUZZ_CHECK(ws.mask[i] == 0);
}

void checkModel(const Workspace& ws, const Input& in)
{
    ORX_FUZZ_CHECK(ws.modelPath == kModel);
    for (int i = 0; i < 4; ++i) ORX_FUZZ_CHECK(ws.modelArea[i] == int16_t(le16At(in.file, 41 + 2 * size_t(i))));
    ORX_FUZZ_CHECK(std::memcmp(ws.secondImage, ws.image, imageBytes(ws)) == 0);
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
    in.file = reader.rest();

    const bool model = in.mode & Model;
    const char* name = model ? kModel : kMaterial;
    MemoryFiles& files = fuzzFiles();
    files.clear();
    files.setStreaming(in.mode & Streaming);
    if (in.files & kExists) files.put(name, in.file);

    beginRun(baselineFrom(in.mode >> 1), n);
    const Snapshot before = snapshot(ws);
    const bool read = model ? loadModel(ws, name, files) : openContainerImage(ws, name, files);
    if (!read) {
        if (in.mode & Streaming)
            checkRefusedStreaming(ws, before);
        else
            checkRefused(ws, before);
        return 0;
    }
    checkRead(ws, in, name);
    if (model) checkModel(ws, in);
    else ORX_FUZZ_CHECK(ws.maskVisible == 0);
    return 0;
}
