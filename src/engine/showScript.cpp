// Show scripts: reading the lines, telling their kinds, and playing them.
#include "showScript.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "simulation.h"
#include "workspace/display.h"
#include "workspace/langText.h"
#include "workspace/nativeFile.h"
#include "workspace/toolModeIds.h"
#include "workspace/undoSnapshot.h"

namespace orx {

namespace {

constexpr uint64_t kScriptMaxBytes = 16u << 20;

struct Keyword {
    const char* word;
    int kind;
};

// Keywords are compared at the start of the line, upper case, after the
// file-line test: a keyword line naming a model is a model line.
const Keyword kKeywords[] = {
    {"DELAY", ShowDelay}, {"REPEAT", ShowRepeat}, {"ZOOM", ShowZoom}, {"ZOUT", ShowZoomOut}, {"SHIFT", ShowShift},
};

const Keyword kExtensions[] = {{".MDL", ShowModel}, {".CLO", ShowMaterial}, {".RGB", ShowImage}};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// "-12", "7", "30px" (leading digits); absent when it has no digit first,
// is longer than an int field may be, or does not fit 32 bits.
bool parseField(std::string_view field, int32_t& value)
{
    if (field.empty() || field.size() > kShowFieldChars) return false;
    size_t i = field[0] == '-' ? 1 : 0;
    if (i >= field.size() || field[i] < '0' || field[i] > '9') return false;
    int64_t v = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) v = v * 10 + (field[i] - '0');
    if (field[0] == '-') v = -v;
    if (v < INT32_MIN || v > INT32_MAX) return false;
    value = int32_t(v);
    return true;
}

void readNumbers(std::string_view rest, ShowLineInfo& info)
{
    int field = 0;
    size_t i = 0;
    while (field < 3) {
        while (i < rest.size() && isBlank(rest[i])) ++i;
        if (i >= rest.size()) break;
        const size_t start = i;
        while (i < rest.size() && !isBlank(rest[i])) ++i;
        info.present[field] = parseField(rest.substr(start, i - start), info.number[field]);
        ++field;
    }
}

}  // namespace

ShowLineInfo classifyShowLine(std::string_view line)
{
    ShowLineInfo info;
    for (size_t dot = line.find('.'); dot != std::string_view::npos; dot = line.find('.', dot + 1))
        for (const Keyword& e : kExtensions)
            if (line.compare(dot, 4, e.word) == 0) {
                info.kind = e.kind;
                return info;
            }
    for (const Keyword& k : kKeywords) {
        const size_t n = std::strlen(k.word);
        if (line.compare(0, n, k.word) != 0) continue;
        info.kind = k.kind;
        if (k.kind == ShowDelay) {
            // One digit, right after "DELAY" and a blank.
            info.number[0] = line.size() > 6 && line[6] >= '0' && line[6] <= '9' ? line[6] - '0' : 0;
            info.present[0] = true;
        } else if (k.kind != ShowRepeat) {
            readNumbers(line.substr(n), info);
        }
        return info;
    }
    return info;
}

std::vector<std::string> splitShowLines(const std::vector<uint8_t>& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = char(text[i]);
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines.push_back(std::move(line));
            line.clear();
        } else if (line.size() < kShowLineBytes) {
            line += c;
        }
    }
    return lines;  // an unended last line is dropped
}

// ---- files

FileSource& ShowFiles::sourceOf(const std::string& name)
{
    const bool onDisk = !name.empty() && name[0] == '/';
    return onDisk || !library_ ? disk_ : *library_;
}

std::unique_ptr<InStream> ShowFiles::open(const std::string& name) { return sourceOf(name).open(name); }

std::vector<std::string> ShowFiles::listFolder(const std::string& folder) { return sourceOf(folder).listFolder(folder); }

std::string ShowFiles::resolve(const std::string& script, const std::string& name)
{
    const std::string beside = resolveNamedFile(disk_, script, name);
    const bool bare = name.find_first_of("/\\") == std::string::npos;
    if (!library_ || !bare || disk_.open(beside)) return beside;
    return resolveNamedFile(*library_, "", name);
}

