// orxsim show: a show script played without a window and without waiting.
//
//   orxsim show SCRIPT.MMP [--frames DIR [--view WxH] [--full]] [--loops N]
//               [--material MAT.CLO] [--layout L] [--contrast C] [--soft] [--reflection] [--library URL]
//
// With --frames, every picture the show puts up is written as DIR/00001.BMP,
// DIR/00002.BMP, ...: the picture area of WxH (1280x720 unless --view says
// otherwise) after each model, material and image line, each ZOOM and ZOUT
// and each SHIFT step; with --full, the whole image after model, material
// and image lines only. DIR/frames.txt lists them as "FILE SECONDS LINE":
// how long the frame stays up (the DELAY lines after it, 0.04 for a SHIFT
// step) and the script line (from 1) that made it. A pass ends at REPEAT;
// --loops N plays N passes (one unless told).
//
// Exit 0 when every line played; 3 when some lines failed (named on
// stderr); 1 when the script or DIR cannot be used; 2 for a bad command line.
#include <cinttypes>
#include <cstdio>
#include <filesystem>

#include "cli.h"
#include "engine/showScript.h"
#include "library/library.h"
#include "workspace/bitmapFile.h"
#include "workspace/display.h"

namespace orx {

namespace {

constexpr int32_t kMinView = 64, kMaxViewWidth = 7680, kMaxViewHeight = 4320;
constexpr int32_t kDefaultViewWidth = 1280, kDefaultViewHeight = 720;
constexpr int64_t kShiftStepCentiseconds = 100 / kShiftStepsPerSecond;
constexpr char kFrameList[] = "frames.txt";

bool parseView(const std::string& text, int32_t& w, int32_t& h)
{
    char tail = 0;
    return std::sscanf(text.c_str(), "%dx%d%c", &w, &h, &tail) == 2 && w >= kMinView && w <= kMaxViewWidth &&
           h >= kMinView && h <= kMaxViewHeight;
}

bool parseLoops(const std::string& text, int32_t& loops)
{
    char tail = 0;
    return std::sscanf(text.c_str(), "%d%c", &loops, &tail) == 1 && loops >= 1;
}

bool isFrameName(const std::string& name, int64_t& number)
{
    if (name.size() != 9 || name.compare(5, 4, ".BMP") != 0) return false;
    number = 0;
    for (int i = 0; i < 5; ++i) {
        if (name[i] < '0' || name[i] > '9') return false;
        number = number * 10 + (name[i] - '0');
    }
    return true;
}

// Writes each picture as the next frame of DIR and keeps the list.
class FrameStage : public ShowStage {
public:
    FrameStage(Workspace& ws, std::string dir, bool full) : ws_(ws), dir_(std::move(dir)), full_(full) {}

    void shown(ShowPicture what, int32_t line) override
    {
        const bool step = what == ShowPicture::ShiftStep;
        if (full_ && (step || what == ShowPicture::Zoom || what == ShowPicture::ZoomOut)) {
            // The whole image does not move; the time of the step still passes.
            if (step && !frames_.empty()) frames_.back().centiseconds += kShiftStepCentiseconds;
            return;
        }
        if (failed_) return;
        char name[16];
        std::snprintf(name, sizeof name, "%05zu.BMP", frames_.size() + 1);
        const std::string path = joinPath(dir_, name);
        const bool ok = full_ ? writeBMP(ws_, path, ws_.image, ws_.imageWidth, ws_.imageHeight)
                              : writeDisplayBMP(ws_, path);
        if (!ok) {
            failed_ = true;
            return;
        }
        frames_.push_back({name, step ? kShiftStepCentiseconds : 0, line});
    }

    bool hold(int32_t seconds) override
    {
        if (!frames_.empty()) frames_.back().centiseconds += int64_t(seconds) * 100;
        return true;
    }

    bool failed() const { return failed_; }

