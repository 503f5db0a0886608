// Files on disk: names, whole reads, input streams and atomic writes.
#include "fileIo.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orx {

std::string joinPath(const std::string& dir, const std::string& name)
{
    if (dir.empty()) return name;
    if (!name.empty() && name[0] == '/') return name;
    if (dir.back() == '/') return dir + name;
    return dir + "/" + name;
}

std::string companionName(const std::string& name, const char* ext3)
{
    std::string out = name;
    if (out.size() < 3) return out + ext3;
    out.replace(out.size() - 3, 3, ext3);
    return out;
}

std::string upperExtension(const std::string& name)
{
    size_t slash = name.find_last_of('/');
    size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = name.substr(dot + 1);
    for (char& c : ext) c = char(std::toupper(static_cast<unsigned char>(c)));
    return ext;
}

std::string baseName(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string dirName(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool fileExists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

int64_t fileSize(const std::string& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return int64_t(st.st_size);
}

namespace {

class LocalStream : public InStream {
public:
    explicit LocalStream(FILE* f) : f_(f)
    {
        struct stat st;
        size_ = ::fstat(::fileno(f), &st) == 0 && S_ISREG(st.st_mode) ? int64_t(st.st_size) : -1;
    }
    ~LocalStream() override { std::fclose(f_); }
    size_t read(void* dst, size_t n) override { return n == 0 ? 0 : std::fread(dst, 1, n, f_); }
    bool seekTo(uint64_t offset) override
    {
        if (size_ >= 0 && offset > uint64_t(size_)) return false;
        return ::fseeko(f_, off_t(offset), SEEK_SET) == 0;
    }
    int64_t size() const override { return size_; }

private:
    FILE* f_;
    int64_t size_;
};

class LocalFiles : public FileSource {
public:
    std::unique_ptr<InStream> open(const std::string& name) override
    {
        struct stat st;
        if (::stat(name.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
        FILE* f = std::fopen(name.c_str(), "rb");
        if (!f) return nullptr;
        return std::make_unique<LocalStream>(f);
    }

    std::vector<std::string> listFolder(const std::string& folder) override
    {
        std::vector<std::string> names;
        DIR* d = ::opendir(folder.empty() ? "." : folder.c_str());
        if (!d) return names;
        while (const dirent* e = ::readdir(d))
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) names.emplace_back(e->d_name);
        ::closedir(d);
        return names;
    }
};

}  // namespace

FileSource& localFiles()
{
    static LocalFiles files;
    return files;
}

std::string resolveNamedFile(FileSource& src, const std::string& referrer, const std::string& name)
{
    // Names written on other systems may use backslashes.
    std::string n = name;
    for (char& c : n)
        if (c == '\\') c = '/';
    const std::string path = (!n.empty() && n[0] == '/') ? n : joinPath(dirName(referrer), n);
    if (src.open(path)) return path;
    const std::string folder = dirName(path), leaf = baseName(path);
    for (const std::string& candidate : src.listFolder(folder))
        if (::strcasecmp(candidate.c_str(), leaf.c_str()) == 0) return joinPath(folder, candidate);
    return path;
}

bool readWholeFile(FileSource& src, const std::string& name, uint64_t maxBytes, std::vector<uint8_t>& out)
{
    auto in = src.open(name);
    if (!in) return false;
    out.clear();
    if (in->size() >= 0) {
        if (uint64_t(in->size()) > maxBytes) return false;
        out.resize(size_t(in->size()));
        return in->readExact(out.data(), out.size());
    }
    uint8_t chunk[65536];
    for (;;) {
        size_t n = in->read(chunk, sizeof chunk);
        if (n == 0) break;
        if (out.size() + n > maxBytes) return false;
        out.insert(out.end(), chunk, chunk + n);
    }
    return true;
}

AtomicFile::AtomicFile(std::string target) : target_(std::move(target))
{
    temp_ = target_ + ".orxtmp-XXXXXX";
    int fd = ::mkstemp(temp_.data());
    if (fd < 0) {
        error_ = errno;
        failed_ = true;
        temp_.clear();
        return;
    }
    // mkstemp makes the file 0600; a saved picture should be as readable as
    // any file the user creates.
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        error_ = errno;
        failed_ = true;
        ::close(fd);
        ::unlink(temp_.c_str());
        temp_.clear();
    }
}

AtomicFile::~AtomicFile() { abandon(); }

bool AtomicFile::write(const void* data, size_t n)
{
    if (!ok()) return false;
    if (n && std::fwrite(data, 1, n, file_) != n) {
        error_ = errno ? errno : EIO;
        failed_ = true;
    }
    return !failed_;
}

bool AtomicFile::commit()
{
    if (!file_) return false;
    if (std::fflush(file_) != 0 && !failed_) {
        error_ = errno;
        failed_ = true;
    }
    if (std::fclose(file_) != 0 && !failed_) {
        error_ = errno;
        failed_ = true;
    }
    file_ = nullptr;
    if (failed_ || ::rename(temp_.c_str(), target_.c_str()) != 0) {
        if (!failed_) error_ = errno;
        failed_ = true;
        ::unlink(temp_.c_str());
        temp_.clear();
        return false;
    }
    temp_.clear();
    return true;
}

void AtomicFile::abandon()
{
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
}

bool writeFileAtomically(const std::string& path, const void* data, size_t n)
{
    AtomicFile f(path);
    f.write(data, n);
    return f.commit();
}

}  // namespace orx
