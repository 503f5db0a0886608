// orxsim dress: the change-material road without a window.
//
//   orxsim dress MODEL.MDL --material MAT.CLO [--layout normal|horizontal|vertical]
//                [--contrast C] [--soft] [--reflection] [--library URL] -o OUT
//
// Loads the model, lays the material over its material area in the chosen
// layout, runs the model's ORX file and writes the dressed picture by OUT's
// extension. With --library, or ORX_LIBRARY_URL set, the model, the
// material and the files its ORX file names are read from the online
// library; the picture is written locally. Exit 0 when every part mapped; 3 when some lines failed (OUT is
// written all the same, the failing lines are named on stderr); 1 when
// nothing could be dressed.
#include <cstdlib>
#include <cstring>

#include "cli.h"
#include "engine/orxScript.h"
#include "engine/repeatLayout.h"
#include "engine/dressOptions.h"
#include "engine/simulation.h"
#include "library/onlineLibrary.h"
#include "workspace/fileKinds.h"
#include "workspace/langText.h"
#include "workspace/maskOps.h"

namespace orx {

bool openRequestedLibrary(Cli& cli, std::unique_ptr<Library>& library)
{
    std::string url;
    const bool asked = cli.option("--library", url);
    const char* env = std::getenv(kLibraryUrlVariable);
    if (!asked && !(env && *env)) return true;
    LibraryConfig cfg;
    if (!readLibraryConfig(cli.ws, programDirectory(), cfg)) return false;
    if (asked) cfg.location = url;
    library = connectLibrary(cli.ws, cfg);
    if (library) return true;
    showLibraryStartFailure(cli.ws);
    return false;
}

int applyDressOptions(Cli& cli)
{
    Workspace& ws = cli.ws;
    std::string text;
    if (cli.option("--layout", text) && !repeatLayoutNamed(text, ws.repeatLayout))
        return usage("--layout is normal, horizontal or vertical");
    if (cli.option("--contrast", text) && !contrastFromText(text, ws.contrastExponent))
        return fail(langText(ws, Msg::ContrastOutOfRange));
    ws.softMapping = cli.flag("--soft") ? 1 : 0;
    ws.reflection = cli.flag("--reflection") ? 1 : 0;
    return kExitOk;
}

int dressCommand(Cli& cli)
{
    if (cli.args.size() != 1) return usage("dress takes one model file");
    std::string material, out;
    if (!cli.option("--material", material) || material.empty()) return usage("dress needs --material MAT.CLO");
    if (!cli.option("-o", out) || out.empty()) return usage("dress needs -o OUT");
    Workspace& ws = cli.ws;
    if (const int refused = applyDressOptions(cli); refused != kExitOk) return refused;

    const FileKindInfo& kind = fileKindOf(out);
    if (!kind.save) return fail("orxsim: " + out + ": can not write this kind (RGB, MSK, MDL, CLO, PRT, NIT, EMB, BMP)");

    std::unique_ptr<Library> library;
    if (!openRequestedLibrary(cli, library)) return kExitFailed;
    FileSource& src = library ? static_cast<FileSource&>(*library) : localFiles();
    const std::string& model = cli.args[0];
    if (!loadModelForDressing(ws, model, src)) return kExitFailed;
    ws.materialPath = material;
    if (!buildRepeatedMaterial(ws, src)) return kExitFailed;

    const int result = runMapping(ws, orxPathOf(model), src);
    if (result != 1 && ws.lastRunParts == 0) {
        // A run refused whole (its script unreadable, or too large) has said why.
        if (ws.lastRunFailures == 0) return kExitFailed;
        return fail("orxsim: " + model + ": no part could be dressed");
    }

    if (kind.kind == FileKind::MSK) maskFromGrey(ws);  // as orxsim convert does
    if (!kind.save(ws, out)) return kExitFailed;
    if (result == 1) return kExitOk;
    std::fprintf(stderr, "orxsim: %d part(s) dressed, %d line(s) of %s failed\n", ws.lastRunParts,
                 ws.lastRunFailures, orxPathOf(model).c_str());
    return kExitPartly;
}

}  // namespace orx
