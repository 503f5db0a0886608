#include "fuzzSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace orx::fuzz {

// ---- the input

uint8_t InputReader::byte()
{
    if (n_ == 0) return 0;
    --n_;
    return *p_++;
}

int32_t InputReader::int32()
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t(byte()) << (8 * i);
    return int32_t(v);
}

std::string InputReader::part()
{
    size_t len = byte();
    len |= size_t(byte()) << 8;
    len = std::min(len, n_);
    std::string out(reinterpret_cast<const char*>(p_), len);
    p_ += len;
    n_ -= len;
    return out;
}

std::string InputReader::rest()
{
    std::string out(reinterpret_cast<const char*>(p_), n_);
    p_ += n_;
    n_ = 0;
    return out;
}

InputWriter& InputWriter::byte(uint8_t v)
{
    out_ += char(v);
    return *this;
}

InputWriter& InputWriter::int32(int32_t v)
{
    for (int i = 0; i < 4; ++i) byte(uint8_t(uint32_t(v) >> (8 * i)));
    return *this;
}

InputWriter& InputWriter::part(const std::string& bytes)
{
    const size_t len = std::min<size_t>(bytes.size(), 0xffff);
    byte(uint8_t(len & 0xff));
    byte(uint8_t(len >> 8));
    out_.append(bytes, 0, len);
    return *this;
}

InputWriter& InputWriter::rest(const std::string& bytes)
{
    out_ += bytes;
    return *this;
}

// ---- files in memory

namespace {

class MemoryStream : public InStream {
public:
    MemoryStream(std::shared_ptr<const std::string> bytes, bool streaming)
        : bytes_(std::move(bytes)), streaming_(streaming)
    {
    }
    size_t read(void* dst, size_t n) override
    {
        const size_t k = pos_ < bytes_->size() ? std::min(n, bytes_->size() - pos_) : 0;
        if (k) std::memcpy(dst, bytes_->data() + pos_, k);
        pos_ += k;
        return k;
    }
    bool seekTo(uint64_t offset) override
    {
        if (streaming_) {
            // A remote stream skips forward and finds out about the end
            // only when it reads there.
            if (offset < pos_) return false;
        } else if (offset > bytes_->size()) {
            return false;
        }
        pos_ = size_t(std::min<uint64_t>(offset, bytes_->size()));
        return true;
    }
    int64_t size() const override { return streaming_ ? -1 : int64_t(bytes_->size()); }

private:
    std::shared_ptr<const std::string> bytes_;
    bool streaming_;
    size_t pos_ = 0;
};

}  // namespace

void MemoryFiles::put(const std::string& name, std::string bytes)
{
    files_[name] = std::make_shared<const std::string>(std::move(bytes));
}

std::unique_ptr<InStream> MemoryFiles::open(const std::string& name)
{
    auto it = files_.find(name);
    if (it == files_.end()) return nullptr;
    return std::make_unique<MemoryStream>(it->second, streaming_);
}

std::vector<std::string> MemoryFiles::listFolder(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& [name, bytes] : files_)
        if (dirName(name) == folder) names.push_back(baseName(name));
    return names;
}

// ---- the workspace

namespace {

constexpr uint8_t kBlockMarker = 0xA5;
constexpr uint8_t kSpareMarker = 0x5C;
const char kBlockBytes[] = "16000000";

// Block bytes the previous run may have written, from the start and from
// the end (the mask reader stages a mask there before any plane moves).
uint64_t dirtyHead = 0;
uint64_t dirtyTail = 0;

const int32_t kBaselineSizes[4][2] = {{1, 1}, {8, 6}, {9, 2}, {70, 60}};

void fillBaselinePlanes(Workspace& ws)
{
    const int32_t w = ws.imageWidth, h = ws.imageHeight;
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const uint64_t i = uint64_t(y) * w + x;
            uint8_t* p = ws.image + 3 * i;
            p[0] = uint8_t(x * 7 + y);
            p[1] = uint8_t(y * 5 + x * 3);
            p[2] = uint8_t(x ^ y);
            uint8_t* s = ws.secondImage + 3 * i;
            s[0] = uint8_t(p[0] + 1), s[1] = uint8_t(p[1] + 2), s[2] = uint8_t(p[2] + 3);
            ws.mask[i] = (x + y) % 3 == 0 ? 255 : 0;
            ws.maskBackup[i] = 17;
        }
    if (ws.tempInMemory) std::memset(ws.tempImage, 0x3C, imageBytes(ws));
}

