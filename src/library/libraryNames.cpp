// Names inside the library.
#include "libraryNames.h"

#include <cctype>
#include <cstdio>
#include <fnmatch.h>

namespace orx {

namespace {

constexpr size_t kMaxNameBytes = 255;

bool isControl(unsigned char c) { return c < 0x20 || c == 0x7f; }

}  // namespace

bool isPlainName(const std::string& name)
{
    if (name.empty() || name.size() > kMaxNameBytes || name == "." || name == "..") return false;
    for (unsigned char c : name)
        if (c == '/' || c == '\\' || isControl(c)) return false;
    return true;
}

bool libraryFileName(const std::string& asked, std::string& leaf)
{
    size_t start = 0;
    while (asked.compare(start, 2, "./") == 0) start += 2;
    std::string rest = asked.substr(start);
    if (!isPlainName(rest)) return false;
    leaf = std::move(rest);
    return true;
}

bool isLibraryFolder(const std::string& folder) { return folder.empty() || folder == "." || folder == "./"; }

bool wildcardMatch(const std::string& pattern, const std::string& name)
{
    return ::fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD | FNM_NOESCAPE) == 0;
}

std::string printableName(const std::string& name)
{
    std::string out;
    for (unsigned char c : name) {
        if (isControl(c)) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02x", c);
            out += buf;
        } else {
            out += char(c);
        }
    }
    return out;
}

}  // namespace orx
