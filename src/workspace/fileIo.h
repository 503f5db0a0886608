// Files on disk: names, whole reads, input streams and atomic writes.
//
// Every writer builds its file beside the target and renames it into place
// once complete, so a failed save leaves the old file untouched. Readers
// open files through a FileSource, which is the local file system here and
// the online library elsewhere.
#pragma once

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace orx {

std::string joinPath(const std::string& dir, const std::string& name);
// A.RGB -> A.IPR: the last three characters replaced.
std::string companionName(const std::string& name, const char* ext3);
// The extension after the last dot, in upper case ("" when none).
std::string upperExtension(const std::string& name);
std::string baseName(const std::string& path);
std::string dirName(const std::string& path);
bool fileExists(const std::string& path);
// -1 when the file cannot be stat'ed.
int64_t fileSize(const std::string& path);

// Sequential reading of one file.
class InStream {
public:
    virtual ~InStream() = default;
    // Reads up to n bytes; returns how many were read (short only at the end
    // of the file or on an error).
    virtual size_t read(void* dst, size_t n) = 0;
    // Moves forward to the absolute offset; false when that is not possible.
    virtual bool seekTo(uint64_t offset) = 0;
    // Size of the file in bytes, or -1 when the source cannot tell.
    virtual int64_t size() const = 0;

    bool readExact(void* dst, size_t n) { return read(dst, n) == n; }
};

class FileSource {
public:
    virtual ~FileSource() = default;
    // nullptr when the file cannot be opened.
    virtual std::unique_ptr<InStream> open(const std::string& name) = 0;
    // The names (without folder) of the files in a folder; empty when it
    // cannot be listed.
    virtual std::vector<std::string> listFolder(const std::string& folder) = 0;
};

// A file named inside another file (an ORX or MMP file names its masks,
// meshes and models): relative names are taken from the referring file's
// folder, absolute names stay; when the exact name is missing, a file whose
// name differs only in letter case is taken (models are often made on
// systems that ignore case). Returns the name to open.
std::string resolveNamedFile(FileSource& src, const std::string& referrer, const std::string& name);

// The local file system.
FileSource& localFiles();

// Reads a whole file of at most maxBytes; false when it cannot be opened,
// is larger than maxBytes or cannot be read.
bool readWholeFile(FileSource& src, const std::string& name, uint64_t maxBytes, std::vector<uint8_t>& out);

// A file written beside its target and renamed into place by commit().
// Dropping it uncommitted removes the partial file, and so does a SIGINT,
// SIGTERM or SIGHUP that ends the program meanwhile.
//
// A target that exists must be a regular file (a device, a FIFO or a
// folder is refused: ok() is false from the start); a symbolic link is
// followed, so the file it names is replaced and the link stays. The new
// file takes the old one's mode and, where the system allows, its owner.
class AtomicFile {
public:
    explicit AtomicFile(std::string target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool ok() const { return (file_ != nullptr || finished_) && !failed_; }
    int error() const { return error_; }  // errno of the first failure
    bool write(const void* data, size_t n);
    // Writes out and closes the new file without putting it in place yet;
    // false when any of it could not be written.
    bool finish();
    // Finishes the file and, when every write succeeded, renames it over
    // the target. False (and the target untouched) otherwise.
    bool commit();
    void abandon();

private:
    friend bool commitTogether(std::initializer_list<AtomicFile*> files);
    // Puts the finished file in place and keeps the one it replaced under
    // the temp name, so that putBack() can undo it; abandon() then removes
    // whichever of the two the temp name holds.
    bool placeKeepingOld();
    void putBack();
    void failWith(int error);

    std::string target_, temp_;
    FILE* file_ = nullptr;
    bool finished_ = false;
    bool failed_ = false;
    bool replacing_ = false;  // the target existed when the file was started
    enum class Placed { No, Swapped, Renamed } placed_ = Placed::No;
    int error_ = 0;
    int slot_ = -1;  // the temp file's entry in the interrupt clean-up list
};

// Files that belong together (a raw image and its companion) are put in
// place together: every one is finished before any is renamed in, so one
// that cannot be written leaves all the old files as they were; and when
// one cannot be renamed in, those already in place are put back.
bool commitTogether(std::initializer_list<AtomicFile*> files);

bool writeFileAtomically(const std::string& path, const void* data, size_t n);

}  // namespace orx