void fillBaselineMesh(Workspace& ws)
{
    ws.meshColumns = 2;
    ws.meshRows = 2;
    for (int i = 0; i < 9; ++i) {
        ws.Cpoint1[i] = {10 * i, 20 * i};
        ws.Cpoint2[i] = {1000 + i, 2000 + i};
    }
}

void refillBlock(Workspace& ws, uint64_t head, uint64_t tail)
{
    uint8_t* block = ws.block.get();
    head = std::min(head, ws.blockSize);
    tail = std::min(tail, ws.blockSize);
    std::memset(block, kBlockMarker, head);
    std::memset(block + ws.blockSize - tail, kBlockMarker, tail);
}

}  // namespace

Baseline baselineFrom(uint8_t bits)
{
    Baseline b;
    b.loaded = bits & 1;
    if (!b.loaded) return b;
    b.width = kBaselineSizes[(bits >> 1) & 3][0];
    b.height = kBaselineSizes[(bits >> 1) & 3][1];
    b.maskVisible = bits & 8;
    return b;
}

CountingPlatform& fuzzPlatform()
{
    static CountingPlatform platform;
    return platform;
}

MemoryFiles& fuzzFiles()
{
    static MemoryFiles files;
    return files;
}

Workspace& fuzzWorkspace()
{
    static Workspace ws;
    static const bool started = [] {
        ws.platform = &fuzzPlatform();
        ws.screenLanguage = LangEnglish;
        ::setenv("ORX_BLOCK_BYTES", kBlockBytes, 1);
        if (!startWorkspace(ws)) {
            std::fprintf(stderr, "the fuzz workspace did not start: %s\n", fuzzPlatform().last.c_str());
            std::abort();
        }
        refillBlock(ws, ws.blockSize, 0);
        return true;
    }();
    (void)started;
    return ws;
}

void beginRun(const Baseline& b, size_t inputBytes)
{
    Workspace& ws = fuzzWorkspace();
    refillBlock(ws, std::max(dirtyHead, 11 * pixelCount(ws)), dirtyTail);

    ws.imageLoaded = b.loaded ? 1 : 0;
    if (b.loaded) {
        layoutPlanes(ws, b.width, b.height);
        fillBaselinePlanes(ws);
    } else {
        // The state right after start-up: no planes laid out yet.
        ws.imageWidth = ws.imageHeight = 0;
        ws.imageRowBytes = 0;
        ws.image = ws.block.get();
        ws.secondImage = ws.mask = ws.maskBackup = ws.tempImage = nullptr;
        ws.tempInMemory = 0;
    }
    ws.maskVisible = b.maskVisible ? 1 : 0;
    ws.currentFileName = b.loaded ? "BASE.RGB" : "";
    ws.modelPath.clear();
    const int16_t area[4] = {1, 2, 3, 4};
    std::memcpy(ws.modelArea, area, sizeof area);
    ws.fileHeader = FileHeader{};
    std::memset(ws.fileHeader.raw, 0x11, kHeaderBytes);
    fillBaselineMesh(ws);
    fuzzPlatform().messages = 0;
    fuzzPlatform().last.clear();

    // A reader writes at most what its input describes: a mask byte is 8
    // pixels, a pixel takes 11 bytes of planes.
    const uint64_t described = 8 * uint64_t(inputBytes) + 64;
    dirtyHead = 11 * std::max<uint64_t>(described, pixelCount(ws));
    dirtyTail = described;
}

void noteBlockWritten(uint64_t bytes) { dirtyHead = std::max(dirtyHead, bytes); }

