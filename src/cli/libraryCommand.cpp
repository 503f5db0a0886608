// orxsim library: the online library's two lists, their thumbnails, and
// deletes.
//
//   orxsim library list [--library URL] [--json] [--thumbnails DIR]
//   orxsim library rm NAME [--library URL]
//
// The library is the one the program opens at start-up (ORXLIB.CFG beside
// the program, ORX_LIBRARY_URL, else the bundled sample library); --library
// wins over both. When it cannot be opened, the start-up failure texts go
// to stderr and the exit status is 1, as the program itself stops. A
// thumbnail that cannot be written does not stop the others: the lists are
// printed, the names left out follow on stderr, and the exit status is 3.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "cli.h"
#include "library/libraryNames.h"
#include "library/onlineLibrary.h"
#include "workspace/bitmapFile.h"
#include "workspace/fileIo.h"
#include "workspace/fileKinds.h"
#include "workspace/langText.h"

namespace orx {

namespace {

bool libraryConfigOf(Cli& cli, LibraryConfig& cfg)
{
    if (!readLibraryConfig(cli.ws, programDirectory(), cfg)) return false;
    std::string url;
    if (cli.option("--library", url)) cfg.location = url;
    return true;
}

struct NamedList {
    const char* name;
    const LibraryList* list;
};

void printPlain(const NamedList (&lists)[2])
{
    for (const NamedList& l : lists) {
        std::printf("%s: %zu\n", l.name, l.list->size());
        for (const LibraryEntry& e : *l.list) std::printf("%s %dx%d\n", e.name.c_str(), e.width, e.height);
    }
}

void printJson(const NamedList (&lists)[2])
{
    std::printf("{");
    for (size_t k = 0; k < 2; ++k) {
        std::printf("%s\"%s\": [", k ? ", " : "", lists[k].name);
        const LibraryList& list = *lists[k].list;
        for (size_t i = 0; i < list.size(); ++i)
            std::printf("%s{\"name\": %s, \"width\": %d, \"height\": %d}", i ? ", " : "",
                        jsonString(list[i].name).c_str(), list[i].width, list[i].height);
        std::printf("]");
    }
    std::printf("}\n");
}

// DIR/NAME.BMP for every entry that has a thumbnail. Names were checked by
// the library: none leaves DIR. One that cannot be written (its own
// message says why) is added to `failed` and the rest are still written;
// false when DIR itself cannot be made.
bool writeThumbnails(Cli& cli, const NamedList (&lists)[2], const std::string& dir, std::vector<std::string>& failed)
{
    if (::mkdir(dir.c_str(), 0777) != 0 && errno != EEXIST) {
        fail("orxsim: can not make the folder " + dir);
        return false;
    }
    for (const NamedList& l : lists)
        for (const LibraryEntry& e : *l.list)
            if (e.thumbnail.size() == kThumbBytes &&
                !writeBMP(cli.ws, joinPath(dir, e.name + "." + fileKindName(FileKind::BMP)), e.thumbnail.data(),
                          kThumbWidth, kThumbHeight))
                failed.push_back(e.name);
    return true;
}

int listCommand(Cli& cli)
{
    if (cli.args.size() != 1) return usage("library list takes no file names");
    LibraryConfig cfg;
    if (!libraryConfigOf(cli, cfg)) return kExitFailed;
    OnlineLibrary lib;
    if (!startLibrary(cli.ws, cfg, lib)) return kExitFailed;
    const NamedList lists[2] = {{"models", &lib.modelList}, {"materials", &lib.materialList}};
    std::string dir;
    std::vector<std::string> failed;
    if (cli.option("--thumbnails", dir) && !writeThumbnails(cli, lists, dir, failed)) return kExitFailed;
    if (cli.flag("--json"))
        printJson(lists);
    else
        printPlain(lists);
    if (failed.empty()) return kExitOk;
    std::string names;
    for (const std::string& n : failed) names += " " + printableName(n);
    fail("orxsim: thumbnails not written:" + names);
    return kExitPartly;
}

int removeCommand(Cli& cli)
{
    if (cli.args.size() != 2) return usage("library rm takes one file name");
    const std::string& name = cli.args[1];
    LibraryConfig cfg;
    if (!libraryConfigOf(cli, cfg)) return kExitFailed;
    std::unique_ptr<Library> library = connectLibrary(cli.ws, cfg);
    if (!library) {
        showLibraryStartFailure(cli.ws);
        return kExitFailed;
    }
    if (!deleteWithCompanion(*library, name))
        return fail(langFormat(cli.ws, Msg::LibDeleteFailed, name.c_str(), library->lastError().c_str()));
    return kExitOk;
}

struct LibrarySubcommand {
    const char* name;
    int (*run)(Cli&);
};

const LibrarySubcommand kSubcommands[] = {
    {"list", listCommand},
    {"rm", removeCommand},
};

}  // namespace

int libraryCommand(Cli& cli)
{
    if (cli.args.empty()) return usage("library takes list or rm");
    for (const LibrarySubcommand& s : kSubcommands)
        if (cli.args[0] == s.name) return s.run(cli);
    return usage(("unknown library command " + cli.args[0]).c_str());
}

}  // namespace orx
