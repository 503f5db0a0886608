// orxsim: the system's jobs without a window.
//
//   orxsim info FILE
//   orxsim convert IN OUT [--area X0,Y0,X1,Y1] [--quality Q]
//   orxsim scan --list [--json] | scan [...] -o OUT
//   orxsim dress MODEL --material MAT [...] -o OUT
//   orxsim show SCRIPT [--frames DIR [--view WxH] [--full]] [--loops N] [...]
//   orxsim sample-library DIR
//   orxsim library list|rm ...
//   orxsim batch MANIFEST -o DIR [--jobs N] [--shard I/N] [--format bmp|rgb]
//   orxsim automask|recolour|colourways IN ... -o OUT
//
// Exit status 0 on success, 1 when the job failed (the reason on stderr),
// 2 for a command line that cannot be understood.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "engine/mesh.h"
#include "workspace/bitmapFile.h"
#include "workspace/containerFile.h"
#include "workspace/fileKinds.h"
#include "workspace/langText.h"
#include "workspace/maskOps.h"
#include "workspace/nativeFile.h"
#include "workspace/pictureFile.h"
#include "workspace/workspace.h"
#include "cli.h"

using namespace orx;

namespace {

const char kUsage[] =
    "usage: orxsim info FILE\n"
    "       orxsim convert IN OUT [--area X0,Y0,X1,Y1] [--quality Q]\n"
    "       orxsim dress MODEL.MDL --material MAT.CLO [--layout normal|horizontal|vertical]\n"
    "                    [--contrast C] [--soft] [--reflection] [--library URL] -o OUT\n"
    "       orxsim show SCRIPT.MMP [--frames DIR [--view WxH] [--full]] [--loops N]\n"
    "                   [--material MAT.CLO] [dress's other options]\n"
    "       orxsim sample-library DIR\n"
    "       orxsim library list [--library URL] [--json] [--thumbnails DIR]\n"
    "       orxsim library rm NAME [--library URL]\n"
    "       orxsim batch MANIFEST -o DIR [--jobs N] [--shard I/N] [--format bmp|rgb]\n"
    "       orxsim scan --list [--json]\n"
    "       orxsim scan [--device D] [--resolution DPI] [--area X0,Y0,X1,Y1] [--as colour|grey|bw]\n"
    "                   [--option NAME=VALUE]... [--preview] -o OUT\n"
    "       orxsim automask IN --hue L --saturation L --value L [--area X0,Y0,X1,Y1] -o OUT\n"
    "       orxsim recolour IN --curves FILE [--hsv] [--area X0,Y0,X1,Y1] [--mask M.MSK] -o OUT\n"
    "       orxsim colourways IN --colours RRGGBB,RRGGBB[,...] [--way K] -o OUT\n";

}  // namespace

// A command line that cannot be understood gets one line saying why; the
// whole usage only when no command was given at all.
int orx::usage(const char* why)
{
    if (why)
        std::fprintf(stderr, "orxsim: %s (orxsim --help shows the usage)\n", why);
    else
        std::fputs(kUsage, stderr);
    return kExitUsage;
}

int orx::fail(const std::string& text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
    return kExitFailed;
}

bool Cli::start()
{
    ws.platform = &console;
    // A command-line tool speaks English unless ORX10.CFG says otherwise.
    ws.screenLanguage = LangEnglish;
    if (fileExists("ORX10.CFG")) readScreenLanguage(ws);
    return startWorkspace(ws);
}

bool Cli::option(const char* name, std::string& value) const
{
    for (size_t i = 0; i + 1 < options.size(); i += 2)
        if (options[i] == name) {
            value = options[i + 1];
            return true;
        }
    return false;
}

bool Cli::flag(const char* name) const
{
    std::string v;
    return option(name, v);
}

