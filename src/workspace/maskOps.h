// Mask and colour image working together: the two commands that turn black
// line art into a mask and a mask back into black.
#pragma once

#include "workspace.h"

namespace orx {

// The mask becomes 255 where the image is black (0, 0, 0) and 0 elsewhere.
void blackToMask(Workspace& ws);

// Every masked pixel (mask byte above 254) of the image becomes black.
void maskedToBlack(Workspace& ws);

}  // namespace orx
