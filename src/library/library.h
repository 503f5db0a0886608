// The online library: models and materials kept on an FTP server or in a
// local folder, read by name.
//
// A Library is a FileSource, so every reader of the workspace and the engine
// (models, materials, RGB and MSK files, the ORX, MSK and MAP files of a
// mapping run) reads through it unchanged: open(name) serves a file of the
// library's directory for sequential binary reading, listFolder(".") names
// the files there. On top of that it lists a kind by wildcard, deletes, and
// reads the heads of many files at once for the thumbnail lists.
//
// Names are only names: a name asked for or listed by the server that could
// reach outside the library directory (a slash, "..", a backslash, a
// control character) is refused.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "workspace/fileIo.h"

namespace orx {

// One piece of one file, asked for in a batch.
struct RangeRead {
    std::string name;
    uint64_t offset = 0;
    uint32_t length = 0;
    // Filled by readRanges: whether the file could be read at all, its size
    // when the library could tell (-1 otherwise) and the bytes found there
    // (fewer than length at the end of the file).
    bool opened = false;
    int64_t fileSize = -1;
    std::vector<uint8_t> bytes;
};

class Library : public FileSource {
public:
    // FileSource: open(name) gives nullptr for a missing file without a
    // message; a refused name or a lost connection is reported first. The
    // streams it gives must end before the library does.
    // listFolder accepts "", "." and "./" (the library directory) only.

    // The names matching a wildcard ("*.MDL"), compared without regard to
    // case, in the order the library lists them.
    virtual std::vector<std::string> list(const std::string& pattern) = 0;
    // Deletes one file; false (reason in lastError) when it cannot. Says
    // nothing itself: the browser does not report a failed delete.
    virtual bool remove(const std::string& name) = 0;
    // The library directory as the server (or the file system) names it.
    virtual std::string currentDirectory() = 0;
    // Where the library is: its URL, or its folder.
    virtual std::string location() const = 0;
    // Reads the pieces, keeping their order; missing files and failed reads
    // come back with opened false, silently. When the library itself fails
    // (a server that stalls or went away) the rest is not tried and
    // lastError says why.
    virtual void readRanges(std::vector<RangeRead>& reads) = 0;

    // Why the last operation failed ("" after a success).
    const std::string& lastError() const { return lastError_; }

protected:
    std::string lastError_;
};

}  // namespace orx
