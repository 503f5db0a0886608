// The online library in a local folder.
#include "folderLibrary.h"

#include <curl/curl.h>
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "libraryNames.h"
#include "workspace/langText.h"

namespace orx {

namespace {

bool isDirectory(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isRegularFile(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The folder a location names: file:// URLs decoded, anything else as it is.
std::string folderOf(const std::string& location)
{
    if (::strncasecmp(location.c_str(), "file://", 7) != 0) return location;
    std::string path;
    if (CURLU* u = curl_url()) {
        char* p = nullptr;
        if (curl_url_set(u, CURLUPART_URL, location.c_str(), 0) == CURLUE_OK &&
            curl_url_get(u, CURLUPART_PATH, &p, CURLU_URLDECODE) == CURLUE_OK && p)
            path = p;
        curl_free(p);
        curl_url_cleanup(u);
    }
    return path;
}

void readPiece(const std::string& path, RangeRead& r)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        r.opened = true;
        r.fileSize = int64_t(st.st_size);
        const uint64_t end = std::min<uint64_t>(uint64_t(st.st_size), r.offset + r.length);
        if (end > r.offset) {
            r.bytes.resize(size_t(end - r.offset));
            ssize_t got = ::pread(fd, r.bytes.data(), r.bytes.size(), off_t(r.offset));
            r.bytes.resize(got > 0 ? size_t(got) : 0);
        }
    }
    ::close(fd);
}

}  // namespace

FolderLibrary::FolderLibrary(Workspace& ws, std::string location, std::string directory)
    : ws_(ws), location_(std::move(location)), directory_(std::move(directory))
{
}

bool FolderLibrary::pathOf(const std::string& name, std::string& path, bool report)
{
    std::string leaf;
    if (!libraryFileName(name, leaf)) {
        lastError_ = langFormat(ws_, Msg::LibBadName, printableName(name).c_str());
        if (report) showLangText(ws_, lastError_);
        return false;
    }
    path = joinPath(directory_, leaf);
    return true;
}

std::unique_ptr<InStream> FolderLibrary::open(const std::string& name)
{
    lastError_.clear();
    std::string path;
    if (!pathOf(name, path, true)) return nullptr;
    return localFiles().open(path);
}

std::vector<std::string> FolderLibrary::names(bool reportBadNames, const std::string& pattern)
{
    lastError_.clear();
    std::vector<std::string> out;
    DIR* d = ::opendir(directory_.c_str());
    if (!d) {
        lastError_ = langFormat(ws_, Msg::LibFolderMissing, directory_.c_str());
        showLangMessage(ws_, Msg::LibListFailed, directory_.c_str(), lastError_.c_str());
        return out;
    }
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        if (!isPlainName(name)) {
            if (reportBadNames && wildcardMatch(pattern, name))
                showLangMessage(ws_, Msg::LibBadListedName, printableName(name).c_str());
            continue;
        }
        // Every name, folders and dangling links too, as a server lists
        // them: opening such a name fails, and its entry stays empty.
        out.push_back(name);
    }
    ::closedir(d);
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::string> FolderLibrary::listFolder(const std::string& folder)
{
    return isLibraryFolder(folder) ? names(false, "") : std::vector<std::string>();
}

std::vector<std::string> FolderLibrary::list(const std::string& pattern)
{
    std::vector<std::string> out;
    for (std::string& n : names(true, pattern))
        if (wildcardMatch(pattern, n)) out.push_back(std::move(n));
    return out;
}

bool FolderLibrary::remove(const std::string& name)
{
    lastError_.clear();
    std::string path;
    if (!pathOf(name, path, false)) return false;
    // Only files: a folder of that name stays, as on a server.
    if (!isRegularFile(path)) {
        lastError_ = printableName(name) + ": no such file";
        return false;
    }
    if (::unlink(path.c_str()) != 0) {
        lastError_ = printableName(name) + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void FolderLibrary::readRanges(std::vector<RangeRead>& reads)
{
    lastError_.clear();
    for (RangeRead& r : reads) {
        r.opened = false;
        r.fileSize = -1;
        r.bytes.clear();
        std::string path;
        if (r.length > 0 && pathOf(r.name, path, false)) readPiece(path, r);
    }
}

std::unique_ptr<FolderLibrary> openFolderLibrary(Workspace& ws, const LibraryConfig& cfg)
{
    const std::string folder = folderOf(cfg.location);
    if (folder.empty() || !isDirectory(folder)) {
        showLangMessage(ws, Msg::LibFolderMissing, (folder.empty() ? cfg.location : folder).c_str());
        return nullptr;
    }
    const std::string sub = joinPath(folder, cfg.directory);
    return std::make_unique<FolderLibrary>(ws, cfg.location, isDirectory(sub) ? sub : folder);
}

}  // namespace orx
