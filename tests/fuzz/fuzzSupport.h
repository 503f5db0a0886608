// Shared by the file-reader harnesses: the fuzz input taken apart into
// files, an in-memory FileSource that serves them, one workspace started
// once per process and reset before every run, and the checks every reader
// must pass whatever the bytes.
//
// A harness is a file of its own: it names the files its reader needs,
// builds its seeds, and states what a successful read must have produced.
// A failed read must leave the workspace as it was and say why in one
// message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "workspace/fileIo.h"
#include "workspace/workspace.h"

namespace orx::fuzz {

// ---- the input

// Reads the fuzz input front to back: single bytes, 32-bit numbers, parts
// (a 16-bit little-endian length, then that many bytes, fewer when the
// input ends early) and the rest. Past the end everything reads as zero or
// empty, so every input is a valid one.
class InputReader {
public:
    InputReader(const uint8_t* data, size_t n) : p_(data), n_(n) {}
    uint8_t byte();
    int32_t int32();
    std::string part();
    std::string rest();

private:
    const uint8_t* p_;
    size_t n_;
};

// Writes inputs in the layout InputReader takes apart (for the seeds).
class InputWriter {
public:
    InputWriter& byte(uint8_t v);
    InputWriter& int32(int32_t v);
    InputWriter& part(const std::string& bytes);
    InputWriter& rest(const std::string& bytes);
    const std::string& bytes() const { return out_; }

private:
    std::string out_;
};

// ---- files in memory

// The files of one run. Local files report their size and seek anywhere;
// in streaming mode the streams behave like a remote library's: no size,
// and seeks only forward.
class MemoryFiles : public FileSource {
public:
    void clear() { files_.clear(); }
    void put(const std::string& name, std::string bytes);
    void setStreaming(bool on) { streaming_ = on; }

    std::unique_ptr<InStream> open(const std::string& name) override;
    std::vector<std::string> listFolder(const std::string& folder) override;

private:
    std::map<std::string, std::shared_ptr<const std::string>> files_;
    bool streaming_ = false;
};

// ---- the workspace

// Counts the messages instead of showing them.
class CountingPlatform : public Platform {
public:
    int messages = 0;
    std::string last;
    void message(const std::string& text, Icon) override
    {
        ++messages;
        last = text;
    }
    void beep() override {}
    bool askYesNo(const std::string&) override { return false; }
    std::string chooseOpenFile(const std::string&, const std::string&) override { return {}; }
    std::string chooseSaveFile(const std::string&, const std::string&) override { return {}; }
    void waitCursor(bool) override {}
    bool stopRequested() override { return false; }
    void status(const std::string&, Rgb) override {}
    void redraw(const Rect*) override {}
};

// What the workspace holds when a run starts: no image (as just after
// start-up) or a small patterned image with a patterned mask.
struct Baseline {
    bool loaded = false;
    int32_t width = 0, height = 0;
    bool maskVisible = false;
};

// Four bits of an input byte: bit 0 an image is loaded, bits 1-2 its size
// (1 x 1, 8 x 6, 9 x 2, 70 x 60), bit 3 its mask is shown.
Baseline baselineFrom(uint8_t bits);
constexpr uint8_t kBaselineNone = 0;
constexpr uint8_t kBaseline8x6 = 0b0011;
constexpr uint8_t kBaseline8x6Shown = 0b1011;
constexpr uint8_t kBaseline70x60 = 0b0111;

// The one workspace of the process: an image block of 16,000,000 bytes,
// English texts, a counting platform.
Workspace& fuzzWorkspace();
CountingPlatform& fuzzPlatform();
// The files of the current run.
MemoryFiles& fuzzFiles();

// Puts the workspace into the baseline state before a run: the block bytes
// the previous run could have written are refilled with a marker, the
// planes, mesh, header and names set to known contents, the message count
// zeroed. inputBytes bounds what this run can write.
void beginRun(const Baseline& b, size_t inputBytes);

// After a run that may have written the block beyond what its input
// describes (a stream that cannot tell its size, read bottom row first):
// the first `bytes` of the block are refilled before the next run.
void noteBlockWritten(uint64_t bytes);

// The parts of the workspace a failed read must not change.
struct Snapshot {
    int32_t width = 0, height = 0, imageLoaded = 0, maskVisible = 0, tempInMemory = 0;
    int32_t meshColumns = 0, meshRows = 0;
    uint64_t rowBytes = 0;
    const uint8_t *image = nullptr, *secondImage = nullptr, *mask = nullptr, *maskBackup = nullptr,
                  *tempImage = nullptr;
    std::vector<uint8_t> imageBytes, secondBytes, maskBytes, tempBytes;
    std::vector<MeshPoint> object, material;
    uint8_t header[kHeaderBytes] = {};
    int16_t modelArea[4] = {};
    std::string fileName, modelPath;
};
Snapshot snapshot(const Workspace& ws);
bool unchanged(const Workspace& ws, const Snapshot& before);

// A plane outside the block, of the size the readers promise to stay
// within, for the readers that take a destination. Its bytes hold a marker
// except where a run wrote.
class SparePlane {
public:
    explicit SparePlane(uint64_t bytes) : bytes_(bytes), data_(new uint8_t[bytes]) { refill(bytes); }
    uint8_t* data() { return data_.get(); }
    uint64_t size() const { return bytes_; }
    // The first n bytes still hold the marker.
    bool untouched(uint64_t n) const;
    void refill(uint64_t n);

private:
    uint64_t bytes_;
    std::unique_ptr<uint8_t[]> data_;
};

// ---- checks

[[noreturn]] void checkFailed(const char* what, const char* file, int line);
#define ORX_FUZZ_CHECK(cond) ((cond) ? void() : ::orx::fuzz::checkFailed(#cond, __FILE__, __LINE__))

// What every picture reader leaves after a success: a loaded image that
// fits the block, the planes laid out for it, and a mask of 0 and 255 (all
// 0 while it is hidden).
void checkLoadedPicture(const Workspace& ws);

// The failure rule: exactly one message (none where allowSilent) and the
// workspace as it was.
void checkRefused(const Workspace& ws, const Snapshot& before, bool allowSilent = false);

// The failure rule for streams that cannot tell their size. Such a stream
// is trusted until a read comes up short, so pixels read before that may
// have landed in the planes; one message, and the image's size, planes,
// flags and names stay.
void checkRefusedStreaming(const Workspace& ws, const Snapshot& before);

// The bit of pixel x in row y of a packed mask of width w (most
// significant bit first); false beyond the bytes given.
bool packedBit(const std::string& packed, int32_t w, int32_t x, int32_t y);

// Little-endian numbers out of a byte string (0 beyond its end).
uint32_t le32At(const std::string& s, size_t offset);
uint16_t le16At(const std::string& s, size_t offset);

// ---- seeds

// When ORX_FUZZ_SEEDS names a folder, writes each seed there as its own
// file and ends the process; otherwise returns.
void writeSeedsIfAsked(const std::vector<std::string>& seeds);

// Every harness writes its seeds at start-up when ORX_FUZZ_SEEDS asks.
#define ORX_FUZZ_SEEDS(makeSeeds)                                   \
    extern "C" int LLVMFuzzerInitialize(int*, char***)              \
    {                                                               \
        orx::fuzz::writeSeedsIfAsked(makeSeeds());                  \
        return 0;                                                   \
    }

// The text of a companion: "W H" and the zero bytes up to 30.
std::string companionText(int32_t w, int32_t h, const char* tail = "");
// A patterned byte string.
std::string patternBytes(size_t n, uint8_t seed);

}  // namespace orx::fuzz
