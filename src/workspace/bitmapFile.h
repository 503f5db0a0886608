// Windows bitmaps: read (1, 4, 8, 16, 24 and 32 bits, bottom-up or
// top-down, uncompressed) and written (24 bits, bottom-up).
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

bool writeBMP(Workspace& ws, const std::string& name, const uint8_t* plane, int32_t w, int32_t h);
// The display buffer RS as it stands: the picture area of the view.
bool writeDisplayBMP(Workspace& ws, const std::string& name);
bool writeBMPRegion(Workspace& ws, const std::string& name, const uint8_t* plane, int32_t x0, int32_t y0,
                    int32_t x1, int32_t y1);

// The working image from a bitmap: planes laid out, mask cleared.
bool openBMPImage(Workspace& ws, const std::string& name, FileSource& src = localFiles());

}  // namespace orx
