// Opening the library at start-up, its lists and caption, and deletes.
#include "onlineLibrary.h"

#include <algorithm>

#include "folderLibrary.h"
#include "ftpLibrary.h"
#include "workspace/fileIo.h"
#include "workspace/fileKinds.h"
#include "workspace/langText.h"

namespace orx {

namespace {

// "*.MDL": every file of a kind.
std::string wildcardOf(FileKind kind) { return std::string("*.") + fileKindName(kind); }

std::string captionOf(Workspace& ws, Library& library)
{
    const std::string place = library.location(), dir = library.currentDirectory();
    // A folder library's directory already names its place.
    const std::string where = dir.rfind(place, 0) == 0 ? dir : place + dir;
    return where + langText(ws, Msg::LibSearchHint);
}

void forget(LibraryList& list, const std::string& name)
{
    list.erase(std::remove_if(list.begin(), list.end(), [&](const LibraryEntry& e) { return e.name == name; }),
               list.end());
}

}  // namespace

std::unique_ptr<Library> connectLibrary(Workspace& ws, const LibraryConfig& cfg)
{
    if (libraryKindOf(cfg.location) == LibraryKind::Folder) return openFolderLibrary(ws, cfg);
    return connectFtpLibrary(ws, cfg);
}

int openLibrary(Workspace& ws, const LibraryConfig& cfg, OnlineLibrary& lib)
{
    lib = OnlineLibrary();
    std::unique_ptr<Library> library = connectLibrary(ws, cfg);
    if (!library) return 0;
    LibraryList models, materials;
    std::vector<std::string> modelNames = library->list(wildcardOf(FileKind::MDL));
    if (!library->lastError().empty()) return 0;
    std::vector<std::string> materialNames = library->list(wildcardOf(FileKind::CLO));
    if (!library->lastError().empty()) return 0;
    // Both lists' heads in one batch, so that the parallel reads of an FTP
    // library are kept busy across the two.
    std::vector<LibraryEntry*> entries;
    models.resize(modelNames.size());
    materials.resize(materialNames.size());
    for (size_t i = 0; i < models.size(); ++i) {
        models[i].name = std::move(modelNames[i]);
        entries.push_back(&models[i]);
    }
    for (size_t i = 0; i < materials.size(); ++i) {
        materials[i].name = std::move(materialNames[i]);
        entries.push_back(&materials[i]);
    }
    // A server that fails while the heads are read is no library to start
    // with; a file that cannot be read only leaves its entry empty.
    if (!describeEntries(*library, entries)) {
        showLangMessage(ws, Msg::LibListFailed, library->currentDirectory().c_str(), library->lastError().c_str());
        return 0;
    }
    lib.caption = captionOf(ws, *library);
    lib.modelList = std::move(models);
    lib.materialList = std::move(materials);
    lib.library = std::move(library);
    return 1;
}

bool startLibrary(Workspace& ws, const LibraryConfig& cfg, OnlineLibrary& lib)
{
    if (openLibrary(ws, cfg, lib) == 1) return true;
    showLibraryStartFailure(ws);
    return false;
}

void showLibraryStartFailure(Workspace& ws)
{
    showLangMessage(ws, Msg::InitEnvError);
    showLangMessage(ws, Msg::ProgramWillStop);
}

LibraryList* libraryListFor(OnlineLibrary& lib, const std::string& extension)
{
    const FileKind kind = fileKindOfExtension(extension).kind;
    if (kind == FileKind::MDL) return &lib.modelList;
    if (kind == FileKind::CLO) return &lib.materialList;
    return nullptr;
}

bool deleteWithCompanion(Library& library, const std::string& name)
{
    if (!library.remove(name)) return false;
    // The file went; whether its companion was there changes nothing.
    if (const std::string companion = companionOf(name); !companion.empty()) library.remove(companion);
    return true;
}

bool deleteFromLibrary(OnlineLibrary& lib, const std::string& name)
{
    if (!lib.library || !deleteWithCompanion(*lib.library, name)) return false;
    // The lists hold models and materials only, which have no companions.
    forget(lib.modelList, name);
    forget(lib.materialList, name);
    return true;
}

}  // namespace orx
