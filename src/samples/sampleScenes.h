// The scenes of the sample models: each paints its room, its figure or
// furniture and its garment parts into a studio, and names the material
// area.
#pragma once

#include "sampleLibrary.h"
#include "sampleStudio.h"

namespace orx::sample {

struct SceneDesign {
    SampleScene scene;
    double width, height;  // design pixels; the picture stretches them to its size
    double clothScale;     // material pixels per pixel of cloth, at most (the swatch may ask for less)
    void (*paint)(Studio& studio);
};

const SceneDesign& sceneDesign(SampleScene scene);

}  // namespace orx::sample
