// The MAP reader: C, R and two meshes of (C + 1) x (R + 1) points, decoded
// from bytes in memory (as a mapping run does) or read from a file.
//
// Input: mode, files, then the MAP bytes.
//   mode bit 0      loadMapFile (else decodeMap on the bytes)
//   mode bit 1      streams that cannot tell their size
//   mode bits 2-5   the workspace before the run (baselineFrom)
//   files bit 0     the file exists
#include <cstring>

#include "engine/mesh.h"
#include "fuzzSupport.h"

using namespace orx;
using namespace orx::fuzz;

namespace {

const char kMap[] = "SLEEVE.MAP";

enum : uint8_t { FromFile = 1, Streaming = 2 };
constexpr uint8_t kExists = 1;

struct Input {
    uint8_t mode = 0, files = 0;
    std::string map;
};

std::string encode(const Input& i) { return InputWriter().byte(i.mode).byte(i.files).rest(i.map).bytes(); }

void append32(std::string& s, int32_t v)
{
    for (int i = 0; i < 4; ++i) s += char(uint8_t(uint32_t(v) >> (8 * i)));
}

// A C x R mesh pair: object points on a grid, material points beside it.
std::string mapBytes(int32_t C, int32_t R)
{
    std::string s;
    append32(s, C);
    append32(s, R);
    for (int mesh = 0; mesh < 2; ++mesh)
        for (int32_t r = 0; r <= R; ++r)
            for (int32_t c = 0; c <= C; ++c) {
                append32(s, 10 * c + 300 * mesh);
                append32(s, 12 * r - mesh);
            }
    return s;
}

std::vector<std::string> seeds()
{
    std::vector<std::string> out;
    auto input = [](uint8_t mode, std::string map) {
        Input i;
        i.mode = mode;
        i.files = kExists;
        i.map = std::move(map);
        return encode(i);
    };
    for (uint8_t mode : {uint8_t(0), uint8_t(FromFile), uint8_t(FromFile | Streaming | kBaseline8x6 << 2)}) {
        out.push_back(input(mode, mapBytes(2, 3)));
        out.push_back(input(mode, mapBytes(0, 4)));
        out.push_back(input(mode, mapBytes(6, 0)));
    }
    std::string big = mapBytes(1, 1);
    big.replace(0, 8, "\xff\x00\x00\x00\xff\x00\x00\x00", 8);  // 255 x 255: too large
    out.push_back(input(FromFile, big));
    std::string negative = mapBytes(1, 1);
    negative[3] = char(0x80);
    out.push_back(input(0, negative));
    out.push_back(input(FromFile, mapBytes(3, 3).substr(0, 100)));
    out.push_back(input(FromFile, std::string("\x01\x00\x00", 3)));
    Input missing;
    missing.mode = FromFile;
    out.push_back(encode(missing));
    return out;
}

// After a successful read the meshes are the file's and nothing else moved.
void checkDecoded(const Workspace& ws, const Input& in, const Snapshot& before)
{
    ORX_FUZZ_CHECK(fuzzPlatform().messages == 0);
    const int32_t C = int32_t(le32At(in.map, 0)), R = int32_t(le32At(in.map, 4));
    ORX_FUZZ_CHECK(ws.meshColumns == C && ws.meshRows == R);
    ORX_FUZZ_CHECK(C >= 0 && R >= 0 && (int64_t(C) + 1) * (int64_t(R) + 1) <= kMeshMaxPoints);
    const int points = meshPointCount(ws);
    ORX_FUZZ_CHECK(8 + 16 * size_t(points) <= in.map.size());
    for (int i = 0; i < points; ++i) {
        const size_t object = 8 + 8 * size_t(i), material = object + 8 * size_t(points);
        ORX_FUZZ_CHECK(ws.Cpoint1[i].x == int32_t(le32At(in.map, object)));
        ORX_FUZZ_CHECK(ws.Cpoint1[i].y == int32_t(le32At(in.map, object + 4)));
        ORX_FUZZ_CHECK(ws.Cpoint2[i].x == int32_t(le32At(in.map, material)));
        ORX_FUZZ_CHECK(ws.Cpoint2[i].y == int32_t(le32At(in.map, material + 4)));
    }
    Snapshot expected = before;
    expected.meshColumns = C;
    expected.meshRows = R;
    expected.object.assign(ws.Cpoint1.get(), ws.Cpoint1.get() + points);
    expected.material.assign(ws.Cpoint2.get(), ws.Cpoint2.get() + points);
    ORX_FUZZ_CHECK(unchanged(ws, expected));
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
    in.map = reader.rest();

    MemoryFiles& files = fuzzFiles();
    files.clear();
    files.setStreaming(in.mode & Streaming);
    if (in.files & kExists) files.put(kMap, in.map);

    beginRun(baselineFrom(in.mode >> 2), n);
    const Snapshot before = snapshot(ws);
    if (in.mode & FromFile) {
        if (loadMapFile(ws, kMap, files))
            checkDecoded(ws, in, before);
        else
            checkRefused(ws, before);
        return 0;
    }
    // The bytes are copied so that a read past their end is caught.
    std::vector<uint8_t> bytes(in.map.begin(), in.map.end());
    const MapDecode result = decodeMap(ws, bytes.data(), bytes.size());
    if (result == MapDecode::Ok) {
        checkDecoded(ws, in, before);
    } else {
        ORX_FUZZ_CHECK(fuzzPlatform().messages == 0);
        ORX_FUZZ_CHECK(unchanged(ws, before));
    }
    return 0;
}
