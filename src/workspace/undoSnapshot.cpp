// Undo and redo snapshot files.
//
// A snapshot file is a 40-byte text header, zero-padded ("x1 y1 x2 y2 flag"
// for the colour image, "x1 y1 x2 y2" for the mask; an inclusive rectangle),
// then the rectangle's rows: 3 bytes a pixel for the colour image, 1 for the
// mask. A colour snapshot with flag 1 holds the whole image and restores its
// size too.
#include "undoSnapshot.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fileIo.h"
#include "filePlaces.h"
#include "langText.h"

namespace orx {

namespace {

constexpr size_t kHeaderSize = 40;

struct StackInfo {
    const char* pattern;
    int32_t Workspace::*count;
    int32_t Workspace::*depth;
    int bytesPerPixel;
};

const StackInfo kStacks[] = {
    {"VLXRGB-%d.FIX", &Workspace::rgbUndoCount, &Workspace::rgbUndoDepth, 3},
    {"VLXRGBREDO-%d.FIX", &Workspace::rgbRedoCount, &Workspace::rgbRedoDepth, 3},
    {"VLXMSK-%d.FIX", &Workspace::mskUndoCount, &Workspace::mskUndoDepth, 1},
    {"VLXMSKREDO-%d.FIX", &Workspace::mskRedoCount, &Workspace::mskRedoDepth, 1},
};

const StackInfo& info(SnapshotStack s) { return kStacks[int(s)]; }

struct Snapshot {
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int32_t whole = 0;
};

uint8_t* planeOf(Workspace& ws, const StackInfo& st) { return st.bytesPerPixel == 3 ? ws.image : ws.mask; }

// Writes the snapshot of rectangle s of the plane (or of a copy of it laid
// out the same way) onto the top of a stack, dropping the oldest file when
// the stack is full.
void pushSnapshot(Workspace& ws, SnapshotStack stack, const Snapshot& s, const uint8_t* source = nullptr)
{
    const StackInfo& st = info(stack);
    int32_t& count = ws.*st.count;
    const int32_t depth = ws.*st.depth;
    if (count >= depth) {
        std::remove(snapshotPath(ws, stack, 0).c_str());
        for (int i = 0; i + 1 < depth; ++i)
            std::rename(snapshotPath(ws, stack, i + 1).c_str(), snapshotPath(ws, stack, i).c_str());
        count = depth - 1;
    }
    const std::string path = snapshotPath(ws, stack, count);
    char header[kHeaderSize] = {};
    if (st.bytesPerPixel == 3)
        std::snprintf(header, sizeof header, "%d %d %d %d %d", s.x1, s.y1, s.x2, s.y2, s.whole);
    else
        std::snprintf(header, sizeof header, "%d %d %d %d", s.x1, s.y1, s.x2, s.y2);

    ws.platform->waitCursor(true);
    AtomicFile f(path);
    f.write(header, sizeof header);
    const uint8_t* plane = source ? source : planeOf(ws, st);
    const uint64_t bpp = st.bytesPerPixel;
    const uint64_t rowBytes = uint64_t(s.x2 - s.x1 + 1) * bpp;
    if (s.x1 == 0 && s.x2 == ws.imageWidth - 1) {
        f.write(plane + uint64_t(s.y1) * ws.imageWidth * bpp, rowBytes * uint64_t(s.y2 - s.y1 + 1));
    } else {
        for (int32_t y = s.y1; y <= s.y2 && f.ok(); ++y)
            f.write(plane + (uint64_t(y) * ws.imageWidth + uint64_t(s.x1)) * bpp, rowBytes);
    }
    const bool written = f.commit();
    ws.platform->waitCursor(false);
    if (!written) {
        showLangMessage(ws, Msg::CantOpenFile, path.c_str());
        return;
    }
    if (count < depth) ++count;
}

// Reads and checks the header of the stack's newest file. A file that is
// missing, damaged or does not fit the current picture counts as missing.
bool readTop(Workspace& ws, SnapshotStack stack, Snapshot& s, std::vector<uint8_t>& body)
{
    const StackInfo& st = info(stack);
    const int32_t count = ws.*st.count;
    if (count < 1) return false;
    std::vector<uint8_t> bytes;
    if (!readWholeFile(localFiles(), snapshotPath(ws, stack, count - 1), ws.maxRgbBytes + kHeaderSize, bytes) ||
        bytes.size() < kHeaderSize)
        return false;
    char text[kHeaderSize + 1] = {};
    std::memcpy(text, bytes.data(), kHeaderSize);
    int32_t v[5] = {};
    const int fields = st.bytesPerPixel == 3 ? 5 : 4;
    const char* p = text;
    for (int i = 0; i < fields; ++i) {
        char* end = nullptr;
        errno = 0;
        const long long n = std::strtoll(p, &end, 10);
        if (end == p || errno || n < INT32_MIN || n > INT32_MAX) return false;
        v[i] = int32_t(n);
        p = end;
    }
    s = {v[0], v[1], v[2], v[3], v[4]};
    if (s.x1 < 0 || s.y1 < 0 || s.x1 > s.x2 || s.y1 > s.y2) return false;
    if (s.whole == 1) {
        if (s.x1 != 0 || s.y1 != 0 || !imageFits(ws, int64_t(s.x2) + 1, int64_t(s.y2) + 1)) return false;
    } else if (s.x2 >= ws.imageWidth || s.y2 >= ws.imageHeight) {
        return false;
    }
    const uint64_t need = uint64_t(s.x2 - s.x1 + 1) * uint64_t(s.y2 - s.y1 + 1) * st.bytesPerPixel;
    if (bytes.size() < kHeaderSize + need) return false;
    body.assign(bytes.begin() + kHeaderSize, bytes.begin() + kHeaderSize + need);
    return true;
}

void writeBack(Workspace& ws, const StackInfo& st, const Snapshot& s, const std::vector<uint8_t>& body)
{
    uint8_t* plane = planeOf(ws, st);
    const uint64_t bpp = st.bytesPerPixel;
    const uint64_t rowBytes = uint64_t(s.x2 - s.x1 + 1) * bpp;
    for (int32_t y = s.y1; y <= s.y2; ++y)
        std::memcpy(plane + (uint64_t(y) * ws.imageWidth + uint64_t(s.x1)) * bpp,
                    body.data() + uint64_t(y - s.y1) * rowBytes, rowBytes);
}

Snapshot wholeImage(const Workspace& ws) { return {0, 0, ws.imageWidth - 1, ws.imageHeight - 1, 1}; }

// Moves the newest snapshot of `from` back into the plane, keeping what it
// replaces on `to`.
UndoResult swapBack(Workspace& ws, SnapshotStack from, SnapshotStack to)
{
    Snapshot s;
    std::vector<uint8_t> body;
    if (!readTop(ws, from, s, body)) return UndoResult::Nothing;
    const StackInfo& st = info(from);
    pushSnapshot(ws, to, s.whole == 1 ? wholeImage(ws) : s);
    UndoResult result = UndoResult::Rectangle;
    if (s.whole == 1) {
        const bool resized = s.x2 + 1 != ws.imageWidth || s.y2 + 1 != ws.imageHeight;
        layoutPlanes(ws, s.x2 + 1, s.y2 + 1);
        // A new size moves the mask plane over other bytes: start it clear.
        if (resized) clearMask(ws);
        result = UndoResult::WholeImage;
    }
    writeBack(ws, st, s, body);
    int32_t& count = ws.*st.count;
    std::remove(snapshotPath(ws, from, count - 1).c_str());
    --count;
    ws.platform->undoStateChanged();
    return result;
}

}  // namespace

std::string snapshotPath(const Workspace& ws, SnapshotStack stack, int index)
{
    char name[64];
    std::snprintf(name, sizeof name, info(stack).pattern, index);
    return stateFile(ws, name);
}

void takeSnapshot(Workspace& ws, int kind, int32_t xa, int32_t ya, int32_t xb, int32_t yb, int32_t margin)
{
    takeSnapshotFrom(ws, kind, nullptr, xa, ya, xb, yb, margin);
}

void takeSnapshotFrom(Workspace& ws, int kind, const uint8_t* source, int32_t xa, int32_t ya, int32_t xb, int32_t yb,
                      int32_t margin)
{
    if (ws.imageWidth <= 0 || ws.imageHeight <= 0) return;
    Snapshot s{std::max(std::min(xa, xb) - margin, 0), std::max(std::min(ya, yb) - margin, 0),
               std::min(std::max(xa, xb) + margin, ws.imageWidth - 1),
               std::min(std::max(ya, yb) + margin, ws.imageHeight - 1), 0};
    switch (kind) {
    case SnapshotImage:
        if (s.x1 > s.x2 || s.y1 > s.y2) return;  // wholly outside the picture
        pushSnapshot(ws, SnapshotStack::RgbUndo, s, source);
        ws.rgbRedoCount = 0;
        break;
    case SnapshotMask:
        if (s.x1 > s.x2 || s.y1 > s.y2) return;
        pushSnapshot(ws, SnapshotStack::MskUndo, s, source);
        ws.mskRedoCount = 0;
        break;
    case SnapshotWholeImage:
        pushSnapshot(ws, SnapshotStack::RgbUndo, wholeImage(ws), source);
        ws.rgbRedoCount = 0;
        break;
    default: return;
    }
    ws.platform->undoStateChanged();
}

// Redo keeps the replaced content on the undo stack without emptying the
// redo stack, so undo and redo can go back and forth.
UndoResult undoImage(Workspace& ws) { return swapBack(ws, SnapshotStack::RgbUndo, SnapshotStack::RgbRedo); }
UndoResult redoImage(Workspace& ws) { return swapBack(ws, SnapshotStack::RgbRedo, SnapshotStack::RgbUndo); }
UndoResult undoMask(Workspace& ws) { return swapBack(ws, SnapshotStack::MskUndo, SnapshotStack::MskRedo); }
UndoResult redoMask(Workspace& ws) { return swapBack(ws, SnapshotStack::MskRedo, SnapshotStack::MskUndo); }

void resetUndo(Workspace& ws)
{
    ws.rgbUndoCount = ws.rgbRedoCount = ws.mskUndoCount = ws.mskRedoCount = 0;
    if (ws.platform) ws.platform->undoStateChanged();
}

void deleteSnapshotFiles(const Workspace& ws)
{
    for (SnapshotStack s : {SnapshotStack::RgbUndo, SnapshotStack::RgbRedo, SnapshotStack::MskUndo, SnapshotStack::MskRedo})
        for (int i = 0; i < ws.*info(s).depth; ++i) std::remove(snapshotPath(ws, s, i).c_str());
}

}  // namespace orx
