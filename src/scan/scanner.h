// Scanners through SANE: the list of devices, an opened device and its
// options, and a scan read on a worker thread that can be cancelled.
//
// The desktop program's scan dialog and `orxsim scan` share all of it;
// neither talks to SANE itself.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "scanFrames.h"

namespace orx {

struct ScannerInfo {
    std::string name, vendor, model, type;
};

// The devices SANE finds (sane_get_devices). False with why when SANE
// cannot start or list them; an empty list is no error.
bool listScanners(std::vector<ScannerInfo>& out, std::string& why);

constexpr double kDefaultScanDpi = 300;
constexpr double kPreviewScanDpi = 50;

// What a scan asks for. Colour at 8 bits is always asked for first; the
// named options (NAME=VALUE, as a device's own option names them) are set
// after, so they may ask for something else.
struct ScanSettings {
    double resolution = kDefaultScanDpi;   // dots per inch
    bool wholeBed = true;
    double area[4] = {};                   // x0, y0, x1, y1 in mm when !wholeBed
    bool preview = false;
    std::vector<std::pair<std::string, std::string>> options;
};

// The resolutions a device offers: a list, or a range with a step.
struct ResolutionChoice {
    std::vector<double> list;
    double min = 0, max = 0, step = 0;
    // The allowed value nearest to dpi.
    double nearest(double dpi) const;
};

struct ScanBed {
    bool known = false;       // false when the device gives no area in mm
    double width = 0, height = 0;  // mm
};

enum class ScanStatus { Ok, Cancelled, Failed };

struct ScanResult {
    ScanStatus status = ScanStatus::Failed;
    std::string why;          // the scanner's own words (sane_strstatus) or ours
    ScanImage image;
};

// Counted as the bytes arrive, read from any thread.
struct ScanProgress {
    std::atomic<int64_t> done{0};
    std::atomic<int64_t> total{0};   // 0 while unknown
};

class Scanner {
public:
    // Opens a device by name; nullptr with why when it cannot.
    static std::shared_ptr<Scanner> open(const std::string& device, std::string& why);
    ~Scanner();
    Scanner(const Scanner&) = delete;
    Scanner& operator=(const Scanner&) = delete;

    const std::string& device() const { return device_; }
    ResolutionChoice resolutions() const;
    ScanBed bed() const;

    // Sets one option by its name from text (a number, yes/no, a word).
    bool setOption(const std::string& name, const std::string& value, std::string& why);
    // Sets everything a scan asks for.
    bool prepare(const ScanSettings& settings, std::string& why);
    // The picture's size as the device predicts it before the scan; height
    // -1 when it cannot tell. False when it predicts nothing.
    bool predictedSize(int32_t& w, int32_t& h);

    // Reads one picture (every frame), blocking. maxPixels bounds the
    // picture; one whose size is known beforehand to exceed it is refused
    // before any line is read.
    ScanResult scan(uint64_t maxPixels, ScanProgress* progress = nullptr);
    // Asks a running scan to stop; may be called from any thread. A cancel
    // holds until resetCancel(), so one that comes while a scan is being
    // prepared still stops it.
    void cancel();
    void resetCancel() { cancelled_ = false; }

private:
    Scanner() = default;
    int optionIndex(const std::string& name) const;

    void* handle_ = nullptr;
    std::string device_;
    std::atomic<bool> cancelled_{false};
};

// A scan read on a worker thread, so that a window stays responsive. The
// job owns the scanner while it runs: a device that hangs mid-scan keeps
// only the worker, never the caller.
class ScanJob {
public:
    ScanJob(std::shared_ptr<Scanner> scanner, ScanSettings settings, uint64_t maxPixels);
    // Cancels a scan still running and waits a little for it.
    ~ScanJob();
    ScanJob(const ScanJob&) = delete;
    ScanJob& operator=(const ScanJob&) = delete;

    bool finished() const;
    // Waits up to ms for the end; true when it has ended.
    bool wait(int ms);
    // 0..1 as the bytes arrive; -1 while the total is unknown.
    double progress() const;
    // The result, once finished.
    ScanResult take();
    // Asks the scan to stop and waits up to ms; true when the worker has
    // ended. A worker still inside a silent device is left to end alone.
    bool cancel(int ms);

private:
    struct State;
    std::shared_ptr<State> state_;
};

}  // namespace orx
