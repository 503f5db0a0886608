// ORX scripts: line kinds and the mapping run.
//
// A line's kind comes from the first row of kOrxLineKinds that matches it;
// the run then acts on the kinds kRunSteps names and passes over the rest.
// To teach the run a new line, add its kind to the first table (or reuse
// one) and a row with its preload and play functions to the second.
#include "orxScript.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

#include "cellMapping.h"
#include "mesh.h"
#include "shading.h"
#include "workspace/langText.h"
#include "workspace/nativeFile.h"

namespace orx {

namespace {

// ---- line kinds

// How a row recognises its lines: by a file extension anywhere in the
// line's first `within` characters (0: the whole line), or by a keyword the
// line starts with.
enum OrxMatch : int { MatchExtension = 1, MatchKeyword = 2 };

// Reads the fields behind the row's text, which ends at `end`; false
// leaves the line of no kind.
using OrxFieldReader = bool (*)(const std::string& line, size_t end, OrxLineInfo& info);

struct OrxLineKind {
    const char* text;
    OrxMatch match;
    size_t within;
    int kind;
    OrxFieldReader read;  // nullptr: the line has no fields
};

// "NAME.RGB i a b": the first number (1 or 2) less one, then two image
// numbers; a line with fewer than three numbers is the short kind.
bool readImageFields(const std::string& line, size_t end, OrxLineInfo& info)
{
    int n1 = 0, n2 = 0, n3 = 0;
    const int got = std::sscanf(line.c_str() + end, " %d %d %d", &n1, &n2, &n3);
    if (got >= 1 && n1 - 1 != 0 && n1 - 1 != 1) return false;
    info.imageIndex = n1 - 1;
    info.imageA = n2;
    info.imageB = n3;
    if (got != 3) info.kind = OrxImageAlt;
    return true;
}

bool readMaskFields(const std::string&, size_t end, OrxLineInfo& info)
{
    info.value = int(end);
    return true;
}

bool readNumberField(const std::string& line, size_t end, OrxLineInfo& info)
{
    info.value = std::atoi(line.c_str() + end);
    return true;
}

// "ZOOM z x y": z of 1 to 8 or 16 is a zoom factor; others leave it.
bool readZoomFields(const std::string& line, size_t end, OrxLineInfo& info)
{
    int z = 0, x = 0, y = 0;
    std::sscanf(line.c_str() + end, " %d %d %d", &z, &x, &y);
    if ((z >= 1 && z <= 8) || z == 16) info.zoom = float(z);
    info.zoomX = x;
    info.zoomY = y;
    return true;
}

const OrxLineKind kOrxLineKinds[] = {
    {".RGB", MatchExtension, 57, OrxImage, readImageFields},
    {".MSK", MatchExtension, 0, OrxMask, readMaskFields},
    {".MAP", MatchExtension, 0, OrxMap, nullptr},
    {"DELAY", MatchKeyword, 0, OrxDelay, readNumberField},
    {"REPEAT", MatchKeyword, 0, OrxRepeat, nullptr},
    {"COLOR", MatchKeyword, 0, OrxColor, readNumberField},
    {"ZOOM", MatchKeyword, 0, OrxZoom, readZoomFields},
};

// Where the row's text ends in the line, or npos when the row does not match.
size_t matchEnd(const OrxLineKind& row, const std::string& line)
{
    const std::string_view text(row.text);
    if (row.match == MatchKeyword) return line.rfind(text, 0) == 0 ? text.size() : std::string::npos;
    const std::string_view head = std::string_view(line).substr(0, row.within ? row.within : line.size());
    const size_t pos = head.find(text);
    return pos == std::string::npos ? pos : pos + text.size();
}

// ---- the run

// A file the script names, read once however many lines name it.
struct StoredFile {
    int kind = OrxOther;
    std::string path;
    bool present = false;
    std::vector<uint8_t> bytes;
};

struct Run {
    Run(Workspace& w, FileSource& s, const std::string& path, std::vector<std::string> l, const RunOptions& o)
        : ws(w), src(s), orxPath(path), options(o), lines(std::move(l))
    {
    }
    Workspace& ws;
    FileSource& src;
    const std::string& orxPath;
    const RunOptions& options;
    std::vector<std::string> lines;
    std::vector<StoredFile> files;
    std::vector<int> fileOfLine;  // index into files; -1 for a line that names none
    uint64_t storedBytes = 0;     // held to the image block
    int result = 1;
    bool maskOk = true;  // MAP lines before any mask line are mapped too
    const uint8_t* partMask = nullptr;  // packed rows of the last mask, when the plane is left alone
    int partsDone = 0, partsToMap = 0;

