// Command macros: the actions, the answers, reading a macro and playing it.
#include "macroPlayer.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPrinter>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <initializer_list>

#include "commandTable.h"
#include "imageFileBrowser.h"
#include "scan/scanner.h"
#include "engine/shading.h"
#include "mainFrame.h"
#include "printing.h"
#include "shellLayer.h"
#include "view.h"
#include "tools/paint.h"
#include "workspace/display.h"
#include "workspace/fileIo.h"
#include "workspace/fileKinds.h"
#include "workspace/langText.h"
#include "workspace/nativeFile.h"
#include "workspace/textFile.h"

namespace orx::app {

namespace {

// ---- the words a line takes
//
// A row's pattern names what follows its verb (or its answer's kind):
//   PATH  the rest of the line, a file name relative to the macro's folder
//   TEXT  the rest of the line as it stands ("\n" is a line break)
//   N     an integer      R  a number      NAME  one word
//   word  that word itself
//   [flag] [word N]  optional, in any order, after the rest

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string> tokensOf(const char* pattern)
{
    std::vector<std::string> tokens;
    for (const char* p = pattern; *p;) {
        if (isBlank(*p)) {
            ++p;
            continue;
        }
        const char* end = *p == '[' ? std::strchr(p, ']') + 1 : p + std::strcspn(p, " \t");
        tokens.emplace_back(p, end);
        p = end;
    }
    return tokens;
}

bool readInteger(const std::string& word, int32_t& v)
{
    char* end = nullptr;
    errno = 0;
    const long long n = std::strtoll(word.c_str(), &end, 10);
    if (word.empty() || *end != '\0' || errno == ERANGE || n < INT32_MIN || n > INT32_MAX) return false;
    v = int32_t(n);
    return true;
}

bool readReal(const std::string& word, double& v)
{
    char* end = nullptr;
    v = std::strtod(word.c_str(), &end);
    return !word.empty() && *end == '\0' && std::isfinite(v);
}

std::string trimmed(const std::string& s)
{
    size_t a = 0, b = s.size();
    while (a < b && isBlank(s[a])) ++a;
    while (b > a && isBlank(s[b - 1])) --b;
    return s.substr(a, b - a);
}

// What reading a macro knows beside the line: where the macro lies.
struct ReadingContext {
    std::string folder;
};

std::string resolvedPath(const ReadingContext& rc, const std::string& name)
{
    return !name.empty() && name[0] == '/' ? name : joinPath(rc.folder, name);
}

// Fills the line's values from `rest` by the pattern; false when they do not fit it.
bool matchPattern(const char* pattern, const std::string& rest, const ReadingContext& rc, MacroLine& line)
{
    size_t at = 0;
    auto nextWord = [&](std::string& word) {
        while (at < rest.size() && isBlank(rest[at])) ++at;
        const size_t start = at;
        while (at < rest.size() && !isBlank(rest[at])) ++at;
        word = rest.substr(start, at - start);
        return !word.empty();
    };
    std::vector<std::string> optional;
    for (const std::string& token : tokensOf(pattern)) {
        if (token[0] == '[') {
            optional.push_back(token.substr(1, token.size() - 2));
            continue;
        }
        std::string word;
        if (token == "PATH" || token == "TEXT") {
            word = trimmed(rest.substr(at));
            at = rest.size();
            if (word.empty()) return false;
            line.args.push_back(token == "PATH" ? resolvedPath(rc, word) : unescapeMacroText(word));
            continue;
        }
        if (!nextWord(word)) return false;
        int32_t n = 0;
        double r = 0;
        if ((token == "N" && !readInteger(word, n)) || (token == "R" && !readReal(word, r))) return false;
        if (token == "N" || token == "R" || token == "NAME") {
            line.args.push_back(word);
        } else if (word != token) {
            return false;
        }
    }
    // What is left: optional words, each at most once.
    std::string word;
    while (nextWord(word)) {
        const auto it = std::find_if(optional.begin(), optional.end(), [&](const std::string& o) {
            return o == word || o.rfind(word + " ", 0) == 0;
        });
        if (it == optional.end() || line.has(word.c_str())) return false;
        line.flags.push_back(word);
        if (*it == word) continue;
        std::string value;
        int32_t n = 0;
        if (!nextWord(value) || !readInteger(value, n)) return false;
        line.options.emplace_back(word, n);
    }
    return true;
}

// ---- answers
//
// Each dialog takes the kinds that fit it (macroPlayer's Layers below);
// "ok" is the default button as shown, "cancel" fits every dialog.

const char* checkLanguage(MacroLine& l, const ReadingContext&)
{
    const int32_t v = l.integer(0);
    return v == LangTaiwan || v == LangEnglish ? nullptr : "the language is 1 or 3";
}

const char* checkPrintType(MacroLine& l, const ReadingContext&)
{
    const int32_t v = l.integer(0);
    return v == 1 || v == 2 || v == 4 || v == 5 ? nullptr : "the print type is 1, 2, 4 or 5";
}

const char* checkColour(MacroLine& l, const ReadingContext&)
{
    for (size_t i = 0; i < 3; ++i)
        if (l.integer(i) < 0 || l.integer(i) > 255) return "a colour is three values 0..255";
    return nullptr;
}

const char* checkContrast(MacroLine& l, const ReadingContext&)
{
    return l.real(0) >= 0.1 - 1e-9 && l.real(0) <= 2.0 + 1e-9 ? nullptr : "the contrast lies between 0.1 and 2.0";
}

const char* checkPenWidth(MacroLine& l, const ReadingContext&)
{
    return l.integer(0) >= kMinPenWidth && l.integer(0) <= kMaxPenWidth ? nullptr : "the pen width is 1 to 5";
}

const char* checkCount(MacroLine& l, const ReadingContext&) { return l.integer(0) >= 0 ? nullptr : "a count is 0 or more"; }

const char* checkQuality(MacroLine& l, const ReadingContext&)
{
    return l.integer(0) >= 1 && l.integer(0) <= 100 ? nullptr : "a JPEG quality is 1 to 100";
}

// "pdf PATH [a4|letter|WxHin]" or "default": args become {"pdf", path,
// size} or {"default"}.
const char* checkPrinter(MacroLine& l, const ReadingContext& rc)
{
    const char* form = "the printer is: pdf PATH [a4|letter|WxHin], or default";
    std::string text = l.args[0];
    if (text == "default") return nullptr;
    if (text.rfind("pdf", 0) != 0 || text.size() < 5 || !isBlank(text[3])) return form;
    text = trimmed(text.substr(4));
    std::string size = "a4";
    const size_t last = text.find_last_of(" \t");
    if (last != std::string::npos) {
        const std::string word = text.substr(last + 1);
        double w = 0, h = 0;
        char unit[3] = {};
        if (word == "a4" || word == "letter" ||
            (std::sscanf(word.c_str(), "%lfx%lf%2s", &w, &h, unit) == 3 && std::strcmp(unit, "in") == 0 && w > 0 && h > 0)) {
            size = word;
            text = trimmed(text.substr(0, last));
        }
    }
    l.args = {"pdf", resolvedPath(rc, text), size};
    return nullptr;
}

struct AnswerKind {
    const char* kind;
    const char* pattern;
    // Checks the values beyond their form (and may put them in the form
    // the dialog takes); nullptr or why they are refused.
    const char* (*check)(MacroLine&, const ReadingContext&);
};

const AnswerKind kAnswers[] = {
    {"open", "PATH", nullptr},           // a file dialog for opening
    {"save", "PATH", nullptr},           // a file dialog for saving
    {"jpeg", "N PATH", checkQuality},
    {"scan", "N TEXT", nullptr},         // the scan dialog: the whole bed at N dpi from device TEXT, To Screen    // the JPEG save: its quality and name ("save PATH" keeps the quality)
    {"yes", "", nullptr},                // a question
    {"no", "", nullptr},
    {"library", "TEXT", nullptr},        // the thumbnail browser: the file's name
    {"contrast", "R", checkContrast},    // "Contrast Control": the entry of that value, then Apply
    {"size", "N N", nullptr},            // the new-image size
    {"language", "N", checkLanguage},    // the language dialog, then OK
    {"print", "N", checkPrintType},      // "Select Print Type", then Print
    {"text", "TEXT", nullptr},           // a text to type
    {"colour", "N N N", checkColour},    // a colour to pick
    {"width", "N", checkPenWidth},       // "筆寬設定": the pen width
    {"font", "N N N TEXT", checkColour}, // the text tool's font: its colour, then the font's description
    {"printer", "TEXT", checkPrinter},   // pdf PATH [a4|letter|WxHin] | default
    {"editor", "", nullptr},             // the lines up to "." become the text (".." for one
                                         // starting with "."); Save, Exit
    {"ok", "", nullptr},
    {"cancel", "", nullptr},
    {"stop", "N", checkCount},           // the next show or run stops after N polls
};

const AnswerKind* findAnswer(const std::string& kind)
{
    for (const AnswerKind& a : kAnswers)
        if (kind == a.kind) return &a;
    return nullptr;
}

// ---- the actions

enum VerbKind {
    Action,        // plays by itself
    TakesAnswers,  // the queued answers and messages are for it
    Queued,        // an answer or an expected message, kept for the next TakesAnswers line
};

struct Verb {
    const char* name;
    const char* pattern;
    VerbKind kind;
    void (*play)(MacroPlayer&, const MacroLine&);
    const char* (*check)(MacroLine&, const ReadingContext&);
};

bool needPicture(MacroPlayer& p)
{
    if (p.ws().imageLoaded == 1) return true;
    p.fail("there is no picture");
    return false;
}

void playOpen(MacroPlayer& p, const MacroLine& l)
{
    if (!p.frame().openStartFile(l.args[0])) p.fail("can not open " + l.args[0]);
}

void playSave(MacroPlayer& p, const MacroLine& l)
{
    const FileKindInfo& kind = fileKindOf(l.args[0]);
    if (!needPicture(p)) return;
    if (!kind.save) return p.fail("can not save this kind: " + l.args[0]);
    if (!kind.save(p.ws(), l.args[0])) p.fail("can not save " + l.args[0]);
}

void playSaveMask(MacroPlayer& p, const MacroLine& l)
{
    Workspace& ws = p.ws();
    if (needPicture(p) && !saveMSK(ws, l.args[0], ws.mask, ws.imageWidth, ws.imageHeight))
        p.fail("can not save " + l.args[0]);
}

const char* checkCommand(MacroLine& l, const ReadingContext&) { return findCommand(l.integer(0)) ? nullptr : "no such command"; }

void playCommand(MacroPlayer& p, const MacroLine& l)
{
    const Command* c = findCommand(l.integer(0));
    if (!p.frame().execute(c->id))
        p.fail("command " + l.args[0] + (isEnabled(*c, p.ws()) ? " can not run now" : " is disabled"));
}

const char* checkWait(MacroLine& l, const ReadingContext&) { return l.integer(0) >= 0 ? nullptr : "a wait is 0 ms or more"; }

void playWait(MacroPlayer&, const MacroLine& l)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < l.integer(0)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(std::min<qint64>(5, l.integer(0) - clock.elapsed() + 1));
    }
}

