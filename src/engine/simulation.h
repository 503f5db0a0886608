// The simulation commands' common road: load a model, change the material,
// contrast, sharp/soft or layout, and dress the model again.
#pragma once

#include <string>

#include "workspace/fileIo.h"
#include "workspace/workspace.h"

namespace orx {

// The model's ORX file: its name with "ORX" as the last three characters.
std::string orxPathOf(const std::string& modelPath);

// Loads a model for dressing: picture, secondImage, a clear mask and mask
// mode 0. False (with a message) when it cannot be read.
bool loadModelForDressing(Workspace& ws, const std::string& modelPath, FileSource& src = localFiles());

// Rebuilds the repeated material (when a material is chosen) and runs the
// model's ORX file. Returns the run's result (1 or 0); the mapped flag
// follows it.
int resimulate(Workspace& ws, FileSource& src = localFiles());

}  // namespace orx
