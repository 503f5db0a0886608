// Where the online library is and how to log in to it.
//
// ORXLIB.CFG in the program directory holds one setting a line, a keyword
// and its value ("#" starts a comment line, keywords ignore case):
//
//   URL          ftp://server[:port][/folder], a local folder or file:///folder
//   USER         47302615
//   PASSWORD     58190374
//   DIRECTORY    ORXWEBTRY      the library directory under the URL
//   TIMEOUT      30             seconds a server may stay silent
//   CONNECTIONS  4              parallel reads while the lists are built
//
// ORX_LIBRARY_URL, when set and not empty, wins over URL. With neither, the
// bundled sample library is used (the folder "sample-library" beside the
// program or in a folder above it, as the build writes it), so the program
// runs on a machine with no server. A missing file gives these defaults; a
// line that cannot be understood is reported and refused.
#pragma once

#include <cstdint>
#include <string>

#include "workspace/workspace.h"

namespace orx {

constexpr char kLibraryConfigFile[] = "ORXLIB.CFG";
constexpr char kLibraryUrlVariable[] = "ORX_LIBRARY_URL";
constexpr char kBundledLibraryFolder[] = "sample-library";

struct LibraryConfig {
    std::string location;  // FTP URL or folder; see libraryKindOf
    std::string user = "47302615";
    std::string password = "58190374";
    std::string directory = "ORXWEBTRY";
    int32_t timeoutSeconds = 30;
    int32_t connections = 4;
};

enum class LibraryKind { Ftp, Folder };

// "ftp://..." and any other "scheme://" (which the FTP library then refuses)
// are FTP; "file://...", a path starting with "/" or "." and an existing
// folder are folders; anything else is a server name that gets "ftp://".
LibraryKind libraryKindOf(const std::string& location);

// Reads programDir/ORXLIB.CFG and ORX_LIBRARY_URL into cfg. False, with the
// reason shown, when the file holds a line that cannot be understood.
bool readLibraryConfig(Workspace& ws, const std::string& programDir, LibraryConfig& cfg);

// The folder of the running program.
std::string programDirectory();

// The bundled sample library: "sample-library" in the program's folder or
// the nearest folder above it that has one (the build puts it at the top of
// the build tree, the program two folders down). Without one, the name in
// the program's folder, which the folder library then reports missing.
std::string bundledLibraryFolder(const std::string& programDir);

}  // namespace orx
