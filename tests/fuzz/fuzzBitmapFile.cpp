// The bitmap reader: file and information headers, colour tables, rows of
// 1 to 32 bits, bottom-up or top-down, read into a plane, opened as the
// working image, or only measured (as orxsim info does).
//
// Input: mode, files, then the file's bytes.
//   mode bits 0-1   0 readBMP into a spare plane, 1 and 3 the open command,
//                   2 readBMPSize
//   mode bits 2-5   the workspace before the run (baselineFrom)
//   mode bit 6      streams that cannot tell their size
//   files bit 0     the file exists
#include <algorithm>
#include <cstring>

#include "fuzzSupport.h"
#include "workspace/bitmapFile.h"

using namespace orx;
using namespace orx::fuzz;

namespace {

const char kBmp[] = "SCAN.BMP";

enum : uint8_t { Read = 0, OpenCommand = 1, SizeOnly = 2 };
constexpr uint8_t kStreaming = 64;
constexpr uint8_t kExists = 1;

struct Input {
    uint8_t mode = 0, files = 0;
    std::string file;
};

std::string encode(const Input& i) { return InputWriter().byte(i.mode).byte(i.files).rest(i.file).bytes(); }

void put16(std::string& s, size_t at, uint32_t v)
{
    s[at] = char(uint8_t(v));
    s[at + 1] = char(uint8_t(v >> 8));
}

void put32(std::string& s, size_t at, uint32_t v)
{
    put16(s, at, v & 0xffff);
    put16(s, at + 2, v >> 16);
}

std::string bitmap(int bits, int32_t w, int32_t h, bool topDown, uint32_t colours = 0)
{
    const uint32_t tableBytes = bits <= 8 ? 4 * (colours ? colours : 1u << bits) : 0;
    const uint32_t rowBytes = (uint32_t(w) * bits + 31) / 32 * 4;
    const uint32_t offset = 54 + tableBytes;
    std::string head(54, '\0');
    head[0] = 'B', head[1] = 'M';
    put32(head, 2, offset + rowBytes * h);
    put32(head, 10, offset);
    put32(head, 14, 40);
    put32(head, 18, uint32_t(w));
    put32(head, 22, uint32_t(topDown ? -h : h));
    put16(head, 26, 1);
    put16(head, 28, uint32_t(bits));
    put32(head, 34, rowBytes * h);
    put32(head, 38, 3780);
    put32(head, 42, 3780);
    put32(head, 46, colours);
    return head + patternBytes(tableBytes, 2) + patternBytes(size_t(rowBytes) * h, 8);
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
    for (uint8_t op : {Read, OpenCommand, SizeOnly})
        for (int bits : {1, 4, 8, 16, 24, 32}) {
            out.push_back(input(op, bitmap(bits, 5, 3, false)));
            out.push_back(input(uint8_t(op | kBaseline8x6 << 2), bitmap(bits, 3, 2, true)));
        }
    out.push_back(input(OpenCommand, bitmap(8, 7, 2, false, 3)));
    out.push_back(input(OpenCommand | kStreaming, bitmap(24, 9, 4, false)));
    out.push_back(input(Read | kStreaming, bitmap(4, 9, 4, true)));
    // Damaged and unsupported headers.
    const std::string good = bitmap(24, 4, 4, false);
    for (auto [at, value] : {std::pair<size_t, uint32_t>{10, 20}, {10, 0xffffff00u}, {14, 12}, {18, 0},
                             {22, 0x80000000u}, {22, 0xfffff000u}, {18, 100000}, {28, 2}, {30, 1}}) {
        std::string b = good;
        put32(b, at, value);
        out.push_back(input(OpenCommand, b));
    }
    std::string tooManyColours = bitmap(4, 4, 4, false, 16);
    put32(tooManyColours, 46, 17);
    out.push_back(input(Read, tooManyColours));
    out.push_back(input(OpenCommand, good.substr(0, good.size() - 5)));
    out.push_back(input(Read, good.substr(0, 40)));
    std::string notBmp = good;
    notBmp[0] = 'P';
    out.push_back(input(SizeOnly, notBmp));
    return out;
}

// 24- and 32-bit rows hold B, G, R: every pixel of the plane is checked
// against its place in the file.
void checkDirectColour(const uint8_t* plane, const std::string& file, int32_t w, int32_t h)
{
    const int bits = le16At(file, 28);
    if (bits != 24 && bits != 32) return;
    const bool topDown = int32_t(le32At(file, 22)) < 0;
    const uint64_t offset = le32At(file, 10), rowBytes = (uint64_t(w) * bits + 31) / 32 * 4;
    const int bytes = bits / 8;
    for (int32_t i = 0; i < h; ++i) {
        const int32_t y = topDown ? i : h - 1 - i;
        for (int32_t x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) {
                const uint64_t at = offset + uint64_t(i) * rowBytes + uint64_t(x) * bytes + (2 - c);
                ORX_FUZZ_CHECK(at < file.size());
                ORX_FUZZ_CHECK(plane[(uint64_t(y) * w + x) * 3 + c] == uint8_t(file[at]));
            }
    }
}

// The bytes of plane the header claims, as far as it fits the spare plane.
// A stream that cannot tell its size is read bottom row first until it
// comes up short, so a failed read may have written anywhere in there.
uint64_t claimedBytes(const std::string& file, uint64_t limit)
{
    const int64_t w = int32_t(le32At(file, 18)), h = int32_t(le32At(file, 22));
    if (w <= 0 || h == 0) return 0;
    return std::min(uint64_t(w) * uint64_t(h < 0 ? -h : h) * 3, limit);
}

// The size a bitmap's header gives.
bool headerSize(const std::string& file, int32_t w, int32_t h)
{
    const int32_t height = int32_t(le32At(file, 22));
    return w == int32_t(le32At(file, 18)) && (h == height || int64_t(h) == -int64_t(height));
}

void runRead(Workspace& ws, const Input& in, const Snapshot& before, SparePlane& spare)
{
    int32_t w = -7, h = -7;
    if (!readBMP(ws, kBmp, spare.data(), w, h, fuzzFiles())) {
        checkRefused(ws, before);
        ORX_FUZZ_CHECK(w == -7 && h == -7);
        if (in.mode & kStreaming) {
            spare.refill(claimedBytes(in.file, spare.size()));
        } else {
            ORX_FUZZ_CHECK(spare.untouched(3 * 8 * in.file.size() + 64));
            spare.refill(3 * 8 * in.file.size() + 64);
        }
        return;
    }
    ORX_FUZZ_CHECK(w > 0 && h > 0 && uint64_t(w) * uint64_t(h) <= ws.planeCapacity);
    ORX_FUZZ_CHECK(headerSize(in.file, w, h));
    ORX_FUZZ_CHECK(fuzzPlatform().messages == 0);
    ORX_FUZZ_CHECK(unchanged(ws, before));
    checkDirectColour(spare.data(), in.file, w, h);
    spare.refill(uint64_t(w) * uint64_t(h) * 3);
}

void runOpen(Workspace& ws, const Input& in, const Snapshot& before)
{
    if (!openBMPImage(ws, kBmp, fuzzFiles())) {
        if (in.mode & kStreaming) {
            checkRefusedStreaming(ws, before);
            noteBlockWritten(claimedBytes(in.file, ws.maxRgbBytes));
        } else {
            checkRefused(ws, before);
        }
        return;
    }
    checkLoadedPicture(ws);
    ORX_FUZZ_CHECK(ws.maskVisible == 0);
    ORX_FUZZ_CHECK(ws.currentFileName == kBmp);
    ORX_FUZZ_CHECK(fuzzPlatform().messages == 0);
    ORX_FUZZ_CHECK(headerSize(in.file, ws.imageWidth, ws.imageHeight));
    checkDirectColour(ws.image, in.file, ws.imageWidth, ws.imageHeight);
}

void runSize(Workspace& ws, const Input& in, const Snapshot& before)
{
    int32_t w = 0, h = 0;
    if (readBMPSize(fuzzFiles(), kBmp, w, h)) {
        ORX_FUZZ_CHECK(w > 0 && h > 0);
        ORX_FUZZ_CHECK(headerSize(in.file, w, h));
    }
    ORX_FUZZ_CHECK(fuzzPlatform().messages == 0);
    ORX_FUZZ_CHECK(unchanged(ws, before));
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
    in.file = reader.rest();

    MemoryFiles& files = fuzzFiles();
    files.clear();
    files.setStreaming(in.mode & kStreaming);
    if (in.files & kExists) files.put(kBmp, in.file);

    beginRun(baselineFrom(in.mode >> 2), n);
    const Snapshot before = snapshot(ws);
    switch (in.mode & 3) {
    case Read: runRead(ws, in, before, spare); break;
    case SizeOnly: runSize(ws, in, before); break;
    default: runOpen(ws, in, before); break;
    }
    return 0;
}
