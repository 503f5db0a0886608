// The library as the program holds it: the open library (the connection
// kept for the run), the model and material lists with their thumbnails,
// and the caption. The owner keeps it for the run: the application's
// Workspace, or orxsim's command while it runs.
#pragma once

#include <memory>
#include <string>

#include "library.h"
#include "libraryConfig.h"
#include "libraryList.h"
#include "workspace/workspace.h"

namespace orx {

struct OnlineLibrary {
    std::unique_ptr<Library> library;
    LibraryList modelList;     // "*.MDL"
    LibraryList materialList;  // "*.CLO"
    // The window caption: where the library is, its directory, the hint of
    // the browser's fast search.
    std::string caption;
};

// Opens the library cfg names, FTP or folder (libraryKindOf), without the
// lists: enough for the loaders. nullptr after the failure's messages.
std::unique_ptr<Library> connectLibrary(Workspace& ws, const LibraryConfig& cfg);

// Connects and builds both lists (every file of each kind, in the library's
// order) and the caption. 1 when the library is open and both lists are
// built; 0 after any failure, with its messages shown and lib left empty.
// A file that cannot be read keeps its name with no size and no thumbnail.
int openLibrary(Workspace& ws, const LibraryConfig& cfg, OnlineLibrary& lib);

// The program's start: openLibrary, and when it fails the start-up failure
// texts ("init_env()  ERROR", "ORX Program Will Stop.") follow the
// library's own messages. False: the caller stops.
bool startLibrary(Workspace& ws, const LibraryConfig& cfg, OnlineLibrary& lib);
// The two start-up failure texts alone, for starts that need no lists.
void showLibraryStartFailure(Workspace& ws);

// The list shown for a kind: "MDL" models, "CLO" materials (any case);
// nullptr for other kinds.
LibraryList* libraryListFor(OnlineLibrary& lib, const std::string& extension);

// Deletes a file with its companion, as the browser does: A.RGB takes A.IPR
// with it, A.MSK takes A.MPR. False when the file itself could not be
// deleted (lastError() says why); a companion that is not there is no
// failure.
bool deleteWithCompanion(Library& library, const std::string& name);
// The same, and the deleted files leave the lists.
bool deleteFromLibrary(OnlineLibrary& lib, const std::string& name);

}  // namespace orx
