// Mesh pairs and the MAP file: C, R, then the object points and the
// material points, every field a little-endian 32-bit integer.
#include "mesh.h"

#include <cstring>

#include "workspace/langText.h"

namespace orx {

namespace {

int32_t get32(const uint8_t* p)
{
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

void put32(uint8_t* p, int32_t v)
{
    const uint32_t u = uint32_t(v);
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(u >> (8 * i));
}

}  // namespace

MapDecode decodeMap(Workspace& ws, const uint8_t* bytes, size_t n)
{
    if (n < 8) return MapDecode::Damaged;
    const int64_t C = get32(bytes), R = get32(bytes + 4);
    if (C < 0 || R < 0) return MapDecode::Damaged;
    const int64_t points = (C + 1) * (R + 1);
    if (points > kMeshMaxPoints) return MapDecode::TooLarge;
    if (8 + 16 * uint64_t(points) > n) return MapDecode::Damaged;
    const uint8_t* p = bytes + 8;
    for (int64_t i = 0; i < points; ++i, p += 8) ws.Cpoint1[i] = {get32(p), get32(p + 4)};
    for (int64_t i = 0; i < points; ++i, p += 8) ws.Cpoint2[i] = {get32(p), get32(p + 4)};
    ws.meshColumns = int32_t(C);
    ws.meshRows = int32_t(R);
    return MapDecode::Ok;
}

bool loadMapFile(Workspace& ws, const std::string& name, FileSource& src)
{
    std::vector<uint8_t> bytes;
    auto in = src.open(name);
    if (!in) {
        showLangMessage(ws, Msg::CantOpenFile, name.c_str());
        return false;
    }
    in.reset();
    if (!readWholeFile(src, name, kMapMaxBytes, bytes)) {
        showLangMessage(ws, Msg::MapTooLarge, name.c_str());
        return false;
    }
    switch (decodeMap(ws, bytes.data(), bytes.size())) {
    case MapDecode::Ok: return true;
    case MapDecode::TooLarge: showLangMessage(ws, Msg::MapTooLarge, name.c_str()); return false;
    case MapDecode::Damaged: showLangMessage(ws, Msg::MapBadFile, name.c_str()); return false;
    }
    return false;
}

std::vector<uint8_t> encodeMap(const Workspace& ws)
{
    const int points = meshPointCount(ws);
    std::vector<uint8_t> out(8 + 16 * size_t(points));
    put32(out.data(), ws.meshColumns);
    put32(out.data() + 4, ws.meshRows);
    uint8_t* p = out.data() + 8;
    for (const MeshPoint* mesh : {ws.Cpoint1.get(), ws.Cpoint2.get()})
        for (int i = 0; i < points; ++i, p += 8) {
            put32(p, mesh[i].x);
            put32(p + 4, mesh[i].y);
        }
    return out;
}

bool saveMapFile(Workspace& ws, const std::string& name)
{
    std::vector<uint8_t> bytes = encodeMap(ws);
    if (!writeFileAtomically(name, bytes.data(), bytes.size())) {
        showLangMessage(ws, Msg::CantOpenFile, name.c_str());
        return false;
    }
    return true;
}

}  // namespace orx
