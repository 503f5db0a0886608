// Windows bitmaps: read (1, 4, 8, 16, 24 and 32 bits, bottom-up or
// top-down, uncompressed, run-length or in bit fields, with the headers of
// every version including OS/2's) and written (24 bits, bottom-up). Other
// compressions are left to the general decoder (pictureFile.h).
#pragma once

#include <string>

#include "fileIo.h"
#include "workspace.h"

namespace orx {

// Decodes the bitmap into dest as R, G, B rows and returns its size. Every
// refusal (unopenable, unsupported, damaged, too large) is explained with a
// message and leaves dest untouched.
bool readBMP(Workspace& ws, const std::string& name, uint8_t* dest, int32_t& w, int32_t& h,
             FileSource& src = localFiles());
// Reads only the size of a bitmap without a message; false when it is no
// readable bitmap.
bool readBMPSize(FileSource& src, const std::string& name, int32_t& w, int32_t& h);
// True for a bitmap this reader leaves to the general decoder (compressed
// ones), so that the import hands it over without a message.
bool bitmapNeedsGeneralDecoder(FileSource& src, const std::string& name);

bool writeBMP(Workspace& ws, const std::string& name, const uint8_t* plane, int32_t w, int32_t h);
// The display buffer RS as it stands: the picture area of the view.
bool writeDisplayBMP(Workspace& ws, const std::string& name);
bool writeBMPRegion(Workspace& ws, const std::string& name, const uint8_t* plane, int32_t x0, int32_t y0,
                    int32_t x1, int32_t y1);

// The working image from a bitmap: planes laid out, mask cleared.
bool openBMPImage(Workspace& ws, const std::string& name, FileSource& src = localFiles());

}  // namespace orx