    const StoredFile& fileOf(size_t line) const { return files[size_t(fileOfLine[line])]; }
};

std::vector<std::string> splitLines(const std::vector<uint8_t>& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (uint8_t ch : text) {
        if (ch == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (ch != '\r') {
            line += char(ch);
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

void lineFailed(Run& run, Msg msg, size_t i)
{
    showLangMessage(run.ws, msg, run.lines[i].c_str());
    run.result = 0;
    ++run.ws.lastRunFailures;
}

// What a preload gives: the file read, the file missing or damaged (its
// lines fail one by one), or the store full (the whole run is refused).
enum class Preload { Read, Missing, StoreFull };

// Room for n more bytes in the store: all the files of a script together
// may take no more than the image block.
bool storeHasRoom(Run& run, uint64_t n)
{
    if (n > run.ws.blockSize - std::min(run.storedBytes, run.ws.blockSize)) return false;
    run.storedBytes += n;
    return true;
}

// A mask line: the packed rows of the named MSK file.
Preload preloadMask(Run& run, StoredFile& f)
{
    Workspace& ws = run.ws;
    const uint64_t bytes = uint64_t(ws.imageWidth + 7) / 8 * uint64_t(ws.imageHeight);
    auto in = run.src.open(f.path);
    if (!in) return Preload::Missing;
    if (!storeHasRoom(run, bytes)) return Preload::StoreFull;
    f.bytes.resize(bytes);
    if (!in->readExact(f.bytes.data(), bytes)) {
        showLangMessage(ws, Msg::FileTruncated, f.path.c_str());
        f.bytes = {};
        return Preload::Missing;
    }
    return Preload::Read;
}

Preload preloadMap(Run& run, StoredFile& f)
{
    if (!readWholeFile(run.src, f.path, kMapMaxBytes, f.bytes)) return Preload::Missing;
    return storeHasRoom(run, f.bytes.size()) ? Preload::Read : Preload::StoreFull;
}

// Installs the part's mask: set bits protect.
void playMask(Run& run, size_t i)
{
    Workspace& ws = run.ws;
    const StoredFile& f = run.fileOf(i);
    run.maskOk = f.present;
    if (!run.maskOk) {
        lineFailed(run, Msg::CantOpenFile, i);
        return;
    }
    ws.maskMode = 1;
    if (run.options.maskPlaneUntouched) {
        run.partMask = f.bytes.data();
        return;
    }
    const uint64_t rowBytes = uint64_t(ws.imageWidth + 7) / 8;
    for (int32_t y = 0; y < ws.imageHeight; ++y)
        unpackMaskRow(f.bytes.data() + y * rowBytes, ws.imageWidth, ws.mask + uint64_t(y) * ws.imageWidth);
}

// Maps the part's mesh pair, unless its mask could not be installed.
void playMap(Run& run, size_t i)
{
    if (!run.maskOk) return;
    Workspace& ws = run.ws;
    const StoredFile& f = run.fileOf(i);
    if (f.present && decodeMap(ws, f.bytes.data(), f.bytes.size()) == MapDecode::Ok) {
        const PixelBox reached = mapCells(ws, {{}, std::nullopt, run.partMask});
        if (run.options.reached && reached.x0 < reached.x1 && reached.y0 < reached.y1)
            run.options.reached->push_back(reached);
        ++ws.lastRunParts;
    } else {
        lineFailed(run, f.present ? Msg::MapBadFile : Msg::CantOpenFile, i);
    }
    ws.meshPresent = 1;
    ws.platform->progress(++run.partsDone, run.partsToMap);
    ws.platform->redraw(nullptr);
    ws.platform->status(langText(ws, Msg::OrxStopPrompt), Rgb{255, 0, 0});
}

// The lines the run acts on.
struct RunStep {
    int kind;
    const char* extension;  // of the file the line names
    Preload (*preload)(Run&, StoredFile&);
    void (*play)(Run&, size_t line);
};

const RunStep kRunSteps[] = {
    {OrxMask, ".MSK", preloadMask, playMask},
    {OrxMap, ".MAP", preloadMap, playMap},
};

const RunStep* runStepOf(int kind)
{
    for (const RunStep& s : kRunSteps)
        if (s.kind == kind) return &s;
    return nullptr;
}

// The file a line names: the line up to the end of its extension.
std::string namedFile(const std::string& line, const char* ext)
{
    const size_t pos = line.find(ext);
    return pos == std::string::npos ? line : line.substr(0, pos + 4);
}

// Reads every file the script names, once each, before anything is
// mapped. False (after saying so) when they would not fit the store.
bool preload(Run& run)
{
    std::map<std::pair<int, std::string>, int> known;
    run.fileOfLine.assign(run.lines.size(), -1);
    for (size_t i = 0; i < run.lines.size(); ++i) {
        const RunStep* step = runStepOf(classifyOrxLine(run.lines[i]).kind);
        if (!step) continue;
        std::string path = resolveNamedFile(run.src, run.orxPath, namedFile(run.lines[i], step->extension));
        const auto [it, added] = known.try_emplace({step->kind, path}, int(run.files.size()));
        run.fileOfLine[i] = it->second;
        if (!added) continue;
        StoredFile& f = run.files.emplace_back();
        f.kind = step->kind;
        f.path = std::move(path);
        const Preload got = step->preload(run, f);
        if (got == Preload::StoreFull) {
            showLangMessage(run.ws, Msg::OrxFilesTooLarge, run.orxPath.c_str());
            return false;
        }
        f.present = got == Preload::Read;
        if (!f.present) showLangMessage(run.ws, Msg::CantOpenFile, f.path.c_str());
    }
    return true;
}

// The script's lines in order, until the last or until the user stops.
int play(Run& run)
{
    Workspace& ws = run.ws;
    for (const std::string& line : run.lines) run.partsToMap += classifyOrxLine(line).kind == OrxMap;
    buildContrastTable(ws);
    for (size_t i = 0; i < run.lines.size(); ++i) {
        if (const RunStep* step = runStepOf(classifyOrxLine(run.lines[i]).kind)) step->play(run, i);
        if (ws.platform->stopRequested()) break;
    }
    ws.platform->status("", Rgb{0, 0, 255});
    return run.result;
}

}  // namespace

OrxLineInfo classifyOrxLine(const std::string& line)
{
    OrxLineInfo info;
    for (const OrxLineKind& row : kOrxLineKinds) {
        const size_t end = matchEnd(row, line);
        if (end == std::string::npos) continue;
        info.kind = row.kind;
        if (row.read && !row.read(line, end, info)) return OrxLineInfo{};
        return info;
    }
    return info;
}

int runMapping(Workspace& ws, const std::string& orxPath, FileSource& src) { return runMapping(ws, orxPath, src, {}); }

int runMapping(Workspace& ws, const std::string& orxPath, FileSource& src, const RunOptions& options)
{
    ws.lastRunParts = 0;
    ws.lastRunFailures = 0;
    try {
        std::vector<uint8_t> text;
        if (!ws.imageLoaded || !readWholeFile(src, orxPath, 16u << 20, text)) {
            showLangMessage(ws, Msg::OrxCantOpen, orxPath.c_str());
            return 0;
        }
        Run run(ws, src, orxPath, splitLines(text), options);
        return preload(run) ? play(run) : 0;
    } catch (const std::bad_alloc&) {
        // The script, its files or a mapping's scratch space did not fit
        // in memory; the parts mapped so far stay.
        showLangMessage(ws, Msg::RamTooSmallToLoad, orxPath.c_str());
        ws.platform->status("", Rgb{0, 0, 255});
        return 0;
    }
}

}  // namespace orx
