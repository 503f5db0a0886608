// The air brush: the pen colour sprayed with a soft round footprint, and
// the copy brush that sprays pixels taken from elsewhere in the picture (a
// clone brush for repairing photographs).
//
// The footprint's weights live in DENSITY, a square of side 2 x radius
// built by buildBrushTable for the current radius and strength: the
// strength at the centre, falling to 0 at the radius.
#pragma once

#include <cstdint>

#include "workspace/workspace.h"

namespace orx {

struct Stroke;

constexpr int kMinBrushRadius = 2, kMaxBrushRadius = 255;
constexpr int kMinBrushStrength = 5, kMaxBrushStrength = 255;
// Where the copy brush takes its pixels after every image load: right of
// and above the pointer.
constexpr Point kCloneOffsetStart{100, -100};

// Radius and strength are held to their ranges.
void buildBrushTable(Workspace& ws, int radius, int strength);
// Builds the table for the workspace's radius and strength unless it is built.
void ensureBrushTable(Workspace& ws);
inline uint8_t brushWeight(const Workspace& ws, int row, int column)
{
    return ws.DENSITY[size_t(row) * size_t(2 * ws.densityRadius) + size_t(column)];
}

// Both do nothing unless the table was built for this radius.
void sprayColour(Workspace& ws, int32_t x, int32_t y, Rgb colour, int radius);
// Each channel's colour is the pixel at (x + dx, y + dy) as it was before
// this dab; a target or source off the picture is skipped.
void sprayCopy(Workspace& ws, int32_t x, int32_t y, int32_t dx, int32_t dy, int radius);

// One dab of a stroke at an image point: the pen colour, or the copy from
// cloneOffset; the stroke's box grows by the footprint.
void sprayStroke(Workspace& ws, Stroke& stroke, Point at, bool copy);

}  // namespace orx
