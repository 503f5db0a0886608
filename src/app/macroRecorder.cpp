// Recording command macros.
#include "macroRecorder.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPrinter>
#include <cstdio>
#include <filesystem>

#include "engine/shading.h"
#include "macroPlayer.h"
#include "mainFrame.h"
#include "printing.h"
#include "shellLayer.h"
#include "view.h"
#include "workspace/fileIo.h"
#include "workspace/workspace.h"

namespace orx::app {

// The dialogs as the person answers them, each answer noted.
class MacroRecorder::Layers {
public:
    Layers(MacroRecorder& r, CMainFrame& frame, Workspace& ws)
        : shell_(r, frame.shell(), ws), platform_(r, *ws.platform), frame_(frame), ws_(ws), saved_(ws.platform)
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
        Dialogs(MacroRecorder& r, Shell& inner, Workspace& ws) : ShellForwarder(inner), r_(r), ws_(ws) {}

        std::string chooseFromLibrary(const std::string& title, const std::string& extension) override
        {
            const std::string name = inner_.chooseFromLibrary(title, extension);
            r_.note(name.empty() ? "answer cancel" : "answer library " + name);
            return name;
        }
        int32_t chooseContrast(int32_t entry) override
        {
            const int32_t chosen = inner_.chooseContrast(entry);
            char value[16];
            std::snprintf(value, sizeof value, "%.1f", chosen >= 0 ? contrastOfEntry(chosen) : 0.0f);
            r_.note(chosen < 0 ? std::string("answer cancel") : std::string("answer contrast ") + value);
            return chosen;
        }
        bool askNewImageSize(int32_t& width, int32_t& height) override
        {
            const bool ok = inner_.askNewImageSize(width, height);
            r_.note(ok ? "answer size " + std::to_string(width) + " " + std::to_string(height) : "answer cancel");
            return ok;
        }
        bool askLanguage() override
        {
            const bool ok = inner_.askLanguage();
            r_.note(ok ? "answer language " + std::to_string(ws_.screenLanguage) : "answer cancel");
            return ok;
        }
        void showAbout(int32_t dialog) override
        {
            inner_.showAbout(dialog);
            r_.note("answer ok");
        }
        std::string chooseTextFile(const std::string& title, const std::string& filter) override
        {
            const std::string name = inner_.chooseTextFile(title, filter);
            r_.note(name.empty() ? "answer cancel" : "answer save " + r_.pathText(name));
            return name;
        }
        std::string chooseImageFile(int32_t imageType) override
        {
            const std::string name = inner_.chooseImageFile(imageType);
            r_.note(name.empty() ? "answer cancel" : "answer open " + r_.pathText(name));
            return name;
        }
        bool scanPicture(ScannedPicture& out) override
        {
            const bool ok = inner_.scanPicture(out);
            r_.note(ok ? "answer scan " + std::to_string(std::lround(out.dpi)) + " " + out.device : "answer cancel");
            return ok;
        }
        std::string chooseJpegFile(const std::string& title, const std::string& filter, int32_t& quality) override
        {
            const std::string name = inner_.chooseJpegFile(title, filter, quality);
            r_.note(name.empty() ? "answer cancel"
                                 : "answer jpeg " + std::to_string(quality) + " " + r_.pathText(name));
            return name;
        }
        std::optional<std::vector<std::string>> editText(const std::string& path, const TextDocument& doc,
                                                         bool editable) override
        {
            auto saved = inner_.editText(path, doc, editable);
            if (!saved) {
                r_.note("answer cancel");
                return saved;
            }
            std::string note = "answer editor";
            for (const std::string& line : *saved) note += "\n" + (line.rfind('.', 0) == 0 ? "." + line : line);
            r_.note(note + "\n.");
            return saved;
        }
        int32_t choosePrintType(int32_t type) override
        {
            const int32_t chosen = inner_.choosePrintType(type);
            r_.note(chosen ? "answer print " + std::to_string(chosen) : "answer cancel");
            return chosen;
        }
        bool choosePrinter(QPrinter& printer) override { return notePrinter(inner_.choosePrinter(printer), printer); }
        void defaultPrinter(QPrinter& printer) override { inner_.defaultPrinter(printer); }
        bool previewPage(int32_t type, QPrinter& printer) override
        {
            return notePrinter(inner_.previewPage(type, printer), printer);
        }
        bool askPenWidth(int32_t& width) override
        {
            const bool ok = inner_.askPenWidth(width);
            r_.note(ok ? "answer width " + std::to_string(width) : "answer cancel");
            return ok;
        }
        bool askFont(std::string& font, Rgb& colour) override
        {
            const bool ok = inner_.askFont(font, colour);
            r_.note(ok ? "answer font " + std::to_string(colour.r) + " " + std::to_string(colour.g) + " " +
                             std::to_string(colour.b) + " " + escapeMacroText(font)
                       : "answer cancel");
            return ok;
        }
        std::string askText() override
        {
            const std::string text = inner_.askText();
            r_.note(text.empty() ? "answer cancel" : "answer text " + escapeMacroText(text));
            return text;
        }

