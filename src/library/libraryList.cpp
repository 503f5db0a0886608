// The lists of the library, from the heads of its files.
#include "libraryList.h"

#include <cstring>

#include "workspace/containerFile.h"

namespace orx {

namespace {

// The thumbnail is the read's own buffer, taken over: a list of ten
// thousand files holds each thumbnail once.
void setEntry(LibraryEntry& e, const FileHeader& fh, std::vector<uint8_t>& bytes, size_t thumbAt)
{
    e.width = fh.width;
    e.height = fh.height;
    bytes.erase(bytes.begin(), bytes.begin() + std::ptrdiff_t(thumbAt));
    bytes.resize(kThumbBytes);
    e.thumbnail = std::move(bytes);
}

}  // namespace

int64_t containerThumbnailOffset(const FileHeader& fh, int64_t fileSize)
{
    if (fh.width <= 0 || fh.height <= 0) return -1;
    const uint64_t pixels = uint64_t(fh.width) * uint64_t(fh.height) * 3;
    const uint64_t total = kHeaderBytes + kThumbBytes + pixels;
    // The container's size fields are 32-bit: beyond them the header is garbage.
    if (total > uint64_t(INT32_MAX)) return -1;
    if (fileSize >= 0 && total > uint64_t(fileSize)) return -1;
    if (fh.pixelOffset == kHeaderBytes + kThumbBytes) return int64_t(kHeaderBytes);
    if (fh.pixelOffset == kHeaderBytes) return int64_t(kHeaderBytes + pixels);
    return -1;
}

bool describeEntries(Library& lib, const std::vector<LibraryEntry*>& entries)
{
    std::vector<RangeRead> heads(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        heads[i].name = entries[i]->name;
        heads[i].length = kLibraryHeadBytes;
    }
    lib.readRanges(heads);
    const bool headsRead = lib.lastError().empty();

    std::vector<RangeRead> tails;
    std::vector<std::pair<LibraryEntry*, FileHeader>> waiting;
    for (size_t i = 0; i < entries.size(); ++i) {
        LibraryEntry& e = *entries[i];
        e.width = e.height = 0;
        e.thumbnail.clear();
        RangeRead& head = heads[i];
        if (!head.opened || head.bytes.size() < kHeaderBytes) continue;
        FileHeader fh;
        std::memcpy(fh.raw, head.bytes.data(), kHeaderBytes);
        parseContainerHeader(fh);
        const int64_t at = containerThumbnailOffset(fh, head.fileSize);
        if (at < 0) continue;
        if (at == int64_t(kHeaderBytes)) {
            if (head.bytes.size() == kLibraryHeadBytes) setEntry(e, fh, head.bytes, kHeaderBytes);
            continue;
        }
        head.bytes = std::vector<uint8_t>();
        RangeRead tail;
        tail.name = e.name;
        tail.offset = uint64_t(at);
        tail.length = uint32_t(kThumbBytes);
        tails.push_back(std::move(tail));
        waiting.emplace_back(&e, fh);
    }
    if (!headsRead) return false;
    if (tails.empty()) return true;
    lib.readRanges(tails);
    for (size_t i = 0; i < tails.size(); ++i)
        if (tails[i].opened && tails[i].bytes.size() == kThumbBytes)
            setEntry(*waiting[i].first, waiting[i].second, tails[i].bytes, 0);
    return lib.lastError().empty();
}

bool buildLibraryList(Library& lib, const std::string& pattern, LibraryList& list)
{
    list.clear();
    std::vector<std::string> names = lib.list(pattern);
    if (!lib.lastError().empty()) return false;
    list.resize(names.size());
    std::vector<LibraryEntry*> entries;
    for (size_t i = 0; i < names.size(); ++i) {
        list[i].name = std::move(names[i]);
        entries.push_back(&list[i]);
    }
    return describeEntries(lib, entries);
}

}  // namespace orx
