// The cursor resource ids, by what each cursor shows. The command table,
// the tool modes and the view name their cursors by these; the cursor
// table (cursors.cpp) draws one figure for each.
#pragma once

#include <cstdint>

namespace orx::app {

constexpr int32_t kCursorArrow = 0;  // the system arrow

constexpr int32_t kCursorBucket = 134;       // fills
constexpr int32_t kCursorReplace = 135;      // colour replacement
constexpr int32_t kCursorCross = 147;        // rubber-band rectangles, circles, ellipses
constexpr int32_t kCursorZoom = 168;         // Control held over the picture
constexpr int32_t kCursorZoomIn = 169;
constexpr int32_t kCursorZoomOut = 170;
constexpr int32_t kCursorMove = 174;         // a move tool, waiting
constexpr int32_t kCursorMoving = 175;       // ... while dragging
constexpr int32_t kCursorPan = 229;          // Shift held over the picture
constexpr int32_t kCursorRun = 230;          // after a trial mapping
constexpr int32_t kCursorDropperHeld = 231;  // picking a colour, button held
constexpr int32_t kCursorMaterial = 232;     // material placement, shaded fill
constexpr int32_t kCursorPen = 233;
constexpr int32_t kCursorCurve = 234;
constexpr int32_t kCursorLine = 235;
constexpr int32_t kCursorScale = 236;        // a scale tool, waiting
constexpr int32_t kCursorScaling = 237;      // ... while dragging
constexpr int32_t kCursorRotate = 238;       // a rotate tool, waiting
constexpr int32_t kCursorRotating = 239;     // ... while dragging
constexpr int32_t kCursorSpray = 240;        // air brush
constexpr int32_t kCursorRings = 241;        // air brush with two rings
constexpr int32_t kCursorNode = 242;         // mesh node edits, waiting
constexpr int32_t kCursorNodeHeld = 243;     // ... while dragging
constexpr int32_t kCursorNodeRow = 244;
constexpr int32_t kCursorCrossFine = 246;
constexpr int32_t kCursorDropper = 247;      // picking a colour
constexpr int32_t kCursorMaskPen = 248;      // mask point fill

}  // namespace orx::app