    private:
        bool notePrinter(bool chosen, const QPrinter& printer)
        {
            if (!chosen) r_.note("answer cancel");
            else if (printer.outputFormat() == QPrinter::PdfFormat)
                r_.note("answer printer pdf " + r_.pathText(printer.outputFileName().toStdString()) + " " +
                        paperText(printer));
            else
                r_.note("answer printer default");
            return chosen;
        }

        MacroRecorder& r_;
        Workspace& ws_;
    };

    class Questions : public PlatformForwarder {
    public:
        Questions(MacroRecorder& r, Platform& inner) : PlatformForwarder(inner), r_(r) {}

        void message(const std::string& text, Icon icon) override
        {
            inner_.message(text, icon);
            r_.note("expect message " + escapeMacroText(text));
        }
        bool askYesNo(const std::string& text) override
        {
            const bool yes = inner_.askYesNo(text);
            r_.note(yes ? "answer yes" : "answer no");
            return yes;
        }
        std::string chooseOpenFile(const std::string& title, const std::string& filter) override
        {
            const std::string name = inner_.chooseOpenFile(title, filter);
            r_.note(name.empty() ? "answer cancel" : "answer open " + r_.pathText(name));
            return name;
        }
        std::string chooseSaveFile(const std::string& title, const std::string& filter) override
        {
            const std::string name = inner_.chooseSaveFile(title, filter);
            r_.note(name.empty() ? "answer cancel" : "answer save " + r_.pathText(name));
            return name;
        }
        bool stopRequested() override
        {
            const bool stop = inner_.stopRequested();
            r_.stopPolled(stop);
            return stop;
        }

    private:
        MacroRecorder& r_;
    };

    Dialogs shell_;
    Questions platform_;
    CMainFrame& frame_;
    Workspace& ws_;
    Platform* saved_;
};

MacroRecorder::MacroRecorder(CMainFrame& frame, const std::string& path) : frame_(frame)
{
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    path_ = ec ? path : absolute.string();
    folder_ = dirName(path_);
    layers_ = std::make_unique<Layers>(*this, frame, frame.studio().ws);
    frame.view()->installEventFilter(this);
    connect(&frame, &CMainFrame::commandRan, this, &MacroRecorder::commandRan);
    connect(&frame, &CMainFrame::penChanged, this, &MacroRecorder::penChanged);
    lines_.push_back("# recorded by orxweb");
    action({});
}

MacroRecorder::~MacroRecorder()
{
    frame_.view()->removeEventFilter(this);
    layers_.reset();
}

std::string MacroRecorder::pathText(const std::string& path) const
{
    const std::string prefix = folder_ + "/";
    return path.rfind(prefix, 0) == 0 ? path.substr(prefix.size()) : path;
}

void MacroRecorder::note(const std::string& line) { notes_.push_back(line); }

void MacroRecorder::stopPolled(bool stop)
{
    ++polls_;
    if (!stop || stopNoted_) return;
    note("answer stop " + std::to_string(polls_ - 1));
    stopNoted_ = true;
}

// The pen as the colour box or the palette left it: one line before the
// next action, however many steps a slider took.
void MacroRecorder::penChanged()
{
    const Workspace& ws = frame_.studio().ws;
    pen_ = "pen " + std::to_string(ws.penColour.r) + " " + std::to_string(ws.penColour.g) + " " +
           std::to_string(ws.penColour.b) + " density " + std::to_string(ws.penDensity) + " width " +
           std::to_string(ws.penWidth);
}

// The notes, then the line (none for the first write); the whole file again.
void MacroRecorder::action(const std::string& line)
{
    if (!line.empty() && !pen_.empty()) {
        lines_.push_back(pen_);
        pen_.clear();
    }
    if (!line.empty()) {
        lines_.insert(lines_.end(), notes_.begin(), notes_.end());
        lines_.push_back(line);
    }
    notes_.clear();
    polls_ = 0;
    stopNoted_ = false;
    std::string text;
    for (const std::string& l : lines_) text += l + "\n";
    ok_ = writeFileAtomically(path_, text.data(), text.size()) && ok_;
}

