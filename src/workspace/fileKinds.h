// The file kinds by extension: what reads each into the workspace and what
// writes it. orxsim, the loaders and the browser share this table.
#pragma once

#include <string>

#include "fileIo.h"
#include "workspace.h"

namespace orx {

enum class FileKind { RGB, MSK, MDL, CLO, PRT, NIT, EMB, MAP, BMP, Unknown };

struct FileKindInfo {
    FileKind kind;
    const char* extension;   // upper case, no dot
    const char* companion;   // companion extension, or nullptr
    bool isContainer;
    // Reads the file as the working image (and mask); nullptr when the kind
    // is no picture.
    bool (*open)(Workspace&, const std::string&, FileSource&);
    // Writes the working image (the mask plane for MSK; models take their
    // area from ws.modelArea).
    bool (*save)(Workspace&, const std::string&);
};

const FileKindInfo& fileKindOf(const std::string& name);
const FileKindInfo& fileKindInfo(FileKind kind);
const char* fileKindName(FileKind kind);

}  // namespace orx