const char* checkScale(MacroLine& l, const ReadingContext&)
{
    const int32_t s = l.integer(0);
    const bool inTable = zoomStepIn(s) != s || zoomStepOut(s) != s;
    return inTable ? nullptr : "the scale is one of 1, 2, 4, 8, 16, 32, 48, ... 240";
}

void playView(MacroPlayer& p, const MacroLine& l)
{
    if (!needPicture(p)) return;
    Workspace& ws = p.ws();
    setViewSize(ws, p.view().width(), p.view().height());
    ws.displayScale16 = l.integer(0);
    redisplayAt(ws, l.integer(1), l.integer(2));
    saveDisplay(ws);
}

// The pen as the colour box and the paint palette set it; the boxes that
// are open show it.
const char* checkPen(MacroLine& l, const ReadingContext& rc)
{
    if (const char* why = checkColour(l, rc)) return why;
    const int32_t density = l.option("density", kOpaque), width = l.option("width", kMinPenWidth);
    if (density < 0 || density > kOpaque) return "the density is 0 to 100";
    if (width < kMinPenWidth || width > kMaxPenWidth) return "the pen width is 1 to 5";
    return nullptr;
}

void playPen(MacroPlayer& p, const MacroLine& l)
{
    Workspace& ws = p.ws();
    ws.penColour = Rgb{uint8_t(l.integer(0)), uint8_t(l.integer(1)), uint8_t(l.integer(2))};
    ws.penDensity = uint8_t(l.option("density", ws.penDensity));
    ws.penWidth = l.option("width", ws.penWidth);
    p.frame().showPen();
}