Snapshot snapshot(const Workspace& ws)
{
    Snapshot s;
    s.width = ws.imageWidth;
    s.height = ws.imageHeight;
    s.imageLoaded = ws.imageLoaded;
    s.maskVisible = ws.maskVisible;
    s.tempInMemory = ws.tempInMemory;
    s.rowBytes = ws.imageRowBytes;
    s.image = ws.image;
    s.secondImage = ws.secondImage;
    s.mask = ws.mask;
    s.maskBackup = ws.maskBackup;
    s.tempImage = ws.tempImage;
    const uint64_t n = pixelCount(ws);
    if (n) {
        s.imageBytes.assign(ws.image, ws.image + 3 * n);
        s.secondBytes.assign(ws.secondImage, ws.secondImage + 3 * n);
        s.maskBytes.assign(ws.mask, ws.mask + n);
        if (ws.tempInMemory) s.tempBytes.assign(ws.tempImage, ws.tempImage + 3 * n);
    }
    s.meshColumns = ws.meshColumns;
    s.meshRows = ws.meshRows;
    const int64_t points = (int64_t(ws.meshColumns) + 1) * (int64_t(ws.meshRows) + 1);
    s.object.assign(ws.Cpoint1.get(), ws.Cpoint1.get() + points);
    s.material.assign(ws.Cpoint2.get(), ws.Cpoint2.get() + points);
    std::memcpy(s.header, ws.fileHeader.raw, kHeaderBytes);
    std::memcpy(s.modelArea, ws.modelArea, sizeof s.modelArea);
    s.fileName = ws.currentFileName;
    s.modelPath = ws.modelPath;
    return s;
}

bool unchanged(const Workspace& ws, const Snapshot& s)
{
    auto same = [](const uint8_t* p, const std::vector<uint8_t>& v) {
        return v.empty() || std::memcmp(p, v.data(), v.size()) == 0;
    };
    auto samePoints = [](const MeshPoint* p, const std::vector<MeshPoint>& v) {
        for (size_t i = 0; i < v.size(); ++i)
            if (p[i].x != v[i].x || p[i].y != v[i].y) return false;
        return true;
    };
    return ws.imageWidth == s.width && ws.imageHeight == s.height && ws.imageLoaded == s.imageLoaded &&
           ws.maskVisible == s.maskVisible && ws.tempInMemory == s.tempInMemory && ws.imageRowBytes == s.rowBytes &&
           ws.image == s.image && ws.secondImage == s.secondImage && ws.mask == s.mask &&
           ws.maskBackup == s.maskBackup && ws.tempImage == s.tempImage && same(ws.image, s.imageBytes) &&
           same(ws.secondImage, s.secondBytes) && same(ws.mask, s.maskBytes) && same(ws.tempImage, s.tempBytes) &&
           ws.meshColumns == s.meshColumns && ws.meshRows == s.meshRows &&
           samePoints(ws.Cpoint1.get(), s.object) && samePoints(ws.Cpoint2.get(), s.material) &&
           std::memcmp(ws.fileHeader.raw, s.header, kHeaderBytes) == 0 &&
           std::memcmp(ws.modelArea, s.modelArea, sizeof s.modelArea) == 0 && ws.currentFileName == s.fileName &&
           ws.modelPath == s.modelPath;
}

bool SparePlane::untouched(uint64_t n) const
{
    n = std::min(n, bytes_);
    for (uint64_t i = 0; i < n; ++i)
        if (data_[i] != kSpareMarker) return false;
    return true;
}

void SparePlane::refill(uint64_t n) { std::memset(data_.get(), kSpareMarker, std::min(n, bytes_)); }

// ---- checks

void checkFailed(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: reader check failed: %s\n", file, line, what);
    if (!fuzzPlatform().last.empty()) std::fprintf(stderr, "last message: %s\n", fuzzPlatform().last.c_str());
    std::abort();
}

