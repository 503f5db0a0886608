// orxsim scan: the scanners SANE finds, and one scan into a file.
//
//   orxsim scan --list [--json]
//   orxsim scan [--device D] [--resolution DPI] [--area X0,Y0,X1,Y1]
//               [--as colour|grey|bw] [--option NAME=VALUE]... [--preview] -o OUT
//
// The device is the first one listed unless named; the area is in mm (the
// whole bed when not given); --option sets a device's own option after
// ours (colour, 8 bits, the resolution, the area). OUT may be any kind the
// program writes. Ctrl-C cancels the scan.
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "cli.h"
#include "scan/scanner.h"
#include "workspace/fileKinds.h"
#include "workspace/langText.h"
#include "workspace/pictureFile.h"

namespace orx {

namespace {

volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int) { interrupted = 1; }

int listCommand(Cli& cli)
{
    std::vector<ScannerInfo> devices;
    std::string why;
    if (!listScanners(devices, why)) return fail("orxsim: " + why);
    const bool json = cli.flag("--json");
    if (json) std::printf("[");
    for (size_t i = 0; i < devices.size(); ++i) {
        const ScannerInfo& d = devices[i];
        if (json)
            std::printf("%s{\"name\": %s, \"vendor\": %s, \"model\": %s, \"type\": %s}", i ? ", " : "",
                        jsonString(d.name).c_str(), jsonString(d.vendor).c_str(), jsonString(d.model).c_str(),
                        jsonString(d.type).c_str());
        else
            std::printf("%s\t%s %s (%s)\n", d.name.c_str(), d.vendor.c_str(), d.model.c_str(), d.type.c_str());
    }
    if (json) std::printf("]\n");
    return 0;
}

struct Tone {
    const char* name;
    ScanTone tone;
};

const Tone kTones[] = {{"colour", ScanTone::Colour}, {"color", ScanTone::Colour}, {"grey", ScanTone::Grey},
                       {"gray", ScanTone::Grey}, {"bw", ScanTone::BlackWhite}};

// The settings from the command line; false (with why) for one it cannot take.
bool readSettings(const Cli& cli, ScanSettings& s, ScanTone& tone, std::string& why)
{
    std::string v;
    if (cli.option("--resolution", v)) {
        char* end = nullptr;
        s.resolution = std::strtod(v.c_str(), &end);
        if (v.empty() || *end || s.resolution <= 0) return why = "--resolution takes dots per inch", false;
    }
    if (cli.option("--area", v)) {
        if (std::sscanf(v.c_str(), "%lf,%lf,%lf,%lf", &s.area[0], &s.area[1], &s.area[2], &s.area[3]) != 4 ||
            s.area[0] >= s.area[2] || s.area[1] >= s.area[3])
            return why = "--area takes X0,Y0,X1,Y1 in mm, the second corner right of and below the first", false;
        s.wholeBed = false;
    }
    if (cli.option("--as", v)) {
        const Tone* t = nullptr;
        for (const Tone& k : kTones)
            if (v == k.name) t = &k;
        if (!t) return why = "--as takes colour, grey or bw", false;
        tone = t->tone;
    }
    s.preview = cli.flag("--preview");
    for (size_t i = 0; i + 1 < cli.options.size(); i += 2) {
        if (cli.options[i] != "--option") continue;
        const std::string& o = cli.options[i + 1];
        const size_t eq = o.find('=');
        if (eq == std::string::npos || eq == 0) return why = "--option takes NAME=VALUE", false;
        s.options.emplace_back(o.substr(0, eq), o.substr(eq + 1));
    }
    return true;
}

}  // namespace

int scanCommand(Cli& cli)
{
    if (cli.flag("--list")) return listCommand(cli);
    std::string out;
    if (!cli.option("-o", out) || out.empty()) return usage("scan needs -o OUT");
    const FileKindInfo& kind = fileKindOf(out);
    if (!kind.save) return usage(("scan can not write " + out + " (" + savableKinds() + ")").c_str());
    ScanSettings settings;
    ScanTone tone = ScanTone::Colour;
    std::string why;
    if (!readSettings(cli, settings, tone, why)) return usage(why.c_str());

    std::string device;
    if (!cli.option("--device", device)) {
        std::vector<ScannerInfo> devices;
        if (!listScanners(devices, why)) return fail("orxsim: " + why);
        if (devices.empty()) return fail("orxsim: no scanner was found");
        device = devices[0].name;
    }
    std::shared_ptr<Scanner> scanner = Scanner::open(device, why);
    if (!scanner) return fail("orxsim: " + why);

    Workspace& ws = cli.ws;
    std::signal(SIGINT, onInterrupt);
    ScanJob job(scanner, settings, ws.planeCapacity);
    while (!job.wait(100))
        if (interrupted) job.cancel(500);
    ScanResult r = job.take();
    if (r.status == ScanStatus::Cancelled) return fail("orxsim: the scan was cancelled");
    if (r.status != ScanStatus::Ok) return fail("orxsim: the scan failed: " + r.why);

    applyScanTone(r.image, tone);
    if (!takePicture(ws, r.image.rgb.data(), r.image.width, r.image.height, device)) return kExitFailed;
    return kind.save(ws, out) ? 0 : kExitFailed;
}

}  // namespace orx