// ---- mouse and keys

Qt::KeyboardModifiers modifiersOf(const MacroLine& l)
{
    Qt::KeyboardModifiers m;
    if (l.has("shift")) m |= Qt::ShiftModifier;
    if (l.has("ctrl")) m |= Qt::ControlModifier;
    return m;
}

Qt::MouseButton buttonOf(const MacroLine& l) { return l.has("right") ? Qt::RightButton : Qt::LeftButton; }

// The line's image point, where the view shows it now.
void sendMouse(MacroPlayer& p, const MacroLine& l, QEvent::Type type, Qt::MouseButton button)
{
    const Point w = imageToWindow(p.ws(), l.integer(0), l.integer(1));
    const QPointF local(w.x, w.y);
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) p.heldButtons |= button;
    if (type == QEvent::MouseButtonRelease) p.heldButtons &= ~uint32_t(button);
    const Qt::MouseButtons held = Qt::MouseButtons::fromInt(int(p.heldButtons));
    QMouseEvent event(type, local, p.view().mapToGlobal(local), button, held, modifiersOf(l));
    QCoreApplication::sendEvent(&p.view(), &event);
}

void playDown(MacroPlayer& p, const MacroLine& l)
{
    if (needPicture(p)) sendMouse(p, l, QEvent::MouseButtonPress, buttonOf(l));
}