void checkLoadedPicture(const Workspace& ws)
{
    ORX_FUZZ_CHECK(ws.imageLoaded == 1);
    ORX_FUZZ_CHECK(ws.imageWidth > 0 && ws.imageHeight > 0);
    const uint64_t n = pixelCount(ws);
    ORX_FUZZ_CHECK(n <= ws.planeCapacity);
    ORX_FUZZ_CHECK(ws.imageRowBytes == uint64_t(ws.imageWidth) * 3);
    ORX_FUZZ_CHECK(ws.image == ws.block.get());
    ORX_FUZZ_CHECK(ws.secondImage == ws.image + 3 * n && ws.mask == ws.secondImage + 3 * n);
    ORX_FUZZ_CHECK(ws.maskBackup == ws.mask + n && ws.tempImage == ws.maskBackup + n);
    ORX_FUZZ_CHECK(ws.tempInMemory == (ws.blockSize >= 11 * n ? 1 : 0));
    ORX_FUZZ_CHECK(ws.maskVisible == 0 || ws.maskVisible == 1);
    for (uint64_t i = 0; i < n; ++i) {
        const uint8_t m = ws.mask[i];
        ORX_FUZZ_CHECK(m == 0 || (ws.maskVisible == 1 && m == 255));
    }
}

void checkRefused(const Workspace& ws, const Snapshot& before, bool allowSilent)
{
    const int said = fuzzPlatform().messages;
    ORX_FUZZ_CHECK(said == 1 || (allowSilent && said == 0));
    ORX_FUZZ_CHECK(unchanged(ws, before));
}

void checkRefusedStreaming(const Workspace& ws, const Snapshot& s)
{
    ORX_FUZZ_CHECK(fuzzPlatform().messages == 1);
    ORX_FUZZ_CHECK(ws.imageWidth == s.width && ws.imageHeight == s.height && ws.imageRowBytes == s.rowBytes);
    ORX_FUZZ_CHECK(ws.imageLoaded == s.imageLoaded && ws.maskVisible == s.maskVisible);
    ORX_FUZZ_CHECK(ws.image == s.image && ws.secondImage == s.secondImage && ws.mask == s.mask &&
                   ws.maskBackup == s.maskBackup && ws.tempImage == s.tempImage);
    ORX_FUZZ_CHECK(ws.currentFileName == s.fileName && ws.modelPath == s.modelPath);
    ORX_FUZZ_CHECK(std::memcmp(ws.modelArea, s.modelArea, sizeof s.modelArea) == 0);
}

bool packedBit(const std::string& packed, int32_t w, int32_t x, int32_t y)
{
    const uint64_t rowBytes = (uint64_t(w) + 7) / 8;
    const uint64_t at = uint64_t(y) * rowBytes + uint64_t(x) / 8;
    if (at >= packed.size()) return false;
    return (uint8_t(packed[at]) >> (7 - x % 8)) & 1;
}

uint32_t le32At(const std::string& s, size_t offset)
{
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i)
        if (offset + i < s.size()) v |= uint32_t(uint8_t(s[offset + i])) << (8 * i);
    return v;
}

uint16_t le16At(const std::string& s, size_t offset) { return uint16_t(le32At(s, offset) & 0xffff); }

// ---- seeds

void writeSeedsIfAsked(const std::vector<std::string>& seeds)
{
    const char* dir = std::getenv("ORX_FUZZ_SEEDS");
    if (!dir || !*dir) return;
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    int written = 0;
    for (size_t i = 0; i < seeds.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "seed-%03zu", i);
        std::ofstream out(std::filesystem::path(dir) / name, std::ios::binary | std::ios::trunc);
        out.write(seeds[i].data(), std::streamsize(seeds[i].size()));
        if (out) ++written;
    }
    std::printf("%d seeds written to %s\n", written, dir);
    std::exit(written == int(seeds.size()) ? 0 : 1);
}

std::string companionText(int32_t w, int32_t h, const char* tail)
{
    char text[kCompanionTextBytes + 1] = {};
    std::snprintf(text, sizeof text, "%d %d%s", w, h, tail);
    return std::string(text, kCompanionTextBytes);
}

std::string patternBytes(size_t n, uint8_t seed)
{
    std::string out(n, '\0');
    for (size_t i = 0; i < n; ++i) out[i] = char(uint8_t(i * 37 + seed * 11 + (i >> 7)));
    return out;
}

}  // namespace orx::fuzz
