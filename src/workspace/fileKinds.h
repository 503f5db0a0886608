// The file kinds: for each extension, what the file is, the companion that
// travels with it, what reads it into the workspace and what writes it.
// Extensions and companions are spelled here and nowhere else: the readers,
// orxsim, the library and the browser ask this table.
//
// Adding a kind: a FileKind value, one row in kKinds (fileKinds.cpp), and
// the reader and writer the row names. A row may leave its reader, writer
// or size reader out (nullptr): the kind is then known by name only. A
// second row of the same kind spells another extension for it (TIFF,
// JPEG); the first row of a kind gives its name.
#pragma once

#include <span>
#include <string>

#include "fileIo.h"
#include "nativeFile.h"
#include "workspace.h"

namespace orx {

enum class FileKind { RGB, MSK, MDL, CLO, PRT, NIT, EMB, MAP, ORX, BMP, TIF, JPG, PCX, PNG, Unknown };

// What a file of a kind holds, for code that treats kinds alike.
enum class KindFamily {
    Raw,        // headerless pixels; the size and thumbnail live in the companion
    Container,  // one file: the 256-byte header, the pixels and the thumbnail
    Picture,    // a picture format with its own header
    Mesh,       // a mesh pair
    Text,       // a script or list naming other files
    None,       // not a kind of ours
};

struct FileKindInfo {
    FileKind kind;
    const char* extension;  // upper case, no dot
    const char* companion;  // the companion's extension, or nullptr
    KindFamily family;
    // Reads the file as the working image (and mask).
    bool (*open)(Workspace&, const std::string&, FileSource&);
    // Writes the working image (the mask plane for MSK; models take their
    // area from ws.modelArea).
    bool (*save)(Workspace&, const std::string&);
    // The picture's width and height without reading its pixels.
    SizeRead (*size)(FileSource&, const std::string&, int32_t& w, int32_t& h);
};

// Every row, the unknown kind last.
std::span<const FileKindInfo> fileKinds();
const FileKindInfo& fileKindOf(const std::string& name);
// By extension alone ("mdl" or "MDL", no dot).
const FileKindInfo& fileKindOfExtension(const std::string& extension);
const FileKindInfo& fileKindInfo(FileKind kind);
const char* fileKindName(FileKind kind);

// NAME with the extension of a kind in place of its own (A.RGB -> A.MSK).
std::string nameOfKind(const std::string& name, FileKind kind);
// The companion of a file read as a kind (A.RGB -> A.IPR); "" when the
// kind has none.
std::string companionOf(const std::string& name, FileKind kind);
// The companion of a file by its own extension; "" when it has none.
std::string companionOf(const std::string& name);

// "RGB, MSK, ...": the extensions of the kinds that can be opened (or
// saved), for messages.
std::string openableKinds();
std::string savableKinds();

}  // namespace orx