void playMove(MacroPlayer& p, const MacroLine& l)
{
    if (needPicture(p)) sendMouse(p, l, QEvent::MouseMove, Qt::NoButton);
}

void playUp(MacroPlayer& p, const MacroLine& l)
{
    if (needPicture(p)) sendMouse(p, l, QEvent::MouseButtonRelease, buttonOf(l));
}

void playClick(MacroPlayer& p, const MacroLine& l)
{
    if (!needPicture(p)) return;
    sendMouse(p, l, QEvent::MouseButtonPress, buttonOf(l));
    sendMouse(p, l, QEvent::MouseButtonRelease, buttonOf(l));
}

// Qt's double click: the second press comes as the double-click event.
void playDoubleClick(MacroPlayer& p, const MacroLine& l)
{
    if (!needPicture(p)) return;
    sendMouse(p, l, QEvent::MouseButtonDblClick, Qt::LeftButton);
    sendMouse(p, l, QEvent::MouseButtonRelease, Qt::LeftButton);
}

// "Escape", "Esc", "Space", "A", "F3", "Ctrl+F": Qt's own key names.
QKeySequence keyOf(const std::string& name)
{
    return QKeySequence::fromString(QString::fromStdString(name), QKeySequence::PortableText);
}

const char* checkKey(MacroLine& l, const ReadingContext&)
{
    const QKeySequence key = keyOf(l.args[0]);
    return key.count() == 1 && key[0].key() != Qt::Key_unknown ? nullptr : "no such key";
}

// A key a menu item takes as its shortcut runs that item, as it would for a
// person; any other goes to the view.
void playKey(MacroPlayer& p, const MacroLine& l)
{
    const QKeySequence key = keyOf(l.args[0]);
    for (QAction* a : p.frame().findChildren<QAction*>())
        if (a->shortcut() == key && a->isEnabled()) {
            a->trigger();
            return;
        }
    const QKeyCombination k = key[0];
    QKeyEvent press(QEvent::KeyPress, int(k.key()), k.keyboardModifiers());
    QKeyEvent release(QEvent::KeyRelease, int(k.key()), k.keyboardModifiers());
    QCoreApplication::sendEvent(&p.view(), &press);
    QCoreApplication::sendEvent(&p.view(), &release);
}

void queued(MacroPlayer&, const MacroLine&) {}

// The actions. To add one, copy a row: its name, the words it takes (see
// matchPattern), TakesAnswers when dialogs it opens take the queued
// answers, its function, and a check of its values beyond their form.
const Verb kVerbs[] = {
    {"open", "PATH", Action, playOpen, nullptr},
    {"save", "PATH", Action, playSave, nullptr},
    {"savemask", "PATH", Action, playSaveMask, nullptr},
    {"command", "N", TakesAnswers, playCommand, checkCommand},
    {"wait", "N", Action, playWait, checkWait},
    {"view", "N N N", Action, playView, checkScale},
    {"pen", "N N N [density N] [width N]", Action, playPen, checkPen},
    {"down", "N N [right] [shift] [ctrl]", Action, playDown, nullptr},
    {"move", "N N", Action, playMove, nullptr},
    {"up", "N N [right] [shift] [ctrl]", TakesAnswers, playUp, nullptr},
    {"click", "N N [right] [shift] [ctrl]", TakesAnswers, playClick, nullptr},
    {"dblclick", "N N", TakesAnswers, playDoubleClick, nullptr},
    {"key", "NAME", TakesAnswers, playKey, checkKey},
    {"answer", "", Queued, queued, nullptr},   // the kind's row in kAnswers says the rest
    {"expect", "message TEXT", Queued, queued, nullptr},
};