void MacroRecorder::viewIfChanged()
{
    const Workspace& ws = frame_.studio().ws;
    if (ws.displayScale16 == viewScale_ && ws.viewCentreX == viewX_ && ws.viewCentreY == viewY_) return;
    viewScale_ = ws.displayScale16;
    viewX_ = ws.viewCentreX;
    viewY_ = ws.viewCentreY;
    lines_.push_back("view " + std::to_string(viewScale_) + " " + std::to_string(viewX_) + " " + std::to_string(viewY_));
}

void MacroRecorder::commandRan(int32_t id) { action("command " + std::to_string(id)); }

namespace {

std::string pointText(const char* verb, Point p) { return std::string(verb) + " " + std::to_string(p.x) + " " + std::to_string(p.y); }

std::string keysOf(Qt::KeyboardModifiers m)
{
    std::string keys;
    if (m & Qt::ShiftModifier) keys += " shift";
    if (m & Qt::ControlModifier) keys += " ctrl";
    return keys;
}

}  // namespace

// After the view has handled a mouse event: its line, at the image point it
// was made on.
void MacroRecorder::mouse(QEvent* event, Point at)
{
    const auto* e = static_cast<QMouseEvent*>(event);
    const bool right = e->button() == Qt::RightButton;
    auto writeDown = [&] {
        if (!press_ || press_->written) return;
        action(pointText("down", press_->at) + (press_->right ? " right" : "") + press_->keys);
        press_->written = true;
    };
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        press_ = Press{at, right, keysOf(e->modifiers())};
        break;
    case QEvent::MouseMove:
        writeDown();
        action(pointText("move", at));
        break;
    case QEvent::MouseButtonDblClick:
        press_.reset();
        afterDoubleClick_ = true;
        action(pointText("dblclick", at));
        break;
    case QEvent::MouseButtonRelease:
        if (afterDoubleClick_) {  // played back as part of the double click
            afterDoubleClick_ = false;
            break;
        }
        if (press_ && !press_->written && press_->right == right && press_->at.x == at.x && press_->at.y == at.y) {
            action(pointText("click", at) + (right ? " right" : "") + press_->keys);
        } else {
            writeDown();
            action(pointText("up", at) + (right ? " right" : "") + keysOf(e->modifiers()));
        }
        press_.reset();
        break;
    default: break;
    }
}

bool MacroRecorder::eventFilter(QObject* watched, QEvent* event)
{
    CVLX98View* view = frame_.view();
    if (dispatching_ || watched != view) return false;
    Workspace& ws = frame_.studio().ws;
    const QEvent::Type type = event->type();
    const bool key = type == QEvent::KeyPress || type == QEvent::KeyRelease;
    if (key && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space && !static_cast<QKeyEvent*>(event)->isAutoRepeat())
        spaceHeld_ = type == QEvent::KeyPress;
    const bool mouse = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
                       type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove;
    // A running command (a show, a mapping run) takes the mouse and keys as
    // its stop; pans with Space or the middle button only move the view.
    if (frame_.studio().busy || spaceHeld_ || !(mouse || type == QEvent::KeyPress)) return false;
    Point at;
    if (mouse) {
        const auto* e = static_cast<QMouseEvent*>(event);
        const Qt::MouseButtons picture = Qt::LeftButton | Qt::RightButton;
        const bool counts = type == QEvent::MouseMove ? bool(e->buttons() & picture) && press_
                                                      : bool(e->button() & picture);
        if (!counts || ws.imageLoaded != 1) return false;
        at = windowToImage(ws, int32_t(e->position().x()), int32_t(e->position().y()));
        if (type != QEvent::MouseMove || !press_->written) viewIfChanged();
    } else {
        const auto* k = static_cast<QKeyEvent*>(event);
        const bool modifierAlone = k->key() >= Qt::Key_Shift && k->key() <= Qt::Key_ScrollLock;
        if (k->isAutoRepeat() || k->key() == Qt::Key_Space || modifierAlone) return false;
        viewIfChanged();
    }
    // The view handles the event first: the dialogs it opens are answered
    // before its line is written.
    dispatching_ = true;
    QCoreApplication::sendEvent(view, event);
    dispatching_ = false;
    if (mouse) {
        MacroRecorder::mouse(event, at);
    } else {
        const auto* k = static_cast<QKeyEvent*>(event);
        const QKeySequence name(k->keyCombination());
        action("key " + name.toString(QKeySequence::PortableText).toStdString());
    }
    return true;
}

}  // namespace orx::app
