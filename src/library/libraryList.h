// The lists of the library: every model and material with its image size
// and its 70 x 60 thumbnail, taken from the head of its file, in the order
// the library lists them. There is no limit of 100 entries: a list holds
// every file of its kind.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "library.h"
#include "workspace/workspace.h"

namespace orx {

struct LibraryEntry {
    std::string name;
    int32_t width = 0, height = 0;
    // kThumbBytes of R, G, B, or empty when the file gave none (it could not
    // be opened, or its header is damaged or the file cut short).
    std::vector<uint8_t> thumbnail;
};

using LibraryList = std::vector<LibraryEntry>;

// Header and thumbnail of a file in the library's order.
constexpr uint32_t kLibraryHeadBytes = uint32_t(kHeaderBytes + kThumbBytes);  // 12,856

// Where a container keeps its thumbnail: right behind the header in the
// library's order, behind the pixels in the order this system writes; the
// pixel offset at header byte 74 tells which. -1 when the header describes
// no container that fits fileSize bytes (fileSize -1: not known).
int64_t containerThumbnailOffset(const FileHeader& fh, int64_t fileSize);

// Fills size and thumbnail of every entry from its file (names set by the
// caller), reading all heads in one batch: 12,856 bytes a file, and the
// thumbnail alone for files in this system's own order. False when the
// library itself failed on the way (lastError says why); files that could
// not be read are no failure.
bool describeEntries(Library& lib, const std::vector<LibraryEntry*>& entries);

// The list of the files matching pattern. False when the library could not
// be listed (it has said why) or failed while its files were read
// (lastError says why).
bool buildLibraryList(Library& lib, const std::string& pattern, LibraryList& list);

}  // namespace orx
