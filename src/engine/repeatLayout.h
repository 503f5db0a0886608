// Repeat layouts: the current material laid over the model's material area
// of secondImage (normal, horizontally shifted or vertically shifted), then
// secondImage copied into image so that every run starts from the clean
// photograph.
#pragma once

#include "cellMapping.h"
#include "workspace/fileIo.h"
#include "workspace/workspace.h"

namespace orx {

// Fills the material area from ws.materialPath in ws.repeatLayout. When the
// material cannot be read, shows why and leaves both planes as they were
// (false).
bool buildRepeatedMaterial(Workspace& ws, FileSource& src = localFiles());

// The same without the copy into image: `laid` receives the part of the
// picture written (empty when the area lies off it).
bool layRepeatedMaterial(Workspace& ws, FileSource& src, PixelBox& laid);

}  // namespace orx
