// The files the program reads: library names or local paths.
#include "studio.h"

namespace orx::app {

FileSource& StudioFiles::sourceOf(const std::string& name)
{
    // A library file is a plain name; anything with a folder is on this disk.
    const bool local = name.find('/') != std::string::npos && name.rfind("./", 0) != 0;
    if (local || !library_.library) return localFiles();
    return *library_.library;
}

std::unique_ptr<InStream> StudioFiles::open(const std::string& name) { return sourceOf(name).open(name); }

std::vector<std::string> StudioFiles::listFolder(const std::string& folder)
{
    return sourceOf(folder.empty() ? std::string(".") : folder).listFolder(folder);
}

}  // namespace orx::app
