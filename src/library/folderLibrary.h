// The online library in a local folder: the bundled sample library that
// the program uses when no server is configured, or any folder a site
// chooses. It serves the same lists, thumbnails and deletes as the FTP
// library; when the folder holds the library directory (ORXWEBTRY), that
// is the library, as on a server.
#pragma once

#include <memory>
#include <string>

#include "library.h"
#include "libraryConfig.h"
#include "workspace/workspace.h"

namespace orx {

class FolderLibrary : public Library {
public:
    FolderLibrary(Workspace& ws, std::string location, std::string directory);

    std::unique_ptr<InStream> open(const std::string& name) override;
    std::vector<std::string> listFolder(const std::string& folder) override;
    std::vector<std::string> list(const std::string& pattern) override;
    bool remove(const std::string& name) override;
    std::string currentDirectory() override { return directory_; }
    std::string location() const override { return location_; }
    void readRanges(std::vector<RangeRead>& reads) override;

private:
    // The names in the folder in byte order (the order an FTP server of
    // this system lists them in).
    std::vector<std::string> names(bool reportBadNames, const std::string& pattern);
    // The path of a plain name asked for; false (reported) otherwise.
    bool pathOf(const std::string& name, std::string& path, bool report);

    Workspace& ws_;
    std::string location_, directory_;
};

// Opens the folder of cfg.location ("file://" URLs are decoded). A folder
// that does not exist is reported and gives nullptr.
std::unique_ptr<FolderLibrary> openFolderLibrary(Workspace& ws, const LibraryConfig& cfg);

}  // namespace orx