namespace {

// ---- info

// A kind whose size the file-kind table reads: its kind, width and height.
int infoSized(Cli& cli, const std::string& name, const FileKindInfo& kind)
{
    int32_t w = 0, h = 0;
    switch (kind.size(localFiles(), name, w, h)) {
    case SizeRead::Missing: {
        // A raw file's size lives in its companion, which is what is missing.
        const std::string missing = kind.companion ? companionOf(name, kind.kind) : name;
        return fail(langFormat(cli.ws, Msg::CantOpenFile, missing.c_str()));
    }
    case SizeRead::Invalid:
        return fail(langFormat(cli.ws, kind.companion ? Msg::FileBadSize : Msg::FileBadHeader, name.c_str()));
    case SizeRead::Ok: break;
    }
    std::printf("{\"kind\": %s, \"width\": %d, \"height\": %d}\n", jsonString(kind.extension).c_str(), w, h);
    return 0;
}

int infoContainer(Cli& cli, const std::string& name, FileKind kind)
{
    auto in = localFiles().open(name);
    if (!in) return fail(langFormat(cli.ws, Msg::CantOpenFile, name.c_str()));
    FileHeader fh;
    if (!in->readExact(fh.raw, kHeaderBytes)) return fail(langFormat(cli.ws, Msg::FileTruncated, name.c_str()));
    parseContainerHeader(fh);
    if (const std::optional<Msg> fault = containerHeaderFault(fh, in->size()))
        return fail(langFormat(cli.ws, *fault, name.c_str()));
    std::printf("{\"kind\": %s, \"width\": %d, \"height\": %d", jsonString(fileKindName(kind)).c_str(), fh.width,
                fh.height);
    if (kind == FileKind::MDL)
        std::printf(", \"area\": [%d, %d, %d, %d]", fh.area[0], fh.area[1], fh.area[2], fh.area[3]);
    std::printf(", \"pixelOffset\": %u}\n", fh.pixelOffset);
    return 0;
}

int infoMap(Cli& cli, const std::string& name)
{
    if (!loadMapFile(cli.ws, name)) return kExitFailed;
    // A mesh's width and height: the extent of its points.
    int64_t w = 0, h = 0;
    for (const MeshPoint* mesh : {cli.ws.Cpoint1.get(), cli.ws.Cpoint2.get()})
        for (int i = 0; i < meshPointCount(cli.ws); ++i) {
            w = std::max(w, int64_t(mesh[i].x) + 1);
            h = std::max(h, int64_t(mesh[i].y) + 1);
        }
    std::printf("{\"kind\": \"MAP\", \"width\": %lld, \"height\": %lld, \"columns\": %d, \"rows\": %d}\n",
                (long long)w, (long long)h,
                cli.ws.meshColumns, cli.ws.meshRows);
    return 0;
}

// A picture from another program: the size it opens at (upright), how it
// is stored, and the format its bytes announce.
int infoPicture(Cli& cli, const std::string& name, const FileKindInfo& kind)
{
    if (!fileExists(name)) return fail(langFormat(cli.ws, Msg::CantOpenFile, name.c_str()));
    PictureProbe probe;
    std::string why;
    if (!probePicture(localFiles(), name, probe, why))
        return fail(langFormat(cli.ws, Msg::PictureUnreadable, name.c_str(), why.c_str()));
    std::printf("{\"kind\": %s, \"format\": %s, \"width\": %d, \"height\": %d, \"orientation\": %d}\n",
                jsonString(fileKindName(kind.kind)).c_str(), jsonString(pictureFormatName(probe.format)).c_str(),
                probe.width, probe.height, probe.orientation);
    return 0;
}

int infoCommand(Cli& cli)
{
    if (cli.args.size() != 1) return usage("info takes one file");
    const std::string& name = cli.args[0];
    const FileKindInfo& kind = fileKindOf(name);
    if (kind.family == KindFamily::Container) return infoContainer(cli, name, kind.kind);
    if (kind.family == KindFamily::Mesh) return infoMap(cli, name);
    // Bitmaps keep their short answer: they are never stored turned.
    if (kind.family == KindFamily::Picture && kind.kind != FileKind::BMP) return infoPicture(cli, name, kind);
    if (kind.size) return infoSized(cli, name, kind);
    return fail("orxsim: " + name + ": not a picture or mesh file (" + openableKinds() + ", " + fileKindName(FileKind::MAP) + ")");
}

// ---- convert

bool parseArea(const std::string& text, int area[4])
{
    return std::sscanf(text.c_str(), "%d,%d,%d,%d", &area[0], &area[1], &area[2], &area[3]) == 4;
}

int convertCommand(Cli& cli)
{
    if (cli.args.size() != 2) return usage("convert takes an input and an output file");
    const std::string& in = cli.args[0];
    const std::string& out = cli.args[1];
    const FileKindInfo& from = fileKindOf(in);
    const FileKindInfo& to = fileKindOf(out);
    if (!from.open) return fail("orxsim: " + in + ": not a picture file (" + openableKinds() + ")");
    if (!to.save) return fail("orxsim: " + out + ": can not write this kind (" + savableKinds() + ")");

    std::string areaText;
    const bool hasArea = cli.option("--area", areaText);
    int area[4] = {};
    if (hasArea && !parseArea(areaText, area)) return usage("--area takes X0,Y0,X1,Y1");

    Workspace& ws = cli.ws;
    if (std::string quality; cli.option("--quality", quality)) {
        char* end = nullptr;
        const long q = std::strtol(quality.c_str(), &end, 10);
        if (quality.empty() || *end || q < 1 || q > 100) return usage("--quality takes 1 to 100");
        if (to.kind != FileKind::JPG) return usage("--quality is for JPG output");
        ws.jpegQuality = int32_t(q);
    }
    if (!from.open(ws, in, localFiles())) return kExitFailed;

    if (from.kind == FileKind::MSK) {
        greyFromMask(ws);
    } else if (to.kind == FileKind::MSK) {
        maskFromGrey(ws);
    }
    if (to.kind == FileKind::MDL) {
        if (hasArea) {
            if (area[0] < 0 || area[1] < 0 || area[0] > area[2] || area[1] > area[3] || area[2] >= ws.imageWidth ||
                area[3] >= ws.imageHeight)
                return fail("orxsim: --area must lie inside the " + std::to_string(ws.imageWidth) + " x " +
                            std::to_string(ws.imageHeight) + " image");
            for (int i = 0; i < 4; ++i) ws.modelArea[i] = int16_t(area[i]);
        } else if (from.kind != FileKind::MDL) {
            ws.modelArea[0] = 0;
            ws.modelArea[1] = 0;
            ws.modelArea[2] = int16_t(ws.imageWidth - 1);
            ws.modelArea[3] = int16_t(ws.imageHeight - 1);
        }
        if (ws.imageWidth > 32768 || ws.imageHeight > 32768)
            return fail("orxsim: a model can not be wider or higher than 32768 pixels");
    }
    if (!to.save(ws, out)) {
        if (to.kind == FileKind::MSK) return fail(langFormat(ws, Msg::CantOpenFile, out.c_str()));
        return kExitFailed;
    }
    return 0;
}

struct Command {
    const char* name;
    int (*run)(Cli&);
};

const Command kCommands[] = {
    {"info", infoCommand},
    {"convert", convertCommand},
    {"dress", dressCommand},
    {"show", showCommand},
    {"sample-library", sampleLibraryCommand},
    {"library", libraryCommand},
    {"batch", batchCommand},
    {"scan", scanCommand},
    {"automask", autoMaskCommand},
    {"recolour", recolourCommand},
    {"colourways", colourWaysCommand},
};

// Options that take a value; every other "--x" is a flag.
const char* const kValueOptions[] = {"--area", "--material", "--layout", "--contrast", "-o",
                                     "--library", "--thumbnails", "--frames", "--view", "--loops",
                                     "--jobs", "--shard", "--format", "--quality", "--device", "--resolution",
                                     "--as", "--option",
                                     "--hue", "--saturation", "--value", "--curves", "--mask", "--colours", "--way"};

bool takesValue(const std::string& opt)
{
    for (const char* o : kValueOptions)
        if (opt == o) return true;
    return false;
}

}  // namespace

