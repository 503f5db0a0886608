// What the desktop program holds beside the Workspace: the online library
// with its lists, the thumbnail browser's remembered layout and folder, and
// whether a command is running. main() owns one Studio over the one
// Workspace; a test builds its own over a test workspace.
#pragma once

#include <string>

#include "library/browserModel.h"
#include "library/onlineLibrary.h"
#include "pictureThumbnails.h"
#include "workspace/fileIo.h"
#include "workspace/workspace.h"

namespace orx::app {

// The files the program reads: bare names from the online library (the
// model, its ORX, masks and meshes, the materials), full paths from the
// local disk (a folder chosen with "Chage folder", the command line).
class StudioFiles : public FileSource {
public:
    explicit StudioFiles(OnlineLibrary& library) : library_(library) {}
    std::unique_ptr<InStream> open(const std::string& name) override;
    std::vector<std::string> listFolder(const std::string& folder) override;

private:
    FileSource& sourceOf(const std::string& name);
    OnlineLibrary& library_;
};

struct Studio {
    explicit Studio(Workspace& w) : ws(w), files(library) {}
    Studio(const Studio&) = delete;
    Studio& operator=(const Studio&) = delete;

    Workspace& ws;
    OnlineLibrary library;
    StudioFiles files;
    int32_t browserLayout = BrowserHorizontal;
    std::string browserFolder;   // the folder shown after "Chage folder"; empty: the library
    std::string imageFolder;     // the image-file browser's folder; empty: the work directory
    PictureThumbnailCache pictureThumbs;  // its previews and thumbnails, kept while the program runs
    std::string lastScanner;     // the scan dialog opens this device first
    bool busy = false;           // a command is running: others wait
};

}  // namespace orx::app