const Verb* findVerb(const std::string& name)
{
    for (const Verb& v : kVerbs)
        if (name == v.name) return &v;
    return nullptr;
}

std::string substituted(std::string text, const std::string& startFile)
{
    const size_t dot = startFile.rfind('.'), slash = startFile.rfind('/');
    const bool extension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string stem = extension ? startFile.substr(0, dot) : startFile;
    for (const auto& [name, value] : {std::pair<const char*, const std::string&>{"${FILE}", startFile},
                                      std::pair<const char*, const std::string&>{"${STEM}", stem}})
        for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + value.size()))
            text.replace(at, std::strlen(name), value);
    return text;
}

std::vector<std::string> macroTextLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

}  // namespace

// ---- lines

bool MacroLine::has(const char* flag) const { return std::find(flags.begin(), flags.end(), flag) != flags.end(); }

int32_t MacroLine::integer(size_t i) const
{
    int32_t v = 0;
    return i < args.size() && readInteger(args[i], v) ? v : 0;
}

double MacroLine::real(size_t i) const
{
    double v = 0;
    return i < args.size() && readReal(args[i], v) ? v : 0;
}

int32_t MacroLine::option(const char* word, int32_t otherwise) const
{
    for (const auto& [w, v] : options)
        if (w == word) return v;
    return otherwise;
}

std::string escapeMacroText(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c != '\r') out += c;
    }
    return out;
}

std::string unescapeMacroText(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == '\\')) {
            out += text[++i] == 'n' ? '\n' : '\\';
            continue;
        }
        out += text[i];
    }
    return out;
}

// ---- reading

bool parseMacro(const std::string& text, const std::string& macroPath, const std::string& startFile, Macro& macro,
                std::string& error)
{
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(macroPath, ec);
    macro.path = ec ? macroPath : absolute.string();
    const ReadingContext rc{dirName(macro.path)};
    std::string start;
    if (!startFile.empty()) {
        const std::filesystem::path s = std::filesystem::absolute(startFile, ec);
        start = ec ? startFile : s.string();
    }
    const std::vector<std::string> lines = macroTextLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        const int32_t number = int32_t(i + 1);
        auto refuse = [&](const std::string& why) {
            error = "line " + std::to_string(number) + ": " + why;
            return false;
        };
        const std::string raw = trimmed(lines[i]);
        if (raw.empty() || raw[0] == '#') continue;
        if (start.empty() && (raw.find("${FILE}") != std::string::npos || raw.find("${STEM}") != std::string::npos))
            return refuse("${FILE} and ${STEM} need a START file");
        const std::string line = substituted(raw, start);

        MacroLine m;
        m.number = number;
        const size_t verbEnd = std::min(line.find_first_of(" \t"), line.size());
        m.verb = line.substr(0, verbEnd);
        std::string rest = line.substr(verbEnd);
        const Verb* verb = findVerb(m.verb);
        if (!verb) return refuse("unknown action " + m.verb);
        const char* pattern = verb->pattern;
        const char* (*check)(MacroLine&, const ReadingContext&) = verb->check;
        std::string usage = m.verb + " " + pattern;
        if (m.verb == "answer") {
            const std::string t = trimmed(rest);
            const size_t kindEnd = std::min(t.find_first_of(" \t"), t.size());
            m.kind = t.substr(0, kindEnd);
            const AnswerKind* kind = findAnswer(m.kind);
            if (!kind) return refuse("unknown answer " + m.kind);
            rest = t.substr(kindEnd);
            pattern = kind->pattern;
            check = kind->check;
            usage = "answer " + m.kind + " " + pattern;
        }
        if (!matchPattern(pattern, rest, rc, m)) return refuse(trimmed(usage) + " is the form");
        if (check) {
            if (const char* why = check(m, rc)) return refuse(why);
        }
        if (m.kind == "editor") {
            // The text follows, up to a line holding only ".".
            size_t end = i + 1;
            // A line of the text that starts with "." is written with one more.
            for (; end < lines.size() && lines[end] != "."; ++end)
                m.block.push_back(lines[end].rfind("..", 0) == 0 ? lines[end].substr(1) : lines[end]);
            if (end == lines.size()) return refuse("the editor's text has no end line \".\"");
            i = end;
        }
        macro.lines.push_back(std::move(m));
    }
    return true;
}

