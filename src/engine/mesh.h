// Mesh pairs: the object mesh over the photograph's folds and the material
// mesh over the flat material, C x R cells each, and their MAP file.
#pragma once

#include <string>
#include <vector>

#include "workspace/fileIo.h"
#include "workspace/workspace.h"

namespace orx {

constexpr size_t kMapMaxBytes = 8 + 16 * size_t(kMeshMaxPoints);

enum class MapDecode { Ok, Damaged, TooLarge };

// Decodes the bytes of a MAP file into Cpoint1 (object) and Cpoint2
// (material) and sets C and R. Leaves the meshes alone unless Ok.
MapDecode decodeMap(Workspace& ws, const uint8_t* bytes, size_t n);
// Reads and decodes a MAP file; shows the reason and returns false when it
// cannot.
bool loadMapFile(Workspace& ws, const std::string& name, FileSource& src = localFiles());
bool saveMapFile(Workspace& ws, const std::string& name);
// The bytes of the current mesh pair as a MAP file holds them.
std::vector<uint8_t> encodeMap(const Workspace& ws);

inline int meshPointCount(const Workspace& ws) { return (ws.meshColumns + 1) * (ws.meshRows + 1); }

// Cell n (row-major, 0 .. R x C - 1) of the current pair.
inline MeshCell cellOf(const Workspace& ws, int n)
{
    const int C = ws.meshColumns;
    const int r = n / C, c = n % C;
    const int base = r * (C + 1) + c;
    const MeshPoint* obj = ws.Cpoint1.get();
    const MeshPoint* mat = ws.Cpoint2.get();
    MeshCell cell;
    cell.p[0] = obj[base];
    cell.p[1] = obj[base + 1];
    cell.p[2] = obj[base + C + 2];
    cell.p[3] = obj[base + C + 1];
    cell.q0 = mat[base];
    cell.q2 = mat[base + C + 2];
    return cell;
}

// Fills ws.cell with cell n.
inline void extractCell(Workspace& ws, int n) { ws.cell = cellOf(ws, n); }

}  // namespace orx
