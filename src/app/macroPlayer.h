// Command macros: a person's work at the view as a text file of actions,
// played through the command table and the mouse tool modes, offscreen too.
//
//   orxweb --macro FILE [--exit] [START]
//
// One action a line; "#" lines and blank lines are skipped. PATH and TEXT
// run to the end of the line, PATH relative to the macro's folder; points
// are image pixels. ${FILE} is START's path, ${STEM} the same less its
// extension.
//
//   open PATH | save PATH | savemask PATH | command ID | wait MS
//   view S X Y                              scale (16 is 1:1), image point at the centre
//   pen R G B [density D] [width W]         the pen, as the colour box and palette set it
//   down X Y [right] [shift] [ctrl] | move X Y | up X Y [right] [shift] [ctrl]
//   click X Y [right] [shift] [ctrl] | dblclick X Y | key NAME
//   answer ...                              the next dialog's answer (kAnswers in macroPlayer.cpp)
//   expect message TEXT                     a message box the next action shows
//
// Answers queue for the next command, up, click, dblclick or key line,
// and are taken by its dialogs in order; an answer left unused fails that
// line, so does a dialog with no answer. A message box prints "message: TEXT"
// to stderr and closes; one no "expect message" announced fails its line.
//
// A new action is one row of kVerbs (macroPlayer.cpp): its name, the words
// it takes, whether it uses the queued answers, and its function.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class CVLX98View;

namespace orx {
struct Workspace;
}

namespace orx::app {

class CMainFrame;

struct MacroLine {
    int32_t number = 0;                 // in the file, from 1
    std::string verb;                   // "click", "answer", ...
    std::string kind;                   // answers: "open", "yes", ...
    std::vector<std::string> args;      // the values in the order the row names them
    std::vector<std::string> flags;     // optional words given: "right", "shift", ...
    std::vector<std::pair<std::string, int32_t>> options;  // optional "word N" pairs
    std::vector<std::string> block;     // answer editor: the text's lines

    bool has(const char* flag) const;
    int32_t integer(size_t i) const;
    double real(size_t i) const;
    // The value of an option, or `otherwise` when it was not given.
    int32_t option(const char* word, int32_t otherwise) const;
};

struct Macro {
    std::string path;  // the macro file
    std::vector<MacroLine> lines;
};

// Reads and checks a whole macro before anything plays. False with
// "line N: reason" in error.
bool parseMacro(const std::string& text, const std::string& macroPath, const std::string& startFile, Macro& macro,
                std::string& error);
bool readMacro(const std::string& path, const std::string& startFile, Macro& macro, std::string& error);

class MacroPlayer {
public:
    MacroPlayer(CMainFrame& frame, const Macro& macro);
    ~MacroPlayer();
    MacroPlayer(const MacroPlayer&) = delete;
    MacroPlayer& operator=(const MacroPlayer&) = delete;

    // Opens START (when given), then plays the lines in order. False at the
    // first line that fails, with "line N: reason" in error().
    bool play(const std::string& startFile = {});
    const std::string& error() const { return error_; }

    // ---- for the actions and the dialogs
    CMainFrame& frame() { return frame_; }
    Workspace& ws();
    CVLX98View& view();
    // The line fails with this reason (the first reason given stays).
    void fail(const std::string& reason);
    // The next queued answer for a dialog that takes one of `kinds` (cancel
    // always fits). nullptr, and the line fails, when there is none or it
    // is of another kind.
    const MacroLine* answer(std::initializer_list<const char*> kinds, const std::string& title);
    // Whether the next queued answer is of this kind (for a step that asks
    // only when told).
    bool nextAnswerIs(const char* kind) const;
    // A message box: printed, and matched against the next "expect message".
    void message(const std::string& text);
    // A stop poll, answered by "answer stop N": false N times, then true.
    // Without one, `otherwise` is the answer.
    bool stopPoll(bool otherwise);
    // The mouse buttons a down line left held (Qt::MouseButtons).
    uint32_t heldButtons = 0;

private:
    class Layers;
    bool playLine(const MacroLine& line);
    void takeStopAnswer();
    void checkAllUsed();

    CMainFrame& frame_;
    const Macro& macro_;
    std::unique_ptr<Layers> layers_;
    std::vector<const MacroLine*> answers_;
    std::vector<const MacroLine*> expected_;
    const MacroLine* stop_ = nullptr;  // the line's "answer stop N"
    int32_t polls_ = 0;
    bool stopUsed_ = false;
    const MacroLine* current_ = nullptr;
    std::string reason_;
    std::string error_;
};

// The program's start: opens START (when given) and plays the macro file.
// 0 when every line played; 1 after "line N: reason" (or why the macro or
// START could not be read) on stderr.
int playMacroFile(CMainFrame& frame, const std::string& path, const std::string& startFile);

// Text written into a macro line: line breaks become "\n" and backslashes
// "\\"; macro lines read back the same text.
std::string escapeMacroText(const std::string& text);
std::string unescapeMacroText(const std::string& text);

}  // namespace orx::app