bool readMacro(const std::string& path, const std::string& startFile, Macro& macro, std::string& error)
{
    std::vector<uint8_t> bytes;
    if (!readWholeFile(localFiles(), path, 16u << 20, bytes)) {
        error = "can not read the macro " + path;
        return false;
    }
    return parseMacro(std::string(bytes.begin(), bytes.end()), path, startFile, macro, error);
}

// ---- the layers that answer for the person

class MacroPlayer::Layers {
public:
    Layers(MacroPlayer& player, CMainFrame& frame, Workspace& ws)
        : shell_(player, frame.shell()), platform_(player, *ws.platform), frame_(frame), ws_(ws), saved_(ws.platform)
    {
        frame.setShellLayer(&shell_);
        ws.platform = &platform_;
    }
    ~Layers()
    {
        frame_.setShellLayer(nullptr);
        ws_.platform = saved_;
    }

private:
    class Dialogs : public ShellForwarder {
    public:
        Dialogs(MacroPlayer& p, Shell& inner) : ShellForwarder(inner), p_(p) {}

        std::string chooseFromLibrary(const std::string& title, const std::string&) override
        {
            const MacroLine* a = p_.answer({"library"}, title);
            return a && a->kind == "library" ? a->args[0] : std::string();
        }
        int32_t chooseContrast(int32_t entry) override
        {
            const MacroLine* a = p_.answer({"contrast", "ok"}, "Contrast Control");
            if (!a || a->kind == "cancel") return -1;
            if (a->kind == "ok") return entry;
            for (int k = 0; k < 20; ++k)
                if (std::fabs(contrastOfEntry(k) - a->real(0)) < 1e-4) return k;
            p_.fail("no contrast entry " + a->args[0]);
            return -1;
        }
        bool askNewImageSize(int32_t& width, int32_t& height) override
        {
            const MacroLine* a = p_.answer({"size", "ok"}, langText(p_.ws(), Msg::NewImageTitle));
            if (!a || a->kind == "cancel") return false;
            if (a->kind == "size") {
                width = a->integer(0);
                height = a->integer(1);
            }
            return true;
        }
        bool askLanguage() override
        {
            const MacroLine* a = p_.answer({"language", "ok"}, "Screen Message Language");
            if (!a || a->kind == "cancel") return false;
            if (a->kind == "language") p_.ws().screenLanguage = a->integer(0);
            return true;
        }
        void showAbout(int32_t dialog) override { p_.answer({"ok"}, "About " + std::to_string(dialog)); }
        std::string chooseTextFile(const std::string& title, const std::string&) override
        {
            const MacroLine* a = p_.answer({"save"}, title);
            return a && a->kind == "save" ? a->args[0] : std::string();
        }
        // "answer open PATH": the file is taken as if it had been shown and OK pressed.
        std::string chooseImageFile(int32_t imageType) override
        {
            const MacroLine* a = p_.answer({"open"}, langText(p_.ws(), Msg::ImageBrowserTitle) +
                                                         std::string(" (") + imageTypeName(imageType) + ")");
            return a && a->kind == "open" ? a->args[0] : std::string();
        }
        bool scanPicture(ScannedPicture& out) override
        {
            const MacroLine* a = p_.answer({"scan"}, langText(p_.ws(), Msg::ScanTitle));
            if (!a || a->kind != "scan") return false;
            std::string why;
            std::shared_ptr<Scanner> scanner = Scanner::open(a->args[1], why);
            if (!scanner) {
                p_.fail(why);
                return false;
            }
            ScanSettings settings;
            settings.resolution = scanner->resolutions().nearest(a->integer(0));
            ScanJob job(scanner, settings, p_.ws().planeCapacity);
            if (!job.wait(60'000)) {
                p_.fail("the scan did not end within a minute");
                return false;
            }
            ScanResult r = job.take();
            if (r.status != ScanStatus::Ok) {
                p_.fail("the scan failed: " + r.why);
                return false;
            }
            out = {std::move(r.image.rgb), r.image.width, r.image.height, a->args[1], settings.resolution};
            return true;
        }
        std::string chooseJpegFile(const std::string& title, const std::string&, int32_t& quality) override
        {
            const MacroLine* a = p_.answer({"jpeg", "save"}, title);
            if (!a || a->kind == "cancel") return {};
            if (a->kind == "save") return a->args[0];
            quality = a->integer(0);
            return a->args[1];
        }
        // "answer editor": its lines become the text, then Save and Exit;
        // "ok" saves the text as it came.
        std::optional<std::vector<std::string>> editText(const std::string& path, const TextDocument& doc,
                                                         bool editable) override
        {
            const MacroLine* a = p_.answer({"editor", "ok"}, langText(p_.ws(), Msg::EditorTitle));
            if (!a || a->kind == "cancel") return std::nullopt;
            if (!editable) {
                p_.fail(path + " can only be shown");
                return std::nullopt;
            }
            const std::vector<std::string> lines = a->kind == "editor" ? a->block : linesOfText(textOfLines(doc.lines));
            if (writeTextFile(path, lines, doc.encoding) != TextWrite::Ok) {
                p_.fail("can not save " + path);
                return std::nullopt;
            }
            return lines;
        }
        int32_t choosePrintType(int32_t type) override
        {
            const MacroLine* a = p_.answer({"print", "ok"}, langText(p_.ws(), Msg::PrintTypeTitle));
            if (!a || a->kind == "cancel") return 0;
            return a->kind == "print" ? a->integer(0) : type;
        }
        // "answer printer pdf PATH [paper]" or "default"; "ok" takes the
        // printer as the dialog shows it.
        bool choosePrinter(QPrinter& printer) override
        {
            const MacroLine* a = p_.answer({"printer", "ok"}, "Print");
            if (!a || a->kind == "cancel") return false;
            if (a->kind == "printer" && a->args[0] == "pdf") setPdfPrinter(printer, a->args[1], a->args[2]);
            return true;
        }
        // A queued "answer printer" stands for the default printer.
        void defaultPrinter(QPrinter& printer) override
        {
            if (p_.nextAnswerIs("printer")) choosePrinter(printer);
        }
        // The preview's "Print", with the printer answered as for the print
        // dialog; "cancel" closes the preview.
        bool previewPage(int32_t, QPrinter& printer) override { return choosePrinter(printer); }
        bool askPenWidth(int32_t& width) override
        {
            const MacroLine* a = p_.answer({"width", "ok"}, langText(p_.ws(), Msg::PenWidthTitle));
            if (!a || a->kind == "cancel") return false;
            if (a->kind == "width") width = a->integer(0);
            return true;
        }
        bool askFont(std::string& font, Rgb& colour) override
        {
            const MacroLine* a = p_.answer({"font", "ok"}, langText(p_.ws(), Msg::FontTitle));
            if (!a || a->kind == "cancel") return false;
            if (a->kind == "font") {
                colour = Rgb{uint8_t(a->integer(0)), uint8_t(a->integer(1)), uint8_t(a->integer(2))};
                font = a->args[3];
            }
            return true;
        }
        std::string askText() override
        {
            const MacroLine* a = p_.answer({"text"}, langText(p_.ws(), Msg::TextTitle));
            return a && a->kind == "text" ? a->args[0] : std::string();
        }

    private:
        MacroPlayer& p_;
    };

