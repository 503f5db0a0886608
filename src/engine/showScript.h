// Show scripts (MMP files): an unattended presentation, one line at a time.
//
// A script loads models and dresses them, swaps materials, shows colour
// images, zooms, pans and waits, and may start again from its first line,
// until the person stops it with Esc or the right mouse button. The player
// is the same for the desktop program and orxsim; each hands it a stage that
// shows the pictures (or writes them as frames) and waits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "workspace/fileIo.h"
#include "workspace/workspace.h"

namespace orx {

// Kinds of show lines, in the order they are recognised.
enum ShowLine : int {
    ShowOther = 0,     // ignored
    ShowModel = 1,     // a name with ".MDL"
    ShowMaterial = 2,  // a name with ".CLO"
    ShowImage = 3,     // a name with ".RGB"
    ShowDelay = 4,     // DELAY s
    ShowRepeat = 5,    // REPEAT
    ShowZoom = 6,      // ZOOM n x y
    ShowZoomOut = 7,   // ZOUT n x y
    ShowShift = 8,     // SHIFT dx dy count
};

// Lines are read whole up to this many bytes; the rest of a longer line is dropped.
constexpr size_t kShowLineBytes = 4096;
// Number fields longer than this are treated as absent.
constexpr size_t kShowFieldChars = 11;
// SHIFT steps are shown at most this many a second.
constexpr int kShiftStepsPerSecond = 25;

struct ShowLineInfo {
    int kind = ShowOther;
    // DELAY: its seconds. ZOOM, ZOUT, SHIFT: up to three numbers; a field
    // that is missing, not a number or too long is marked absent and keeps
    // the value the player had.
    int32_t number[3] = {};
    bool present[3] = {};
};

ShowLineInfo classifyShowLine(std::string_view line);

// A script's text as lines: each ends at CR LF, LF or CR; a last line with
// no end is not part of the script.
std::vector<std::string> splitShowLines(const std::vector<uint8_t>& text);

// What a line has just put on show.
enum class ShowPicture { Model, Material, Image, Zoom, ZoomOut, ShiftStep };

// Where the pictures go: the view of the desktop program, or orxsim's
// frames. The picture is in RS (and, after a model, material or image line,
// in the image) when shown() is called.
class ShowStage {
public:
    virtual ~ShowStage() = default;
    // `line` counts from 1.
    virtual void shown(ShowPicture what, int32_t line) = 0;
    // A DELAY line: holds the picture. False when the show was stopped meanwhile.
    virtual bool hold(int32_t seconds) = 0;
};

// The files of a show. Names are taken from the script's folder first, as
// the files an ORX file names are; a bare name missing there comes from the
// online library when one is open. Absolute names are read from the disk,
// relative ones from the library.
class ShowFiles : public FileSource {
public:
    explicit ShowFiles(FileSource* library = nullptr, FileSource& disk = localFiles()) : library_(library), disk_(disk) {}
    std::unique_ptr<InStream> open(const std::string& name) override;
    std::vector<std::string> listFolder(const std::string& folder) override;

    // The name a line of the script stands for.
    std::string resolve(const std::string& script, const std::string& name);

private:
    FileSource& sourceOf(const std::string& name);
    FileSource* library_;
    FileSource& disk_;
};

struct ShowResult {
    bool opened = false;   // false: the script could not be read
    bool stopped = false;  // Esc or the right button ended it
    int32_t passes = 0;    // passes begun
    int32_t linesPlayed = 0;
    // Lines that failed: a model, material or image that could not be read,
    // or a mapping run with failing parts (line number from 1, and its text).
    std::vector<std::pair<int32_t, std::string>> failed;
};

// Plays the script. `passes` 0 plays until the script ends or is stopped
// (a REPEAT line starts it again for ever); N ends after N passes, each
// ending at a REPEAT line or at the end of the script. The picture area is
// the display size on entry. Stop requests are polled through the platform
// after every line and SHIFT step.
ShowResult playShowScript(Workspace& ws, const std::string& script, ShowStage& stage, ShowFiles& files,
                          int32_t passes = 0);

}  // namespace orx
