// Saving a part of the working image: the area saves that follow a dragged
// rectangle (native RGB, the container kinds, a bitmap, a model's material
// area) and the region of the mask under a clicked point that the
// mask-edge save writes.
#pragma once

#include <string>

#include "display.h"
#include "workspace.h"

namespace orx {

// The pending area save a command asks for before the user drags its
// rectangle (ws.areaSaveRequest).
enum AreaSaveRequest : int32_t {
    SaveAreaRgb = 1,
    SaveAreaClo = 2,
    SaveAreaPrt = 3,
    SaveAreaBmp = 4,
    SaveAreaModel = 7,
    SaveAreaEmb = 8,
};

// Two corners in any order, held to the image. False when the rectangle
// covers no pixel of it (r is then left as it was).
bool clipToImage(const Workspace& ws, Point a, Point b, Rect& r);

// The native colour pair of an inclusive rectangle: the raw rows in A.RGB and
// "w h 0 0" with the region's thumbnail in A.IPR. The old pair stays when
// either file cannot be written ("File could not be opened error %s").
bool saveRGBRegion(Workspace& ws, const std::string& name, const Rect& r);

// Runs an area save on a rectangle already held to the image. Model saves
// write the whole picture with the rectangle as its material area. False
// for an unknown request and for a failed write (the writer has said why).
bool saveArea(Workspace& ws, int32_t request, const std::string& name, const Rect& r);

// The bounding rectangle of the pixels 4-connected to (x, y) whose mask
// state (set above 254, or not) is the state of (x, y). False when the point
// lies outside the image.
bool maskRegionBounds(const Workspace& ws, int32_t x, int32_t y, Rect& bounds);

}  // namespace orx
