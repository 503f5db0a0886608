// The seam between the core and whoever shows it to a person.
//
// The core never talks to a window system: every message box, question,
// file dialog, beep, wait cursor, status prompt and the Esc / right-button
// poll goes through one Platform. The desktop program implements it with
// Qt, orxsim prints to stderr and answers "no", and the tests use a
// scripted fake that records every call.
#pragma once

#include <cstdint>
#include <string>

namespace orx {

enum class Icon { None, Stop, Information, Question };

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
};

struct Rect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // inclusive corners
};

class Platform {
public:
    virtual ~Platform() = default;

    virtual void message(const std::string& text, Icon icon) = 0;
    virtual void beep() = 0;
    virtual bool askYesNo(const std::string& text) = 0;
    // Empty result: the user cancelled.
    virtual std::string chooseOpenFile(const std::string& title, const std::string& filter) = 0;
    virtual std::string chooseSaveFile(const std::string& title, const std::string& filter) = 0;
    virtual void waitCursor(bool on) = 0;
    // True while Esc or the right mouse button is held down.
    virtual bool stopRequested() = 0;
    virtual void status(const std::string& text, Rgb band) = 0;
    // Refresh the view: the whole picture when rect is null.
    virtual void redraw(const Rect* rect) = 0;
    // A long job's progress: `done` of `total` steps (the parts of a mapping run).
    virtual void progress(int done, int total) {}
    // The undo or redo counts changed: tool windows refresh their buttons.
    virtual void undoStateChanged() {}
};

// Says nothing, answers every question with "no", never stops; keeps the
// last message so a caller can tell why something failed. Benchmarks and
// fuzzers run the core on it.
class QuietPlatform : public Platform {
public:
    void message(const std::string& text, Icon) override { lastMessage = text; }
    void beep() override {}
    bool askYesNo(const std::string&) override { return false; }
    std::string chooseOpenFile(const std::string&, const std::string&) override { return {}; }
    std::string chooseSaveFile(const std::string&, const std::string&) override { return {}; }
    void waitCursor(bool) override {}
    bool stopRequested() override { return false; }
    void status(const std::string&, Rgb) override {}
    void redraw(const Rect*) override {}

    std::string lastMessage;
};

// Prints messages to stderr, answers every question with "no", never stops.
// Used by orxsim and as the default until a real platform is installed.
class ConsolePlatform : public QuietPlatform {
public:
    explicit ConsolePlatform(bool quiet = false) : quiet_(quiet) {}
    void message(const std::string& text, Icon icon) override;
    bool askYesNo(const std::string& text) override;

private:
    bool quiet_;
};

}  // namespace orx