namespace {

int runOrxsim(int argc, char** argv)
{
    if (argc < 2) return usage();
    const std::string name = argv[1];
    if (name == "-h" || name == "--help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const Command* command = nullptr;
    for (const Command& c : kCommands)
        if (name == c.name) command = &c;
    if (!command) return usage(("unknown command " + name).c_str());

    Cli cli;
    for (int i = 2; i < argc; ++i) {
        std::string a = argv[i];
        if ((a.rfind("--", 0) == 0 && a.size() > 2) || a == "-o") {
            std::string value;
            if (size_t eq = a.find('='); eq != std::string::npos) {
                value = a.substr(eq + 1);
                a.resize(eq);
            } else if (takesValue(a)) {
                if (i + 1 >= argc) return usage((a + " needs a value").c_str());
                value = argv[++i];
            }
            cli.options.push_back(a);
            cli.options.push_back(value);
        } else {
            cli.args.push_back(a);
        }
    }
    // A block size that cannot be understood is a usage error like a bad
    // option: it is the command line's environment.
    uint64_t blockBytes = 0;
    std::string blockText;
    if (blockBytesSetting(blockBytes, blockText) == BlockBytesSetting::Invalid)
        return usage(("ORX_BLOCK_BYTES=" + blockText + " is not a number of bytes").c_str());
    if (!cli.start()) return kExitFailed;
    return command->run(cli);
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        return runOrxsim(argc, argv);
    } catch (const std::bad_alloc&) {
        // A job whose data outgrew the memory ends with the reason, not a crash.
        return fail(std::string("orxsim: ") + langText(LangEnglish, Msg::OutOfMemory));
    }
}
