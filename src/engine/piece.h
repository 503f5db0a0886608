// The floating piece: pixels with their coverage lying over the picture
// until they are applied. The text tool makes one from typed text; a piece
// keeps its own copy, so it can be moved over the picture and shown on the
// display before anything of the image changes.
//
// Growing it: pieces from parts files set the same fields (setFloatingPiece
// with a full coverage, or the coverage of their mask); scaling and turning
// replace pixels and coverage with the transformed ones.
#pragma once

#include <cstdint>
#include <vector>

#include "workspace/workspace.h"

namespace orx {

// Takes width x height pixels (R, G, B) and coverage (0 clear .. 255
// opaque) as the floating piece, its top-left corner at (x, y). False,
// keeping the piece as it was, when the sizes do not agree.
bool setFloatingPiece(Workspace& ws, int32_t x, int32_t y, int32_t width, int32_t height, std::vector<uint8_t> pixels,
                      std::vector<uint8_t> coverage);
void movePiece(Workspace& ws, int32_t x, int32_t y);
void dropPiece(Workspace& ws);

// The part of the picture under the piece; false when it lies wholly off
// it or no piece floats.
bool pieceBounds(const Workspace& ws, Rect& bounds);

// Blends the piece into the image by its coverage (with the mask shown,
// masked pixels stay) and lets it go. False when no piece floats.
bool applyPiece(Workspace& ws);

// Draws the piece into the display buffer at the current scale over what
// RS holds; `shown` is the display rectangle it covers. False when none of
// it is on the display.
bool drawPieceOnDisplay(Workspace& ws, Rect& shown);

}  // namespace orx
