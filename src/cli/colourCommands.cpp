// The colour tools without a window:
//
//   orxsim automask IN --hue L --saturation L --value L [--area X0,Y0,X1,Y1] -o OUT
//   orxsim recolour IN --curves FILE [--hsv] [--area X0,Y0,X1,Y1] [--mask M.MSK] -o OUT
//   orxsim colourways IN --colours RRGGBB,RRGGBB[,...] [--way K] -o OUT
//
// OUT is written in the kind its extension names. A refusal writes nothing.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/autoMask.h"
#include "tools/colourWays.h"
#include "tools/toneCurves.h"
#include "workspace/fileKinds.h"
#include "workspace/maskOps.h"
#include "workspace/nativeFile.h"
#include "cli.h"

namespace orx {

namespace {

bool parseNumber(const std::string& text, int lo, int hi, int& out)
{
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    out = std::stoi(text);
    return out >= lo && out <= hi;
}

// "0-255", "20-59,200": levels and inclusive ranges of 0..255.
bool parseLevels(const std::string& text, uint8_t table[256])
{
    std::memset(table, 0, 256);
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = std::min(text.find(',', start), text.size());
        const std::string item = text.substr(start, comma - start);
        const size_t dash = item.find('-');
        int lo = 0, hi = 0;
        if (dash == std::string::npos) {
            if (!parseNumber(item, 0, 255, lo)) return false;
            hi = lo;
        } else if (!parseNumber(item.substr(0, dash), 0, 255, lo) || !parseNumber(item.substr(dash + 1), lo, 255, hi)) {
            return false;
        }
        std::memset(table + lo, 255, size_t(hi - lo + 1));
        start = comma + 1;
    }
    return true;
}

bool parseColour(const std::string& text, Rgb& out)
{
    if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return false;
    const unsigned long v = std::stoul(text, nullptr, 16);
    out = Rgb{uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
    return true;
}

// The rectangle of --area, or the whole picture.
bool areaOf(const Cli& cli, const Workspace& ws, int32_t area[4])
{
    std::string text;
    if (!cli.option("--area", text)) {
        area[0] = area[1] = 0;
        area[2] = ws.imageWidth - 1;
        area[3] = ws.imageHeight - 1;
        return true;
    }
    char tail = 0;
    return std::sscanf(text.c_str(), "%d,%d,%d,%d%c", &area[0], &area[1], &area[2], &area[3], &tail) == 4;
}

// IN read as the working picture and OUT's kind checked; the reason is on
// stderr when either fails.
int openInOut(Cli& cli, const char* command, std::string& out, const FileKindInfo*& to)
{
    if (cli.args.size() != 1) return usage((std::string(command) + " takes one input file").c_str());
    if (!cli.option("-o", out) || out.empty()) return usage((std::string(command) + " needs -o OUT").c_str());
    const std::string& in = cli.args[0];
    const FileKindInfo& from = fileKindOf(in);
    to = &fileKindOf(out);
    if (!from.open) return fail("orxsim: " + in + ": not a picture file (" + openableKinds() + ")");
    if (!to->save) return fail("orxsim: " + out + ": can not write this kind (" + savableKinds() + ")");
    if (!from.open(cli.ws, in, localFiles())) return kExitFailed;
    if (from.kind == FileKind::MSK) greyFromMask(cli.ws);
    return kExitOk;
}

int save(Cli& cli, const FileKindInfo& to, const std::string& out)
{
    if (to.save(cli.ws, out)) return kExitOk;
    return fail("orxsim: " + out + ": could not be written");
}

}  // namespace

int autoMaskCommand(Cli& cli)
{
    Workspace& ws = cli.ws;
    const char* const names[3] = {"--hue", "--saturation", "--value"};
    for (int bar = BarHue; bar <= BarValue; ++bar) {
        std::string text;
        if (!cli.option(names[bar], text)) return usage((std::string("automask needs ") + names[bar] + " LEVELS").c_str());
        if (!parseLevels(text, selectedLevels(ws, bar)))
            return usage((std::string(names[bar]) + " takes levels and ranges of 0..255, as 20-59,200").c_str());
    }
    std::string out;
    const FileKindInfo* to = nullptr;
    int32_t area[4];
    if (const int refused = openInOut(cli, "automask", out, to); refused != kExitOk) return refused;
    if (!areaOf(cli, ws, area)) return usage("--area takes X0,Y0,X1,Y1");

    clearMask(ws);
    uint64_t selected = 0;
    applyAutoMask(ws, area[0], area[1], area[2], area[3], &selected);
    if (to->kind != FileKind::MSK) greyFromMask(ws);
    if (const int failed = save(cli, *to, out); failed != kExitOk) return failed;
    std::printf("{\"selected\": %llu}\n", static_cast<unsigned long long>(selected));
    return kExitOk;
}

int recolourCommand(Cli& cli)
{
    Workspace& ws = cli.ws;
    std::string curves, maskName, out;
    if (!cli.option("--curves", curves) || curves.empty()) return usage("recolour needs --curves FILE");
    if (!loadToneFile(ws, curves))
        return fail("orxsim: " + curves + ": not a curves file (" + std::to_string(kToneFileBytes) +
                    " bytes, the current curve 1..6 last)");
    const FileKindInfo* to = nullptr;
    if (const int refused = openInOut(cli, "recolour", out, to); refused != kExitOk) return refused;
    int32_t area[4];
    if (!areaOf(cli, ws, area)) return usage("--area takes X0,Y0,X1,Y1");

    // The pixels set in the mask keep their colour, as they do in the
    // program while the mask is shown.
    ws.maskVisible = 0;
    if (cli.option("--mask", maskName)) {
        int32_t w = 0, h = 0;
        if (readMaskSize(localFiles(), maskName, w, h) != SizeRead::Ok) return fail("orxsim: " + maskName + ": not a mask file");
        if (w != ws.imageWidth || h != ws.imageHeight)
            return fail("orxsim: " + maskName + " is " + std::to_string(w) + " x " + std::to_string(h) + ", the picture " +
                        std::to_string(ws.imageWidth) + " x " + std::to_string(ws.imageHeight));
        if (!loadMSK(ws, maskName, ws.mask)) return kExitFailed;
        ws.maskVisible = 1;
    }
    takeSecondImage(ws);
    std::memcpy(ws.secondImage, ws.image, imageBytes(ws));
    applyToneCurves(ws, area[0], area[1], area[2], area[3], cli.flag("--hsv"));
    if (to->kind == FileKind::MSK) maskFromGrey(ws);
    return save(cli, *to, out);
}

int colourWaysCommand(Cli& cli)
{
    Workspace& ws = cli.ws;
    std::string text, out;
    if (!cli.option("--colours", text)) return usage("colourways needs --colours RRGGBB,RRGGBB[,...]");
    std::vector<Rgb> colours;
    for (size_t start = 0; start <= text.size();) {
        const size_t comma = std::min(text.find(',', start), text.size());
        Rgb c;
        if (!parseColour(text.substr(start, comma - start), c)) return usage("--colours takes RRGGBB colours, comma-separated");
        colours.push_back(c);
        if (colours.size() > size_t(kMaxWayColours)) break;
        start = comma + 1;
    }
    if (colours.size() < size_t(kMinWayColours) || colours.size() > size_t(kMaxWayColours))
        return usage("colourways takes 2 to 5 colours");
    const int n = int(colours.size());
    const int total = colourWayTotal(n);
    int first = 0, last = total - 1;
    if (cli.option("--way", text)) {
        if (!parseNumber(text, 0, total - 1, first))
            return usage(("--way takes 0.." + std::to_string(total - 1) + " for " + std::to_string(n) + " colours").c_str());
        last = first;
    }
    const FileKindInfo* to = nullptr;
    if (const int refused = openInOut(cli, "colourways", out, to); refused != kExitOk) return refused;

    ws.colourWayCount = n;
    for (int i = 0; i < n; ++i) ws.paletteSwatches[i] = colours[size_t(i)];
    const std::vector<uint8_t> picture(ws.image, ws.image + imageBytes(ws));
    const size_t dot = out.rfind('.');
    for (int k = first; k <= last; ++k) {
        std::string name = out;
        if (first != last) {
            char suffix[8];
            std::snprintf(suffix, sizeof suffix, "-%03d", k);
            name.insert(dot, suffix);
        }
        std::memcpy(ws.image, picture.data(), picture.size());
        makeColourWay(ws, k, ws.image);
        if (to->kind == FileKind::MSK) maskFromGrey(ws);
        if (const int failed = save(cli, *to, name); failed != kExitOk) return failed;
        int row[kMaxWayColours];
        colourWayRow(n, k, row);
        std::string rowText;
        for (int i = 0; i < n; ++i) rowText += (i ? ", " : "") + std::to_string(row[i] + 1);
        std::printf("{\"way\": %d, \"row\": [%s], \"file\": %s}\n", k, rowText.c_str(), jsonString(name).c_str());
    }
    return kExitOk;
}

}  // namespace orx
