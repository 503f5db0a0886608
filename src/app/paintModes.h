// The paint tools' rows of the tool-mode table (paintModes.cpp): pens,
// lines, shapes, curves, fills, the air brushes and the floating piece.
#pragma once

#include <span>

#include "toolModes.h"

namespace orx::app {

std::span<const ToolMode> paintModes();

}  // namespace orx::app
