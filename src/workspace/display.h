// Screen display and zoom: the working image composed into the display
// buffer RS at the current scale, with the mask tinted in, and the texts of
// the status band below it.
//
// The scale is kept as scale times 16: 16 is 1:1, 32 a reduction to 1/2, 8 an
// enlargement to 2X. Composition never touches the window: it fills RS and
// asks the platform to show the rectangle that changed.
#pragma once

#include <string>

#include "workspace.h"

namespace orx {

constexpr int32_t kStatusBandHeight = 20;

// The zoom table: 1 (16X), 2, 4, 8, 16 (1X), 32, 48, ... 240 (1/15X).
// Values outside the table are left as they are.
int32_t zoomStepIn(int32_t scale16);
int32_t zoomStepOut(int32_t scale16);
void zoomIn(Workspace& ws);
void zoomOut(Workspace& ws);

Point windowToImage(const Workspace& ws, int32_t dx, int32_t dy);
Point imageToWindow(const Workspace& ws, int32_t x, int32_t y);
// The image distance that a window distance covers at the current scale
// (a drag or a wheel step turned into a move of the view centre).
Point windowStepToImage(const Workspace& ws, int32_t ddx, int32_t ddy);
// The view centre that shows image point p under window point (dx, dy) at the
// current scale: zooming about the pointer keeps the pointed-at pixel in place
// (enlarged, to within one enlarged pixel, as the centre is a whole pixel).
Point viewCentreFor(const Workspace& ws, Point p, int32_t dx, int32_t dy);

// The reduction factor that fits a W x H image into a picture area of
// pictureW x pictureH (both at least 1); 1 when the image fits as it is.
int32_t fitReduction(int32_t imageW, int32_t imageH, int32_t pictureW, int32_t pictureH);

// The display geometry from the view's client size: the picture area is the
// client area less the status band.
void setViewSize(Workspace& ws, int32_t clientWidth, int32_t clientHeight);

// Fits the whole image into the picture area (the "All" command and every
// load), composes RS and shows it.
void showWholeImage(Workspace& ws);
// Composes RS at the current scale with image point (x, y) at the centre.
void redisplayAt(Workspace& ws, int32_t x, int32_t y);
// Recomposes and shows only the display rectangle spanned by two window
// corners, grown by the margin and held to the display.
void redrawRect(Workspace& ws, Point a, Point b, int32_t margin);

// Draws the block the mirror and flip tools copied (compact in secondImage,
// blockWidth x blockHeight) into RS at the current scale, its top-left
// corner at window point (dx, dy): the preview that follows the pointer
// until a click places it. Plain pixels, no mask tint; a reduction shows
// the top-left pixel of each block. The caller shows RS.
void composeBlockPreview(Workspace& ws, int32_t dx, int32_t dy);

// Status band texts.
std::string sizeLabelText(const Workspace& ws);   // "size:%dx%d scale:1/%dX %s" or "...scale:%dX %s"
std::string maskStateText(const Workspace& ws);   // "Mask ON" / "Mask OFF" (Chinese forms in language 1)
std::string pointerText(const Workspace& ws, int32_t dx, int32_t dy);  // "X:%d Y:%d", counted from 1

}  // namespace orx
