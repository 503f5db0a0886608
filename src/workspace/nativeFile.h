// The native raw files: colour images (RGB with its IPR companion) and
// masks (MSK with its MPR companion), the placing of a file into the image,
// and the temp copy of the image.
#pragma once

#include <string>

#include "fileIo.h"
#include "workspace.h"

namespace orx {

enum class SizeRead { Ok, Missing, Invalid };

// Reads "W H" from the start of a companion (IPR or MPR). Missing: the
// companion cannot be opened; Invalid: it holds no positive sizes.
SizeRead readCompanionSize(FileSource& src, const std::string& companion, int32_t& w, int32_t& h);
SizeRead readImageSize(FileSource& src, const std::string& rawName, int32_t& w, int32_t& h);
SizeRead readMaskSize(FileSource& src, const std::string& rawName, int32_t& w, int32_t& h);

// Reads a colour image into dest and sets W, H and the row bytes. A missing
// companion fails without a message; every other refusal explains itself
// and leaves the workspace as it was.
bool loadRGB(Workspace& ws, const std::string& name, uint8_t* dest, FileSource& src = localFiles());
bool saveRGB(Workspace& ws, const std::string& name);
// The same for any plane of w x h pixels (a scan that is not the image).
bool saveRGBPlane(Workspace& ws, const std::string& name, const uint8_t* rgb, int32_t w, int32_t h);

// The open-image command: the colour image, its planes and its mask (the
// same name with MSK), the loaded flag and the file name. Unlike loadRGB it
// says which file is missing when the image or its companion is.
bool openRGBImage(Workspace& ws, const std::string& name, FileSource& src = localFiles());

bool loadMSK(Workspace& ws, const std::string& name, uint8_t* dest, FileSource& src = localFiles());
// Writes the mask plane; false without a message when it cannot.
bool saveMSK(Workspace& ws, const std::string& name, const uint8_t* mask, int32_t w, int32_t h);
// The open-mask command: with no image, a white image of the mask's size is
// made first; with an image, the mask must have the image's size.
bool openMSKFile(Workspace& ws, const std::string& name, FileSource& src = localFiles());
// Reads a mask of any size into the top-left of dest (row stride W).
bool loadMSKClipped(Workspace& ws, const std::string& name, uint8_t* dest, FileSource& src = localFiles());

// Blends a colour file into the image at (x, y) with weight 0..255, clipped
// to the image; masked pixels are kept while the mask is shown.
bool pasteRGBFile(Workspace& ws, const std::string& name, int32_t x, int32_t y, int weight,
                  FileSource& src = localFiles());

// The temp copy of the image: in the block when it has room, else the file
// VLXTEMP.RGB in the work directory.
std::string tempImagePath(const Workspace& ws);
bool saveTempImage(Workspace& ws);
bool restoreTempImage(Workspace& ws);

// Mask packing: one row of w mask bytes into (w + 7) / 8 bytes, most
// significant bit first, a byte above 254 sets its bit.
void packMaskRow(const uint8_t* mask, int32_t w, uint8_t* packed);
void unpackMaskRow(const uint8_t* packed, int32_t w, uint8_t* mask);

}  // namespace orx
