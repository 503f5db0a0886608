// Files on disk: names, whole reads, input streams and atomic writes.
#include "fileIo.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>

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

namespace {

// ---- temp files removed on an interrupt
//
// A signal handler may only read plain memory and call the few functions
// that are safe there (unlink among them), so the names of the temp files
// alive in the process sit in fixed slots, claimed and released with
// atomics. The list belongs to the process, not to a workspace: a signal
// does not know which workspace it interrupted.

constexpr int kTempSlots = 64;
constexpr int kSlotFree = 0, kSlotClaimed = 1, kSlotLive = 2;

struct TempSlot {
    std::atomic<int> state{kSlotFree};
    char path[PATH_MAX];
};

TempSlot gTempSlots[kTempSlots];

constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};

void removeTempFilesAndDie(int sig)
{
    for (TempSlot& slot : gTempSlots)
        if (slot.state.load(std::memory_order_acquire) == kSlotLive) ::unlink(slot.path);
    // The default action, taken as soon as this handler returns: the
    // process ends by the signal, as it would have without us.
    struct sigaction dfl = {};
    dfl.sa_handler = SIG_DFL;
    ::sigaction(sig, &dfl, nullptr);
    ::raise(sig);
}

// Only signals that would end the process anyway are taken over: a program
// with handlers of its own (or one started to ignore them) keeps them.
// Asked at every new file, so a default action set again later is covered.
void installInterruptCleanup()
{
    for (int sig : kCleanupSignals) {
        struct sigaction old = {};
        if (::sigaction(sig, nullptr, &old) != 0) continue;
        if ((old.sa_flags & SA_SIGINFO) || old.sa_handler != SIG_DFL) continue;
        struct sigaction cleanup = {};
        cleanup.sa_handler = removeTempFilesAndDie;
        sigemptyset(&cleanup.sa_mask);
        cleanup.sa_flags = SA_RESTART;
        ::sigaction(sig, &cleanup, nullptr);
    }
}

int claimTempSlot(const std::string& path)
{
    if (path.size() >= PATH_MAX) return -1;
    for (int i = 0; i < kTempSlots; ++i) {
        int expected = kSlotFree;
        if (!gTempSlots[i].state.compare_exchange_strong(expected, kSlotClaimed)) continue;
        std::memcpy(gTempSlots[i].path, path.c_str(), path.size() + 1);
        gTempSlots[i].state.store(kSlotLive, std::memory_order_release);
        return i;
    }
    return -1;  // every slot taken: this file is only removed the ordinary way
}

void releaseTempSlot(int& slot)
{
    if (slot >= 0) gTempSlots[slot].state.store(kSlotFree, std::memory_order_release);
    slot = -1;
}

// ---- the temp file beside a target

// A link is followed to the file it names, so that the link stays.
std::string followLink(std::string target)
{
    struct stat st;
    if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
    char* real = ::realpath(target.c_str(), nullptr);
    if (!real) return target;  // a dangling link is replaced like a missing file
    std::string resolved = real;
    std::free(real);
    return resolved;
}

// NAME.orxtmp-XXXXXX beside the target, NAME cut so that the temp name
// stays within the 255 bytes a file name may have. The new file has the
// mode 0666 less the umask, as any file the user creates.
int createTempBeside(const std::string& target, std::string& temp)
{
    static constexpr char kTag[] = ".orxtmp-";
    static constexpr size_t kRandom = 6;
    const size_t slash = target.find_last_of('/');
    const size_t leafStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t leafRoom = NAME_MAX - (sizeof kTag - 1) - kRandom;
    const std::string stem =
        target.substr(0, leafStart) + target.substr(leafStart, std::min(target.size() - leafStart, leafRoom)) + kTag;
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned char noise[kRandom];
        if (::getrandom(noise, sizeof noise, 0) != ssize_t(sizeof noise)) {
            const uint64_t t = uint64_t(::getpid()) * 2654435761u + uint64_t(attempt) * 40503u + uint64_t(::time(nullptr));
            for (size_t i = 0; i < kRandom; ++i) noise[i] = uint8_t(t >> (8 * i));
        }
        temp = stem;
        for (unsigned char n : noise) temp += kLetters[n % (sizeof kLetters - 1)];
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// The replacement keeps what the user set on the old file. Another owner
// can only be given by a privileged user; the group where we belong to it.
void keepModeAndOwner(int fd, const struct stat& old)
{
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
        if (::fchown(fd, old.st_uid, old.st_gid) != 0 && ::fchown(fd, uid_t(-1), old.st_gid) != 0) {
            // Neither: the file is the saving user's, which is all we can do.
        }
    }
    ::fchmod(fd, old.st_mode & 07777);
}

}  // namespace

