// Where the program's own files go.
#include "filePlaces.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "fileIo.h"

namespace orx {

namespace {

constexpr char kProgramFolder[] = "orxweb";

bool writableFolder(const std::string& dir)
{
    std::error_code ec;
    return std::filesystem::is_directory(dir, ec) && ::access(dir.c_str(), W_OK | X_OK) == 0;
}

std::string homeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    const passwd* pw = ::getpwuid(::getuid());
    return pw && pw->pw_dir ? pw->pw_dir : "/tmp";
}

// $VARIABLE/orxweb when the variable holds an absolute path (relative ones
// are to be ignored), else ~/FALLBACK/orxweb; made, private to the user,
// when missing.
std::string userFolder(const char* variable, const char* fallback)
{
    const char* set = std::getenv(variable);
    const std::string base = set && set[0] == '/' ? std::string(set) : joinPath(homeFolder(), fallback);
    const std::string dir = joinPath(base, kProgramFolder);
    std::error_code ec;
    if (std::filesystem::create_directories(dir, ec))
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all, ec);
    return dir;
}

std::string inFolder(const std::string& dir, const Workspace& ws, const std::string& name)
{
    return joinPath(dir.empty() ? ws.VLX98DIR : dir, name);
}

}  // namespace

FilePlaces chooseFilePlaces(const std::string& programDir)
{
    if (!programDir.empty() && writableFolder(programDir)) return {programDir, programDir};
    return {userFolder("XDG_CONFIG_HOME", ".config"), userFolder("XDG_STATE_HOME", ".local/state")};
}

void setFilePlaces(Workspace& ws, const std::string& programDir)
{
    FilePlaces places = chooseFilePlaces(programDir);
    ws.configDir = std::move(places.config);
    ws.stateDir = std::move(places.state);
}

std::string configFile(const Workspace& ws, const std::string& name) { return inFolder(ws.configDir, ws, name); }
std::string stateFile(const Workspace& ws, const std::string& name) { return inFolder(ws.stateDir, ws, name); }

}  // namespace orx
