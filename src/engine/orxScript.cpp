// ORX scripts: line kinds and the mapping run.
//
// A line's kind comes from the first row of kOrxLineKinds that matches it;
// the run then acts on the kinds kRunSteps names and passes over the rest.
// To teach the run a new line, add its kind to the first table (or reuse
// one) and a row with its preload and play functions to the second.
#include "orxScript.h"

#include <cstdio>
#include <cstdlib>
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

struct StoredFile {
    bool present = false;
    std::vector<uint8_t> bytes;
};

struct Run {
    Run(Workspace& w, FileSource& s, const std::string& path, std::vector<std::string> l)
        : ws(w), src(s), orxPath(path), lines(std::move(l))
    {
    }
    Workspace& ws;
    FileSource& src;
    const std::string& orxPath;
    std::vector<std::string> lines;
    std::vector<StoredFile> stored;  // one slot per line, so a missing file cannot shift the others
    int result = 1;
    bool maskOk = true;  // MAP lines before any mask line are mapped too
    int partsDone = 0, partsToMap = 0;
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

// A mask line: the packed rows of the named MSK file.
bool preloadMask(Run& run, const std::string& path, StoredFile& f)
{
    Workspace& ws = run.ws;
    const uint64_t bytes = uint64_t(ws.imageWidth + 7) / 8 * uint64_t(ws.imageHeight);
    auto in = run.src.open(path);
    if (!in) return false;
    f.bytes.resize(bytes);
    if (!in->readExact(f.bytes.data(), bytes)) {
        showLangMessage(ws, Msg::FileTruncated, path.c_str());
        f.bytes.clear();
        return false;
    }
    return true;
}

bool preloadMap(Run& run, const std::string& path, StoredFile& f)
{
    return readWholeFile(run.src, path, kMapMaxBytes, f.bytes);
}

// Installs the part's mask: set bits protect.
void playMask(Run& run, size_t i)
{
    Workspace& ws = run.ws;
    run.maskOk = run.stored[i].present;
    if (!run.maskOk) {
        lineFailed(run, Msg::CantOpenFile, i);
        return;
    }
    const uint8_t* packed = run.stored[i].bytes.data();
    const uint64_t rowBytes = uint64_t(ws.imageWidth + 7) / 8;
    for (int32_t y = 0; y < ws.imageHeight; ++y)
        unpackMaskRow(packed + y * rowBytes, ws.imageWidth, ws.mask + uint64_t(y) * ws.imageWidth);
    ws.maskMode = 1;
}

// Maps the part's mesh pair, unless its mask could not be installed.
void playMap(Run& run, size_t i)
{
    if (!run.maskOk) return;
    Workspace& ws = run.ws;
    const StoredFile& f = run.stored[i];
    if (f.present && decodeMap(ws, f.bytes.data(), f.bytes.size()) == MapDecode::Ok) {
        mapAllCells(ws);
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
    bool (*preload)(Run&, const std::string& path, StoredFile&);
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

// Reads every file the script names before anything is mapped.
void preload(Run& run)
{
    run.stored.resize(run.lines.size());
    for (size_t i = 0; i < run.lines.size(); ++i) {
        const RunStep* step = runStepOf(classifyOrxLine(run.lines[i]).kind);
        if (!step) continue;
        const std::string path = resolveNamedFile(run.src, run.orxPath, namedFile(run.lines[i], step->extension));
        StoredFile& f = run.stored[i];
        f.present = step->preload(run, path, f);
        if (!f.present) showLangMessage(run.ws, Msg::CantOpenFile, path.c_str());
    }
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

int runMapping(Workspace& ws, const std::string& orxPath, FileSource& src)
{
    ws.lastRunParts = 0;
    ws.lastRunFailures = 0;
    std::vector<uint8_t> text;
    if (!ws.imageLoaded || !readWholeFile(src, orxPath, 16u << 20, text)) {
        showLangMessage(ws, Msg::OrxCantOpen, orxPath.c_str());
        return 0;
    }
    Run run{ws, src, orxPath, splitLines(text)};
    preload(run);
    for (const std::string& line : run.lines) run.partsToMap += classifyOrxLine(line).kind == OrxMap;

    buildContrastTable(ws);
    for (size_t i = 0; i < run.lines.size(); ++i) {
        if (const RunStep* step = runStepOf(classifyOrxLine(run.lines[i]).kind)) step->play(run, i);
        if (ws.platform->stopRequested()) break;
    }
    ws.platform->status("", Rgb{0, 0, 255});
    return run.result;
}

}  // namespace orx