    bool writeList()
    {
        std::string text;
        for (const Frame& f : frames_) {
            char line[64];
            std::snprintf(line, sizeof line, "%s %" PRId64 ".%02" PRId64 " %d\n", f.name.c_str(), f.centiseconds / 100,
                          f.centiseconds % 100, f.line);
            text += line;
        }
        return writeFileAtomically(joinPath(dir_, kFrameList), text.data(), text.size());
    }

    // Frames of an earlier, longer show would pass for this one's.
    void removeStaleFrames() const
    {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(dir_, ec)) {
            int64_t number = 0;
            if (isFrameName(entry.path().filename().string(), number) && number > int64_t(frames_.size()))
                std::filesystem::remove(entry.path(), ec);
        }
    }

private:
    struct Frame {
        std::string name;
        int64_t centiseconds;
        int32_t line;
    };
    Workspace& ws_;
    std::string dir_;
    bool full_;
    bool failed_ = false;
    std::vector<Frame> frames_;
};

// Plays without pictures: orxsim show without --frames checks a script.
class SilentStage : public ShowStage {
public:
    void shown(ShowPicture, int32_t) override {}
    bool hold(int32_t) override { return true; }
};

// The frame folder, made when missing; false when nothing can be written there.
bool frameFolderUsable(const std::string& dir)
{
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    AtomicFile probe(joinPath(dir, kFrameList));
    const bool ok = probe.ok();
    probe.abandon();
    return ok;
}

// --material as dress reads it: a bare name missing here comes from the library.
std::string materialName(const std::string& given, Library* library)
{
    const bool bare = given.find('/') == std::string::npos;
    if (library && bare && !fileExists(given)) return given;
    std::error_code ec;
    const std::filesystem::path p = std::filesystem::absolute(given, ec);
    return ec ? given : p.string();
}

}  // namespace

int showCommand(Cli& cli)
{
    if (cli.args.size() != 1) return usage("show takes one script");
    Workspace& ws = cli.ws;
    std::string dir, text;
    const bool frames = cli.option("--frames", dir);
    if (frames && dir.empty()) return usage("--frames needs a folder");
    int32_t w = kDefaultViewWidth, h = kDefaultViewHeight, loops = 1;
    if (cli.option("--view", text)) {
        if (!frames) return usage("--view goes with --frames");
        if (!parseView(text, w, h)) return usage("--view is WxH, 64..7680 x 64..4320");
    }
    const bool full = cli.flag("--full");
    if (full && !frames) return usage("--full goes with --frames");
    if (cli.option("--loops", text) && !parseLoops(text, loops)) return usage("--loops takes a count of 1 or more");
    if (const int refused = applyDressOptions(cli); refused != kExitOk) return refused;

    const std::string& script = cli.args[0];
    if (!fileExists(script)) return fail("orxsim: " + script + ": can not open the script");
    if (frames && !frameFolderUsable(dir)) return fail("orxsim: " + dir + ": can not write frames there");
    std::unique_ptr<Library> library;
    if (!openRequestedLibrary(cli, library)) return kExitFailed;
    if (cli.option("--material", text) && !text.empty()) ws.materialPath = materialName(text, library.get());

    if (!reserveDisplay(ws, size_t(w * 3 + 3) / 4 * 4 * size_t(h))) return kExitFailed;
    setViewSize(ws, w, h + kStatusBandHeight);

    ShowFiles files(library.get());
    FrameStage frameStage(ws, dir, full);
    SilentStage silent;
    ShowStage& stage = frames ? static_cast<ShowStage&>(frameStage) : silent;
    const ShowResult result = playShowScript(ws, script, stage, files, loops);
    if (!result.opened) return kExitFailed;
    if (frames) {
        frameStage.removeStaleFrames();
        if (frameStage.failed() || !frameStage.writeList()) return fail("orxsim: " + dir + ": frames could not be written");
    }
    for (const auto& [line, what] : result.failed)
        std::fprintf(stderr, "orxsim: line %d failed: %s\n", line, what.c_str());
    return result.failed.empty() ? kExitOk : kExitPartly;
}

}  // namespace orx
