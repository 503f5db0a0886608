// Dressing one loaded model again and again (a catalogue batch): each dress
// costs the pixels it maps, not the picture. Only what the last dress
// changed is brought back from the photograph, and the parts read their
// masks where the mask files lie in memory instead of installing each into
// the mask plane.
#pragma once

#include <vector>

#include "cellMapping.h"
#include "workspace/fileIo.h"
#include "workspace/workspace.h"

namespace orx {

// Where `image` may differ from secondImage after a dress: the material
// area and the boxes its parts reached. Not known: anywhere.
struct DressTrace {
    bool known = false;
    std::vector<PixelBox> boxes;
};

// Dresses the loaded model (ws.modelPath) in ws.materialPath with the
// current options, for a caller that writes nothing else into image between
// two dresses of one trace (start a new trace after loading a model). Mask
// mode starts at 0 and the mask plane is left as it is, so every dress
// comes out as the first dress after loading would. `trace` then names what
// this dress changed; a material that cannot be read changes nothing (0).
// Returns the run's result.
int dressLoadedModel(Workspace& ws, DressTrace& trace, FileSource& src = localFiles());

}  // namespace orx
