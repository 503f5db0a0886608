// Scanners through SANE.
#include "scanner.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include <sane/saneopts.h>

namespace orx {

namespace {

// SANE starts once for the process. It is never ended: a worker may still
// be inside a device that went silent, and ending SANE under it would
// crash the program at exit instead of letting it leave.
bool startSane(std::string& why)
{
    static std::once_flag once;
    static SANE_Status status = SANE_STATUS_GOOD;
    std::call_once(once, [] {
        SANE_Int version = 0;
        status = sane_init(&version, nullptr);
    });
    if (status != SANE_STATUS_GOOD) why = std::string("SANE can not start: ") + sane_strstatus(status);
    return status == SANE_STATUS_GOOD;
}

SANE_Handle handleOf(void* h) { return static_cast<SANE_Handle>(h); }

double wordValue(const SANE_Option_Descriptor* d, SANE_Word w)
{
    return d->type == SANE_TYPE_FIXED ? SANE_UNFIX(w) : double(w);
}

SANE_Word wordOf(const SANE_Option_Descriptor* d, double v)
{
    return d->type == SANE_TYPE_FIXED ? SANE_FIX(v) : SANE_Word(std::lround(v));
}

bool parseBool(const std::string& v, SANE_Bool& out)
{
    for (const char* yes : {"yes", "true", "on", "1"})
        if (v == yes) return out = SANE_TRUE, true;
    for (const char* no : {"no", "false", "off", "0"})
        if (v == no) return out = SANE_FALSE, true;
    return false;
}

constexpr size_t kReadBytes = 256 * 1024;

}  // namespace

bool listScanners(std::vector<ScannerInfo>& out, std::string& why)
{
    out.clear();
    if (!startSane(why)) return false;
    const SANE_Device** list = nullptr;
    const SANE_Status st = sane_get_devices(&list, SANE_FALSE);
    if (st != SANE_STATUS_GOOD) {
        why = std::string("can not list the scanners: ") + sane_strstatus(st);
        return false;
    }
    for (int i = 0; list && list[i]; ++i)
        out.push_back({list[i]->name ? list[i]->name : "", list[i]->vendor ? list[i]->vendor : "",
                       list[i]->model ? list[i]->model : "", list[i]->type ? list[i]->type : ""});
    return true;
}

double ResolutionChoice::nearest(double dpi) const
{
    if (!list.empty())
        return *std::min_element(list.begin(), list.end(),
                                 [dpi](double a, double b) { return std::fabs(a - dpi) < std::fabs(b - dpi); });
    if (max <= 0) return dpi;
    double v = std::clamp(dpi, min, max);
    if (step > 0) v = std::min(max, min + std::round((v - min) / step) * step);
    return v;
}

std::shared_ptr<Scanner> Scanner::open(const std::string& device, std::string& why)
{
    if (!startSane(why)) return nullptr;
    SANE_Handle h = nullptr;
    const SANE_Status st = sane_open(device.c_str(), &h);
    if (st != SANE_STATUS_GOOD) {
        why = "can not open the scanner " + device + ": " + sane_strstatus(st);
        return nullptr;
    }
    std::shared_ptr<Scanner> s(new Scanner);
    s->handle_ = h;
    s->device_ = device;
    return s;
}

Scanner::~Scanner()
{
    if (handle_) sane_close(handleOf(handle_));
}

int Scanner::optionIndex(const std::string& name) const
{
    for (SANE_Int i = 1;; ++i) {
        const SANE_Option_Descriptor* d = sane_get_option_descriptor(handleOf(handle_), i);
        if (!d) return -1;
        if (d->name && name == d->name) return i;
    }
}

ResolutionChoice Scanner::resolutions() const
{
    ResolutionChoice c;
    const int i = optionIndex(SANE_NAME_SCAN_RESOLUTION);
    if (i < 0) return c;
    const SANE_Option_Descriptor* d = sane_get_option_descriptor(handleOf(handle_), i);
    if (d->constraint_type == SANE_CONSTRAINT_WORD_LIST) {
        const SANE_Word* words = d->constraint.word_list;
        for (int k = 1; k <= words[0]; ++k) c.list.push_back(wordValue(d, words[k]));
    } else if (d->constraint_type == SANE_CONSTRAINT_RANGE) {
        c.min = wordValue(d, d->constraint.range->min);
        c.max = wordValue(d, d->constraint.range->max);
        c.step = wordValue(d, d->constraint.range->quant);
    }
    return c;
}

ScanBed Scanner::bed() const
{
    ScanBed b;
    const int x = optionIndex(SANE_NAME_SCAN_BR_X), y = optionIndex(SANE_NAME_SCAN_BR_Y);
    if (x < 0 || y < 0) return b;
    const SANE_Option_Descriptor* dx = sane_get_option_descriptor(handleOf(handle_), x);
    const SANE_Option_Descriptor* dy = sane_get_option_descriptor(handleOf(handle_), y);
    if (dx->unit != SANE_UNIT_MM || dx->constraint_type != SANE_CONSTRAINT_RANGE ||
        dy->constraint_type != SANE_CONSTRAINT_RANGE)
        return b;
    b.known = true;
    b.width = wordValue(dx, dx->constraint.range->max);
    b.height = wordValue(dy, dy->constraint.range->max);
    return b;
}

bool Scanner::setOption(const std::string& name, const std::string& value, std::string& why)
{
    const int i = optionIndex(name);
    if (i < 0) {
        why = "the scanner has no option " + name;
        return false;
    }
    SANE_Handle h = handleOf(handle_);
    const SANE_Option_Descriptor* d = sane_get_option_descriptor(h, i);
    if (!SANE_OPTION_IS_SETTABLE(d->cap) || !SANE_OPTION_IS_ACTIVE(d->cap)) {
        why = "the scanner's option " + name + " can not be set now";
        return false;
    }
    std::vector<SANE_Word> words(std::max<size_t>(1, size_t(d->size) / sizeof(SANE_Word)));
    std::vector<char> text;
    void* arg = words.data();
    char* end = nullptr;
    switch (d->type) {
    case SANE_TYPE_BOOL: {
        SANE_Bool b = SANE_FALSE;
        if (!parseBool(value, b)) {
            why = name + " takes yes or no";
            return false;
        }
        words[0] = b;
        break;
    }
    case SANE_TYPE_INT:
    case SANE_TYPE_FIXED: {
        const double v = std::strtod(value.c_str(), &end);
        if (value.empty() || *end) {
            why = name + " takes a number";
            return false;
        }
        std::fill(words.begin(), words.end(), wordOf(d, v));
        break;
    }
    case SANE_TYPE_STRING:
        text.assign(size_t(std::max<SANE_Int>(d->size, 1)), '\0');
        std::strncpy(text.data(), value.c_str(), text.size() - 1);
        arg = text.data();
        break;
    case SANE_TYPE_BUTTON: arg = nullptr; break;
    default: why = "the scanner's option " + name + " can not be set"; return false;
    }
    SANE_Int info = 0;
    const SANE_Status st = sane_control_option(h, i, SANE_ACTION_SET_VALUE, arg, &info);
    if (st != SANE_STATUS_GOOD) {
        why = "the scanner refuses " + name + " = " + value + ": " + sane_strstatus(st);
        return false;
    }
    return true;
}

bool Scanner::prepare(const ScanSettings& s, std::string& why)
{
    // Colour at 8 bits where the device has them; what it sends otherwise
    // is converted as it arrives.
    std::string ignored;
    setOption(SANE_NAME_SCAN_MODE, SANE_VALUE_SCAN_MODE_COLOR, ignored);
    setOption(SANE_NAME_BIT_DEPTH, "8", ignored);
    if (optionIndex(SANE_NAME_PREVIEW) >= 0) setOption(SANE_NAME_PREVIEW, s.preview ? "yes" : "no", ignored);

    const ResolutionChoice r = resolutions();
    char dpi[32];
    std::snprintf(dpi, sizeof dpi, "%g", r.nearest(s.resolution));
    if (optionIndex(SANE_NAME_SCAN_RESOLUTION) >= 0 && !setOption(SANE_NAME_SCAN_RESOLUTION, dpi, why)) return false;

    const ScanBed b = bed();
    if (b.known) {
        double area[4] = {0, 0, b.width, b.height};
        if (!s.wholeBed)
            for (int k = 0; k < 4; ++k) area[k] = std::clamp(s.area[k], 0.0, k % 2 ? b.height : b.width);
        const char* names[4] = {SANE_NAME_SCAN_TL_X, SANE_NAME_SCAN_TL_Y, SANE_NAME_SCAN_BR_X, SANE_NAME_SCAN_BR_Y};
        // The far corner first to the bed's edge, so that no step makes an
        // empty area the device would refuse.
        const double order[6][2] = {{2, b.width}, {3, b.height}, {0, area[0]}, {1, area[1]}, {2, area[2]}, {3, area[3]}};
        for (const auto& step : order) {
            char v[32];
            std::snprintf(v, sizeof v, "%g", step[1]);
            if (!setOption(names[int(step[0])], v, why)) return false;
        }
    }
    for (const auto& [name, value] : s.options)
        if (!setOption(name, value, why)) return false;
    return true;
}

bool Scanner::predictedSize(int32_t& w, int32_t& h)
{
    SANE_Parameters p{};
    if (sane_get_parameters(handleOf(handle_), &p) != SANE_STATUS_GOOD || p.pixels_per_line <= 0) return false;
    w = p.pixels_per_line;
    h = p.lines > 0 ? p.lines : -1;
    return true;
}

ScanResult Scanner::scan(uint64_t maxPixels, ScanProgress* progress)
{
    SANE_Handle h = handleOf(handle_);
    ScanResult r;
    FrameAssembler frames(maxPixels);
    std::vector<uint8_t> buf(kReadBytes);
    auto stop = [&](ScanStatus status, std::string why) {
        sane_cancel(h);
        r.status = cancelled_ ? ScanStatus::Cancelled : status;
        r.why = std::move(why);
        return std::move(r);
    };
    for (bool first = true;; first = false) {
        SANE_Status st = sane_start(h);
        if (st != SANE_STATUS_GOOD) return stop(ScanStatus::Failed, sane_strstatus(st));
        SANE_Parameters p{};
        st = sane_get_parameters(h, &p);
        if (st != SANE_STATUS_GOOD) return stop(ScanStatus::Failed, sane_strstatus(st));
        std::string why;
        if (!frames.beginFrame(p, why)) return stop(ScanStatus::Failed, why);
        if (progress && first && p.lines > 0) {
            const int frameCount = p.format == SANE_FRAME_GRAY || p.format == SANE_FRAME_RGB ? 1 : 3;
            progress->total = int64_t(p.bytes_per_line) * p.lines * frameCount;
        }
        for (;;) {
            if (cancelled_) return stop(ScanStatus::Cancelled, sane_strstatus(SANE_STATUS_CANCELLED));
            SANE_Int got = 0;
            st = sane_read(h, buf.data(), SANE_Int(buf.size()), &got);
            if (st == SANE_STATUS_EOF) break;
            if (st == SANE_STATUS_CANCELLED) return stop(ScanStatus::Cancelled, sane_strstatus(st));
            if (st != SANE_STATUS_GOOD) return stop(ScanStatus::Failed, sane_strstatus(st));
            if (!frames.add(buf.data(), size_t(got), why)) return stop(ScanStatus::Failed, why);
            if (progress) progress->done += got;
        }
        if (!frames.endFrame(why)) return stop(ScanStatus::Failed, why);
        if (p.last_frame) break;
    }
    sane_cancel(h);  // a finished scan is ended this way too
    r.status = ScanStatus::Ok;
    r.image = frames.finish();
    return r;
}

void Scanner::cancel()
{
    // sane_cancel may be called from another thread while sane_read waits.
    cancelled_ = true;
    sane_cancel(handleOf(handle_));
}

// ---- the worker

struct ScanJob::State {
    std::shared_ptr<Scanner> scanner;
    ScanProgress progress;
    std::mutex m;
    std::condition_variable cv;
    bool done = false;
    ScanResult result;
};

ScanJob::ScanJob(std::shared_ptr<Scanner> scanner, ScanSettings settings, uint64_t maxPixels)
    : state_(std::make_shared<State>())
{
    state_->scanner = std::move(scanner);
    state_->scanner->resetCancel();
    std::thread([s = state_, settings = std::move(settings), maxPixels] {
        ScanResult r;
        if (!s->scanner->prepare(settings, r.why)) r.status = ScanStatus::Failed;
        else r = s->scanner->scan(maxPixels, &s->progress);
        std::lock_guard<std::mutex> lock(s->m);
        s->result = std::move(r);
        s->done = true;
        s->cv.notify_all();
    }).detach();
}

ScanJob::~ScanJob()
{
    if (!finished()) cancel(500);
}

bool ScanJob::finished() const
{
    std::lock_guard<std::mutex> lock(state_->m);
    return state_->done;
}

bool ScanJob::wait(int ms)
{
    std::unique_lock<std::mutex> lock(state_->m);
    return state_->cv.wait_for(lock, std::chrono::milliseconds(ms), [this] { return state_->done; });
}

double ScanJob::progress() const
{
    const int64_t total = state_->progress.total;
    return total > 0 ? std::min(1.0, double(state_->progress.done) / double(total)) : -1;
}

ScanResult ScanJob::take()
{
    std::lock_guard<std::mutex> lock(state_->m);
    return std::move(state_->result);
}

bool ScanJob::cancel(int ms)
{
    state_->scanner->cancel();
    return wait(ms);
}

}  // namespace orx
