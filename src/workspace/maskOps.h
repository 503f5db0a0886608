// Mask and colour image working together: the two commands that turn black
// line art into a mask and a mask back into black.
#pragma once

#include "workspace.h"

namespace orx {

// The mask becomes 255 where the image is exactly the colour and 0 elsewhere.
void markColourAsMask(Workspace& ws, Rgb colour);
// The same for black (0, 0, 0): line art as a mask.
void blackToMask(Workspace& ws);

// Every masked pixel (mask byte above 254) of the image becomes black.
void maskedToBlack(Workspace& ws);

// A picture as a mask: set where its grey level is above 127.
void maskFromGrey(Workspace& ws);
// A mask as a picture: white where set, black elsewhere.
void greyFromMask(Workspace& ws);

}  // namespace orx
