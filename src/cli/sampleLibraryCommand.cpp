// orxsim sample-library DIR: writes the generated sample library (models
// with their masks, meshes and ORX files, and materials) into DIR, making
// the folder first when it is missing.
#include <filesystem>
#include <system_error>

#include "cli.h"
#include "samples/sampleLibrary.h"
#include "workspace/langText.h"

int orx::sampleLibraryCommand(Cli& cli)
{
    if (cli.args.size() != 1) return usage("sample-library takes one folder");
    const std::string& dir = cli.args[0];
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (!std::filesystem::is_directory(dir, error)) return fail(langFormat(cli.ws, Msg::SampleFolderFailed, dir.c_str()));
    return writeSampleLibrary(cli.ws, dir) ? kExitOk : kExitFailed;
}
