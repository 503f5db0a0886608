// The simulation commands' common road.
#include "simulation.h"

#include <cstring>

#include "orxScript.h"
#include "repeatLayout.h"
#include "workspace/containerFile.h"
#include "workspace/fileKinds.h"

namespace orx {

std::string orxPathOf(const std::string& modelPath) { return nameOfKind(modelPath, FileKind::ORX); }

bool loadModelForDressing(Workspace& ws, const std::string& modelPath, FileSource& src)
{
    if (!loadModel(ws, modelPath, src)) {
        ws.modelLoaded = 0;
        return false;
    }
    ws.maskMode = 0;
    ws.modelLoaded = 1;
    ws.modelMapped = 0;
    return true;
}

int resimulate(Workspace& ws, FileSource& src)
{
    // A material that cannot be read leaves the old one in the area; the
    // run goes on with it.
    if (ws.materialPath.empty() || !buildRepeatedMaterial(ws, src))
        std::memcpy(ws.image, ws.secondImage, imageBytes(ws));
    const int result = runMapping(ws, orxPathOf(ws.modelPath), src);
    ws.modelMapped = result == 1 ? 1 : 0;
    if (result == 1) ws.meshPresent = 1;
    return result;
}

}  // namespace orx