// ---- the player

namespace {

class Player {
public:
    Player(Workspace& ws, const std::string& script, ShowStage& stage, ShowFiles& files)
        : ws_(ws), script_(script), stage_(stage), files_(files)
    {
    }

    ShowResult play(int32_t passes);

private:
    // False when the show ends with this line.
    bool playLine(const std::string& line, int32_t number);
    void playModel(const std::string& name, int32_t number);
    void playMaterial(const std::string& name, int32_t number);
    void playImage(const std::string& name, int32_t number);
    void playZoom(const ShowLineInfo& info, int32_t number, bool enlarge);
    bool playShift(const ShowLineInfo& info, int32_t number);
    void dress(const std::string& line, int32_t number);
    bool readScript();
    bool stopAsked();
    void failed(const std::string& line, int32_t number) { result_.failed.emplace_back(number, line); }

    Workspace& ws_;
    const std::string& script_;
    ShowStage& stage_;
    ShowFiles& files_;
    std::vector<std::string> lines_;
    int32_t pictureWidth_ = 0, pictureHeight_ = 0;
    // Zoom count and SHIFT fields start at 0 for each show.
    int32_t zoomCount_ = 0;
    int32_t shiftDx_ = 0, shiftDy_ = 0, shiftCount_ = 0;
    ShowResult result_;
};

bool Player::readScript()
{
    std::vector<uint8_t> text;
    if (!readWholeFile(localFiles(), script_, kScriptMaxBytes, text)) {
        showLangMessage(ws_, Msg::CantOpenFile, script_.c_str());
        return false;
    }
    lines_ = splitShowLines(text);
    return true;
}

bool Player::stopAsked()
{
    if (!ws_.platform->stopRequested()) return false;
    result_.stopped = true;
    return true;
}

ShowResult Player::play(int32_t passes)
{
    if (!readScript()) return result_;
    result_.opened = true;
    pictureWidth_ = ws_.displayWidth;
    pictureHeight_ = ws_.displayHeight;
    ws_.maskVisible = 0;
    ws_.toolMode = ModeShow;
    ws_.platform->waitCursor(true);
    const std::string prompt = langText(ws_, Msg::OrxStopPrompt);
    bool going = true;
    while (going) {
        ++result_.passes;
        bool repeat = false;
        for (size_t i = 0; i < lines_.size() && going && !repeat; ++i) {
            ws_.platform->status(prompt, Rgb{255, 0, 0});
            const int32_t number = int32_t(i + 1);
            repeat = classifyShowLine(lines_[i]).kind == ShowRepeat;
            going = playLine(lines_[i], number);
            ++result_.linesPlayed;
            going = going && !stopAsked();
        }
        // REPEAT reads the script again, so that an edited script plays as it
        // now stands.
        going = going && repeat && (passes == 0 || result_.passes < passes) && readScript();
    }
    ws_.platform->status("", Rgb{0, 0, 255});
    ws_.platform->waitCursor(false);
    ws_.toolMode = ModeNone;
    return result_;
}

bool Player::playLine(const std::string& line, int32_t number)
{
    const ShowLineInfo info = classifyShowLine(line);
    switch (info.kind) {
    case ShowModel: playModel(line, number); break;
    case ShowMaterial: playMaterial(line, number); break;
    case ShowImage: playImage(line, number); break;
    case ShowDelay:
        if (stage_.hold(info.number[0])) return true;
        result_.stopped = true;
        return false;
    case ShowZoom: playZoom(info, number, true); break;
    case ShowZoomOut: playZoom(info, number, false); break;
    case ShowShift: return playShift(info, number);
    default: break;  // REPEAT is the caller's; other lines are ignored
    }
    return true;
}

// The current model dressed with the current material; the line fails when
// a part could not be mapped.
void Player::dress(const std::string& line, int32_t number)
{
    if (resimulate(ws_, files_) != 1) failed(line, number);
    ws_.platform->progress(0, 0);
}

void Player::playModel(const std::string& line, int32_t number)
{
    const std::string path = files_.resolve(script_, line);
    if (!loadModelForDressing(ws_, path, files_)) {
        failed(line, number);
        return;
    }
    resetUndo(ws_);
    setDisplaySize(ws_, pictureWidth_, pictureHeight_);
    showWholeImage(ws_);
    dress(line, number);
    showWholeImage(ws_);
    stage_.shown(ShowPicture::Model, number);
}

void Player::playMaterial(const std::string& line, int32_t number)
{
    const std::string path = files_.resolve(script_, line);
    if (!files_.open(path)) {
        showLangMessage(ws_, Msg::CantOpenFile, path.c_str());
        failed(line, number);
        return;
    }
    ws_.materialPath = path;
    if (ws_.modelLoaded != 1) return;  // the next model is dressed with it
    dress(line, number);
    redisplayAt(ws_, ws_.viewCentreX, ws_.viewCentreY);
    stage_.shown(ShowPicture::Material, number);
}

void Player::playImage(const std::string& line, int32_t number)
{
    const std::string path = files_.resolve(script_, line);
    // A missing companion makes the loader fail without a word.
    for (const std::string& name : {path, companionName(path, "IPR")})
        if (!files_.open(name)) {
            showLangMessage(ws_, Msg::CantOpenFile, name.c_str());
            failed(line, number);
            return;
        }
    if (!openRGBImage(ws_, path, files_)) {
        failed(line, number);
        return;
    }
    // The photograph of the model is gone: a material line now only sets the material.
    ws_.modelLoaded = 0;
    ws_.modelMapped = 0;
    ws_.maskVisible = 0;
    resetUndo(ws_);
    setDisplaySize(ws_, pictureWidth_, pictureHeight_);
    showWholeImage(ws_);
    stage_.shown(ShowPicture::Image, number);
}

void Player::playZoom(const ShowLineInfo& info, int32_t number, bool enlarge)
{
    if (info.present[0] && info.number[0] >= 1 && info.number[0] <= 7) zoomCount_ = info.number[0];
    // Without a point the view keeps its centre.
    const int32_t x = info.present[1] ? info.number[1] : ws_.viewCentreX;
    const int32_t y = info.present[2] ? info.number[2] : ws_.viewCentreY;
    for (int32_t i = 0; i < zoomCount_; ++i) enlarge ? zoomIn(ws_) : zoomOut(ws_);
    redisplayAt(ws_, x, y);
    stage_.shown(enlarge ? ShowPicture::Zoom : ShowPicture::ZoomOut, number);
}

bool Player::playShift(const ShowLineInfo& info, int32_t number)
{
    if (info.present[0]) shiftDx_ = info.number[0];
    if (info.present[1]) shiftDy_ = info.number[1];
    if (info.present[2]) shiftCount_ = info.number[2];
    for (int32_t i = 0; i < shiftCount_; ++i) {
        redisplayAt(ws_, int32_t(std::clamp<int64_t>(int64_t(ws_.viewCentreX) + shiftDx_, INT32_MIN, INT32_MAX)),
                    int32_t(std::clamp<int64_t>(int64_t(ws_.viewCentreY) + shiftDy_, INT32_MIN, INT32_MAX)));
        stage_.shown(ShowPicture::ShiftStep, number);
        if (stopAsked()) return false;
    }
    return true;
}

}  // namespace

ShowResult playShowScript(Workspace& ws, const std::string& script, ShowStage& stage, ShowFiles& files,
                          int32_t passes)
{
    // Names beside the script are found from its folder, wherever the
    // program was started.
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(script, ec);
    const std::string path = ec ? script : absolute.string();
    Player player(ws, path, stage, files);
    return player.play(passes);
}

}  // namespace orx