    class Questions : public PlatformForwarder {
    public:
        Questions(MacroPlayer& p, Platform& inner) : PlatformForwarder(inner), p_(p) {}

        void message(const std::string& text, Icon) override { p_.message(text); }
        void beep() override {}
        bool askYesNo(const std::string& text) override
        {
            const MacroLine* a = p_.answer({"yes", "no", "ok"}, text);
            return a && (a->kind == "yes" || a->kind == "ok");
        }
        std::string chooseOpenFile(const std::string& title, const std::string&) override
        {
            const MacroLine* a = p_.answer({"open"}, title);
            return a && a->kind == "open" ? a->args[0] : std::string();
        }
        std::string chooseSaveFile(const std::string& title, const std::string&) override
        {
            const MacroLine* a = p_.answer({"save"}, title);
            return a && a->kind == "save" ? a->args[0] : std::string();
        }
        bool stopRequested() override { return p_.stopPoll(inner_.stopRequested()); }

    private:
        MacroPlayer& p_;
    };

    Dialogs shell_;
    Questions platform_;
    CMainFrame& frame_;
    Workspace& ws_;
    Platform* saved_;
};

// ---- playing

MacroPlayer::MacroPlayer(CMainFrame& frame, const Macro& macro) : frame_(frame), macro_(macro) {}

MacroPlayer::~MacroPlayer() = default;

Workspace& MacroPlayer::ws() { return frame_.studio().ws; }

CVLX98View& MacroPlayer::view() { return *frame_.view(); }

void MacroPlayer::fail(const std::string& reason)
{
    if (reason_.empty()) reason_ = reason;
}

const MacroLine* MacroPlayer::answer(std::initializer_list<const char*> kinds, const std::string& title)
{
    if (answers_.empty()) {
        fail("no answer for: " + title);
        return nullptr;
    }
    const MacroLine* a = answers_.front();
    const bool fits = a->kind == "cancel" || std::any_of(kinds.begin(), kinds.end(), [&](const char* k) { return a->kind == k; });
    if (!fits) {
        fail("answer " + a->kind + " (line " + std::to_string(a->number) + ") does not fit: " + title);
        return nullptr;
    }
    answers_.erase(answers_.begin());
    return a;
}

bool MacroPlayer::nextAnswerIs(const char* kind) const
{
    return !answers_.empty() && answers_.front()->kind == kind;
}

void MacroPlayer::message(const std::string& text)
{
    std::fprintf(stderr, "message: %s\n", text.c_str());
    if (!expected_.empty() && expected_.front()->args[0] == text) {
        expected_.erase(expected_.begin());
        return;
    }
    fail("unexpected message: " + text);
}

bool MacroPlayer::stopPoll(bool otherwise)
{
    if (!stop_) return otherwise;
    if (stopUsed_) return true;
    if (polls_++ < stop_->integer(0)) return false;
    stopUsed_ = true;
    return true;
}

void MacroPlayer::takeStopAnswer()
{
    const auto it = std::find_if(answers_.begin(), answers_.end(), [](const MacroLine* a) { return a->kind == "stop"; });
    stop_ = nullptr;
    if (it == answers_.end()) return;
    stop_ = *it;
    answers_.erase(it);
    polls_ = 0;
    stopUsed_ = false;
}

void MacroPlayer::checkAllUsed()
{
    if (stop_ && !stopUsed_) fail("answer stop of line " + std::to_string(stop_->number) + " was not used");
    if (!answers_.empty())
        fail("answer " + answers_.front()->kind + " of line " + std::to_string(answers_.front()->number) +
             " was not used");
    if (!expected_.empty()) fail("message not shown: " + expected_.front()->args[0]);
    stop_ = nullptr;
    answers_.clear();
    expected_.clear();
}

bool MacroPlayer::playLine(const MacroLine& line)
{
    const Verb* verb = findVerb(line.verb);
    if (verb->kind == Queued) {
        (line.verb == "answer" ? answers_ : expected_).push_back(&line);
        return true;
    }
    current_ = &line;
    reason_.clear();
    if (verb->kind == TakesAnswers) takeStopAnswer();
    verb->play(*this, line);
    if (verb->kind == TakesAnswers) checkAllUsed();
    if (reason_.empty()) return true;
    error_ = "line " + std::to_string(line.number) + ": " + reason_;
    return false;
}

bool MacroPlayer::play(const std::string& startFile)
{
    layers_ = std::make_unique<Layers>(*this, frame_, ws());
    bool ok = true;
    if (!startFile.empty()) {
        std::error_code ec;
        const std::filesystem::path start = std::filesystem::absolute(startFile, ec);
        ok = frame_.openStartFile(ec ? startFile : start.string()) && reason_.empty();
        if (!ok) error_ = "can not open " + startFile + (reason_.empty() ? "" : ": " + reason_);
    }
    for (size_t i = 0; ok && i < macro_.lines.size(); ++i) {
        const MacroLine& line = macro_.lines[i];
        ok = playLine(line);
        QCoreApplication::processEvents();
    }
    if (ok && (!answers_.empty() || !expected_.empty())) {
        const MacroLine* left = !answers_.empty() ? answers_.front() : expected_.front();
        error_ = "line " + std::to_string(left->number) + ": nothing came after it to take it";
        ok = false;
    }
    layers_.reset();
    return ok;
}

int playMacroFile(CMainFrame& frame, const std::string& path, const std::string& startFile)
{
    Macro macro;
    std::string error;
    if (!readMacro(path, startFile, macro, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    MacroPlayer player(frame, macro);
    if (player.play(startFile)) return 0;
    std::fprintf(stderr, "%s\n", player.error().c_str());
    return 1;
}

}  // namespace orx::app
