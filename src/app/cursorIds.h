// Cursor resource ids that code picks by name. The command table and the
// tool modes give theirs as the numbers of the cursor table (cursors.h).
#pragma once

#include <cstdint>

namespace orx::app {

constexpr int32_t kCursorArrow = 0;    // the system arrow
constexpr int32_t kCursorCross = 147;  // rubber-band rectangles
constexpr int32_t kCursorZoom = 168;   // Control held over the picture
constexpr int32_t kCursorPan = 229;    // Shift held over the picture

}  // namespace orx::app
