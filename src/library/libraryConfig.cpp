// Where the online library is: ORXLIB.CFG, ORX_LIBRARY_URL and the bundled
// sample library.
#include "libraryConfig.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include "libraryNames.h"
#include "workspace/fileIo.h"
#include "workspace/langText.h"

namespace orx {

namespace {

bool startsWithNoCase(const std::string& s, const char* prefix)
{
    return ::strncasecmp(s.c_str(), prefix, std::char_traits<char>::length(prefix)) == 0;
}

bool isDirectory(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string trimmed(const std::string& s)
{
    size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
    return s.substr(a, b - a);
}

bool parseCount(const std::string& text, int32_t low, int32_t high, int32_t& out)
{
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || v < low || v > high) return false;
    out = int32_t(v);
    return true;
}

bool setText(const std::string& v, std::string& out, bool mayBeEmpty)
{
    if (v.empty() && !mayBeEmpty) return false;
    out = v;
    return true;
}

// One keyword of the file and how its value is taken.
struct ConfigKey {
    const char* keyword;
    bool (*set)(LibraryConfig&, const std::string&);
};

const ConfigKey kConfigKeys[] = {
    {"URL", [](LibraryConfig& c, const std::string& v) { return setText(v, c.location, false); }},
    {"USER", [](LibraryConfig& c, const std::string& v) { return setText(v, c.user, false); }},
    {"PASSWORD", [](LibraryConfig& c, const std::string& v) { return setText(v, c.password, true); }},
    // The directory is entered by name: it must not climb out of the login folder.
    {"DIRECTORY", [](LibraryConfig& c, const std::string& v) { return isPlainName(v) && setText(v, c.directory, false); }},
    {"TIMEOUT", [](LibraryConfig& c, const std::string& v) { return parseCount(v, 1, 3600, c.timeoutSeconds); }},
    {"CONNECTIONS", [](LibraryConfig& c, const std::string& v) { return parseCount(v, 1, 16, c.connections); }},
};

bool applyLine(LibraryConfig& cfg, const std::string& line)
{
    size_t gap = line.find_first_of(" \t");
    const std::string keyword = line.substr(0, gap);
    const std::string value = gap == std::string::npos ? std::string() : trimmed(line.substr(gap));
    for (const ConfigKey& k : kConfigKeys)
        if (::strcasecmp(keyword.c_str(), k.keyword) == 0) return k.set(cfg, value);
    return false;
}

}  // namespace

LibraryKind libraryKindOf(const std::string& location)
{
    if (startsWithNoCase(location, "ftp://")) return LibraryKind::Ftp;
    if (startsWithNoCase(location, "file://")) return LibraryKind::Folder;
    if (location.find("://") != std::string::npos) return LibraryKind::Ftp;
    if (location.empty() || location[0] == '/' || location[0] == '.' || isDirectory(location))
        return LibraryKind::Folder;
    return LibraryKind::Ftp;
}

bool readLibraryConfig(Workspace& ws, const std::string& programDir, LibraryConfig& cfg)
{
    const std::string path = joinPath(programDir, kLibraryConfigFile);
    std::ifstream in(path);
    std::string line;
    for (int number = 1; in && std::getline(in, line); ++number) {
        line = trimmed(line);
        if (line.empty() || line[0] == '#') continue;
        if (!applyLine(cfg, line)) {
            showLangMessage(ws, Msg::LibConfigBad, path.c_str(), number, printableName(line).c_str());
            return false;
        }
    }
    if (const char* url = std::getenv(kLibraryUrlVariable); url && *url) cfg.location = url;
    if (cfg.location.empty()) cfg.location = bundledLibraryFolder(programDir);
    return true;
}

std::string bundledLibraryFolder(const std::string& programDir)
{
    // build/TYPE/src/cli/orxsim finds build/TYPE/sample-library.
    constexpr int kLevelsUp = 3;
    std::string dir = programDir;
    for (int level = 0; level <= kLevelsUp; ++level) {
        const std::string candidate = joinPath(dir, kBundledLibraryFolder);
        if (isDirectory(candidate)) return candidate;
        const std::string up = dirName(dir);
        if (up == dir) break;
        dir = up;
    }
    return joinPath(programDir, kBundledLibraryFolder);
}

std::string programDirectory()
{
    char buf[4096];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n > 0) return dirName(std::string(buf, size_t(n)));
    return ::getcwd(buf, sizeof buf) ? std::string(buf) : std::string(".");
}

}  // namespace orx