AtomicFile::AtomicFile(std::string target) : target_(followLink(std::move(target)))
{
    struct stat old;
    const bool replacing = ::stat(target_.c_str(), &old) == 0;
    replacing_ = replacing;
    if (replacing && !S_ISREG(old.st_mode)) {
        // A device, a FIFO or a folder is no file to replace: a plain file
        // renamed over it would take its place.
        failWith(S_ISDIR(old.st_mode) ? EISDIR : EINVAL);
        return;
    }
    installInterruptCleanup();
    const int fd = createTempBeside(target_, temp_);
    if (fd < 0) {
        failWith(errno);
        temp_.clear();
        return;
    }
    slot_ = claimTempSlot(temp_);
    if (replacing) keepModeAndOwner(fd, old);
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
        failWith(errno);
        ::close(fd);
        abandon();
    }
}

AtomicFile::~AtomicFile() { abandon(); }

void AtomicFile::failWith(int error)
{
    if (failed_) return;
    error_ = error ? error : EIO;
    failed_ = true;
}

bool AtomicFile::write(const void* data, size_t n)
{
    if (!ok() || finished_) return false;
    if (n && std::fwrite(data, 1, n, file_) != n) failWith(errno);
    return !failed_;
}

bool AtomicFile::finish()
{
    if (finished_) return !failed_;
    if (!file_) return false;
    if (std::fflush(file_) != 0) failWith(errno);
    if (std::fclose(file_) != 0) failWith(errno);
    file_ = nullptr;
    finished_ = true;
    if (failed_) abandon();
    return !failed_;
}

bool AtomicFile::commit()
{
    if (!finish() || temp_.empty()) return false;
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        failWith(errno);
        abandon();
        return false;
    }
    releaseTempSlot(slot_);
    temp_.clear();
    return true;
}

void AtomicFile::abandon()
{
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    releaseTempSlot(slot_);
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
}

bool AtomicFile::placeKeepingOld()
{
    if (!finish() || temp_.empty()) return false;
    // Exchanged, the temp name holds the old file until the set is in.
    if (::renameat2(AT_FDCWD, temp_.c_str(), AT_FDCWD, target_.c_str(), RENAME_EXCHANGE) == 0) {
        placed_ = Placed::Swapped;
        return true;
    }
    // No old file, or a file system that cannot exchange: a plain rename,
    // which can only be undone when there was nothing to replace.
    if (errno != ENOENT && errno != EINVAL && errno != ENOSYS) {
        failWith(errno);
        return false;
    }
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        failWith(errno);
        return false;
    }
    placed_ = Placed::Renamed;
    if (replacing_) temp_.clear();
    return true;
}

void AtomicFile::putBack()
{
    if (placed_ == Placed::Swapped)
        ::renameat2(AT_FDCWD, temp_.c_str(), AT_FDCWD, target_.c_str(), RENAME_EXCHANGE);
    else if (placed_ == Placed::Renamed && !temp_.empty())
        ::rename(target_.c_str(), temp_.c_str());
    placed_ = Placed::No;
}

bool commitTogether(std::initializer_list<AtomicFile*> files)
{
    bool complete = true;
    for (AtomicFile* f : files) complete = f->finish() && complete;
    std::vector<AtomicFile*> placed;
    for (AtomicFile* f : files) {
        if (!complete) break;
        complete = f->placeKeepingOld();
        if (complete) placed.push_back(f);
    }
    if (!complete)
        for (auto it = placed.rbegin(); it != placed.rend(); ++it) (*it)->putBack();
    // The temp names now hold the old files (or, put back, the new ones).
    for (AtomicFile* f : files) {
        if (complete && f->placed_ == AtomicFile::Placed::Renamed) f->temp_.clear();
        f->abandon();
    }
    return complete;
}

bool writeFileAtomically(const std::string& path, const void* data, size_t n)
{
    AtomicFile f(path);
    f.write(data, n);
    return f.commit();
}

}  // namespace orx
