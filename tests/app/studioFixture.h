// The desktop program's tests: a frame whose dialogs answer from queues,
// over a test workspace and the sample library the build writes.
#pragma once

#include <QPoint>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/cursors.h"
#include "app/mainFrame.h"
#include "app/studio.h"
#include "library/onlineLibrary.h"
#include "support/testSupport.h"

namespace orx::test {

// Answers the frame's dialogs from queues and records what was asked.
class ScriptedFrame : public app::CMainFrame {
public:
    using CMainFrame::CMainFrame;

    std::deque<std::string> libraryAnswers;                         // "" is "Exit"
    std::vector<std::pair<std::string, std::string>> libraryAsked;  // title, extension
    std::deque<int32_t> contrastAnswers;                            // -1 is "Exit"
    std::vector<int32_t> contrastOpenedOn;
    std::deque<std::pair<int32_t, int32_t>> sizeAnswers;
    // The language dialog: the button clicked (0 none) and whether OK ends it.
    std::deque<std::pair<int32_t, bool>> languageAnswers;
    std::vector<int32_t> aboutBoxes;
    std::deque<std::string> imageAnswers;                           // "" is Cancel
    std::vector<int32_t> imageTypesAsked;
    // The JPEG save: a name ("" is Cancel) and the quality typed (0 keeps it).
    std::deque<std::pair<std::string, int32_t>> jpegAnswers;
    std::vector<int32_t> jpegQualityShown;
    std::deque<app::ScannedPicture> scanAnswers;  // no pixels: cancelled
    std::deque<int32_t> penWidthAnswers;                    // none left: Cancel
    std::deque<std::pair<std::string, Rgb>> fontAnswers;    // none left: Cancel
    std::deque<std::string> textAnswers;                    // "" is Cancel
    int terminatedWith = -1;
    bool closeAsked = false;

    std::string chooseFromLibrary(const std::string& title, const std::string& extension) override
    {
        libraryAsked.emplace_back(title, extension);
        return pop(libraryAnswers, std::string());
    }
    int32_t chooseContrast(int32_t entry) override
    {
        contrastOpenedOn.push_back(entry);
        return pop(contrastAnswers, -1);
    }
    bool askNewImageSize(int32_t& w, int32_t& h) override
    {
        if (sizeAnswers.empty()) return false;
        std::tie(w, h) = pop(sizeAnswers, std::pair<int32_t, int32_t>());
        return true;
    }
    bool askLanguage() override;
    void showAbout(int32_t dialog) override { aboutBoxes.push_back(dialog); }
    bool scanPicture(app::ScannedPicture& out) override
    {
        out = pop(scanAnswers, app::ScannedPicture());
        return !out.rgb.empty();
    }
    std::string chooseImageFile(int32_t imageType) override
    {
        imageTypesAsked.push_back(imageType);
        return pop(imageAnswers, std::string());
    }
    std::string chooseJpegFile(const std::string&, const std::string&, int32_t& quality) override
    {
        jpegQualityShown.push_back(quality);
        const auto [name, typed] = pop(jpegAnswers, std::pair<std::string, int32_t>());
        if (typed > 0) quality = typed;
        return name;
    }
    bool askPenWidth(int32_t& width) override
    {
        if (penWidthAnswers.empty()) return false;
        width = pop(penWidthAnswers, 0);
        return true;
    }
    bool askFont(std::string& font, Rgb& colour) override
    {
        if (fontAnswers.empty()) return false;
        std::tie(font, colour) = pop(fontAnswers, std::pair<std::string, Rgb>());
        return true;
    }
    std::string askText() override { return pop(textAnswers, std::string()); }
    void terminate(int code) override { terminatedWith = code; }
    void closeProgram() override { closeAsked = true; }

private:
    template <typename T>
    static T pop(std::deque<T>& q, T none)
    {
        if (q.empty()) return none;
        T v = q.front();
        q.pop_front();
        return v;
    }
};

std::string sampleLibraryDir();
std::string orxsimPath();
std::string orxwebPath();
std::string kovahelpPath();

// Opens the sample library (a folder library) into the studio: true when
// both lists were built.
bool openSampleLibrary(app::Studio& studio);

// A workspace, its studio over the sample library, and a scripted frame of
// 1000 x 800 whose program directory is a fresh folder.
struct StudioFixture {
    explicit StudioFixture(int32_t language = LangEnglish, bool withLibrary = true);

    TempDir dir;
    TestWorkspace t;
    Workspace& ws;
    app::Studio studio;
    app::CursorTable cursors;
    std::unique_ptr<ScriptedFrame> frame;

    bool run(int32_t id) { return frame->execute(id); }
};

// A shown frame of w x h over a 240 x 180 test pattern fitted into the view,
// and macros played on it.
struct MacroFixture {
    StudioFixture s{LangEnglish, false};
    Workspace& ws = s.ws;
    CVLX98View& view;

    explicit MacroFixture(int w = 1000, int h = 800);
    // The player's error ("" when every line played); its stderr in stderrText.
    std::string play(const std::string& text, std::string* stderrText = nullptr);
    std::vector<uint8_t> image() const;
    QPoint win(int x, int y) const;
};

// Runs a program and collects its exit status and its output.
struct ProcessResult {
    int status = -1;
    std::string out, err;
};
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::pair<std::string, std::string>>& env, const std::string& workDir,
                         int timeoutMs = 60000);

}  // namespace orx::test
