// ORX scripts: the text file beside a model that lists, part by part, a
// mask file and a MAP file. The run installs each part's mask and maps the
// part's mesh pair (cellMapping.h); the other line kinds (pictures, delays,
// repeats, colours, zooms) are recognised here for the show player.
#pragma once

#include <string>
#include <vector>

#include "cellMapping.h"
#include "workspace/fileIo.h"
#include "workspace/workspace.h"

namespace orx {

// Kinds of ORX lines.
enum OrxLine : int { OrxOther = 0, OrxImageAlt = 1, OrxMask = 2, OrxMap = 3, OrxDelay = 4, OrxRepeat = 5,
                     OrxColor = 6, OrxZoom = 7, OrxImage = 8 };

struct OrxLineInfo {
    int kind = OrxOther;
    int value = 0;         // DELAY and COLOR number; for mask lines the extension's position + 4
    int imageIndex = 0;    // image lines: first number - 1
    int imageA = 0, imageB = 0;
    float zoom = 0;        // ZOOM: factor (0 when left unchanged)
    int zoomX = 0, zoomY = 0;
};

OrxLineInfo classifyOrxLine(const std::string& line);

// Runs the ORX file on the loaded model. Returns 1 when every line was
// processed, 0 when the file cannot be opened or a mask or MAP line failed.
// The files it names are read through src, relative to the ORX file.
int runMapping(Workspace& ws, const std::string& orxPath, FileSource& src = localFiles());

struct RunOptions {
    // Each part reads its mask from the mask file's packed rows where they
    // lie in memory, and the mask plane is left as it was; otherwise each
    // mask line installs its mask into the plane, which keeps the last.
    bool maskPlaneUntouched = false;
    // Receives the box of each part mapped: image was written inside them only.
    std::vector<PixelBox>* reached = nullptr;
};
int runMapping(Workspace& ws, const std::string& orxPath, FileSource& src, const RunOptions& options);

}  // namespace orx
